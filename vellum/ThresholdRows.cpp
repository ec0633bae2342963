#include "vellum/ThresholdRows.h"

#include <array>
#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define VELLUM_HAVE_AVX2_WAY 1
#endif

namespace vellum {
namespace {

using RowFn = void (*)(uint8_t* src, uint8_t* dst, int width);

// Bit-reversed bytes: the gathers below put the first dot in the lowest bit.
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
              "the gathers read bytes in little-endian order");

template <bool kInvert>
inline uint8_t Out(unsigned bits) {
  return static_cast<uint8_t>(kInvert ? ~bits : bits);
}

// Eight dots at a time, then one by one. The high bit of each coverage byte is
// exactly "at least one half".
template <bool kInvert>
void FinishRow(uint8_t* src, uint8_t* dst, int x, int width) {
  for (; x + 8 <= width; x += 8) {
    uint64_t word;
    std::memcpy(&word, src + x, sizeof word);
    if (word == 0) {
      dst[x >> 3] = Out<kInvert>(0);
      continue;
    }
    const uint64_t high = word & 0x8080808080808080ULL;
    dst[x >> 3] =
        Out<kInvert>(kReversed[static_cast<uint8_t>((high * 0x0002040810204081ULL) >> 56)]);
    std::memset(src + x, 0, sizeof word);
  }
  if (x == width) return;
  unsigned last = 0;
  for (int bit = 0; x < width; ++x, ++bit) {
    if (src[x] >= 128) last |= 0x80u >> bit;
    src[x] = 0;
  }
  dst[(width - 1) >> 3] = Out<kInvert>(last);
}

#if defined(__SSE2__)
// Sixteen at a time, most of a label being blank tested sixty-four at once
// first. Returns the first dot left.
template <bool kInvert>
int Sse2Part(uint8_t* src, uint8_t* dst, int x, int width) {
  const __m128i zero = _mm_setzero_si128();
  for (; x + 64 <= width; x += 64) {
    const auto* at = reinterpret_cast<const __m128i*>(src + x);
    const __m128i any =
        _mm_or_si128(_mm_or_si128(_mm_loadu_si128(at), _mm_loadu_si128(at + 1)),
                     _mm_or_si128(_mm_loadu_si128(at + 2), _mm_loadu_si128(at + 3)));
    if (_mm_movemask_epi8(_mm_cmpeq_epi8(any, zero)) == 0xFFFF) {
      std::memset(dst + (x >> 3), Out<kInvert>(0), 8);
      continue;
    }
    for (int part = 0; part < 64; part += 16) {
      const __m128i alpha = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + x + part));
      const unsigned high = static_cast<unsigned>(_mm_movemask_epi8(alpha));
      dst[(x + part) >> 3] = Out<kInvert>(kReversed[high & 0xFF]);
      dst[((x + part) >> 3) + 1] = Out<kInvert>(kReversed[high >> 8]);
      _mm_storeu_si128(reinterpret_cast<__m128i*>(src + x + part), zero);
    }
  }
  for (; x + 16 <= width; x += 16) {
    const __m128i alpha = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + x));
    if (_mm_movemask_epi8(_mm_cmpeq_epi8(alpha, zero)) == 0xFFFF) {
      dst[x >> 3] = dst[(x >> 3) + 1] = Out<kInvert>(0);
      continue;
    }
    const unsigned high = static_cast<unsigned>(_mm_movemask_epi8(alpha));
    dst[x >> 3] = Out<kInvert>(kReversed[high & 0xFF]);
    dst[(x >> 3) + 1] = Out<kInvert>(kReversed[high >> 8]);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(src + x), zero);
  }
  return x;
}
#endif

#if defined(VELLUM_HAVE_AVX2_WAY)
// Thirty-two at a time. Each group of eight coverage bytes is reversed first,
// so that the gather puts a group's first dot in its byte's high bit and the
// four bytes it gives are the row's bytes as they stand.
template <bool kInvert>
__attribute__((target("avx2"))) inline void Avx2Half(uint8_t* src, uint8_t* dst, __m256i alpha) {
  const __m256i reverse = _mm256_setr_epi8(7, 6, 5, 4, 3, 2, 1, 0, 15, 14, 13, 12, 11, 10, 9, 8, 7,
                                           6, 5, 4, 3, 2, 1, 0, 15, 14, 13, 12, 11, 10, 9, 8);
  uint32_t bits = static_cast<uint32_t>(_mm256_movemask_epi8(_mm256_shuffle_epi8(alpha, reverse)));
  if (kInvert) bits = ~bits;
  std::memcpy(dst, &bits, sizeof bits);
  _mm256_storeu_si256(reinterpret_cast<__m256i*>(src), _mm256_setzero_si256());
}

template <bool kInvert>
__attribute__((target("avx2"))) int Avx2Part(uint8_t* src, uint8_t* dst, int x, int width) {
  const uint64_t blank = kInvert ? ~uint64_t{0} : 0;
  for (; x + 64 <= width; x += 64) {
    const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + x));
    const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + x + 32));
    const __m256i any = _mm256_or_si256(a, b);
    if (_mm256_testz_si256(any, any)) {
      std::memcpy(dst + (x >> 3), &blank, sizeof blank);
      continue;
    }
    Avx2Half<kInvert>(src + x, dst + (x >> 3), a);
    Avx2Half<kInvert>(src + x + 32, dst + (x >> 3) + 4, b);
  }
  for (; x + 32 <= width; x += 32) {
    const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + x));
    if (_mm256_testz_si256(a, a)) {
      std::memcpy(dst + (x >> 3), &blank, 4);
      continue;
    }
    Avx2Half<kInvert>(src + x, dst + (x >> 3), a);
  }
  return x;
}
#endif

template <bool kInvert, ThresholdWay kWay>
void Row(uint8_t* src, uint8_t* dst, int width) {
  int x = 0;
#if defined(VELLUM_HAVE_AVX2_WAY)
  if constexpr (kWay == ThresholdWay::kAvx2) x = Avx2Part<kInvert>(src, dst, x, width);
#endif
#if defined(__SSE2__)
  if constexpr (kWay != ThresholdWay::kEightDots) x = Sse2Part<kInvert>(src, dst, x, width);
#endif
  FinishRow<kInvert>(src, dst, x, width);
}

bool Supports(ThresholdWay way) {
  switch (way) {
    case ThresholdWay::kEightDots:
      return true;
    case ThresholdWay::kSse2:
#if defined(__SSE2__)
      return true;
#else
      return false;
#endif
    case ThresholdWay::kAvx2:
#if defined(VELLUM_HAVE_AVX2_WAY)
      __builtin_cpu_init();
      return __builtin_cpu_supports("avx2");
#else
      return false;
#endif
  }
  return false;
}

template <bool kInvert>
RowFn RowBy(ThresholdWay way) {
  switch (way) {
    case ThresholdWay::kAvx2:
      return Row<kInvert, ThresholdWay::kAvx2>;
    case ThresholdWay::kSse2:
      return Row<kInvert, ThresholdWay::kSse2>;
    case ThresholdWay::kEightDots:
      break;
  }
  return Row<kInvert, ThresholdWay::kEightDots>;
}

void Run(ThresholdWay way, uint8_t* coverage, size_t coverageStride, int width, int height,
         uint8_t* bits, size_t bitsStride, InkBit ink) {
  const RowFn row = ink == InkBit::kZero ? RowBy<true>(way) : RowBy<false>(way);
  for (int y = 0; y < height; ++y) {
    row(coverage + static_cast<size_t>(y) * coverageStride,
        bits + static_cast<size_t>(y) * bitsStride, width);
  }
}

ThresholdWay WidestWay() {
  static const ThresholdWay way = Supports(ThresholdWay::kAvx2)   ? ThresholdWay::kAvx2
                                  : Supports(ThresholdWay::kSse2) ? ThresholdWay::kSse2
                                                                  : ThresholdWay::kEightDots;
  return way;
}

}  // namespace

void ThresholdRows(uint8_t* coverage, size_t coverageStride, int width, int height, uint8_t* bits,
                   size_t bitsStride, InkBit ink) {
  Run(WidestWay(), coverage, coverageStride, width, height, bits, bitsStride, ink);
}

bool ThresholdRowsBy(ThresholdWay way, uint8_t* coverage, size_t coverageStride, int width,
                     int height, uint8_t* bits, size_t bitsStride, InkBit ink) {
  if (!Supports(way)) return false;
  Run(way, coverage, coverageStride, width, height, bits, bitsStride, ink);
  return true;
}

}  // namespace vellum
