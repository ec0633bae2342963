#include "vellum/InkBox.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstring>

namespace vellum {
namespace {

constexpr ptrdiff_t kWord = sizeof(uint64_t);
constexpr bool kLittle = std::endian::native == std::endian::little;

uint64_t Load(const uint8_t* at) {
  uint64_t word;
  std::memcpy(&word, at, sizeof word);
  return word;
}

// The first inked byte of [begin, end), or end.
const uint8_t* FirstInk(const uint8_t* begin, const uint8_t* end) {
  const uint8_t* at = begin;
  for (; end - at >= kWord; at += kWord) {
    // The byte first in memory is the word's lowest on a little-endian machine.
    if (const uint64_t word = Load(at); word != 0) {
      return at + (kLittle ? std::countr_zero(word) : std::countl_zero(word)) / 8;
    }
  }
  while (at < end && *at == 0) ++at;
  return at;
}

// One past the last inked byte of [begin, end), or begin.
const uint8_t* PastLastInk(const uint8_t* begin, const uint8_t* end) {
  const uint8_t* at = end;
  for (; at - begin >= kWord; at -= kWord) {
    if (const uint64_t word = Load(at - kWord); word != 0) {
      return at - (kLittle ? std::countl_zero(word) : std::countr_zero(word)) / 8;
    }
  }
  while (at > begin && at[-1] == 0) --at;
  return at;
}

}  // namespace

InkBox FindInk(const uint8_t* rows, int width, int height, int stride) {
  InkBox box{width, height, 0, 0};
  if (width <= 0) return {};
  for (int y = 0; y < height; ++y) {
    const uint8_t* row = rows + static_cast<ptrdiff_t>(y) * stride;
    const uint8_t* end = row + width;
    const uint8_t* first = FirstInk(row, end);
    if (first == end) continue;
    box.x0 = std::min(box.x0, static_cast<int>(first - row));
    box.x1 = std::max(box.x1, static_cast<int>(PastLastInk(first, end) - row));
    box.y0 = std::min(box.y0, y);
    box.y1 = y + 1;
  }
  return box.empty() ? InkBox{} : box;
}

}  // namespace vellum
