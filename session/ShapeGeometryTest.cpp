#include <gtest/gtest.h>

#include <climits>

#include "session/ShapeGeometry.h"

namespace {

// Extremes that scripts can reach but the session tests do not drive.
TEST(ShapeGeometryTest, ArithmeticStaysInsideThirtyTwoBits) {
  EXPECT_EQ(EngineArrowRotation(int64_t{INT_MAX} + 270), 323);
  EXPECT_EQ(EngineArrowRotation(INT_MIN), 488);
  EXPECT_EQ(RectangleRoundness(INT_MAX, INT_MAX, INT_MAX).x, 2000000000);
  EXPECT_EQ(RectangleRoundness(-4, 100, 50).x, -24);
  EXPECT_EQ(DotsToEngineUnits(INT_MAX, 1000, 1), INT_MAX);
  EXPECT_EQ(DotsToEngineUnits(INT_MIN, 1000, 1), INT_MIN);
  EXPECT_EQ(DotsToEngineUnits(-100, 1000, 300), -333);
  EXPECT_EQ(DotsToEngineUnits(10, 1000, 0), 0);
  EXPECT_EQ(AddSaturated(INT_MAX, 3000), INT_MAX);
}

}  // namespace
