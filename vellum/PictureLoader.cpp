#include "vellum/PictureLoader.h"

#include <gdk-pixbuf/gdk-pixbuf.h>

#include <algorithm>
#include <system_error>

#include "platform/StoreFile.h"
#include "platform/Text.h"

namespace vellum {
namespace {

// gdk-pixbuf's messages are UTF-8.
std::wstring FromUtf8(const char* text) {
  if (text == nullptr) return {};
  glong length = 0;
  gunichar* wide = g_utf8_to_ucs4(text, -1, nullptr, &length, nullptr);
  if (wide == nullptr) return platform::BytesToWide(text);  // not UTF-8 after all
  std::wstring out(wide, wide + length);
  g_free(wide);
  return out;
}

void CopyInk(GdkPixbuf* pixbuf, PictureMask& mask) {
  const int channels = gdk_pixbuf_get_n_channels(pixbuf);
  const bool alpha = gdk_pixbuf_get_has_alpha(pixbuf);
  const int rowstride = gdk_pixbuf_get_rowstride(pixbuf);
  const guchar* pixels = gdk_pixbuf_read_pixels(pixbuf);
  uint8_t* out = cairo_image_surface_get_data(mask.surface);
  const int outStride = cairo_image_surface_get_stride(mask.surface);
  for (int y = 0; y < mask.height; ++y) {
    const guchar* row = pixels + static_cast<size_t>(y) * rowstride;
    uint8_t* dst = out + static_cast<size_t>(y) * outStride;
    for (int x = 0; x < mask.width; ++x) {
      const guchar* p = row + static_cast<size_t>(x) * channels;
      const int luminance = (p[0] * 299 + p[1] * 587 + p[2] * 114) / 1000;
      const bool opaque = !alpha || p[3] >= 128;
      dst[x] = opaque && luminance < 128 ? 255 : 0;
    }
  }
  cairo_surface_mark_dirty(mask.surface);
}

}  // namespace

PictureMask::PictureMask(int w, int h)
    : width(w), height(h), surface(cairo_image_surface_create(CAIRO_FORMAT_A8, w, h)) {}

PictureMask::~PictureMask() { cairo_surface_destroy(surface); }

bool PictureFileSize(const std::filesystem::path& file, int& width, int& height) {
  return gdk_pixbuf_get_file_info(file.c_str(), &width, &height) != nullptr;
}

bool PictureFits(int width, int height, int64_t pixelBudget) {
  return width > 0 && height > 0 && width <= kMaxPictureSide && height <= kMaxPictureSide &&
         int64_t{width} * height <= pixelBudget;
}

int64_t MaskBytes(int width, int height) {
  return int64_t{cairo_format_stride_for_width(CAIRO_FORMAT_A8, width)} * height;
}

PictureLoad LoadPicture(const std::filesystem::path& file, int64_t pixelBudget) {
  PictureLoad result;
  // Told without blocking: a FIFO in the store would hang the decoder's open.
  if (!platform::IsRegularStoreFile(file)) {
    result.failure = L"picture file not found";
    return result;
  }
  int width = 0, height = 0;
  if (!PictureFileSize(file, width, height)) {
    result.failure = L"not a picture format the engine reads";
    return result;
  }
  if (!PictureFits(width, height, pixelBudget)) {
    result.failure = L"picture too large: " + platform::IntToWide(width) + L" x " +
                     platform::IntToWide(height) + L" pixels, more than the " +
                     platform::IntToWide(std::min<int64_t>(
                         pixelBudget, int64_t{kMaxPictureSide} * kMaxPictureSide)) +
                     L" this label can use";
    return result;
  }
  GError* gerror = nullptr;
  GdkPixbuf* pixbuf = gdk_pixbuf_new_from_file(file.c_str(), &gerror);
  if (pixbuf == nullptr) {
    result.failure =
        L"picture unreadable: " + FromUtf8(gerror != nullptr ? gerror->message : nullptr);
    if (gerror != nullptr) g_error_free(gerror);
    return result;
  }
  auto mask =
      std::make_shared<PictureMask>(gdk_pixbuf_get_width(pixbuf), gdk_pixbuf_get_height(pixbuf));
  if (cairo_surface_status(mask->surface) == CAIRO_STATUS_SUCCESS &&
      gdk_pixbuf_get_n_channels(pixbuf) >= 3 && gdk_pixbuf_get_bits_per_sample(pixbuf) == 8) {
    CopyInk(pixbuf, *mask);
    result.mask = std::move(mask);
  } else {
    result.failure = L"picture has an unsupported pixel layout";
  }
  g_object_unref(pixbuf);
  return result;
}

}  // namespace vellum
