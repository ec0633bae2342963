// Full ZPL graphics from the user's side: a known bitmap sent in every form
// "^GF" takes, or downloaded with "~DG" and recalled with "^XG", prints dot
// for dot where the job put it, at the usual resolutions, and nothing else
// prints.
#include <gtest/gtest.h>

#include "host/HostTestSupport.h"
#include "parsers/zpl/ZPLGraphicTestSupport.h"

namespace host::testing {
namespace {

struct Placement {
  int x, y;    // dots
  int mx, my;  // magnification
};

// The label's dots that differ from `bitmap` printed at `at`, over a black
// box from (bx, by) to (bx2, by2) when `reverse`.
struct Box {
  int x, y, x2, y2;
};
int Differences(const PngInfo& label, const ZplBitmap& bitmap, Placement at,
                Box box = {0, 0, 0, 0}) {
  int differences = 0;
  for (int y = 0; y < static_cast<int>(label.height); ++y) {
    for (int x = 0; x < static_cast<int>(label.width); ++x) {
      const int bx = x - at.x, by = y - at.y;
      const bool inside =
          bx >= 0 && by >= 0 && bx < bitmap.WidthDots() * at.mx && by < bitmap.rows * at.my;
      const bool black = x >= box.x && x < box.x2 && y >= box.y && y < box.y2;
      const bool want = black != (inside && bitmap.Ink(bx / at.mx, by / at.my));
      differences += label.Ink(x, y) != want ? 1 : 0;
    }
  }
  return differences;
}

PngInfo RenderOne(const ScratchDir& dir, const std::string& job, int dpi) {
  std::filesystem::remove_all(dir / "out");
  dir.Write("g.zpl", job);
  const RunResult run =
      RunIn(dir, "render", {"--zpl", "full", "--dpi", std::to_string(dpi), "g.zpl"});
  EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
  const std::vector<std::string> files = FileNames(dir / "out");
  if (files.size() != 1) {
    ADD_FAILURE() << files.size() << " files printed\n" << run.out << run.err;
    return {};
  }
  return ReadPng(dir / "out" / files[0]);
}

TEST(ZplGraphicsTest, GraphicFieldsPrintDotForDotInEveryForm) {
  ScratchDir dir;
  const ZplBitmap sample = zplgfx::SampleBitmap();
  for (int dpi : {203, 300, 600}) {
    for (const std::string& form : zplgfx::GraphicForms()) {
      SCOPED_TRACE(form + " at " + std::to_string(dpi) + " dpi");
      const PngInfo label =
          RenderOne(dir, "^XA^FO37,23" + zplgfx::GraphicField(sample, form) + "^FS^XZ", dpi);
      ASSERT_TRUE(label.valid);
      EXPECT_EQ(Differences(label, sample, {37, 23, 1, 1}), 0);
    }
  }
}

// "^FR" (or "^LRY") turns what lies below the graphic's ink: over a black
// box the bitmap prints white.
TEST(ZplGraphicsTest, ReversedGraphicsTurnWhatLiesBelow) {
  ScratchDir dir;
  const ZplBitmap sample = zplgfx::SampleBitmap();
  const std::string field = zplgfx::GraphicField(sample, "z64");
  for (const std::string& reverse : {"^FR" + field, field + "^FR", "^LRY" + field + "^LRN"}) {
    const PngInfo label =
        RenderOne(dir, "^XA^FO30,20^GB60,40,40^FS^FO37,23" + reverse + "^FS^XZ", 203);
    ASSERT_TRUE(label.valid);
    EXPECT_EQ(Differences(label, sample, {37, 23, 1, 1}, {30, 20, 90, 60}), 0) << reverse;
  }
}

TEST(ZplGraphicsTest, DownloadedGraphicsPrintMagnifiedInWholeDots) {
  ScratchDir dir;
  const ZplBitmap sample = zplgfx::SampleBitmap();
  const std::string download = "~DGR:SAMPLE.GRF,115,5," + zplgfx::CompressedHex(sample) + "\n";
  for (int dpi : {203, 300}) {
    SCOPED_TRACE(dpi);
    PngInfo label = RenderOne(dir, download + "^XA^FO11,7^XGR:SAMPLE.GRF,3,2^FS^XZ", dpi);
    ASSERT_TRUE(label.valid);
    EXPECT_EQ(Differences(label, sample, {11, 7, 3, 2}), 0);
    // Recalled by a later job, as it is.
    label = RenderOne(dir, "^XA^FO50,60^IMR:SAMPLE.GRF^FS^XZ", dpi);
    ASSERT_TRUE(label.valid);
    EXPECT_EQ(Differences(label, sample, {50, 60, 1, 1}), 0);
  }
}

// On media without a set length a label ends a margin below its content: a
// graphic alone is measured by its bottom, as a box of its size is, and so
// is never cut, in every form and magnification.
TEST(ZplGraphicsTest, GraphicOnlyLabelsEndBelowTheGraphicAsABoxDoes) {
  ScratchDir dir;
  const ZplBitmap sample = zplgfx::SampleBitmap();
  const std::string download = "~DGR:SAMPLE.GRF,115,5," + zplgfx::CompressedHex(sample) + "\n";
  const struct {
    std::string job;
    Placement at;
  } cases[] = {
      {"^XA^FO37,23" + zplgfx::GraphicField(sample, "z64") + "^FS^XZ", {37, 23, 1, 1}},
      {"^XA^FO37,23" + zplgfx::GraphicField(sample, "hex") + "^FS^XZ", {37, 23, 1, 1}},
      {download + "^XA^FO11,300^XGR:SAMPLE.GRF,1,1^FS^XZ", {11, 300, 1, 1}},
      {download + "^XA^FO11,7^XGR:SAMPLE.GRF,3,2^FS^XZ", {11, 7, 3, 2}},
      {download + "^XA^FO50,60^IMR:SAMPLE.GRF^FS^XZ", {50, 60, 1, 1}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.job.substr(c.job.size() > 60 ? c.job.size() - 40 : 0));
    const int w = sample.WidthDots() * c.at.mx, h = sample.rows * c.at.my;
    const PngInfo box = RenderOne(dir,
                                  "^XA^FO" + std::to_string(c.at.x) + "," + std::to_string(c.at.y) +
                                      "^GB" + std::to_string(w) + "," + std::to_string(h) + "," +
                                      std::to_string(std::min(w, h)) + "^FS^XZ",
                                  203);
    const PngInfo label = RenderOne(dir, c.job, 203);
    ASSERT_TRUE(label.valid && box.valid);
    EXPECT_EQ(label.height, box.height);
    EXPECT_EQ(label.height, static_cast<uint32_t>(c.at.y + h + 21));  // 0.1 in, a whole dot more
    EXPECT_EQ(Differences(label, sample, c.at), 0);
  }
}

}  // namespace
}  // namespace host::testing
