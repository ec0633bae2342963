// The full dialect's shapes and the ink of everything a field draws: boxes,
// circles and ellipses as the language's shape rules read them, and the
// diagonal of "^GD", which a full ZPL printer draws as a band of the
// thickness measured across, from one corner of its box to the other: a
// filled parallelogram here, with whole-dot corners. Ink is "B" black, "W"
// white or "R" reversing what lies below ("^FR", "^LR"); an object is written
// with its field, once its ink is known.

#include <algorithm>

#include "parsers/zpl/full/ZPLFullParser.h"
#include "parsers/zpl/full/ZPLPlacement.h"
#include "platform/Text.h"
#include "record/CommandRecord.h"

using zpl::IsNumeric;

namespace {

constexpr int64_t kMostSide = 32000;

int64_t Side(const std::wstring& text, int64_t fallback) {
  return text.empty() ? fallback : std::clamp<int64_t>(platform::LeadingInt(text), 1, kMostSide);
}

bool IsWhite(const std::wstring& colour) { return platform::ToUpper(colour) == L"W"; }

}  // namespace

void ZPLFullParser::AddObject(record::RecordWriter record, size_t inkPosition, bool white) {
  const bool reversed = field_.reverse || data_->full.labelReverse;
  objects_.push_back(FieldObject{std::move(record), inkPosition, white, reversed});
}

void ZPLFullParser::WriteObjects() {
  for (FieldObject& object : objects_) {
    const wchar_t* ink = object.reversed ? L"R" : object.white ? L"W" : L"B";
    Append(object.record.Set(object.inkPosition, ink).Take());
    formatPrints_ = true;
  }
  objects_.clear();
}

// "^GB", "^GC", "^GE": the field's shape replaces a barcode it had.
bool ZPLFullParser::GraphicShape(const ZPLCommand& command) {
  if (!ClaimField(command)) return true;
  fieldBarcode_ = FieldBarcode::kNone;
  const std::optional<Shape> shape = ReadShape(command);
  if (!shape) return true;
  const bool box = command.keyword == L"^GB";
  const ZPLPlacement at = PlaceZplObject(field_, box ? ZPLObjectKind::kBox : ZPLObjectKind::kRound,
                                         platform::LeadingInt(shape->height));
  record::RecordWriter record =
      ShapeRecord(*shape, platform::IntToWide(at.x), platform::IntToWide(at.y));
  // A border reaching the middle of the shorter side leaves no inside: the
  // shape is solid, rounded corners and all.
  const int64_t shorter =
      std::min(platform::LeadingInt(shape->width), platform::LeadingInt(shape->height));
  if (int64_t{2} * platform::LeadingInt(shape->thickness) >= shorter)
    record.Set(record::ShapeParam::kFill, L"S");
  AddObject(std::move(record), record::ShapeParam::kInk, IsWhite(shape->colour));
  return true;
}

// "^GD" width,height,thickness,colour,orientation ("R" or "/" rises, "L" or
// "\" falls). A side left out is as long as the thickness.
bool ZPLFullParser::DiagonalLine(const ZPLCommand& command) {
  if (!ClaimField(command)) return true;
  std::vector<std::wstring> p;
  zpl::SplitParameters(command.parameters, p);
  if (p.size() > 5 || !IsNumeric(p[0], false) || (p.size() > 1 && !IsNumeric(p[1], false)) ||
      (p.size() > 2 && !IsNumeric(p[2], false))) {
    ReportBadParameters(L"DIAGONAL LINE", command);
    return true;
  }
  p.resize(5);
  const int64_t t = Side(p[2], 1);
  const int64_t w = Side(p[0], t), h = Side(p[1], t);
  const bool rises = p[4].empty() || platform::EqualsIgnoreCase(p[4], L"R") || p[4] == L"/";
  const ZPLPlacement at = PlaceZplObject(field_, ZPLObjectKind::kDiagonal, h);
  const int64_t x = at.x, top = at.y;
  const int64_t start = rises ? top + h : top, end = rises ? top : top + h;
  const int64_t corners[4][2] = {{x, start}, {x + t, start}, {x + w + t, end}, {x + w, end}};

  using Polygon = record::PolygonParam;
  record::RecordWriter polygon(POLYGON, Polygon::Size(4));
  polygon.Set(Polygon::kCount, int64_t{4});
  for (size_t i = 0; i < 4; ++i) {
    polygon.Set(Polygon::X(i), corners[i][0]).Set(Polygon::Y(i), corners[i][1]);
  }
  polygon.Set(Polygon::Fill(4), L"S").Set(Polygon::Thickness(4), L"0");
  AddObject(std::move(polygon), Polygon::Ink(4), IsWhite(p[3]));
  return true;
}
