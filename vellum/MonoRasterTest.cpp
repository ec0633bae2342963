// The threshold must give exactly "alpha of at least one half is ink" for
// every dot, whatever the width (the fast paths take 64 and 16 dots at a
// time, the rest one by one) and however sparse the ink, and leave the
// surface blank for the next label.
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "vellum/MonoRaster.h"

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

}  // namespace
}  // namespace vellum
