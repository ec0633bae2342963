// Boxes, circles and ellipses as both dialects read them: one rule per
// command, and the SHAPE record they become.

#include "parsers/zpl/ZPLParserCore.h"
#include "platform/Text.h"

namespace {

using zpl::ParameterRule;

// A side shorter than the border is as long as the border, so "^GB700,0,4"
// is a 700 x 4 rule, as ZPL printers draw it; a zero side drew nothing at all.
std::wstring AtLeastThickness(const std::wstring& side, const std::wstring& thickness) {
  const int32_t t = platform::LeadingInt(thickness);
  return platform::LeadingInt(side) < t ? platform::IntToWide(t) : side;
}

}  // namespace

std::optional<ZPLParserCore::Shape> ZPLParserCore::ReadShape(const ZPLCommand& command) {
  static const ParameterRule box{5,
                                 {L"1", L"1", L"1", L"B", L"0"},
                                 {{0}, {1}, {2}, {4}},
                                 L"Incorrect Number of Parameters for RECTANGLE"};
  static const ParameterRule circle{
      3, {L"3", L"1", L"B"}, {{0}, {1}}, L"Incorrect Number of Parameters for CIRCLE"};
  static const ParameterRule ellipse{
      4, {L"1", L"1", L"1", L"B"}, {{0}, {1}, {2}}, L"Incorrect Number of Parameters for ELLIPSE"};
  std::vector<std::wstring> p;
  if (command.keyword == L"^GC") {
    if (!ReadParameters(command.parameters, circle, p)) return std::nullopt;
    // A circle is a shape whose width and height are both the diameter.
    return Shape{L"CIRCLE", p[0], p[0], p[1], p[2], std::nullopt};
  }
  const bool isBox = command.keyword == L"^GB";
  if (!ReadParameters(command.parameters, isBox ? box : ellipse, p)) return std::nullopt;
  Shape shape{isBox ? L"RECTANGLE" : L"CIRCLE",
              AtLeastThickness(p[0], p[2]),
              AtLeastThickness(p[1], p[2]),
              p[2],
              p[3],
              std::nullopt};
  if (isBox) shape.corner = p[4];
  return shape;
}

record::RecordWriter ZPLParserCore::ShapeRecord(const Shape& shape, const std::wstring& x,
                                                const std::wstring& y) const {
  using P = record::ShapeParam;
  record::RecordWriter r(SHAPE, P::kRequired);
  r.Set(P::kName, shape.name)
      .Set(P::kX, x)
      .Set(P::kY, y)
      .Set(P::kWidth, shape.width)
      .Set(P::kHeight, shape.height)
      .Set(P::kThickness, PenInHundredthsOfPoint(shape.thickness))
      .Set(P::kUnused6, shape.colour);
  if (shape.corner) r.Set(P::kCorner, *shape.corner);
  return r;
}
