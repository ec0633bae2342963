#pragma once
// Names and arithmetic of the geometric objects (shapes, arrows, lines): which
// engine object a shape or arrow name makes, how fills, corner rounding and
// arrow rotations become engine values, and which way a diagonal line runs.
// Pure functions over values; CSessionManager's shape builders call them.

#include <cstdint>
#include <string_view>

#include "engine/VInterface.h"

// Engine object type of an exact, case-sensitive shape name ("RECTANGLE",
// "CIRCLE", ...); 0 for any other name.
int32_t ShapeObjectType(std::wstring_view name);

// An arrow type: the object it makes and the turn added to the command's
// rotation.
struct ArrowType {
  std::wstring_view name;
  int32_t objectType;  // straight or rotational arrow
  int32_t addDegrees;
};

// The arrow type of a name; the name is trimmed and upper-cased first. Null
// for an unknown type.
const ArrowType* FindArrowType(std::wstring_view name);

// The engine turns arrows the other way from scripts: this is the engine's
// rotation for an adjusted rotation r, (r / 360 + 1) * 360 - r with the
// division truncating. An unrotated arrow gets 360, not 0.
int32_t EngineArrowRotation(int64_t adjustedDegrees);

// Hatch pattern for a fill word: solid when it holds an "S" anywhere, else an
// outline. Callers decide whether the word is upper-cased first.
int32_t HatchForFill(std::wstring_view fill);

// The corner ellipse of a rounded rectangle: (2r, 2r) with
// r = corner * 0.125 * (min(width, height) * 0.5), truncated toward zero.
// Corner 8 rounds the shorter side fully; 0 gives square corners.
VPoint RectangleRoundness(int32_t corner, int32_t width, int32_t height);

// A straight line between two points: its bounding rectangle, and whether it
// rises, i.e. runs from the rectangle's bottom-left to its top-right corner.
// Horizontal and vertical lines count as rising.
struct LineGeometry {
  VRect bounds;
  bool rising = false;
};
LineGeometry DiagonalLineGeometry(VPoint first, VPoint second);

// a + b kept inside 32 bits (the far edges of rectangles).
int32_t AddSaturated(int32_t a, int32_t b);

// Dots to engine units: value * unitsPerInch / dpi, truncating, saturating at
// 32 bits. A dpi below 1 gives 0.
int32_t DotsToEngineUnits(int32_t dots, int32_t unitsPerInch, int32_t dpi);
