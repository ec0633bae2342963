#include "vellum/MonoRaster.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vellum {
namespace {

// Bit-reversed bytes: the gather below puts the first dot in the lowest bit.
constexpr std::array<uint8_t, 256> MakeReversed() {
  std::array<uint8_t, 256> table{};
  for (int i = 0; i < 256; ++i) {
    int r = 0;
    for (int b = 0; b < 8; ++b) r |= ((i >> b) & 1) << (7 - b);
    table[i] = static_cast<uint8_t>(r);
  }
  return table;
}
constexpr std::array<uint8_t, 256> kReversed = MakeReversed();
static_assert(std::endian::native == std::endian::little,
              "the gather reads bytes in little-endian order");

// Eight dots at a time (64 and 16 with SSE2), and the surface is cleared as it is read: labels
// are mostly blank, so only the few inked words are written twice, and the
// next label starts on a clean surface without clearing all of it. The high
// bit of each alpha byte is exactly "at least one half".
void ThresholdRow(uint8_t* src, uint8_t* dst, int width) {
  int x = 0;
#if defined(__SSE2__)
  // Sixteen at a time: the byte mask of high bits is the bits themselves.
  const __m128i zero = _mm_setzero_si128();
  // Most of a label is blank: sixty-four dots are tested at once first.
  for (; x + 64 <= width; x += 64) {
    const auto* at = reinterpret_cast<const __m128i*>(src + x);
    const __m128i any =
        _mm_or_si128(_mm_or_si128(_mm_loadu_si128(at), _mm_loadu_si128(at + 1)),
                     _mm_or_si128(_mm_loadu_si128(at + 2), _mm_loadu_si128(at + 3)));
    if (_mm_movemask_epi8(_mm_cmpeq_epi8(any, zero)) == 0xFFFF) {
      std::memset(dst + (x >> 3), 0, 8);
      continue;
    }
    for (int part = 0; part < 64; part += 16) {
      const __m128i alpha = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + x + part));
      const unsigned high = static_cast<unsigned>(_mm_movemask_epi8(alpha));
      dst[(x + part) >> 3] = kReversed[high & 0xFF];
      dst[((x + part) >> 3) + 1] = kReversed[high >> 8];
      _mm_storeu_si128(reinterpret_cast<__m128i*>(src + x + part), zero);
    }
  }
  for (; x + 16 <= width; x += 16) {
    const __m128i alpha = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + x));
    if (_mm_movemask_epi8(_mm_cmpeq_epi8(alpha, zero)) == 0xFFFF) {
      dst[x >> 3] = dst[(x >> 3) + 1] = 0;
      continue;
    }
    const unsigned high = static_cast<unsigned>(_mm_movemask_epi8(alpha));
    dst[x >> 3] = kReversed[high & 0xFF];
    dst[(x >> 3) + 1] = kReversed[high >> 8];
    _mm_storeu_si128(reinterpret_cast<__m128i*>(src + x), zero);
  }
#endif
  for (; x + 8 <= width; x += 8) {
    uint64_t word;
    std::memcpy(&word, src + x, sizeof word);
    if (word == 0) {
      dst[x >> 3] = 0;
      continue;
    }
    const uint64_t high = word & 0x8080808080808080ULL;
    dst[x >> 3] = kReversed[static_cast<uint8_t>((high * 0x0002040810204081ULL) >> 56)];
    std::memset(src + x, 0, sizeof word);
  }
  if (x == width) return;
  uint8_t last = 0;
  for (int bit = 0; x < width; ++x, ++bit) {
    if (src[x] >= 128) last |= static_cast<uint8_t>(0x80 >> bit);
    src[x] = 0;
  }
  dst[(width - 1) >> 3] = last;
}

}  // namespace

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
  if (surface_ == nullptr || cairo_surface_status(surface_) != CAIRO_STATUS_SUCCESS) {
    std::fill(out.bits.begin(), out.bits.end(), uint8_t{0});
    return;
  }
  cairo_surface_flush(surface_);
  uint8_t* data = cairo_image_surface_get_data(surface_);
  const int srcStride = cairo_image_surface_get_stride(surface_);
  for (int y = 0; y < height_; ++y) {
    ThresholdRow(data + static_cast<size_t>(y) * srcStride,
                 out.bits.data() + static_cast<size_t>(y) * out.stride, width_);
  }
  cairo_surface_mark_dirty(surface_);
  blank_ = true;
}

}  // namespace vellum
