#include "vellum/MonoRaster.h"

#include <algorithm>
#include <cstring>

namespace vellum {

MonoRaster::~MonoRaster() { Release(); }

void MonoRaster::Release() {
  if (cr_ != nullptr) cairo_destroy(cr_);
  if (surface_ != nullptr) cairo_surface_destroy(surface_);
  cr_ = nullptr;
  surface_ = nullptr;
  pixels_ = PageBuffer();  // after the surface that draws on it
}

// A blank surface on pixels of our own (see PageBuffer), else on cairo's.
cairo_surface_t* MonoRaster::NewSurface(int width, int height) {
  const int stride = cairo_format_stride_for_width(CAIRO_FORMAT_A8, width);
  if (stride > 0) {
    pixels_ = PageBuffer(static_cast<size_t>(stride) * static_cast<size_t>(height));
    if (pixels_.data() != nullptr) {
      return cairo_image_surface_create_for_data(pixels_.data(), CAIRO_FORMAT_A8, width, height,
                                                 stride);
    }
  }
  return cairo_image_surface_create(CAIRO_FORMAT_A8, width, height);
}

cairo_t* MonoRaster::Begin(int width, int height) {
  width = std::clamp(width, 1, kMaxDots);
  height = std::clamp(height, 1, kMaxDots);
  if (surface_ == nullptr || width != width_ || height != height_) {
    Release();
    surface_ = NewSurface(width, height);
    // Cairo treats a surface it knows to be blank specially: its first
    // opaque drawing is added rather than composited, which can differ by a
    // dot where glyphs touch. The first label drawn on a new surface would
    // then differ from the same label drawn later, and with a pool of
    // workers which label comes first depends on timing. Every label is
    // drawn as on a surface drawn on before.
    cairo_surface_mark_dirty(surface_);
    blank_ = true;
    width_ = width;
    height_ = height;
  } else {
    cairo_destroy(cr_);
  }
  // A new surface is blank, and Threshold leaves the one it read blank.
  if (!blank_ && cairo_surface_status(surface_) == CAIRO_STATUS_SUCCESS) {
    cairo_surface_flush(surface_);
    std::memset(cairo_image_surface_get_data(surface_), 0,
                static_cast<size_t>(cairo_image_surface_get_stride(surface_)) * height_);
    cairo_surface_mark_dirty(surface_);
  }
  blank_ = false;
  cr_ = cairo_create(surface_);
  return cr_;
}

void MonoRaster::Threshold(MonoBitmap& out) {
  out.width = width_;
  out.height = height_;
  out.stride = (width_ + 7) / 8;
  // Every byte is written below: a bitmap reused from label to label is not cleared first.
  out.bits.resize(static_cast<size_t>(out.stride) * height_);
  ThresholdInto(out.bits.data(), static_cast<size_t>(out.stride), InkBit::kOne);
}

void MonoRaster::ThresholdInto(uint8_t* bits, size_t stride, InkBit ink) {
  if (surface_ == nullptr || cairo_surface_status(surface_) != CAIRO_STATUS_SUCCESS) {
    const uint8_t paper = ink == InkBit::kOne ? 0 : 0xFF;
    const size_t rowBytes = static_cast<size_t>(width_ + 7) / 8;
    for (int y = 0; y < height_; ++y) {
      std::memset(bits + static_cast<size_t>(y) * stride, paper, rowBytes);
    }
    return;
  }
  cairo_surface_flush(surface_);
  ThresholdRows(cairo_image_surface_get_data(surface_),
                static_cast<size_t>(cairo_image_surface_get_stride(surface_)), width_, height_,
                bits, stride, ink);
  cairo_surface_mark_dirty(surface_);
  blank_ = true;
}

}  // namespace vellum
