#include "record/CommandRecord.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <optional>

#include "platform/Text.h"

namespace record {
namespace {

using U = Unit;

constexpr Position kNone[] = {{0, "", U::kUnused}};

constexpr Position kText[] = {
    {TextParam::kText, "text", U::kText},
    {TextParam::kX, "x", U::kDots},
    {TextParam::kY, "y", U::kDots},
    {TextParam::kWidth, "width", U::kDots},
    {TextParam::kHeight, "height", U::kDots},
    {TextParam::kFontName, "font name", U::kWord},
    {TextParam::kSizing, "sizing", U::kWord},
    {TextParam::kFontSize, "font size", U::kPoints},
    {TextParam::kJustification, "justification", U::kWord},
    {TextParam::kUnused9, "unused", U::kUnused},
    {TextParam::kRotation, "rotation", U::kDegrees},
    {TextParam::kBoxDrawn, "box drawn", U::kFlag},
    {TextParam::kBoxThickness, "box thickness", U::kDots},
    {TextParam::kBold, "bold", U::kFlag},
    {TextParam::kItalic, "italic", U::kFlag},
    {TextParam::kUnderline, "underline", U::kFlag},
    {TextParam::kReverse, "reverse", U::kFlag},
    {TextParam::kVertical, "vertical", U::kFlag},
    {TextParam::kSourceText, "source text", U::kText},
    {TextParam::kIncrement, "increment", U::kInteger},
    {TextParam::kLabelCount, "label count", U::kInteger},
    {TextParam::kPrefix, "prefix", U::kText},
    {TextParam::kPostfix, "postfix", U::kText},
    {TextParam::kCellHeight, "cell height", U::kDots},
    {TextParam::kCapHeight, "cap height", U::kDots},
    {TextParam::kBaseline, "baseline", U::kDots},
    {TextParam::kAdvance, "advance", U::kDots},
    {TextParam::kWidthPercent, "width percent", U::kInteger},
    {TextParam::kBlockWidth, "block width", U::kDots},
    {TextParam::kBlockLines, "block lines", U::kInteger},
    {TextParam::kBlockSpacing, "block line spacing", U::kDots},
    {TextParam::kBlockJustify, "block justification", U::kWord},
    {TextParam::kHangingIndent, "hanging indent", U::kDots},
    {TextParam::kReverseBelow, "reverse below", U::kFlag},
    {TextParam::kOriginKind, "origin kind", U::kWord},
    {TextParam::kOriginJustify, "origin justification", U::kWord},
};

constexpr Position kBarcode[] = {
    {BarcodeParam::kType, "type", U::kWord},
    {BarcodeParam::kData, "data", U::kText},
    {BarcodeParam::kX, "x", U::kDots},
    {BarcodeParam::kY, "y", U::kDots},
    {BarcodeParam::kHeight, "height", U::kDots},
    {BarcodeParam::kRotation, "rotation", U::kDegrees},
    {BarcodeParam::kHumanReadable, "human readable", U::kFlag},
    {BarcodeParam::kHumanReadableTop, "human readable position", U::kWord},
    {BarcodeParam::kDensity, "density", U::kMils},
    {BarcodeParam::kRatio, "ratio", U::kInteger},
    {BarcodeParam::kCheckCharacter, "check character", U::kFlag},
    {BarcodeParam::kSequenceStart, "prompt or sequence start", U::kText},
    {BarcodeParam::kIncrement, "increment", U::kInteger},
    {BarcodeParam::kLabelCount, "label count", U::kInteger},
    {BarcodeParam::kPrefix, "prefix", U::kText},
    {BarcodeParam::kPostfix, "postfix", U::kText},
    {BarcodeParam::kModuleDots, "module", U::kDots},
    {BarcodeParam::kSymbolRule, "symbol rule", U::kWord},
    {BarcodeParam::kErrorLevel, "error level", U::kInteger},
    {BarcodeParam::kSymbolSize, "symbol size", U::kInteger},
    {BarcodeParam::kRows, "rows", U::kInteger},
    {BarcodeParam::kRowDots, "row height", U::kDots},
    {BarcodeParam::kSymbolMode, "symbol mode", U::kWord},
    {BarcodeParam::kPrimary, "primary message", U::kText},
    {BarcodeParam::kAnchor, "anchor", U::kWord},
};

constexpr Position kShape[] = {
    {ShapeParam::kName, "shape", U::kWord},
    {ShapeParam::kX, "x", U::kDots},
    {ShapeParam::kY, "y", U::kDots},
    {ShapeParam::kWidth, "width", U::kDots},
    {ShapeParam::kHeight, "height", U::kDots},
    {ShapeParam::kThickness, "thickness", U::kHundredthsOfPoint},
    {ShapeParam::kUnused6, "unused", U::kUnused},
    {ShapeParam::kCorner, "corner rounding", U::kInteger},
    {ShapeParam::kFill, "fill", U::kWord},
    {ShapeParam::kRotation, "rotation", U::kDegrees},
    {ShapeParam::kInk, "ink", U::kWord},
};

constexpr Position kArrow[] = {
    {ArrowParam::kType, "arrow", U::kWord},
    {ArrowParam::kX, "x", U::kDots},
    {ArrowParam::kY, "y", U::kDots},
    {ArrowParam::kWidth, "width", U::kDots},
    {ArrowParam::kHeight, "height", U::kDots},
    {ArrowParam::kRotation, "rotation", U::kDegrees},
    {ArrowParam::kThickness, "thickness", U::kHundredthsOfPoint},
    {ArrowParam::kFill, "fill", U::kWord},
    {ArrowParam::kArc, "arc", U::kUnused},
    {ArrowParam::kCorner, "corner rounding", U::kUnused},
    {ArrowParam::kHeadLength, "head length", U::kUnused},
    {ArrowParam::kHeadOverhang, "head overhang", U::kUnused},
    {ArrowParam::kStemWidth, "stem width", U::kUnused},
};

constexpr Position kLine[] = {
    {LineParam::kX1, "x1", U::kDots},
    {LineParam::kY1, "y1", U::kDots},
    {LineParam::kX2, "x2", U::kDots},
    {LineParam::kY2, "y2", U::kDots},
    {LineParam::kThickness, "thickness", U::kDots},
};

constexpr Position kPolygon[] = {{PolygonParam::kCount, "point count", U::kInteger}};

constexpr Position kGraphic[] = {
    {GraphicParam::kName, "picture", U::kText},  {GraphicParam::kX, "x", U::kDots},
    {GraphicParam::kY, "y", U::kDots},           {GraphicParam::kWidth, "width", U::kDots},
    {GraphicParam::kHeight, "height", U::kDots}, {GraphicParam::kReverse, "reverse", U::kFlag},
    {GraphicParam::kInk, "ink", U::kWord},
};

constexpr Position kDateAndTime[] = {
    {DateAndTimeParam::kMonth, "month", U::kInteger},
    {DateAndTimeParam::kDay, "day", U::kInteger},
    {DateAndTimeParam::kYear, "year", U::kInteger},
    {DateAndTimeParam::kHour, "hour", U::kInteger},
    {DateAndTimeParam::kMinute, "minute", U::kInteger},
    {DateAndTimeParam::kSecond, "second", U::kInteger},
    {DateAndTimeParam::kAmPm, "am or pm", U::kWord},
};

constexpr Position kLabelOffset[] = {
    {LabelOffsetParam::kX, "x offset", U::kDots},
    {LabelOffsetParam::kY, "y offset", U::kDots},
};

constexpr Position kMirror[] = {{0, "mirror", U::kWord}};
constexpr Position kOrientationLetter[] = {{0, "orientation", U::kWord}};
constexpr Position kQuantity[] = {{0, "copies", U::kInteger}};
constexpr Position kLength[] = {{LabelLengthParam::kLength, "length", U::kDots},
                                {LabelLengthParam::kWidth, "width", U::kDots}};
constexpr Position kTearoff[] = {{0, "tear-off position", U::kInteger}};
constexpr Position kCutting[] = {{0, "cutter mode", U::kWord}};
constexpr Position kNegative[] = {{0, "negative", U::kDots}};
constexpr Position kLabelOrientation[] = {{0, "orientation", U::kWord}};
constexpr Position kRotation[] = {{0, "rotation", U::kDegrees}};
constexpr Position kSpeed[] = {{0, "speed", U::kInteger}};
constexpr Position kDensity[] = {{0, "density", U::kInteger}};
constexpr Position kRibbon[] = {{0, "ribbon part", U::kText}};
constexpr Position kTape[] = {{0, "tape part", U::kText}};
constexpr Position kMessage[] = {{ScriptErrorParam::kMessage, "message", U::kText}};

template <size_t N>
constexpr std::span<const Position> All(const Position (&positions)[N]) {
  return {positions, N};
}
constexpr std::span<const Position> kNoPositions{kNone, 0};

const KindDefinition kKinds[] = {
    {START_LABEL, "START_LABEL", 0, 0, kNoPositions},
    {END_LABEL, "END_LABEL", 0, 0, kNoPositions},
    {PRINT_LABEL, "PRINT_LABEL", 0, 0, kNoPositions},
    {BARCODE, "BARCODE", BarcodeParam::kRequired, BarcodeParam::kRequired, All(kBarcode)},
    {LINE, "LINE", LineParam::kRequired, LineParam::kRequired, All(kLine)},
    {DATE_AND_TIME, "DATE_AND_TIME", DateAndTimeParam::kRequired, DateAndTimeParam::kRequired,
     All(kDateAndTime)},
    {MIRROR_PRINTING, "MIRROR_PRINTING", 1, 1, All(kMirror)},
    {PRINT_ORIENTATION, "PRINT_ORIENTATION", 1, 1, All(kOrientationLetter)},
    {PRINT_QUANTITY, "PRINT_QUANTITY", 1, 1, All(kQuantity)},
    {PRINT_CONFIGURATION_LABEL, "PRINT_CONFIGURATION_LABEL", 0, 0, kNoPositions},
    {LABEL_LENGTH, "LABEL_LENGTH", 1, 1, All(kLength)},
    {TEAROFF_POSITION, "TEAROFF_POSITION", 1, 1, All(kTearoff)},
    {SHAPE, "SHAPE", ShapeParam::kRequired, ShapeParam::kRequired, All(kShape)},
    {TEXT, "TEXT", TextParam::kRequired, TextParam::kRequired, All(kText)},
    {PROMPT_TEXT, "PROMPT_TEXT", TextParam::kRequired, TextParam::kWithSource, All(kText)},
    {SEQUENCE_TEXT, "SEQUENCE_TEXT", TextParam::kRequired, TextParam::kWithSequence, All(kText)},
    {DATE_TIME_TEXT, "DATE_TIME_TEXT", TextParam::kRequired, TextParam::kWithSource, All(kText)},
    {PROMPT_BARCODE, "PROMPT_BARCODE", BarcodeParam::kRequired, BarcodeParam::kWithPrompt,
     All(kBarcode)},
    {SEQUENCE_BARCODE, "SEQUENCE_BARCODE", BarcodeParam::kRequired, BarcodeParam::kWithSequence,
     All(kBarcode)},
    {ARROW, "ARROW", ArrowParam::kRequired, ArrowParam::kRequired, All(kArrow)},
    {CUTTING_OPTION, "CUTTING_OPTION", 1, 1, All(kCutting)},
    {GRAPHIC, "GRAPHIC", GraphicParam::kRequired, GraphicParam::kRequired, All(kGraphic)},
    {LABEL_NEGATIVE, "LABEL_NEGATIVE", 1, 1, All(kNegative)},
    {LABEL_ORIENTATION, "LABEL_ORIENTATION", 1, 1, All(kLabelOrientation)},
    {LABEL_OFFSET, "LABEL_OFFSET", LabelOffsetParam::kRequired, LabelOffsetParam::kRequired,
     All(kLabelOffset)},
    {PRINT_ROTATION, "PRINT_ROTATION", 1, 1, All(kRotation)},
    {PRINT_SPEED, "PRINT_SPEED", 1, 1, All(kSpeed)},
    {PRINT_DENSITY, "PRINT_DENSITY", 1, 1, All(kDensity)},
    {MATCH_RIBBON, "MATCH_RIBBON", 1, 1, All(kRibbon)},
    {MATCH_TAPE, "MATCH_TAPE", 1, 1, All(kTape)},
    {SCRIPT_ERROR, "SCRIPT_ERROR", 0, 1, All(kMessage)},
    {POLYGON, "POLYGON", PolygonParam::kRequired, PolygonParam::kRequired, All(kPolygon)},
};

constexpr int32_t kReserved[] = {3, 4, 6, 7, 8, 31, 38};

}  // namespace

const KindDefinition* FindKind(int32_t kind) {
  auto it = std::find_if(std::begin(kKinds), std::end(kKinds),
                         [kind](const KindDefinition& d) { return d.kind == kind; });
  return it == std::end(kKinds) ? nullptr : &*it;
}

bool IsReserved(int32_t kind) {
  return std::find(std::begin(kReserved), std::end(kReserved), kind) != std::end(kReserved);
}

std::string KindName(int32_t kind) {
  const KindDefinition* definition = FindKind(kind);
  if (definition) return definition->name;
  std::string name = "KIND ";
  return name += std::to_string(kind);
}

namespace {

// "[index]", the name of a position no definition names.
std::string IndexName(size_t index) {
  std::string name = "[";
  name += std::to_string(index);
  return name += ']';
}

const Position* Find(int32_t kind, size_t index) {
  const KindDefinition* definition = FindKind(kind);
  if (!definition) return nullptr;
  for (const Position& position : definition->positions) {
    if (position.index == index) return &position;
  }
  return nullptr;
}

// A polygon's positions after the count come in pairs, one per point, and
// end with its fill and pen, whose places follow the count.
Position PolygonPosition(size_t index, std::optional<size_t> count) {
  if (index == PolygonParam::kCount) return kPolygon[0];
  if (count && index == PolygonParam::Fill(*count)) return {index, "fill", U::kWord};
  if (count && index == PolygonParam::Thickness(*count)) return {index, "thickness", U::kPoints};
  if (count && index == PolygonParam::Ink(*count)) return {index, "ink", U::kWord};
  if (count && index > PolygonParam::Thickness(*count)) return {index, nullptr, U::kText};
  return {index, index % 2 == 1 ? "x" : "y", U::kDots};
}

std::string PolygonPositionName(size_t index, std::optional<size_t> count) {
  const Position position = PolygonPosition(index, count);
  if (!position.name) return IndexName(index);
  if (index == PolygonParam::kCount || (count && index >= PolygonParam::Fill(*count))) {
    return position.name;
  }
  std::string name = "point ";
  name += std::to_string((index - 1) / 2);
  name += ' ';
  return name += position.name;
}

std::optional<size_t> PointCount(const LabelCommand& record) {
  if (record.params.empty()) return std::nullopt;
  return static_cast<size_t>(std::max(0, platform::LeadingInt(record.params[0])));
}

}  // namespace

std::string PositionName(int32_t kind, size_t index) {
  if (kind == POLYGON) return PolygonPositionName(index, std::nullopt);
  if (const Position* position = Find(kind, index)) return position->name;
  return IndexName(index);
}

Unit PositionUnit(int32_t kind, size_t index) {
  if (kind == POLYGON) return PolygonPosition(index, std::nullopt).unit;
  const Position* position = Find(kind, index);
  return position ? position->unit : Unit::kText;
}

std::string PositionName(const LabelCommand& record, size_t index) {
  if (record.kind != POLYGON) return PositionName(record.kind, index);
  return PolygonPositionName(index, PointCount(record));
}

Unit PositionUnit(const LabelCommand& record, size_t index) {
  if (record.kind != POLYGON) return PositionUnit(record.kind, index);
  return PolygonPosition(index, PointCount(record)).unit;
}

const char* UnitName(Unit unit) {
  switch (unit) {
    case Unit::kText:
      return "text";
    case Unit::kFlag:
      return "flag";
    case Unit::kWord:
      return "word";
    case Unit::kInteger:
      return "integer";
    case Unit::kDegrees:
      return "degrees";
    case Unit::kDots:
      return "dots";
    case Unit::kPoints:
      return "points";
    case Unit::kHundredthsOfPoint:
      return "hundredths of a point";
    case Unit::kMils:
      return "mils";
    case Unit::kEngineUnits:
      return "engine units";
    case Unit::kUnused:
      return "unused";
  }
  return "text";
}

}  // namespace record
