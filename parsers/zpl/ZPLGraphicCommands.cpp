// Graphic commands of CZPLParser: boxes, circles, ellipses and diagonal lines
// at the field origin, and the fixed picture of "^GF".

#include "parsers/zpl/ZPLParser.h"
#include "platform/Text.h"

namespace {

using Shape = record::ShapeParam;

constexpr size_t kKeywordLength = 3;
const std::wstring kNoOriginRecord = L"ERROR CREATING FIELD DATA, NO FIELD ORIGIN DEFINED";

// A side shorter than the border is as long as the border, so "^GB700,0,4"
// is a 700 x 4 rule, as ZPL printers draw it; a zero side drew nothing at all.
std::wstring AtLeastThickness(const std::wstring& side, const std::wstring& thickness) {
  const int32_t t = platform::LeadingInt(thickness);
  return platform::LeadingInt(side) < t ? platform::IntToWide(t) : side;
}

}  // namespace

// A shape at the field origin; its border thickness, in dots, becomes the pen.
record::RecordWriter CZPLParser::ShapeAtOrigin(const wchar_t* name, const std::wstring& width,
                                               const std::wstring& height,
                                               const std::wstring& thickness) const {
  record::RecordWriter shape(SHAPE, Shape::kRequired);
  shape.Set(Shape::kName, name)
      .Set(Shape::kX, originX_)
      .Set(Shape::kY, originY_)
      .Set(Shape::kWidth, width)
      .Set(Shape::kHeight, height)
      .Set(Shape::kThickness, PenInHundredthsOfPoint(thickness));
  return shape;
}

bool CZPLParser::ReadObjectParameters(const std::wstring& command, const ParameterRule& rule,
                                      std::vector<std::wstring>& params) {
  if (ReadParameters(ParameterText(command, kKeywordLength), rule, params)) return true;
  fieldState_ = NO_ORIGIN;
  return false;
}

void CZPLParser::AcceptObject(PendingObject pending) {
  fieldState_ = OBJECT_DEFINED;
  pendingObject_ = pending;
}

bool CZPLParser::Box(const std::wstring& command) {
  if (fieldState_ != ORIGIN_SET) {
    return StopForMissingOrigin(L"ERROR CREATING RECTANGLE, NO FIELD ORIGIN DEFINED",
                                kNoOriginRecord);
  }
  static const ParameterRule rule{5,
                                  {L"1", L"1", L"1", L"B", L"0"},
                                  {{0}, {1}, {2}, {4}},
                                  L"Incorrect Number of Parameters for RECTANGLE"};
  std::vector<std::wstring> p;
  if (!ReadObjectParameters(command, rule, p)) return true;
  // The line colour rides in the unused position; the rounding is the corner.
  AddCommand(
      ShapeAtOrigin(L"RECTANGLE", AtLeastThickness(p[0], p[2]), AtLeastThickness(p[1], p[2]), p[2])
          .Set(Shape::kUnused6, p[3])
          .Set(Shape::kCorner, p[4])
          .Take());
  AcceptObject(PENDING_RECTANGLE);
  return true;
}

// A circle is a shape whose width and height are both the diameter.
bool CZPLParser::Circle(const std::wstring& command) {
  if (fieldState_ != ORIGIN_SET) {
    const std::wstring message = L"ERROR CREATING CIRCLE, NO FIELD ORIGIN DEFINED";
    return StopForMissingOrigin(message, message);
  }
  static const ParameterRule rule{
      3, {L"3", L"1", L"B"}, {{0}, {1}}, L"Incorrect Number of Parameters for CIRCLE"};
  std::vector<std::wstring> p;
  if (!ReadObjectParameters(command, rule, p)) return true;
  AddCommand(ShapeAtOrigin(L"CIRCLE", p[0], p[0], p[1]).Set(Shape::kUnused6, p[2]).Take());
  AcceptObject(PENDING_CIRCLE);
  return true;
}

bool CZPLParser::Ellipse(const std::wstring& command) {
  if (fieldState_ != ORIGIN_SET) {
    const std::wstring message = L"ERROR CREATING ELLIPSE, NO FIELD ORIGIN DEFINED";
    return StopForMissingOrigin(message, message);
  }
  static const ParameterRule rule{
      4, {L"1", L"1", L"1", L"B"}, {{0}, {1}, {2}}, L"Incorrect Number of Parameters for ELLIPSE"};
  std::vector<std::wstring> p;
  if (!ReadObjectParameters(command, rule, p)) return true;
  AddCommand(
      ShapeAtOrigin(L"CIRCLE", AtLeastThickness(p[0], p[2]), AtLeastThickness(p[1], p[2]), p[2])
          .Set(Shape::kUnused6, p[3])
          .Take());
  AcceptObject(PENDING_ELLIPSE);
  return true;
}

// The line runs across the box at the origin: "R" (or "/") rises from the
// bottom left to the top right, anything else falls from the top left.
bool CZPLParser::DiagonalLine(const std::wstring& command) {
  if (fieldState_ != ORIGIN_SET) {
    const std::wstring message = L"ERROR CREATING DIAGONAL LINE, NO FIELD ORIGIN DEFINED";
    return StopForMissingOrigin(message, message);
  }
  static const ParameterRule rule{5,
                                  {L"1", L"1", L"1", L"B", L"R"},
                                  {{0}, {1}, {2}},
                                  L"Incorrect Number of Parameters for DIAGONAL LINE"};
  std::vector<std::wstring> p;
  if (!ReadObjectParameters(command, rule, p)) return true;
  // Leading integers saturate at 32 bits, so the sums cannot overflow here.
  const int64_t x = platform::LeadingInt(originX_);
  const int64_t y = platform::LeadingInt(originY_);
  const int64_t width = platform::LeadingInt(p[0]);
  const int64_t height = platform::LeadingInt(p[1]);
  const bool rising = platform::EqualsIgnoreCase(p[4], L"R") || p[4] == L"/";
  using Line = record::LineParam;
  AddCommand(record::RecordWriter(LINE, Line::kRequired)
                 .Set(Line::kX1, x)
                 .Set(Line::kY1, rising ? y + height : y)
                 .Set(Line::kX2, x + width)
                 .Set(Line::kY2, rising ? y : y + height)
                 .Set(Line::kThickness, p[2])
                 .Take());
  AcceptObject(PENDING_LINE);
  return true;
}

// The graphic data is not decoded: the stored logo stands in for it.
bool CZPLParser::GraphicField(const std::wstring&) {
  using Graphic = record::GraphicParam;
  AddCommand(record::RecordWriter(GRAPHIC, Graphic::kRequired)
                 .Set(Graphic::kName, L"ZLOGO.BMP")
                 .Set(Graphic::kX, L"0")
                 .Set(Graphic::kY, L"0")
                 .Set(Graphic::kWidth, L"300")
                 .Set(Graphic::kHeight, L"300")
                 .Set(Graphic::kReverse, L"N")
                 .Take());
  return true;
}
