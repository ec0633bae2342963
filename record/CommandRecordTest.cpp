// The record definition is what every parser writes and the session reads
// by: its tables must be whole and self-consistent, and its names and units
// must come out right for the positions that depend on a record's contents.

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "record/CommandRecord.h"

namespace {

using record::Unit;

// Each value from 1 to 39 is a defined kind or a reserved one, never both,
// and each definition's positions are in order, inside the list a writer
// fills, and cover what the session needs.
TEST(CommandRecordTest, EveryKindIsDefinedOnceAndItsPositionsHold) {
  std::set<std::string> names;
  for (int32_t kind = 1; kind <= 39; ++kind) {
    const record::KindDefinition* definition = record::FindKind(kind);
    EXPECT_NE(definition != nullptr, record::IsReserved(kind)) << kind;
    if (!definition) continue;
    EXPECT_EQ(definition->kind, kind);
    EXPECT_TRUE(names.insert(definition->name).second) << definition->name;
    EXPECT_LE(definition->required, definition->written) << definition->name;
    size_t next = 0;
    for (const record::Position& position : definition->positions) {
      EXPECT_EQ(position.index, next++) << definition->name << " " << position.name;
    }
    if (kind != POLYGON) {
      EXPECT_GE(next, definition->written) << definition->name;
    }
  }
  for (int32_t kind : {0, -1, 40, INT32_MIN, INT32_MAX}) {
    EXPECT_EQ(record::FindKind(kind), nullptr) << kind;
    EXPECT_FALSE(record::IsReserved(kind)) << kind;
  }
}

TEST(CommandRecordTest, NamesAndUnitsOfPositions) {
  const struct {
    int32_t kind;
    size_t index;
    const char* name;
    Unit unit;
  } cases[] = {
      {TEXT, record::TextParam::kFontSize, "font size", Unit::kPoints},
      {TEXT, record::TextParam::kBoxThickness, "box thickness", Unit::kDots},
      {SEQUENCE_TEXT, record::TextParam::kPostfix, "postfix", Unit::kText},
      {TEXT, record::TextParam::kCellHeight, "cell height", Unit::kDots},
      {TEXT, record::TextParam::kOriginKind, "origin kind", Unit::kWord},
      {TEXT, record::TextParam::kTypeset, "[36]", Unit::kText},
      {LABEL_LENGTH, record::LabelLengthParam::kWidth, "width", Unit::kDots},
      {SHAPE, record::ShapeParam::kThickness, "thickness", Unit::kHundredthsOfPoint},
      {ARROW, record::ArrowParam::kThickness, "thickness", Unit::kHundredthsOfPoint},
      {LINE, record::LineParam::kThickness, "thickness", Unit::kDots},
      {BARCODE, record::BarcodeParam::kDensity, "density", Unit::kMils},
      {POLYGON, record::PolygonParam::kCount, "point count", Unit::kInteger},
      {POLYGON, record::PolygonParam::Y(2), "point 2 y", Unit::kDots},
      {38, 0, "[0]", Unit::kText},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(record::PositionName(c.kind, c.index), c.name) << c.kind;
    EXPECT_EQ(record::PositionUnit(c.kind, c.index), c.unit) << c.name;
  }
  EXPECT_EQ(record::KindName(SEQUENCE_BARCODE), "SEQUENCE_BARCODE");
  EXPECT_EQ(record::KindName(38), "KIND 38");
  EXPECT_STREQ(record::UnitName(Unit::kHundredthsOfPoint), "hundredths of a point");
}

// A polygon's fill, pen and ink stand after its points, so only a record with
// its count can name them; a count of nothing or less has no points.
TEST(CommandRecordTest, PolygonPositionsFollowTheCountOfTheRecord) {
  const struct {
    std::wstring count;
    size_t index;
    const char* name;
    Unit unit;
  } cases[] = {
      {L"2", 3, "point 1 x", Unit::kDots},   {L"2", 5, "fill", Unit::kWord},
      {L"2", 6, "thickness", Unit::kPoints}, {L"2", 7, "ink", Unit::kWord},
      {L"2", 8, "[8]", Unit::kText},         {L"-4", 1, "fill", Unit::kWord},
      {L"x", 2, "thickness", Unit::kPoints},
  };
  for (const auto& c : cases) {
    const LabelCommand polygon{POLYGON, {c.count}};
    EXPECT_EQ(record::PositionName(polygon, c.index), c.name) << c.index;
    EXPECT_EQ(record::PositionUnit(polygon, c.index), c.unit) << c.name;
  }
  const LabelCommand empty{POLYGON, {}};
  EXPECT_EQ(record::PositionName(empty, 5), "point 2 x");
  EXPECT_EQ(record::PositionName(LabelCommand{SHAPE, {}}, 5), "thickness");
}

TEST(CommandRecordTest, WriterFillsPositionsByNameAndGrowsTheList) {
  using P = record::LineParam;
  record::RecordWriter writer(LINE, 2);
  writer.Set(P::kThickness, 3).Set(P::kX1, L"10").SetFlag(P::kY2, true);
  const LabelCommand line = writer.Take();
  EXPECT_EQ(line.kind, LINE);
  EXPECT_EQ(line.params, (std::vector<std::wstring>{L"10", L"", L"", L"T", L"3"}));
  EXPECT_EQ(record::RecordWriter(GRAPHIC, 6).SetFlag(5, false).Take().params.back(), L"F");
}

}  // namespace
