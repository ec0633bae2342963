#include "session/ShapeGeometry.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <string>
#include <utility>

#include "platform/Text.h"

namespace {

constexpr std::array<std::pair<std::wstring_view, int32_t>, 8> kShapes = {{
    {L"RECTANGLE", kVObjRectangle},
    {L"CIRCLE", kVObjCircle},
    {L"STAR", kVObjStar},
    {L"NOT", kVObjNotSign},
    {L"SEAL", kVObjSeal},
    {L"TRIANGLE", kVObjTriangle},
    {L"CROSS", kVObjCross},
    {L"DIAMOND", kVObjDiamond},
}};

constexpr std::array<ArrowType, 7> kArrows = {{
    {L"ARROW_RIGHT", kVObjStraightArrow, 0},
    {L"ARROW_LEFT", kVObjStraightArrow, 180},
    {L"ARROW_UP", kVObjStraightArrow, 270},
    {L"ARROW_DOWN", kVObjStraightArrow, 90},
    {L"ARROW_CLOCKWISE", kVObjRotationalArrow, 0},
    {L"ARROW_COUNTERCLOCKWISE", kVObjRotationalArrow, 0},
    {L"ARROW_BOTHDIRECTIONS", kVObjRotationalArrow, 0},
}};

int32_t Saturate(int64_t value) {
  return static_cast<int32_t>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

}  // namespace

int32_t ShapeObjectType(std::wstring_view name) {
  for (const auto& [shapeName, type] : kShapes) {
    if (shapeName == name) return type;
  }
  return 0;
}

const ArrowType* FindArrowType(std::wstring_view name) {
  const std::wstring key = platform::ToUpper(platform::Trim(name));
  for (const ArrowType& arrow : kArrows) {
    if (arrow.name == key) return &arrow;
  }
  return nullptr;
}

int32_t EngineArrowRotation(int64_t adjustedDegrees) {
  // Always within 1 .. 719, whatever the input.
  return static_cast<int32_t>((adjustedDegrees / 360 + 1) * 360 - adjustedDegrees);
}

int32_t HatchForFill(std::wstring_view fill) {
  return fill.find(L'S') != std::wstring_view::npos ? kVHatchSolid : kVHatchNone;
}

VPoint RectangleRoundness(int32_t corner, int32_t width, int32_t height) {
  const double r = std::trunc(corner * 0.125 * (std::min(width, height) * 0.5));
  const double clamped = std::clamp(r, -1e9, 1e9);  // keeps 2r inside 32 bits
  const int32_t diameter = Saturate(2 * static_cast<int64_t>(clamped));
  return {diameter, diameter};
}

LineGeometry DiagonalLineGeometry(VPoint first, VPoint second) {
  LineGeometry line;
  line.bounds = {std::min(first.x, second.x), std::min(first.y, second.y),
                 std::max(first.x, second.x), std::max(first.y, second.y)};
  line.rising = (first.x == line.bounds.left && first.y == line.bounds.bottom) ||
                (first.x == line.bounds.right && first.y == line.bounds.top);
  return line;
}

int32_t AddSaturated(int32_t a, int32_t b) { return Saturate(int64_t{a} + b); }

int32_t DotsToEngineUnits(int32_t dots, int32_t unitsPerInch, int32_t dpi) {
  if (dpi < 1) return 0;
  return Saturate(static_cast<int64_t>(dots) * unitsPerInch / dpi);
}
