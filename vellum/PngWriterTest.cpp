#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <memory>
#include <random>
#include <thread>
#include <vector>

#include "vellum/PngWriter.h"

namespace vellum {
namespace {

struct Decoded {
  png_uint_32 width = 0, height = 0, xPerMetre = 0, yPerMetre = 0;
  int bitDepth = 0, colourType = 0;
  std::vector<std::vector<uint8_t>> rows;
};

bool Decode(const std::vector<uint8_t>& bytes, Decoded& out) {
  std::unique_ptr<FILE, int (*)(FILE*)> in(
      fmemopen(const_cast<uint8_t*>(bytes.data()), bytes.size(), "rb"), std::fclose);
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    return false;
  }
  png_init_io(png, in.get());
  png_read_info(png, info);
  int unit = 0;
  png_get_IHDR(png, info, &out.width, &out.height, &out.bitDepth, &out.colourType, nullptr, nullptr,
               nullptr);
  png_get_pHYs(png, info, &out.xPerMetre, &out.yPerMetre, &unit);
  out.rows.assign(out.height, std::vector<uint8_t>(png_get_rowbytes(png, info)));
  for (auto& row : out.rows) png_read_row(png, row.data(), nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
  return true;
}

// The writer before libdeflate (libpng, zlib level 1, Z_RLE, unfiltered rows):
// the new files must show the same pixels and be no larger.
void AppendBytes(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}

std::vector<uint8_t> ReferencePng(const MonoBitmap& bitmap, int dpi) {
  std::vector<uint8_t> out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return {};
  }
  png_set_write_fn(png, &out, AppendBytes, nullptr);
  png_set_compression_level(png, 1);
  png_set_compression_strategy(png, Z_RLE);
  png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
  png_set_IHDR(png, info, bitmap.width, bitmap.height, 1, PNG_COLOR_TYPE_GRAY, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_BASE, PNG_FILTER_TYPE_BASE);
  const auto perMetre = static_cast<png_uint_32>(std::lround(dpi / 0.0254));
  png_set_pHYs(png, info, perMetre, perMetre, PNG_RESOLUTION_METER);
  png_write_info(png, info);
  png_set_invert_mono(png);
  for (int y = 0; y < bitmap.height; ++y) {
    png_write_row(png, const_cast<png_bytep>(bitmap.bits.data() + size_t(y) * bitmap.stride));
  }
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return out;
}

// Bitmaps shaped like labels and unlike them; `paint(x, y)` says whether a dot is ink.
MonoBitmap Paint(int width, int height, int stride, const std::function<bool(int, int)>& paint) {
  MonoBitmap bitmap{width, height, stride, std::vector<uint8_t>(size_t(stride) * height, 0)};
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if (paint(x, y)) bitmap.bits[size_t(y) * stride + x / 8] |= uint8_t(0x80 >> (x % 8));
    }
  }
  return bitmap;
}

TEST(PngWriter, SamePixelsAsTheReferenceWriterAndNoLarger) {
  std::mt19937 random(7);
  std::vector<bool> noise(1 << 20);
  for (size_t i = 0; i < noise.size(); ++i) noise[i] = random() % 3 == 0;
  struct Case {
    const char* name;
    int width, height, stride;
    std::function<bool(int, int)> paint;
  } cases[] = {
      {"blank", 1218, 1800, 153, [](int, int) { return false; }},
      {"all ink", 37, 5, 5, [](int, int) { return true; }},
      {"one dot wide", 1, 9, 1, [](int, int y) { return y % 2 == 0; }},
      {"box and rules", 812, 1218, 102,
       [](int x, int y) { return x < 3 || x > 808 || y < 3 || y % 150 < 3 || y > 1214; }},
      {"bars", 600, 300, 75, [](int x, int) { return (x / 3) % 5 < 2; }},
      {"slant and circle", 401, 401, 51,
       [](int x, int y) {
         const int dx = x - 200, dy = y - 200, r = dx * dx + dy * dy;
         return std::abs(x - y) < 4 || (r > 150 * 150 && r < 160 * 160);
       }},
      {"checker", 64, 64, 8, [](int x, int y) { return (x + y) % 2 == 0; }},
      {"noise", 1000, 1000, 125, [&](int x, int y) { return bool(noise[size_t(y) * 1000 + x]); }},
      {"wide stride", 13, 4, 6, [](int x, int y) { return x == y || x == 12; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const MonoBitmap bitmap = Paint(c.width, c.height, c.stride, c.paint);
    std::vector<uint8_t> png;
    ASSERT_TRUE(EncodeMonoPng(bitmap, 203, png));
    const std::vector<uint8_t> reference = ReferencePng(bitmap, 203);
    Decoded ours, theirs;
    ASSERT_TRUE(Decode(png, ours));
    ASSERT_TRUE(Decode(reference, theirs));
    EXPECT_EQ(ours.width, theirs.width);
    EXPECT_EQ(ours.height, theirs.height);
    EXPECT_EQ(ours.xPerMetre, theirs.xPerMetre);
    ASSERT_EQ(ours.rows.size(), theirs.rows.size());
    for (size_t y = 0; y < ours.rows.size(); ++y) {
      const std::vector<uint8_t>& a = ours.rows[y];
      const std::vector<uint8_t>& b = theirs.rows[y];
      ASSERT_EQ(a.size(), b.size());
      for (int x = 0; x < c.width; ++x) {
        const int mask = 0x80 >> (x % 8);
        ASSERT_EQ(a[size_t(x) / 8] & mask, b[size_t(x) / 8] & mask) << "dot " << x << "," << y;
      }
    }
    // Pictures of a few bytes may take the few more of a compressed block's header.
    EXPECT_LE(png.size(), std::max<size_t>(reference.size(), 128));
  }
}

// A thread keeps its buffers from file to file: a file is byte for byte the
// one a fresh thread writes, whatever the thread wrote before it, larger or
// smaller, busier or blanker.
TEST(PngWriter, EachFileAsOnAFreshThread) {
  const auto noisy = [](int x, int y) { return (x * 7919 + y * 104729) % 5 < 2; };
  const auto blank = [](int, int) { return false; };
  const auto rules = [](int x, int y) { return x < 3 || y % 40 < 2; };
  const std::vector<MonoBitmap> order = {
      Paint(1218, 1800, 153, noisy),  // the largest packed rows first
      Paint(40, 30, 5, rules),        // then a small file in the same buffers
      Paint(800, 600, 100, blank),   Paint(1218, 1800, 153, rules), Paint(9, 3, 2, noisy),
  };
  std::vector<std::vector<uint8_t>> inTurn(order.size());
  for (size_t i = 0; i < order.size(); ++i) ASSERT_TRUE(EncodeMonoPng(order[i], 300, inTurn[i]));
  for (size_t i = 0; i < order.size(); ++i) {
    SCOPED_TRACE(i);
    std::vector<uint8_t> fresh;
    bool encoded = false;
    std::thread([&] { encoded = EncodeMonoPng(order[i], 300, fresh); }).join();
    ASSERT_TRUE(encoded);
    EXPECT_EQ(inTurn[i], fresh);
  }
}

TEST(PngWriter, OneBitGreyWithResolutionAndBlackInk) {
  for (int dpi : {203, 300, 600}) {
    MonoBitmap bitmap{13, 3, 2, std::vector<uint8_t>(6, 0)};
    bitmap.bits[0] = 0x80;  // (0, 0) inked
    bitmap.bits[5] = 0x08;  // (12, 2) inked
    std::vector<uint8_t> png;
    ASSERT_TRUE(EncodeMonoPng(bitmap, dpi, png));
    Decoded decoded;
    ASSERT_TRUE(Decode(png, decoded));
    EXPECT_EQ(decoded.width, 13u);
    EXPECT_EQ(decoded.height, 3u);
    EXPECT_EQ(decoded.bitDepth, 1);
    EXPECT_EQ(decoded.colourType, PNG_COLOR_TYPE_GRAY);
    EXPECT_NEAR(decoded.xPerMetre * 0.0254, dpi, 0.01);
    EXPECT_EQ(decoded.yPerMetre, decoded.xPerMetre);
    // Grey 0 is black: inked dots are clear bits.
    EXPECT_EQ(decoded.rows[0][0] & 0x80, 0);
    EXPECT_EQ(decoded.rows[0][0] & 0x40, 0x40);
    EXPECT_EQ(decoded.rows[2][1] & 0x08, 0);
    EXPECT_EQ(decoded.rows[1][1] & 0x08, 0x08);
  }
}

TEST(PngWriter, RefusesBitmapsThatDoNotHoldTheirRows) {
  std::vector<uint8_t> png{1, 2, 3};
  EXPECT_FALSE(EncodeMonoPng(MonoBitmap{}, 300, png));
  EXPECT_TRUE(png.empty());
  EXPECT_FALSE(EncodeMonoPng(MonoBitmap{100, 100, 13, std::vector<uint8_t>(10)}, 300, png));
  EXPECT_FALSE(EncodeMonoPng(MonoBitmap{8, 1, 1, std::vector<uint8_t>(1)}, 0, png));
  EXPECT_FALSE(
      EncodeMonoPng(MonoBitmap{17, 2, 2, std::vector<uint8_t>(6)}, 300, png));  // short rows
}

}  // namespace
}  // namespace vellum
