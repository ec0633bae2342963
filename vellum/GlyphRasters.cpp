#include "vellum/GlyphRasters.h"

#include <algorithm>
#include <bit>
#include <cmath>

#include "vellum/HashMix.h"
#include "vellum/InkBox.h"

namespace vellum {
namespace {

// Dots of blank room around a glyph's outline bounds when its dots are
// taken: rounding reaches at most two past them. Ink in the outer ring would
// mean the bounds do not hold the dots, and the glyph is not kept.
constexpr int kRoom = 4;

// The outline's bounds in device space from the glyph's origin, as cairo
// reports them for `cr`'s matrix and font.
DeviceBounds OutlineBox(cairo_t* cr, unsigned long index, bool& empty) {
  cairo_glyph_t glyph{index, 0.0, 0.0};
  cairo_text_extents_t extents;
  cairo_glyph_extents(cr, &glyph, 1, &extents);
  empty = extents.width == 0.0 || extents.height == 0.0;
  DeviceBounds box{HUGE_VAL, HUGE_VAL, -HUGE_VAL, -HUGE_VAL};
  for (int corner = 0; corner < 4; ++corner) {
    double dx = extents.x_bearing + (corner & 1 ? extents.width : 0.0);
    double dy = extents.y_bearing + (corner & 2 ? extents.height : 0.0);
    cairo_user_to_device_distance(cr, &dx, &dy);
    box = {std::min(box.x0, dx), std::min(box.y0, dy), std::max(box.x1, dx), std::max(box.y1, dy)};
  }
  return box;
}

}  // namespace

size_t GlyphRasters::FaceKeyHash::operator()(const FaceKey& k) const {
  size_t h = reinterpret_cast<uintptr_t>(k.font);
  // +0.0 turns -0.0 into +0.0, which the key compares equal.
  for (double v : {k.xx, k.yx, k.xy, k.yy}) MixHash(h, std::bit_cast<uint64_t>(v + 0.0));
  return h;
}

GlyphRasters::~GlyphRasters() { Clear(); }

void GlyphRasters::Clear() {
  faces_.clear();
  last_ = nullptr;
  fontKeys_.clear();
  for (cairo_scaled_font_t* font : fonts_) cairo_scaled_font_destroy(font);
  fonts_.clear();
  bytes_ = 0;
  size_ = 0;
}

GlyphRasters::Face& GlyphRasters::FaceOf(const FaceKey& key) {
  if (last_ == nullptr || !(key == lastKey_)) {
    last_ = &faces_[key];
    lastKey_ = key;
  }
  return *last_;
}

// The strike that keeps the face's glyphs on disk, if it can be named; the
// font's key is made once, and the font referenced while it is kept.
void GlyphRasters::OpenStrike(const FaceKey& key, PangoFont* source, Face& face) {
  face.opened = true;
  auto [found, fresh] = fontKeys_.try_emplace(key.font);
  if (fresh) {
    found->second = GlyphStore::FontKey(source, key.font);
    if (std::find(fonts_.begin(), fonts_.end(), key.font) == fonts_.end()) {
      fonts_.push_back(cairo_scaled_font_reference(key.font));
    }
  }
  if (found->second.empty()) return;
  const cairo_matrix_t matrix{key.xx, key.yx, key.xy, key.yy, 0.0, 0.0};
  face.strike = store_->Open(GlyphStore::StrikeKey(found->second, matrix));
}

const GlyphRaster* GlyphRasters::Find(cairo_t* cr, const cairo_matrix_t& matrix,
                                      cairo_scaled_font_t* font, unsigned long index,
                                      PangoFont* source) {
  if (index >= kMaxIndex) return nullptr;
  const FaceKey key{font, matrix.xx, matrix.yx, matrix.xy, matrix.yy};
  Face* face = &FaceOf(key);
  if (index < face->glyphs.size() && face->glyphs[index]) return face->glyphs[index].get();
  if (!face->opened && store_ != nullptr && source != nullptr) OpenStrike(key, source, *face);
  auto raster = std::make_unique<GlyphRaster>();
  if (face->strike == nullptr || !store_->Find(*face->strike, index, *raster)) {
    if (!Take(cr, matrix, font, index, *raster)) return nullptr;
    if (face->strike != nullptr) store_->Add(*face->strike, index, *raster);
  }
  const size_t bytes = raster->dots.size() + sizeof(GlyphRaster);
  if (bytes_ + bytes > maxBytes_) {
    Clear();
    face = &FaceOf(key);
  }
  if (std::find(fonts_.begin(), fonts_.end(), font) == fonts_.end()) {
    fonts_.push_back(cairo_scaled_font_reference(font));
  }
  bytes_ += bytes;
  ++size_;
  if (face->glyphs.size() <= index) {
    bytes_ += (index + 1 - face->glyphs.size()) * sizeof(face->glyphs.front());
    face->glyphs.resize(index + 1);
  }
  face->glyphs[index] = std::move(raster);
  return face->glyphs[index].get();
}

// Draws the glyph alone with cairo, its origin on a whole dot of a blank
// alpha surface, and keeps the inked part of what cairo drew.
bool GlyphRasters::Take(cairo_t* cr, const cairo_matrix_t& matrix, cairo_scaled_font_t* font,
                        unsigned long index, GlyphRaster& out) {
  cairo_save(cr);
  cairo_set_scaled_font(cr, font);
  out.box = OutlineBox(cr, index, out.empty);
  cairo_restore(cr);
  if (out.empty) return true;
  // Bounds far from the origin (a degenerate matrix) are not whole dots an
  // int can hold: such glyphs are left to cairo.
  for (double v : {out.box.x0, out.box.y0, out.box.x1, out.box.y1}) {
    if (!(std::abs(v) < kFarthest)) return false;  // NaN too
  }
  const double spanX = std::ceil(out.box.x1) - std::floor(out.box.x0) + 2 * kRoom;
  const double spanY = std::ceil(out.box.y1) - std::floor(out.box.y0) + 2 * kRoom;
  if (spanX * spanY > static_cast<double>(kMaxGlyphDots)) return false;
  const int width = static_cast<int>(spanX), height = static_cast<int>(spanY);
  const int originX = kRoom - static_cast<int>(std::floor(out.box.x0));
  const int originY = kRoom - static_cast<int>(std::floor(out.box.y0));

  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_A8, width, height);
  cairo_t* scratch = cairo_create(surface);
  cairo_matrix_t at = matrix;  // the same linear part: the same scaled font and dots
  at.x0 = originX;
  at.y0 = originY;
  cairo_set_matrix(scratch, &at);
  cairo_set_scaled_font(scratch, font);
  cairo_set_operator(scratch, CAIRO_OPERATOR_ADD);
  cairo_set_source_rgba(scratch, 0.0, 0.0, 0.0, 1.0);
  const cairo_glyph_t glyph{index, 0.0, 0.0};
  cairo_show_glyphs(scratch, &glyph, 1);
  bool ok = cairo_status(scratch) == CAIRO_STATUS_SUCCESS;
  cairo_destroy(scratch);
  cairo_surface_flush(surface);
  const uint8_t* data = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  ok = ok && data != nullptr;
  const InkBox ink = ok ? FindInk(data, width, height, stride) : InkBox{};
  if (ok && !ink.empty()) {
    // Ink near the edge: the outline bounds did not hold the dots.
    ok = ink.x0 >= kRoom / 2 && ink.y0 >= kRoom / 2 && ink.x1 <= width - kRoom / 2 &&
         ink.y1 <= height - kRoom / 2;
    out.x = ink.x0 - originX, out.y = ink.y0 - originY;
    out.width = ink.x1 - ink.x0, out.height = ink.y1 - ink.y0;
    out.stride = GlyphRaster::StrideFor(out.width);
    out.dots.assign(static_cast<size_t>(out.stride) * out.height, 0);
    for (int y = 0; y < out.height; ++y) {
      std::copy_n(data + static_cast<size_t>(ink.y0 + y) * stride + ink.x0, out.width,
                  out.dots.begin() + static_cast<ptrdiff_t>(y) * out.stride);
    }
  }
  cairo_surface_destroy(surface);
  return ok;
}

}  // namespace vellum
