// Geometry of printed shapes and lines, measured on the printed dots.
#include <gtest/gtest.h>

#include "vellum/VellumTestSupport.h"

namespace vellum::testing {
namespace {

// Pen width in points that gives `dots` at `dpi`.
float PenPoints(int dots, int dpi) { return dots * 72.0f / dpi; }

TEST(ShapeRender, RectanglePositionAndOutlineGrowInward) {
  struct Case {
    int dpi, x, y, w, h, pen;
  };
  const Case cases[] = {
      {300, 100, 50, 200, 80, 3}, {203, 40, 40, 101, 33, 1}, {600, 10, 400, 700, 300, 8}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dpi);
    TestPrinter printer(c.dpi);
    printer.Add(kVObjRectangle, c.x, c.y, c.w, c.h);
    printer.engine->SetPenWidth(PenPoints(c.pen, c.dpi));
    const MonoBitmap& label = printer.PrintOnce();
    const InkBox ink = InkBounds(label);
    EXPECT_NEAR(ink.left, c.x, 1);
    EXPECT_NEAR(ink.top, c.y, 1);
    EXPECT_NEAR(ink.right, c.x + c.w - 1, 1);
    EXPECT_NEAR(ink.bottom, c.y + c.h - 1, 1);
    // The left edge is `pen` dots thick, measured across the middle row.
    const int mid = c.y + c.h / 2;
    const InkBox edge = InkBounds(label, 0, mid, c.x + c.w / 2, mid + 1);
    EXPECT_NEAR(edge.width(), c.pen, 1);
    EXPECT_EQ(edge.dots, c.pen);                  // crisp: no stray half-inked dots
    EXPECT_FALSE(label.Ink(c.x + c.w / 2, mid));  // outline only
  }
}

TEST(ShapeRender, FilledShapesCoverTheirBoxAndOutlinesDoNot) {
  const int32_t types[] = {kVObjRectangle,     kVObjCircle,         kVObjStar,    kVObjSeal,
                           kVObjTriangle,      kVObjCross,          kVObjDiamond, kVObjNotSign,
                           kVObjStraightArrow, kVObjRotationalArrow};
  for (int32_t type : types) {
    SCOPED_TRACE(type);
    for (bool filled : {true, false}) {
      TestPrinter printer(300);
      printer.Add(type, 300, 200, 240, 240);
      printer.engine->SetHatchPattern(filled ? kVHatchSolid : kVHatchNone, 1);
      printer.engine->SetPenWidth(PenPoints(4, 300));
      const InkBox ink = InkBounds(printer.PrintOnce());
      ASSERT_FALSE(ink.empty());
      EXPECT_GE(ink.left, 299);
      EXPECT_GE(ink.top, 199);
      EXPECT_LE(ink.right, 540);
      EXPECT_LE(ink.bottom, 440);
      const double coverage = static_cast<double>(ink.dots) / (240.0 * 240.0);
      if (filled) {
        EXPECT_GT(coverage, 0.15);
      } else {
        EXPECT_LT(coverage, 0.25);
      }
    }
  }
}

TEST(ShapeRender, EllipseTouchesTheMiddleOfEachSide) {
  TestPrinter printer(300);
  printer.Add(kVObjCircle, 100, 100, 300, 150);
  printer.engine->SetHatchPattern(kVHatchSolid, 1);
  const MonoBitmap& label = printer.PrintOnce();
  const InkBox ink = InkBounds(label);
  EXPECT_NEAR(ink.left, 100, 1);
  EXPECT_NEAR(ink.right, 399, 1);
  EXPECT_NEAR(ink.top, 100, 1);
  EXPECT_NEAR(ink.bottom, 249, 1);
  EXPECT_FALSE(label.Ink(103, 103));  // corners stay blank
  EXPECT_TRUE(label.Ink(250, 175));
}

TEST(ShapeRender, RotationKeepsTheTurnedOutlineAtThePosition) {
  struct Case {
    int degrees, left, top, right, bottom;
  };
  // A 200 x 60 bar at (200, 270).
  const Case cases[] = {{0, 200, 270, 399, 329},
                        {90, 200, 270, 259, 469},
                        {180, 200, 270, 399, 329},
                        {270, 200, 270, 259, 469},
                        {45, 200, 270, 382, 452}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.degrees);
    TestPrinter printer(300);
    printer.Add(kVObjRectangle, 200, 270, 200, 60);
    printer.engine->SetHatchPattern(kVHatchSolid, 1);
    printer.engine->RotateSelectedObject(c.degrees);
    const InkBox ink = InkBounds(printer.PrintOnce());
    EXPECT_NEAR(ink.left, c.left, 1);
    EXPECT_NEAR(ink.top, c.top, 1);
    EXPECT_NEAR(ink.right, c.right, 1);
    EXPECT_NEAR(ink.bottom, c.bottom, 1);
  }
  // A triangle turned upside down has its apex at the bottom.
  TestPrinter printer(300);
  printer.Add(kVObjTriangle, 100, 100, 200, 200);
  printer.engine->SetHatchPattern(kVHatchSolid, 1);
  printer.engine->RotateSelectedObject(180);
  const MonoBitmap& label = printer.PrintOnce();
  EXPECT_TRUE(label.Ink(110, 105));
  EXPECT_FALSE(label.Ink(110, 295));
}

TEST(ShapeRender, LabelMirrorOffsetsAndUpsideDown) {
  struct Case {
    const char* name;
    bool mirror, upsideDown;
    float offsetX, offsetY;
    int left, top;
  };
  // Media 4 in at 300 dpi = 1200 dots across; fixed length 1 in = 300 dots.
  const Case cases[] = {{"plain", false, false, 0, 0, 100, 50},
                        {"mirror", true, false, 0, 0, 1200 - 100 - 150, 50},
                        {"offsets", false, false, 0.1f, 0.2f, 130, 110},
                        {"upside down", false, true, 0, 0, 1200 - 100 - 150, 300 - 50 - 40}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TestPrinter printer(300);
    VLabelData data;
    printer.engine->GetLabelData(data, 0, nullptr);
    data.lengthInches = 1.0;
    data.lengthFixed = 1;
    printer.engine->SetLabelData(data);
    VLabelOptions options;
    printer.engine->GetLabelOptions(options);
    options.mirror = c.mirror ? 1 : 0;
    printer.engine->SetLabelOptions(options);
    printer.engine->SetLabelOffsets(nullptr, c.offsetX, c.offsetY);
    if (c.upsideDown) printer.engine->RotateLabel180Deg(0, nullptr);
    printer.Add(kVObjRectangle, 100, 50, 150, 40);
    printer.engine->SetHatchPattern(kVHatchSolid, 1);
    const MonoBitmap& label = printer.PrintOnce();
    EXPECT_EQ(label.width, 1200);
    EXPECT_EQ(label.height, 300);
    const InkBox ink = InkBounds(label);
    EXPECT_NEAR(ink.left, c.left, 1);
    EXPECT_NEAR(ink.top, c.top, 1);
    EXPECT_NEAR(ink.width(), 150, 1);
    EXPECT_NEAR(ink.height(), 40, 1);
  }
}

TEST(ShapeRender, LinesRunBetweenTheirEndsWithTheirThickness) {
  struct Case {
    int x1, y1, x2, y2, thickness;
  };
  const Case cases[] = {{50, 100, 450, 100, 5}, {200, 20, 200, 320, 3}, {50, 300, 350, 50, 4}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.x1 * 1000 + c.y1);
    TestPrinter printer(300);
    printer.Add(kVObjLine, std::min(c.x1, c.x2), std::min(c.y1, c.y2), std::abs(c.x2 - c.x1),
                std::abs(c.y2 - c.y1));
    VLineFormat line;
    ASSERT_TRUE(printer.engine->GetLineFormat(line));
    line.x1 = printer.Units(c.x1), line.y1 = printer.Units(c.y1);
    line.x2 = printer.Units(c.x2), line.y2 = printer.Units(c.y2);
    line.thicknessDots = c.thickness;
    ASSERT_TRUE(printer.engine->SetLineFormat(line));
    const MonoBitmap& label = printer.PrintOnce();
    const InkBox ink = InkBounds(label);
    EXPECT_NEAR(ink.left, std::min(c.x1, c.x2), 1);
    EXPECT_NEAR(ink.top, std::min(c.y1, c.y2), 1);
    const bool flat = c.y1 == c.y2, upright = c.x1 == c.x2;
    if (flat) {
      EXPECT_NEAR(ink.height(), c.thickness, 1);
    }
    if (upright) {
      EXPECT_NEAR(ink.width(), c.thickness, 1);
    }
    if (!flat && !upright) {
      // The rising line passes through its midpoint, not the other diagonal.
      EXPECT_TRUE(label.Ink((c.x1 + c.x2) / 2, (c.y1 + c.y2) / 2 + 1));
      EXPECT_FALSE(label.Ink(c.x1 + 5, c.y2 + 5));
    }
  }
}

TEST(ShapeRender, PolygonAndRoundedCorners) {
  TestPrinter printer(300);
  for (VPoint p : {VPoint{100, 100}, VPoint{500, 100}, VPoint{100, 500}}) {
    printer.engine->AddMultiLinePoints(VPoint{printer.Units(p.x), printer.Units(p.y)});
  }
  VDrawObj* polygon = printer.engine->CreateMultiLine();
  ASSERT_NE(polygon, nullptr);
  printer.engine->SetSelectByObject(polygon);
  printer.engine->SetHatchPattern(kVHatchSolid, 1);
  printer.engine->ClearMultiLinePoints();
  EXPECT_EQ(printer.engine->CreateMultiLine(), nullptr);  // fewer than two points
  const MonoBitmap& label = printer.PrintOnce();
  EXPECT_TRUE(label.Ink(110, 110));
  EXPECT_TRUE(label.Ink(105, 490));
  EXPECT_FALSE(label.Ink(310, 310));  // beyond the hypotenuse
  EXPECT_FALSE(label.Ink(95, 110));

  TestPrinter rounded(300);
  rounded.Add(kVObjRectangle, 100, 100, 200, 100);
  rounded.engine->SetHatchPattern(kVHatchSolid, 1);
  rounded.engine->SetRectangleRoundness(VPoint{rounded.Units(100), rounded.Units(100)});
  const MonoBitmap& round = rounded.PrintOnce();
  EXPECT_FALSE(round.Ink(102, 102));
  EXPECT_TRUE(round.Ink(200, 102));
}

// A black square with a second square over its right half: black ink adds,
// white erases, reverse turns black to white and white to black.
TEST(ShapeRender, ShapeInkPaintsBlackWhiteOrReverses) {
  struct Case {
    int32_t ink;
    bool overlap, rightOfBlack;  // ink at (190, 150) and at (260, 150)
  };
  const Case cases[] = {
      {kVInkBlack, true, true}, {kVInkWhite, false, false}, {kVInkReverse, false, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ink);
    TestPrinter printer(300);
    printer.Add(kVObjRectangle, 100, 100, 100, 100);
    printer.engine->SetHatchPattern(kVHatchSolid, 1);
    printer.Add(kVObjRectangle, 150, 100, 120, 100);
    printer.engine->SetHatchPattern(kVHatchSolid, 1);
    printer.engine->SetSelectedInk(c.ink);
    const MonoBitmap& label = printer.PrintOnce();
    EXPECT_TRUE(label.Ink(120, 150));  // the black square's left half stays
    EXPECT_EQ(label.Ink(190, 150), c.overlap);
    EXPECT_EQ(label.Ink(260, 150), c.rightOfBlack);
  }
}

TEST(ShapeRender, TestShapePrintDrawsTheRectangleOutlines) {
  TestPrinter printer(300);
  printer.Add(kVObjStar, 100, 100, 200, 200);
  printer.engine->SetHatchPattern(kVHatchSolid, 1);
  printer.engine->SetTestShapePrint(true);
  const MonoBitmap& label = printer.PrintOnce();
  EXPECT_TRUE(label.Ink(100, 100));
  EXPECT_FALSE(label.Ink(200, 200));
}

}  // namespace
}  // namespace vellum::testing
