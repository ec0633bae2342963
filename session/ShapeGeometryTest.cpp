#include <gtest/gtest.h>

#include <climits>

#include "session/ShapeGeometry.h"

namespace {

TEST(ShapeGeometryTest, ShapeNamesAreExact) {
  struct Case {
    const wchar_t* name;
    int32_t type;
  };
  const Case cases[] = {
      {L"RECTANGLE", kVObjRectangle},
      {L"CIRCLE", kVObjCircle},
      {L"STAR", kVObjStar},
      {L"NOT", kVObjNotSign},
      {L"SEAL", kVObjSeal},
      {L"TRIANGLE", kVObjTriangle},
      {L"CROSS", kVObjCross},
      {L"DIAMOND", kVObjDiamond},
      {L"rectangle", 0},
      {L" RECTANGLE", 0},
      {L"POLYGON", 0},
      {L"", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(ShapeObjectType(c.name), c.type) << c.name;
}

TEST(ShapeGeometryTest, ArrowTypesAreTrimmedAndUpperCased) {
  struct Case {
    const wchar_t* name;
    int32_t type;  // 0: unknown
    int32_t add;
  };
  const Case cases[] = {
      {L"ARROW_RIGHT", kVObjStraightArrow, 0},
      {L" arrow_left\t", kVObjStraightArrow, 180},
      {L"Arrow_Up", kVObjStraightArrow, 270},
      {L"ARROW_DOWN", kVObjStraightArrow, 90},
      {L"arrow_clockwise", kVObjRotationalArrow, 0},
      {L"ARROW_COUNTERCLOCKWISE", kVObjRotationalArrow, 0},
      {L"ARROW_BOTHDIRECTIONS", kVObjRotationalArrow, 0},
      {L"ARROW RIGHT", 0, 0},
      {L"", 0, 0},
  };
  for (const Case& c : cases) {
    const ArrowType* arrow = FindArrowType(c.name);
    if (c.type == 0) {
      EXPECT_EQ(arrow, nullptr) << c.name;
      continue;
    }
    ASSERT_NE(arrow, nullptr) << c.name;
    EXPECT_EQ(arrow->objectType, c.type);
    EXPECT_EQ(arrow->addDegrees, c.add);
  }
}

TEST(ShapeGeometryTest, ArrowRotationTurnsTheOtherWay) {
  struct Case {
    int64_t adjusted;
    int32_t engine;
  };
  const Case cases[] = {
      {0, 360},
      {90, 270},
      {270, 90},
      {359, 1},
      {360, 360},
      {450, 270},
      {-90, 450},
      {-360, 360},
      {int64_t{INT_MAX} + 270, 360 - static_cast<int32_t>((int64_t{INT_MAX} + 270) % 360)},
      {int64_t{INT_MIN}, 360 + static_cast<int32_t>(-(int64_t{INT_MIN} % 360))},
  };
  for (const Case& c : cases) EXPECT_EQ(EngineArrowRotation(c.adjusted), c.engine) << c.adjusted;
}

TEST(ShapeGeometryTest, FillNeedsAnUpperCaseS) {
  EXPECT_EQ(HatchForFill(L"SOLID"), kVHatchSolid);
  EXPECT_EQ(HatchForFill(L"xSx"), kVHatchSolid);
  EXPECT_EQ(HatchForFill(L"s"), kVHatchNone);
  EXPECT_EQ(HatchForFill(L"NONE"), kVHatchNone);
  EXPECT_EQ(HatchForFill(L""), kVHatchNone);
}

TEST(ShapeGeometryTest, RectangleRoundness) {
  struct Case {
    int32_t corner, width, height, expected;
  };
  const Case cases[] = {
      {4, 100, 50, 24},                    // r = 4 * 0.125 * 25 = 12.5 -> 12
      {8, 100, 50, 50},                    // the shorter side rounded fully
      {0, 100, 50, 0},    {1, 7, 100, 0},  // r = 0.4375 -> 0
      {-4, 100, 50, -24}, {INT_MAX, INT_MAX, INT_MAX, 2000000000},
  };
  for (const Case& c : cases) {
    const VPoint p = RectangleRoundness(c.corner, c.width, c.height);
    EXPECT_EQ(p.x, c.expected) << c.corner << " " << c.width << " " << c.height;
    EXPECT_EQ(p.y, c.expected);
  }
}

TEST(ShapeGeometryTest, LinesRiseFromBottomLeftToTopRight) {
  struct Case {
    VPoint a, b;
    VRect bounds;
    bool rising;
  };
  const Case cases[] = {
      {{100, 10}, {10, 100}, {10, 10, 100, 100}, true},
      {{10, 100}, {100, 10}, {10, 10, 100, 100}, true},
      {{10, 10}, {100, 100}, {10, 10, 100, 100}, false},
      {{100, 100}, {10, 10}, {10, 10, 100, 100}, false},
      {{10, 50}, {90, 50}, {10, 50, 90, 50}, true},
      {{90, 50}, {10, 50}, {10, 50, 90, 50}, true},
      {{5, 0}, {5, 40}, {5, 0, 5, 40}, true},
  };
  for (const Case& c : cases) {
    const LineGeometry line = DiagonalLineGeometry(c.a, c.b);
    EXPECT_EQ(line.rising, c.rising) << c.a.x << "," << c.a.y;
    EXPECT_EQ(line.bounds.left, c.bounds.left);
    EXPECT_EQ(line.bounds.top, c.bounds.top);
    EXPECT_EQ(line.bounds.right, c.bounds.right);
    EXPECT_EQ(line.bounds.bottom, c.bounds.bottom);
  }
}

TEST(ShapeGeometryTest, DotsToEngineUnitsTruncatesAndSaturates) {
  EXPECT_EQ(DotsToEngineUnits(300, 1000, 300), 1000);
  EXPECT_EQ(DotsToEngineUnits(100, 1000, 300), 333);
  EXPECT_EQ(DotsToEngineUnits(-100, 1000, 300), -333);
  EXPECT_EQ(DotsToEngineUnits(INT_MAX, 1000, 1), INT_MAX);
  EXPECT_EQ(DotsToEngineUnits(INT_MIN, 1000, 1), INT_MIN);
  EXPECT_EQ(DotsToEngineUnits(10, 1000, 0), 0);
}

}  // namespace
