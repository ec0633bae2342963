#include "vellum/GlyphLayer.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vellum {
namespace {

// Dots a glyph's raster may reach past its exact bounds: its position is
// rounded to a whole dot, its edges out to whole dots.
constexpr double kRasterMargin = 2.0;

// x / 255 rounded to nearest, the way pixman divides (x <= 255 * 255).
inline uint32_t Div255(uint32_t x) {
  const uint32_t t = x + 0x80;
  return (t + (t >> 8)) >> 8;
}

// The layer's coverage `m` laid OVER the raster's `d`.
inline uint8_t Over(uint8_t m, uint8_t d) {
  return static_cast<uint8_t>(m + Div255(static_cast<uint32_t>(d) * (255u - m)));
}

// One dot of the layer laid onto the raster (if `kept`) and blanked.
inline void LayDot(uint8_t* from, uint8_t* to, bool kept) {
  if (*from == 0) return;
  if (kept) *to = Over(*from, *to);
  *from = 0;
}

// Sixteen dots at once; where the layer is blank, Over gives the raster's
// own value back, so every lane is computed.
inline void LaySixteen(uint8_t* from, uint8_t* to) {
#if defined(__SSE2__)
  const __m128i m = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
  const __m128i zero = _mm_setzero_si128();
  if (_mm_movemask_epi8(_mm_cmpeq_epi8(m, zero)) == 0xFFFF) return;
  const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(to));
  const __m128i full = _mm_set1_epi16(255), half = _mm_set1_epi16(0x80);
  auto lane = [&](__m128i m16, __m128i d16) {
    __m128i t = _mm_add_epi16(_mm_mullo_epi16(d16, _mm_sub_epi16(full, m16)), half);
    t = _mm_srli_epi16(_mm_add_epi16(t, _mm_srli_epi16(t, 8)), 8);
    return _mm_add_epi16(m16, t);
  };
  const __m128i low = lane(_mm_unpacklo_epi8(m, zero), _mm_unpacklo_epi8(d, zero));
  const __m128i high = lane(_mm_unpackhi_epi8(m, zero), _mm_unpackhi_epi8(d, zero));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(to), _mm_packus_epi16(low, high));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(from), zero);
#else
  for (int i = 0; i < 16; ++i) LayDot(from + i, to + i, true);
#endif
}

bool Whole(double v) { return v == std::floor(v) && std::abs(v) < 1e9; }

int ClampedDot(double v, int limit) {
  return static_cast<int>(std::clamp(v, 0.0, static_cast<double>(limit)));
}

}  // namespace

GlyphLayer::~GlyphLayer() {
  if (layerCr_ != nullptr) cairo_destroy(layerCr_);
  if (layer_ != nullptr) cairo_surface_destroy(layer_);
}

bool GlyphLayer::Accepts(cairo_t* cr) {
  if (cairo_get_operator(cr) != CAIRO_OPERATOR_OVER) return false;
  cairo_surface_t* target = cairo_get_target(cr);
  if (cairo_get_group_target(cr) != target ||
      cairo_surface_get_type(target) != CAIRO_SURFACE_TYPE_IMAGE ||
      cairo_image_surface_get_format(target) != CAIRO_FORMAT_A8) {
    return false;
  }
  double r, g, b, a;
  if (cairo_pattern_get_rgba(cairo_get_source(cr), &r, &g, &b, &a) != CAIRO_STATUS_SUCCESS ||
      a != 1.0) {
    return false;
  }
  const int width = cairo_image_surface_get_width(target);
  const int height = cairo_image_surface_get_height(target);
  return ClipRect(cr, width, height) && Prepare(width, height);
}

bool GlyphLayer::ClipRect(cairo_t* cr, int width, int height) {
  cairo_save(cr);
  cairo_identity_matrix(cr);
  cairo_rectangle_list_t* list = cairo_copy_clip_rectangle_list(cr);
  cairo_restore(cr);
  bool ok = list->status == CAIRO_STATUS_SUCCESS && list->num_rectangles <= 1;
  kept_ = DotRect{};  // no rectangle: everything is clipped away
  if (ok && list->num_rectangles == 1) {
    const cairo_rectangle_t& r = list->rectangles[0];
    ok = Whole(r.x) && Whole(r.y) && Whole(r.width) && Whole(r.height);
    if (ok) {
      kept_.x0 = ClampedDot(r.x, width);
      kept_.y0 = ClampedDot(r.y, height);
      kept_.x1 = ClampedDot(r.x + r.width, width);
      kept_.y1 = ClampedDot(r.y + r.height, height);
    }
  }
  cairo_rectangle_list_destroy(list);
  return ok;
}

bool GlyphLayer::Prepare(int width, int height) {
  if (layer_ != nullptr && cairo_image_surface_get_width(layer_) == width &&
      cairo_image_surface_get_height(layer_) == height) {
    return true;
  }
  if (layerCr_ != nullptr) cairo_destroy(layerCr_);
  if (layer_ != nullptr) cairo_surface_destroy(layer_);
  layer_ = cairo_image_surface_create(CAIRO_FORMAT_A8, width, height);  // blank
  layerCr_ = cairo_create(layer_);
  if (cairo_status(layerCr_) == CAIRO_STATUS_SUCCESS) return true;
  cairo_destroy(layerCr_);
  cairo_surface_destroy(layer_);
  layerCr_ = nullptr, layer_ = nullptr;
  return false;
}

void GlyphLayer::Draw(cairo_t* cr, const DeviceBounds& bounds,
                      const std::function<void(cairo_t*)>& draw) {
  const int width = cairo_image_surface_get_width(layer_);
  const int height = cairo_image_surface_get_height(layer_);
  DotRect drawn;
  drawn.x0 = ClampedDot(std::floor(bounds.x0 - kRasterMargin), width);
  drawn.y0 = ClampedDot(std::floor(bounds.y0 - kRasterMargin), height);
  drawn.x1 = ClampedDot(std::ceil(bounds.x1 + kRasterMargin), width);
  drawn.y1 = ClampedDot(std::ceil(bounds.y1 + kRasterMargin), height);
  if (drawn.Empty()) return;  // wholly off the surface: cairo draws nothing either

  cairo_matrix_t matrix;
  cairo_get_matrix(cr, &matrix);
  cairo_save(layerCr_);
  cairo_rectangle(layerCr_, drawn.x0, drawn.y0, drawn.x1 - drawn.x0, drawn.y1 - drawn.y0);
  cairo_clip(layerCr_);  // nothing is left on the layer outside what is laid
  cairo_set_matrix(layerCr_, &matrix);
  cairo_set_operator(layerCr_, CAIRO_OPERATOR_ADD);
  cairo_set_source_rgba(layerCr_, 0.0, 0.0, 0.0, 1.0);
  if (cairo_has_current_point(cr)) {
    double x, y;
    cairo_get_current_point(cr, &x, &y);
    cairo_move_to(layerCr_, x, y);
  }
  draw(layerCr_);
  cairo_restore(layerCr_);
  LayOnto(cairo_get_target(cr), drawn);
}

void GlyphLayer::LayOnto(cairo_surface_t* target, const DotRect& drawn) {
  cairo_surface_flush(layer_);
  cairo_surface_flush(target);
  uint8_t* layer = cairo_image_surface_get_data(layer_);
  uint8_t* raster = cairo_image_surface_get_data(target);
  const size_t layerStride = static_cast<size_t>(cairo_image_surface_get_stride(layer_));
  const size_t rasterStride = static_cast<size_t>(cairo_image_surface_get_stride(target));
  // Columns laid sixteen at a time: those the clip keeps whole.
  const int fastFrom = std::clamp(kept_.x0, drawn.x0, drawn.x1);
  const int fastTo = std::clamp(kept_.x1, drawn.x0, drawn.x1);
  for (int y = drawn.y0; y < drawn.y1; ++y) {
    uint8_t* from = layer + y * layerStride;
    uint8_t* to = raster + y * rasterStride;
    const bool rowKept = y >= kept_.y0 && y < kept_.y1;
    int x = drawn.x0;
    if (rowKept) {
      for (; x < fastFrom; ++x) LayDot(from + x, to + x, false);
      for (; x + 16 <= fastTo; x += 16) LaySixteen(from + x, to + x);
    }
    for (; x < drawn.x1; ++x) LayDot(from + x, to + x, rowKept && x >= kept_.x0 && x < kept_.x1);
  }
  cairo_surface_mark_dirty(layer_);
  cairo_surface_mark_dirty_rectangle(target, drawn.x0, drawn.y0, drawn.x1 - drawn.x0,
                                     drawn.y1 - drawn.y0);
}

}  // namespace vellum
