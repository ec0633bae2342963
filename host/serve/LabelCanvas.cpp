#include "host/serve/LabelCanvas.h"

#include <cairo-pdf.h>

#include <algorithm>

namespace host {
namespace {

using vellum::MonoBitmap;

MonoBitmap Blank(int width, int height) {
  MonoBitmap out;
  out.width = std::max(1, width);
  out.height = std::max(1, height);
  out.stride = (out.width + 7) / 8;
  out.bits.assign(static_cast<size_t>(out.stride) * out.height, 0);
  return out;
}

void SetInk(MonoBitmap& bitmap, int x, int y) {
  bitmap.bits[static_cast<size_t>(y) * bitmap.stride + x / 8] |=
      static_cast<uint8_t>(0x80 >> (x % 8));
}

// The canvas as a cairo A1 surface: a set bit is ink. Cairo keeps A1 bits in
// 32-bit words of the machine's byte order, the first dot in the word's low
// bit on little-endian machines and in its high bit on big-endian ones.
cairo_surface_t* InkMask(const MonoBitmap& canvas) {
  cairo_surface_t* mask = cairo_image_surface_create(CAIRO_FORMAT_A1, canvas.width, canvas.height);
  if (cairo_surface_status(mask) != CAIRO_STATUS_SUCCESS) return mask;
  cairo_surface_flush(mask);
  unsigned char* data = cairo_image_surface_get_data(mask);
  const int stride = cairo_image_surface_get_stride(mask);
  const uint32_t one = 1;
  const bool littleEndian = *reinterpret_cast<const unsigned char*>(&one) == 1;
  for (int y = 0; y < canvas.height; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(data + static_cast<size_t>(y) * stride);
    for (int x = 0; x < canvas.width; ++x) {
      if (!canvas.Ink(x, y)) continue;
      row[x / 32] |= littleEndian ? (1u << (x % 32)) : (0x80000000u >> (x % 32));
    }
  }
  cairo_surface_mark_dirty(mask);
  return mask;
}

}  // namespace

MonoBitmap PlaceOnCanvas(const MonoBitmap& label, int width, int height) {
  MonoBitmap canvas = Blank(width, height);
  const int left = (canvas.width - label.width) / 2;  // negative: cut on both sides
  if (left == 0 && label.width == canvas.width && label.stride == canvas.stride) {
    const size_t rows = static_cast<size_t>(std::min(label.height, canvas.height));
    std::copy_n(label.bits.begin(), rows * label.stride, canvas.bits.begin());
    return canvas;
  }
  for (int y = 0; y < std::min(label.height, canvas.height); ++y) {
    for (int x = std::max(0, -left); x < label.width && x + left < canvas.width; ++x) {
      if (label.Ink(x, y)) SetInk(canvas, x + left, y);
    }
  }
  return canvas;
}

MonoBitmap TurnClockwise(const MonoBitmap& bitmap, int degrees) {
  if (degrees != 90 && degrees != 180 && degrees != 270) return bitmap;
  const bool across = degrees != 180;
  MonoBitmap out =
      Blank(across ? bitmap.height : bitmap.width, across ? bitmap.width : bitmap.height);
  for (int y = 0; y < bitmap.height; ++y) {
    for (int x = 0; x < bitmap.width; ++x) {
      if (!bitmap.Ink(x, y)) continue;
      if (degrees == 90) SetInk(out, bitmap.height - 1 - y, x);
      if (degrees == 180) SetInk(out, bitmap.width - 1 - x, bitmap.height - 1 - y);
      if (degrees == 270) SetInk(out, y, bitmap.width - 1 - x);
    }
  }
  return out;
}

CanvasPdf::CanvasPdf() = default;

CanvasPdf::~CanvasPdf() {
  if (surface_ != nullptr) cairo_surface_destroy(surface_);
}

cairo_status_t CanvasPdf::Write(void* closure, const unsigned char* data, unsigned int length) {
  static_cast<CanvasPdf*>(closure)->bytes_.append(reinterpret_cast<const char*>(data), length);
  return CAIRO_STATUS_SUCCESS;
}

bool CanvasPdf::AddPage(const MonoBitmap& canvas, int dpi) {
  if (failed_ || dpi <= 0) return false;
  const double scale = 72.0 / dpi;
  const double width = canvas.width * scale, height = canvas.height * scale;
  if (surface_ == nullptr) {
    surface_ = cairo_pdf_surface_create_for_stream(&CanvasPdf::Write, this, width, height);
  } else {
    cairo_pdf_surface_set_size(surface_, width, height);
  }
  cairo_surface_t* mask = InkMask(canvas);
  cairo_t* cr = cairo_create(surface_);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_paint(cr);
  cairo_scale(cr, scale, scale);
  cairo_set_source_rgb(cr, 0, 0, 0);
  cairo_pattern_t* pattern = cairo_pattern_create_for_surface(mask);
  cairo_pattern_set_filter(pattern, CAIRO_FILTER_NEAREST);
  cairo_mask(cr, pattern);
  cairo_show_page(cr);
  failed_ = cairo_status(cr) != CAIRO_STATUS_SUCCESS ||
            cairo_surface_status(surface_) != CAIRO_STATUS_SUCCESS;
  cairo_pattern_destroy(pattern);
  cairo_destroy(cr);
  cairo_surface_destroy(mask);
  if (!failed_) ++pages_;
  return !failed_;
}

std::string CanvasPdf::Finish() {
  if (surface_ == nullptr) return "";
  cairo_surface_finish(surface_);
  failed_ = failed_ || cairo_surface_status(surface_) != CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(surface_);
  surface_ = nullptr;
  return failed_ || pages_ == 0 ? "" : std::move(bytes_);
}

}  // namespace host
