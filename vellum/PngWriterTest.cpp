#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <memory>

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
}

}  // namespace
}  // namespace vellum
