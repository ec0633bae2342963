#include "vellum/GlyphLayer.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <type_traits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "vellum/SymbolLayout.h"

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

// The layer's coverage `m` laid onto the raster's `d`: OVER, DEST_OUT, or
// XOR (each product rounded, the sum saturated), as pixman computes them.
template <LayMode mode>
inline uint8_t Lay(uint8_t m, uint8_t d) {
  if constexpr (mode == LayMode::kOver) {
    return static_cast<uint8_t>(m + Div255(static_cast<uint32_t>(d) * (255u - m)));
  } else if constexpr (mode == LayMode::kErase) {
    return static_cast<uint8_t>(Div255(static_cast<uint32_t>(d) * (255u - m)));
  } else {
    const uint32_t sum = Div255(static_cast<uint32_t>(m) * (255u - d)) +
                         Div255(static_cast<uint32_t>(d) * (255u - m));
    return static_cast<uint8_t>(sum > 255 ? 255 : sum);
  }
}

// One dot of the layer laid onto the raster (if `kept`) and blanked.
template <LayMode mode>
inline void LayDot(uint8_t* from, uint8_t* to, bool kept) {
  if (*from == 0) return;
  if (kept) *to = Lay<mode>(*from, *to);
  *from = 0;
}

#if defined(__SSE2__)
// x / 255 rounded, in each 16-bit lane (x <= 255 * 255).
inline __m128i Div255(__m128i x) {
  const __m128i t = _mm_add_epi16(x, _mm_set1_epi16(0x80));
  return _mm_srli_epi16(_mm_add_epi16(t, _mm_srli_epi16(t, 8)), 8);
}

template <LayMode mode>
inline __m128i LayLanes(__m128i m, __m128i d) {
  const __m128i full = _mm_set1_epi16(255);
  const __m128i dm = Div255(_mm_mullo_epi16(d, _mm_sub_epi16(full, m)));
  if constexpr (mode == LayMode::kOver) {
    return _mm_add_epi16(m, dm);
  } else if constexpr (mode == LayMode::kErase) {
    return dm;
  } else {
    return _mm_add_epi16(Div255(_mm_mullo_epi16(m, _mm_sub_epi16(full, d))), dm);
  }
}
#endif

// `count` dots from `at` set to `value`. A barcode's bars are a few dots wide
// and hundreds of rows tall: a library call per row and bar cost more than
// the stores, so short spans are written as two overlapping stores.
inline void FillDots(uint8_t* at, size_t count, uint8_t value) {
  auto twice = [&](auto word) {
    std::memset(&word, value, sizeof word);
    std::memcpy(at, &word, sizeof word);
    std::memcpy(at + count - sizeof word, &word, sizeof word);
  };
  if (count >= 16) {
    std::memset(at, value, count);
  } else if (count >= 8) {
    twice(uint64_t{});
  } else if (count >= 4) {
    twice(uint32_t{});
  } else if (count >= 2) {
    twice(uint16_t{});
  } else if (count == 1) {
    *at = value;
  }
}

// Sixteen dots at once; where the layer is blank, every mode gives the
// raster's own value back, so every lane is computed. With `blank`, the
// layer's dots are blanked as they are laid.
template <LayMode mode, bool blank = true>
inline void LaySixteen(uint8_t* from, uint8_t* to) {
#if defined(__SSE2__)
  const __m128i m = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
  const __m128i zero = _mm_setzero_si128();
  if (_mm_movemask_epi8(_mm_cmpeq_epi8(m, zero)) == 0xFFFF) return;
  const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(to));
  if (_mm_movemask_epi8(_mm_cmpeq_epi8(d, zero)) == 0xFFFF) {
    // On blank paper OVER and XOR leave the layer's coverage, erasing nothing.
    if constexpr (mode != LayMode::kErase) _mm_storeu_si128(reinterpret_cast<__m128i*>(to), m);
    if constexpr (blank) _mm_storeu_si128(reinterpret_cast<__m128i*>(from), zero);
    return;
  }
  const __m128i low = LayLanes<mode>(_mm_unpacklo_epi8(m, zero), _mm_unpacklo_epi8(d, zero));
  const __m128i high = LayLanes<mode>(_mm_unpackhi_epi8(m, zero), _mm_unpackhi_epi8(d, zero));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(to), _mm_packus_epi16(low, high));  // saturates
  if constexpr (blank) _mm_storeu_si128(reinterpret_cast<__m128i*>(from), zero);
#else
  for (int i = 0; i < 16; ++i) {
    if (from[i] != 0) to[i] = Lay<mode>(from[i], to[i]);
    if constexpr (blank) from[i] = 0;
  }
#endif
}

// Where a glyph's dots fall within a rectangle of the raster: rows y0..y1
// and columns x0..x1 (exclusive) of the raster; its first dot at (left, top).
struct GlyphSpan {
  long left = 0, top = 0;
  int x0 = 0, y0 = 0, x1 = 0, y1 = 0;

  GlyphSpan(const GlyphAt& at, int withinX0, int withinY0, int withinX1, int withinY1)
      : left(static_cast<long>(at.x) + at.raster->x), top(static_cast<long>(at.y) + at.raster->y) {
    x0 = static_cast<int>(std::clamp<long>(left, withinX0, withinX1));
    x1 = static_cast<int>(std::clamp<long>(left + at.raster->width, withinX0, withinX1));
    y0 = static_cast<int>(std::clamp<long>(top, withinY0, withinY1));
    y1 = static_cast<int>(std::clamp<long>(top + at.raster->height, withinY0, withinY1));
  }
  // The glyph's dots from column x0 of raster row `y`.
  const uint8_t* From(const GlyphRaster& glyph, int y) const {
    return glyph.dots.data() + static_cast<size_t>(y - top) * static_cast<size_t>(glyph.stride) +
           static_cast<size_t>(x0 - left);
  }
};

// A glyph's dots laid straight onto the raster within the clip (`span` lies
// within it), as cairo composites a glyph of a run drawn glyph by glyph.
// Whole blocks of sixteen up to the clip's edge: past the row's end they
// read its blank padding.
template <LayMode mode>
void LayGlyph(const GlyphRaster& glyph, const GlyphSpan& span, uint8_t* raster, size_t stride,
              int keptX1) {
  const int count = span.x1 - span.x0;
  for (int y = span.y0; y < span.y1; ++y) {
    // The glyph's dots are only read: LaySixteen leaves them as they are.
    auto* from = const_cast<uint8_t*>(span.From(glyph, y));
    uint8_t* to = raster + static_cast<size_t>(y) * stride + span.x0;
    int i = 0;
    for (; i < count && span.x0 + i + 16 <= keptX1; i += 16) {
      LaySixteen<mode, false>(from + i, to + i);
    }
    for (; i < count; ++i) {
      if (from[i] != 0) to[i] = Lay<mode>(from[i], to[i]);
    }
  }
}

// Calls `lay` with the mode as a compile-time constant.
template <typename Lay>
void ForMode(LayMode mode, const Lay& lay) {
  switch (mode) {
    case LayMode::kOver:
      return lay(std::integral_constant<LayMode, LayMode::kOver>());
    case LayMode::kErase:
      return lay(std::integral_constant<LayMode, LayMode::kErase>());
    case LayMode::kXor:
      return lay(std::integral_constant<LayMode, LayMode::kXor>());
  }
}

// Rows y0..y1 of the layer laid onto the raster's columns x0..x1 and
// blanked; the layer's rows start at column x0, `layerStride` apart from row
// y0, and have room for a block of sixteen from any of their dots.
template <LayMode mode>
void LayRows(uint8_t* layer, size_t layerStride, uint8_t* raster, size_t rasterStride, int x0,
             int y0, int x1, int y1, int keptX0, int keptY0, int keptX1, int keptY1) {
  // Columns counted from x0. Laid sixteen at a time where the clip keeps
  // them; a block may reach past the last column, where the layer is blank
  // and laying changes nothing.
  const int count = x1 - x0;
  const int keptFrom = keptX0 - x0, keptTo = keptX1 - x0;
  const int fastFrom = std::clamp(keptFrom, 0, count);
  for (int y = y0; y < y1; ++y) {
    uint8_t* from = layer + static_cast<size_t>(y - y0) * layerStride;
    uint8_t* to = raster + static_cast<size_t>(y) * rasterStride + x0;
    const bool rowKept = y >= keptY0 && y < keptY1;
    int i = 0;
    if (rowKept) {
      for (; i < fastFrom; ++i) LayDot<mode>(from + i, to + i, false);
      for (; i < count && i + 16 <= keptTo; i += 16) LaySixteen<mode>(from + i, to + i);
    }
    for (; i < count; ++i) LayDot<mode>(from + i, to + i, rowKept && i >= keptFrom && i < keptTo);
  }
}

// Dots added as pixman adds them: the sum saturates at full ink. Sixteen at
// a time; with `padded`, the last block reads the row's blank padding, which
// adds nothing wherever it lands (the layer's rows have room for it).
void AddRow(const uint8_t* from, uint8_t* to, int count, bool padded) {
  static_assert(GlyphRaster::kRowPadding == 16);
  int i = 0;
#if defined(__SSE2__)
  const int blocks = padded ? count : count - 15;
  for (; i < blocks; i += 16) {
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + i));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(to + i));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(to + i), _mm_adds_epu8(a, b));
  }
#endif
  for (; i < count; ++i) to[i] = static_cast<uint8_t>(std::min(255, from[i] + to[i]));
}

bool Whole(double v) { return v == std::floor(v) && std::abs(v) < 1e9; }

int ClampedDot(double v, int limit) {
  return static_cast<int>(std::clamp(v, 0.0, static_cast<double>(limit)));
}

}  // namespace

bool GlyphLayer::Accepts(cairo_t* cr, LayMode& mode) {
  switch (cairo_get_operator(cr)) {
    case CAIRO_OPERATOR_OVER:
      mode = LayMode::kOver;
      break;
    case CAIRO_OPERATOR_DEST_OUT:
      mode = LayMode::kErase;
      break;
    default:
      return false;
  }
  double r, g, b, a;
  if (cairo_pattern_get_rgba(cairo_get_source(cr), &r, &g, &b, &a) != CAIRO_STATUS_SUCCESS ||
      a != 1.0) {
    return false;
  }
  return AcceptsTarget(cr);
}

bool GlyphLayer::AcceptsTarget(cairo_t* cr) {
  cairo_surface_t* target = cairo_get_target(cr);
  if (cairo_get_group_target(cr) != target ||
      cairo_surface_get_type(target) != CAIRO_SURFACE_TYPE_IMAGE ||
      cairo_image_surface_get_format(target) != CAIRO_FORMAT_A8) {
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
  width_ = width;
  height_ = height;
  // Room for at least one row of any run on this target, so that Draw never
  // wants for memory: a run is laid in as many bands as the scratch needs.
  return Reserve(static_cast<size_t>(width) + GlyphRaster::kRowPadding);
}

bool GlyphLayer::Reserve(size_t bytes) {
  if (bytes <= scratchBytes_) return true;
  // In whole pages, blank: realloc keeps the blank bytes there were.
  constexpr size_t kPage = 4096;
  bytes = (bytes + kPage - 1) / kPage * kPage;
  auto* grown = static_cast<uint8_t*>(std::realloc(scratch_.get(), bytes));
  if (grown == nullptr) return false;  // the scratch stays as it was
  (void)scratch_.release();
  scratch_.reset(grown);
  std::memset(grown + scratchBytes_, 0, bytes - scratchBytes_);
  scratchBytes_ = bytes;
  return true;
}

void GlyphLayer::Draw(cairo_t* cr, const DeviceBounds& bounds, std::span<const GlyphAt> glyphs,
                      LayMode mode) {
  DotRect drawn;
  drawn.x0 = ClampedDot(std::floor(bounds.x0 - kRasterMargin), width_);
  drawn.y0 = ClampedDot(std::floor(bounds.y0 - kRasterMargin), height_);
  drawn.x1 = ClampedDot(std::ceil(bounds.x1 + kRasterMargin), width_);
  drawn.y1 = ClampedDot(std::ceil(bounds.y1 + kRasterMargin), height_);
  if (drawn.Empty()) return;  // wholly off the surface: cairo draws nothing either
  // Rows of the run's width and room for a block of sixteen past its last dot.
  const size_t stride = static_cast<size_t>(drawn.x1 - drawn.x0) + GlyphRaster::kRowPadding;
  const int rows = drawn.y1 - drawn.y0;
  // Whatever the growth, a row fits: Accepts made room for one.
  Reserve(std::max(std::min(stride * static_cast<size_t>(rows), kMaxScratchBytes), stride));
  const int bandRows = static_cast<int>(std::min<size_t>(scratchBytes_ / stride, rows));
  cairo_surface_t* target = cairo_get_target(cr);
  cairo_surface_flush(target);
  uint8_t* raster = cairo_image_surface_get_data(target);
  const size_t rasterStride = static_cast<size_t>(cairo_image_surface_get_stride(target));
  for (DotRect band = drawn; band.y0 < drawn.y1; band.y0 = band.y1) {
    band.y1 = std::min(drawn.y1, band.y0 + bandRows);
    for (const GlyphAt& glyph : glyphs) Add(glyph, band, stride);
    LayOnto(raster, rasterStride, band, stride, mode);
  }
  cairo_surface_mark_dirty_rectangle(target, drawn.x0, drawn.y0, drawn.x1 - drawn.x0,
                                     drawn.y1 - drawn.y0);
}

// The glyph's dots within `band` added onto the scratch, saturating.
void GlyphLayer::Add(const GlyphAt& glyph, const DotRect& band, size_t stride) {
  const GlyphSpan span(glyph, band.x0, band.y0, band.x1, band.y1);
  // Only where the row's own end is the last dot added are the dots past it blank.
  const bool padded = span.x1 == span.left + glyph.raster->width;
  for (int y = span.y0; y < span.y1; ++y) {
    uint8_t* to = scratch_.get() + static_cast<size_t>(y - band.y0) * stride +
                  static_cast<size_t>(span.x0 - band.x0);
    AddRow(span.From(*glyph.raster, y), to, span.x1 - span.x0, padded);
  }
}

void GlyphLayer::LayEach(cairo_t* cr, std::span<const GlyphAt> glyphs, LayMode mode) {
  cairo_surface_t* target = cairo_get_target(cr);
  cairo_surface_flush(target);
  uint8_t* raster = cairo_image_surface_get_data(target);
  const size_t stride = static_cast<size_t>(cairo_image_surface_get_stride(target));
  ForMode(mode, [&](auto m) {
    for (const GlyphAt& at : glyphs) {
      const GlyphSpan span(at, kept_.x0, kept_.y0, kept_.x1, kept_.y1);
      LayGlyph<m.value>(*at.raster, span, raster, stride, kept_.x1);
    }
  });
  if (!kept_.Empty()) {
    cairo_surface_mark_dirty_rectangle(target, kept_.x0, kept_.y0, kept_.x1 - kept_.x0,
                                       kept_.y1 - kept_.y0);
  }
}

bool GlyphLayer::LayBars(cairo_t* cr, std::span<const BarRect> bars, LayMode mode) {
  cairo_matrix_t m;
  cairo_get_matrix(cr, &m);
  if (mode == LayMode::kXor || m.xx != 1.0 || m.yx != 0.0 || m.xy != 0.0 || m.yy != 1.0 ||
      !Whole(m.x0) || !Whole(m.y0) || cairo_get_fill_rule(cr) != CAIRO_FILL_RULE_WINDING) {
    return false;
  }
  const long dx = static_cast<long>(m.x0), dy = static_cast<long>(m.y0);
  cairo_surface_t* target = cairo_get_target(cr);
  cairo_surface_flush(target);
  uint8_t* raster = cairo_image_surface_get_data(target);
  const size_t stride = static_cast<size_t>(cairo_image_surface_get_stride(target));
  // Full coverage over ink is ink, and erasing it leaves paper.
  const int value = mode == LayMode::kOver ? 255 : 0;
  for (const BarRect& bar : bars) {
    const int x0 = static_cast<int>(std::clamp<long>(dx + bar.x, kept_.x0, kept_.x1));
    const int x1 = static_cast<int>(std::clamp<long>(dx + bar.x + bar.width, kept_.x0, kept_.x1));
    const int y0 = static_cast<int>(std::clamp<long>(dy + bar.y, kept_.y0, kept_.y1));
    const int y1 = static_cast<int>(std::clamp<long>(dy + bar.y + bar.height, kept_.y0, kept_.y1));
    for (int y = y0; y < y1 && x0 < x1; ++y) {
      FillDots(raster + static_cast<size_t>(y) * stride + x0, static_cast<size_t>(x1 - x0),
               static_cast<uint8_t>(value));
    }
  }
  if (!kept_.Empty()) {
    cairo_surface_mark_dirty_rectangle(target, kept_.x0, kept_.y0, kept_.x1 - kept_.x0,
                                       kept_.y1 - kept_.y0);
  }
  return true;
}

void GlyphLayer::LayOnto(uint8_t* raster, size_t rasterStride, const DotRect& band, size_t stride,
                         LayMode mode) {
  ForMode(mode, [&](auto m) {
    LayRows<m.value>(scratch_.get(), stride, raster, rasterStride, band.x0, band.y0, band.x1,
                     band.y1, kept_.x0, kept_.y0, kept_.x1, kept_.y1);
  });
}

}  // namespace vellum
