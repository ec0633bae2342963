// The full dialect's shapes: the ink of boxes, circles and ellipses ("B"
// black, "W" white; "^FR" and "^LR" reverse what lies below), and the
// diagonal of "^GD", which a full ZPL printer draws as a band of the
// thickness measured across, from one corner of its box to the other: a
// filled parallelogram here, with whole-dot corners.

#include <algorithm>

#include "parsers/zpl/ZPLParser.h"
#include "platform/Text.h"
#include "record/CommandRecord.h"

namespace {

constexpr size_t kKeywordLength = 3;
constexpr int64_t kMostSide = 32000;

int64_t Side(const std::wstring& text, int64_t fallback) {
  return text.empty() ? fallback : std::clamp<int64_t>(platform::LeadingInt(text), 1, kMostSide);
}

}  // namespace

// "^GD" width,height,thickness,colour,orientation ("R" or "/" rises, "L" or
// "\" falls). A side left out is as long as the thickness.
bool CZPLParser::FullDiagonalLine(const std::wstring& command) {
  field_.objectCommand = true;
  std::vector<std::wstring> p;
  SplitParameters(ParameterText(command, kKeywordLength), p);
  if (p.size() > 5 || !IsNumeric(p[0], false) || (p.size() > 1 && !IsNumeric(p[1], false)) ||
      (p.size() > 2 && !IsNumeric(p[2], false))) {
    FullReportBadParameters(L"DIAGONAL LINE", command);
    return true;
  }
  p.resize(5);
  const int64_t t = Side(p[2], 1);
  const int64_t w = Side(p[0], t), h = Side(p[1], t);
  const bool rises = p[4].empty() || platform::EqualsIgnoreCase(p[4], L"R") || p[4] == L"/";
  const int64_t x = field_.x;
  const int64_t top = field_.origin == ZPLFullField::Origin::kTop ? field_.y : field_.y - h;
  const int64_t start = rises ? top + h : top, end = rises ? top : top + h;
  const int64_t corners[4][2] = {{x, start}, {x + t, start}, {x + w + t, end}, {x + w, end}};

  using Polygon = record::PolygonParam;
  record::RecordWriter polygon(POLYGON, Polygon::Size(4));
  polygon.Set(Polygon::kCount, int64_t{4});
  for (size_t i = 0; i < 4; ++i) {
    polygon.Set(Polygon::X(i), corners[i][0]).Set(Polygon::Y(i), corners[i][1]);
  }
  polygon.Set(Polygon::Fill(4), L"S").Set(Polygon::Thickness(4), L"0");
  commandList_.push_back(polygon.Take());
  FullSetShapeInk(commandList_.size() - 1, platform::ToUpper(p[3]) == L"W");
  formatPrints_ = true;
  return true;
}

// "^LRY" / "^LRN": every later field reverses what lies below it, or not.
bool CZPLParser::FullLabelReverse(const std::wstring& command) {
  const std::wstring value =
      platform::ToUpper(platform::Trim(ParameterText(command, kKeywordLength)));
  if (value != L"Y" && value != L"N") {
    FullReportBadParameters(L"LABEL REVERSE", command);
    return true;
  }
  data_->full.labelReverse = value == L"Y";
  return true;
}

void CZPLParser::FullSetShapeInk(size_t index, bool white) {
  if (index >= commandList_.size()) return;
  LabelCommand& shape = commandList_[index];
  size_t position = record::ShapeParam::kInk;
  if (shape.kind == POLYGON) position = record::PolygonParam::Ink(4);
  if (shape.kind == GRAPHIC) position = record::GraphicParam::kInk;
  if (shape.params.size() <= position) shape.params.resize(position + 1);
  const bool reverse = field_.reverse || data_->full.labelReverse;
  shape.params[position] = reverse ? L"R" : white ? L"W" : L"B";
  field_.inkRecord = static_cast<int64_t>(index);
}

// "^FR" after the field's shape or graphic still reverses it.
void CZPLParser::FullReverseShape() {
  if (field_.inkRecord < 0) return;
  const size_t index = static_cast<size_t>(field_.inkRecord);
  if (index < commandList_.size()) FullSetShapeInk(index, false);
}
