#include "vellum/PngWriter.h"

#include <png.h>
#include <zlib.h>

#include <cmath>
#include <csetjmp>

namespace vellum {
namespace {

void AppendBytes(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}

void NoFlush(png_structp) {}

// Only plain data lives in this frame: libpng reports errors by longjmp.
bool Encode(png_structp png, png_infop info, const MonoBitmap& bitmap, png_uint_32 dotsPerMetre,
            std::vector<uint8_t>* out) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_write_fn(png, out, AppendBytes, NoFlush);
  // Labels are long runs of white; fast compression with run-length matching
  // is nearly as small as the default and several times quicker.
  png_set_compression_level(png, 1);
  png_set_compression_strategy(png, Z_RLE);
  png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
  png_set_IHDR(png, info, static_cast<png_uint_32>(bitmap.width),
               static_cast<png_uint_32>(bitmap.height), 1, PNG_COLOR_TYPE_GRAY, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_BASE, PNG_FILTER_TYPE_BASE);
  png_set_pHYs(png, info, dotsPerMetre, dotsPerMetre, PNG_RESOLUTION_METER);
  png_write_info(png, info);
  png_set_invert_mono(png);  // our set bit is ink; PNG grey 0 is black
  for (int y = 0; y < bitmap.height; ++y) {
    png_write_row(
        png, const_cast<png_bytep>(bitmap.bits.data() + static_cast<size_t>(y) * bitmap.stride));
  }
  png_write_end(png, info);
  return true;
}

}  // namespace

bool EncodeMonoPng(const MonoBitmap& bitmap, int dpi, std::vector<uint8_t>& out) {
  out.clear();
  if (bitmap.width <= 0 || bitmap.height <= 0 || dpi <= 0 ||
      bitmap.bits.size() < static_cast<size_t>(bitmap.stride) * bitmap.height) {
    return false;
  }
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (png == nullptr) return false;
  png_infop info = png_create_info_struct(png);
  out.reserve(static_cast<size_t>(bitmap.stride) * bitmap.height / 8 + 1024);
  const auto dotsPerMetre = static_cast<png_uint_32>(std::lround(dpi / 0.0254));
  bool ok = info != nullptr && Encode(png, info, bitmap, dotsPerMetre, &out);
  png_destroy_write_struct(&png, info != nullptr ? &info : nullptr);
  if (!ok) out.clear();
  return ok;
}

}  // namespace vellum
