// A label on the media's canvas: centred across, cut at the media's end,
// turned clockwise, and the same dots in the PDF as in the PNG.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/serve/LabelCanvas.h"

namespace host {
namespace {

using vellum::MonoBitmap;

// A bitmap from rows of '#' (ink) and '.' (none).
MonoBitmap Draw(const std::vector<std::string>& rows) {
  MonoBitmap b;
  b.width = static_cast<int>(rows[0].size());
  b.height = static_cast<int>(rows.size());
  b.stride = (b.width + 7) / 8;
  b.bits.assign(static_cast<size_t>(b.stride) * b.height, 0);
  for (int y = 0; y < b.height; ++y) {
    for (int x = 0; x < b.width; ++x) {
      if (rows[y][x] == '#') b.bits[y * b.stride + x / 8] |= 0x80 >> (x % 8);
    }
  }
  return b;
}

std::vector<std::string> Rows(const MonoBitmap& b) {
  std::vector<std::string> rows;
  for (int y = 0; y < b.height; ++y) {
    std::string row;
    for (int x = 0; x < b.width; ++x) row += b.Ink(x, y) ? '#' : '.';
    rows.push_back(row);
  }
  return rows;
}

TEST(LabelCanvasTest, PlacesTheLabelCentredAndCutsItAtTheMediaEnd) {
  const struct {
    const char* what;
    std::vector<std::string> label;
    int width, height;
    std::vector<std::string> canvas;
  } kCases[] = {
      {"narrower: centred", {"#.#", "###"}, 7, 2, {"..#.#..", "..###.."}},
      {"odd room: the extra dot right", {"##"}, 5, 1, {".##.."}},
      {"shorter: blank below", {"#"}, 1, 3, {"#", ".", "."}},
      {"longer: cut", {"#", ".", "#"}, 1, 2, {"#", "."}},
      {"wider: both sides cut", {"#..#", ".##."}, 2, 2, {"..", "##"}},
      {"same size, wide rows",
       {"#........#", "..........", ".........#"},
       10,
       3,
       {"#........#", "..........", ".........#"}},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Rows(PlaceOnCanvas(Draw(c.label), c.width, c.height)), c.canvas);
  }
}

TEST(LabelCanvasTest, TurnsClockwise) {
  const MonoBitmap label = Draw({"##.", "#.."});
  const struct {
    int degrees;
    std::vector<std::string> turned;
  } kCases[] = {
      {0, {"##.", "#.."}},       {90, {"##", ".#", ".."}}, {180, {"..#", ".##"}},
      {270, {"..", "#.", "##"}}, {45, {"##.", "#.."}},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.degrees);
    EXPECT_EQ(Rows(TurnClockwise(label, c.degrees)), c.turned);
  }
}

TEST(LabelCanvasTest, PdfHasAPagePerCanvasOfItsSize) {
  CanvasPdf pdf;
  EXPECT_EQ(pdf.Finish(), "") << "no page, no document";
  CanvasPdf two;
  ASSERT_TRUE(two.AddPage(PlaceOnCanvas(Draw({"#"}), 406, 203), 203));  // 2 x 1 in
  ASSERT_TRUE(two.AddPage(PlaceOnCanvas(Draw({"#"}), 203, 406), 203));
  const std::string bytes = two.Finish();
  ASSERT_EQ(bytes.rfind("%PDF-", 0), 0u);
  EXPECT_NE(bytes.find("/Count 2\n"), std::string::npos);
  EXPECT_NE(bytes.find("/MediaBox [ 0 0 144 72 ]"), std::string::npos);
  EXPECT_NE(bytes.find("/MediaBox [ 0 0 72 144 ]"), std::string::npos);
}

}  // namespace
}  // namespace host
