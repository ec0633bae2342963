#pragma once
// The label's drawing surface at printer resolution. Everything is drawn into
// an 8-bit alpha surface (alpha is ink) and thresholded to one bit per dot,
// which is what the print head takes. The renderer owns one MonoRaster and
// reuses it from label to label, so memory stays bounded by one label.

#include <cairo.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "vellum/GlyphLayer.h"
#include "vellum/PageBuffer.h"
#include "vellum/ThresholdRows.h"

namespace vellum {

// One bit per dot, rows packed most significant bit first; a set bit is ink.
struct MonoBitmap {
  int width = 0;
  int height = 0;
  int stride = 0;  // bytes per row
  std::vector<uint8_t> bits;

  bool Ink(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return false;
    return (bits[static_cast<size_t>(y) * stride + x / 8] >> (7 - x % 8)) & 1;
  }
};

class MonoRaster {
 public:
  MonoRaster() = default;
  ~MonoRaster();
  MonoRaster(const MonoRaster&) = delete;
  MonoRaster& operator=(const MonoRaster&) = delete;

  // Prepares a blank (inkless) surface of the given size in dots and returns
  // a drawing context for it; the context belongs to the raster and stays
  // valid until the next Begin. Sizes are clamped to 1..kMaxDots.
  cairo_t* Begin(int width, int height);

  // Ink is alpha of at least one half. Leaves the surface blank for the next
  // Begin, so nothing may be drawn between Threshold and Begin.
  void Threshold(MonoBitmap& out);
  // The same into rows of `stride` bytes at `bits`, with ink as `ink`.
  void ThresholdInto(uint8_t* bits, size_t stride, InkBit ink);

  int width() const { return width_; }
  int height() const { return height_; }

  // Lays text onto this raster; blank between labels.
  GlyphLayer& glyphs() { return glyphs_; }

  static constexpr int kMaxDots = 32000;

 private:
  void Release();
  cairo_surface_t* NewSurface(int width, int height);

  PageBuffer pixels_;  // the surface's; empty when cairo allocated them
  cairo_surface_t* surface_ = nullptr;
  cairo_t* cr_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  bool blank_ = false;  // no ink on the surface: Begin need not clear it
  GlyphLayer glyphs_;
};

}  // namespace vellum
