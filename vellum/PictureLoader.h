#pragma once
// Loads picture files (PNG, BMP including 1-bit, JPEG, GIF: whatever
// gdk-pixbuf reads) into an ink mask at the picture's own pixel size: a pixel
// is ink when it is more dark than light and more opaque than transparent.
// The renderer scales the mask into the object's rectangle. Masks are shared
// (read-only) between the label and the print jobs that snapshot it.

#include <cairo.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

namespace vellum {

struct PictureMask {
  PictureMask(int w, int h);
  ~PictureMask();
  PictureMask(const PictureMask&) = delete;
  PictureMask& operator=(const PictureMask&) = delete;

  int width;
  int height;
  cairo_surface_t* surface;  // CAIRO_FORMAT_A8, 255 where there is ink
};

struct PictureLoad {
  std::shared_ptr<const PictureMask> mask;  // null on failure
  std::wstring failure;                     // why, for the diagnostics
  bool overBudget = false;                  // refused for the label's picture memory
};

// Pictures larger than this on either side are refused (a corrupt header must
// not make us allocate gigabytes).
inline constexpr int kMaxPictureSide = 20000;

// The fewest pixels a picture may always have, whatever its label's size.
inline constexpr int64_t kMinPicturePixels = 16'000'000;

// Loads `file`; a picture of more than `pixelBudget` pixels (as its header
// says) is refused before it is decoded: a small file may unpack to gigabytes.
PictureLoad LoadPicture(const std::filesystem::path& file, int64_t pixelBudget = kMinPicturePixels);

// The pixel size `file`'s header gives; false when it is no picture the
// engine reads. Reads the header only.
bool PictureFileSize(const std::filesystem::path& file, int& width, int& height);
// True when a picture of this size is decoded under `pixelBudget`.
bool PictureFits(int width, int height, int64_t pixelBudget);
// The bytes the mask of a picture of this size takes.
int64_t MaskBytes(int width, int height);

}  // namespace vellum
