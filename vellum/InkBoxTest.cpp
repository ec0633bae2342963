// The ink box must be exactly the box a byte-by-byte look finds, wherever the
// ink falls against the words it is read in, and never take in what lies
// between a row's width and its stride.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "vellum/InkBox.h"

namespace vellum {
namespace {

constexpr uint8_t kPadding = 0xAA;  // beyond each row's width: never ink

struct Image {
  int width, height, stride;
  std::vector<uint8_t> bytes;
  Image(int w, int h) : width(w), height(h), stride(w + 11), bytes(size_t(stride) * h, 0) {
    for (int y = 0; y < h; ++y) std::fill_n(&bytes[size_t(y) * stride + w], 11, kPadding);
  }
  void Ink(int x, int y, uint8_t value = 1) { bytes[size_t(y) * stride + x] = value; }
  InkBox Find() const { return FindInk(bytes.data(), width, height, stride); }
  // Byte by byte.
  InkBox Expected() const {
    InkBox box{width, height, 0, 0};
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        if (bytes[size_t(y) * stride + x] == 0) continue;
        box = {std::min(box.x0, x), std::min(box.y0, y), std::max(box.x1, x + 1),
               std::max(box.y1, y + 1)};
      }
    }
    return box.empty() ? InkBox{} : box;
  }
};

bool Same(const InkBox& a, const InkBox& b) {
  return a.x0 == b.x0 && a.y0 == b.y0 && a.x1 == b.x1 && a.y1 == b.y1;
}

TEST(InkBox, BoxesTheInk) {
  struct Case {
    const char* name;
    int width, height;
    std::vector<std::pair<int, int>> dots;
    InkBox want;
  };
  const Case cases[] = {
      {"blank", 40, 5, {}, {}},
      {"no columns", 0, 3, {}, {}},
      {"no rows", 9, 0, {}, {}},
      {"first byte", 17, 3, {{0, 0}}, {0, 0, 1, 1}},
      {"last byte", 17, 3, {{16, 2}}, {16, 2, 17, 3}},
      {"last byte of a word", 24, 2, {{7, 1}}, {7, 1, 8, 2}},
      {"first byte of a word", 24, 2, {{8, 1}}, {8, 1, 9, 2}},
      {"in the tail after the words", 13, 1, {{12, 0}}, {12, 0, 13, 1}},
      {"spread", 50, 9, {{30, 1}, {4, 7}, {45, 4}}, {4, 1, 46, 8}},
      {"one row, both ends", 33, 4, {{0, 2}, {32, 2}}, {0, 2, 33, 3}},
  };
  for (const Case& c : cases) {
    Image image(c.width, c.height);
    for (auto [x, y] : c.dots) image.Ink(x, y);
    EXPECT_TRUE(Same(image.Find(), c.want)) << c.name;
  }
}

// Every width around the word size, every place of a lone dot and of a pair,
// and random glyph-like blots: the same box as byte by byte.
TEST(InkBox, MatchesAByteByByteLook) {
  for (int width = 1; width <= 26; ++width) {
    for (int x = 0; x < width; ++x) {
      Image lone(width, 3);
      lone.Ink(x, 1, 0x80);
      EXPECT_TRUE(Same(lone.Find(), lone.Expected())) << width << " " << x;
      Image pair(width, 4);
      pair.Ink(x, 0);
      pair.Ink(width - 1 - x, 3, 0xFF);
      EXPECT_TRUE(Same(pair.Find(), pair.Expected())) << width << " " << x;
    }
  }
  std::minstd_rand random(7);
  for (int round = 0; round < 300; ++round) {
    Image image(1 + random() % 90, 1 + random() % 40);
    const int blots = random() % 4;
    for (int b = 0; b < blots; ++b) {
      const int x = random() % image.width, y = random() % image.height;
      const int w = 1 + random() % 12, h = 1 + random() % 12;
      for (int j = y; j < std::min(image.height, y + h); ++j) {
        for (int i = x; i < std::min(image.width, x + w); ++i) image.Ink(i, j, 1 + random() % 255);
      }
    }
    EXPECT_TRUE(Same(image.Find(), image.Expected())) << round;
  }
}

}  // namespace
}  // namespace vellum
