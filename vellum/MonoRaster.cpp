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
}

cairo_t* MonoRaster::Begin(int width, int height) {
  width = std::clamp(width, 1, kMaxDots);
  height = std::clamp(height, 1, kMaxDots);
  if (surface_ == nullptr || width != width_ || height != height_) {
    Release();
    surface_ = cairo_image_surface_create(CAIRO_FORMAT_A8, width, height);
    width_ = width;
    height_ = height;
  } else {
    cairo_destroy(cr_);
  }
  cairo_surface_flush(surface_);
  if (cairo_surface_status(surface_) == CAIRO_STATUS_SUCCESS) {
    std::memset(cairo_image_surface_get_data(surface_), 0,
                static_cast<size_t>(cairo_image_surface_get_stride(surface_)) * height_);
  }
  cairo_surface_mark_dirty(surface_);
  cr_ = cairo_create(surface_);
  return cr_;
}

void MonoRaster::Threshold(MonoBitmap& out) {
  out.width = width_;
  out.height = height_;
  out.stride = (width_ + 7) / 8;
  out.bits.assign(static_cast<size_t>(out.stride) * height_, 0);
  if (surface_ == nullptr || cairo_surface_status(surface_) != CAIRO_STATUS_SUCCESS) return;
  cairo_surface_flush(surface_);
  const uint8_t* data = cairo_image_surface_get_data(surface_);
  const int srcStride = cairo_image_surface_get_stride(surface_);
  for (int y = 0; y < height_; ++y) {
    const uint8_t* src = data + static_cast<size_t>(y) * srcStride;
    uint8_t* dst = out.bits.data() + static_cast<size_t>(y) * out.stride;
    for (int x = 0; x < width_; ++x) {
      if (src[x] >= 128) dst[x >> 3] |= static_cast<uint8_t>(0x80 >> (x & 7));
    }
  }
}

}  // namespace vellum
