// The threshold must give exactly "alpha of at least one half is ink" for
// every dot, whatever the width (the fast paths take 64, 32 and 16 dots at a
// time, the rest eight or one at a time), however sparse the ink, by every
// way the processor offers and with ink as either bit, and leave the surface
// blank for the next label.
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "vellum/MonoRaster.h"
#include "vellum/PngWriter.h"
#include "vellum/ThresholdRows.h"

namespace vellum {
namespace {

TEST(MonoRaster, ThresholdsEveryDotAndLeavesTheSurfaceBlank) {
  const int widths[] = {1, 7, 8, 15, 16, 17, 63, 64, 65, 127, 128, 129, 200};
  const int inkEvery[] = {1, 3, 40, 1000};  // one dot in N is drawn on
  std::mt19937 draw(21);
  MonoRaster raster;
  MonoBitmap bitmap;
  for (int width : widths) {
    for (int every : inkEvery) {
      const int height = 9;
      cairo_t* cr = raster.Begin(width, height);
      cairo_surface_t* surface = cairo_get_target(cr);
      cairo_surface_flush(surface);
      uint8_t* data = cairo_image_surface_get_data(surface);
      const int stride = cairo_image_surface_get_stride(surface);
      std::vector<uint8_t> alpha(static_cast<size_t>(width) * height, 0);
      for (size_t i = 0; i < alpha.size(); ++i) {
        if (draw() % every == 0) alpha[i] = static_cast<uint8_t>(draw() % 256);
      }
      alpha[alpha.size() - 1] = 128;  // the smallest ink, in the last dot
      for (int y = 0; y < height; ++y) {
        std::memcpy(data + static_cast<size_t>(y) * stride, &alpha[static_cast<size_t>(y) * width],
                    width);
      }
      cairo_surface_mark_dirty(surface);
      raster.Threshold(bitmap);
      ASSERT_EQ(bitmap.width, width);
      for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
          ASSERT_EQ(bitmap.Ink(x, y), alpha[static_cast<size_t>(y) * width + x] >= 128)
              << "width " << width << " every " << every << " at " << x << "," << y;
        }
        for (int x = 0; x < width; ++x) {
          ASSERT_EQ(data[static_cast<size_t>(y) * stride + x], 0)
              << "left ink at " << x << "," << y;
        }
      }
    }
  }
}

TEST(MonoRaster, EveryWayGivesTheSameBitsEitherWayRound) {
  const int widths[] = {1, 8, 31, 32, 33, 63, 64, 65, 95, 96, 97, 130, 200};
  const int inkEvery[] = {1, 5, 300};
  std::mt19937 draw(7);
  for (int width : widths) {
    for (int every : inkEvery) {
      const int height = 5;
      const size_t coverageStride = static_cast<size_t>(width) + 3;  // rows need not touch
      std::vector<uint8_t> alpha(coverageStride * height, 0);
      for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
          if (draw() % every == 0)
            alpha[y * coverageStride + x] = static_cast<uint8_t>(draw() % 256);
        }
      }
      const size_t bytes = static_cast<size_t>(width + 7) / 8, bitsStride = bytes + 1;
      for (ThresholdWay way :
           {ThresholdWay::kEightDots, ThresholdWay::kSse2, ThresholdWay::kAvx2}) {
        for (InkBit ink : {InkBit::kOne, InkBit::kZero}) {
          std::vector<uint8_t> coverage = alpha;
          std::vector<uint8_t> bits(bitsStride * height, 0x5A);
          if (!ThresholdRowsBy(way, coverage.data(), coverageStride, width, height, bits.data(),
                               bitsStride, ink)) {
            continue;  // not on this processor
          }
          for (int y = 0; y < height; ++y) {
            for (int x = 0; x < static_cast<int>(bytes) * 8; ++x) {
              const bool inked = x < width && alpha[y * coverageStride + x] >= 128;
              const bool set = (bits[y * bitsStride + x / 8] >> (7 - x % 8)) & 1;
              ASSERT_EQ(set, inked == (ink == InkBit::kOne))
                  << "way " << static_cast<int>(way) << " width " << width << " at " << x << ","
                  << y;
            }
            ASSERT_EQ(bits[y * bitsStride + bytes], 0x5A) << "wrote past the row";
            for (int x = 0; x < width; ++x) ASSERT_EQ(coverage[y * coverageStride + x], 0);
          }
        }
      }
    }
  }
}

// A label wanted only as a PNG is thresholded into the encoder's rows: the
// file must be the one its bitmap gives.
TEST(MonoRaster, ThresholdedStraightIntoAPngGivesTheBitmapsFile) {
  MonoRaster raster;
  for (int width : {13, 64, 203}) {
    auto drawLabel = [&] {
      cairo_t* cr = raster.Begin(width, 40);
      cairo_set_line_width(cr, 3.0);
      cairo_move_to(cr, 0.5, 1.0);
      cairo_line_to(cr, width - 1.0, 37.5);
      cairo_stroke(cr);
    };
    drawLabel();
    MonoBitmap bitmap;
    raster.Threshold(bitmap);
    std::vector<uint8_t> fromBitmap, direct;
    ASSERT_TRUE(EncodeMonoPng(bitmap, 203, fromBitmap));
    drawLabel();
    ASSERT_TRUE(EncodeMonoPng(
        width, 40, 203,
        [&](uint8_t* bits, size_t stride) { raster.ThresholdInto(bits, stride, InkBit::kZero); },
        direct));
    EXPECT_EQ(direct, fromBitmap) << "width " << width;
  }
}

}  // namespace
}  // namespace vellum
