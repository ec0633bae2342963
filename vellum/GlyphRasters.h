#pragma once
// The dots cairo draws for each glyph, kept by one render worker so that
// text reaches its glyph layer without cairo drawing every glyph again.
// Cairo's own glyph cache is one for the whole process and locked for the
// whole of every run drawn, so render threads took turns through it; this
// one belongs to a single GlyphLayer and is never shared.
//
// Cairo rounds each glyph's origin to a whole dot and draws the same dots
// for a glyph of a scaled font wherever it lands, so a glyph is keyed on its
// font, the linear part of the matrix it is drawn with, and its index. Its
// dots are taken once from cairo itself, drawn at a whole-dot origin, or
// from the glyph store on disk when one is given (GlyphStore), which then
// keeps what was drawn for the next process.

#include <cairo.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "vellum/GlyphStore.h"

typedef struct _PangoFont PangoFont;

namespace vellum {

// A rectangle in device space (dots of the raster).
struct DeviceBounds {
  double x0 = 0.0, y0 = 0.0, x1 = 0.0, y1 = 0.0;
};

struct GlyphRaster {
  DeviceBounds box;    // the outline's bounds in device space, from the glyph's origin
  bool empty = false;  // no outline (a space): nothing is drawn
  // The dots, `width` x `height`, their top left `x`, `y` dots from the
  // glyph's rounded origin. Rows are `stride` bytes apart, blank after
  // `width` for at least kRowPadding bytes: rows are added whole blocks at
  // a time.
  int x = 0, y = 0, width = 0, height = 0, stride = 0;
  std::vector<uint8_t> dots;

  static constexpr int kRowPadding = 16;
  // The row length for `width` dots.
  static int StrideFor(int width) {
    return (width + 2 * kRowPadding - 1) / kRowPadding * kRowPadding;
  }
};

class GlyphRasters {
 public:
  explicit GlyphRasters(size_t maxBytes = kMaxBytes) : maxBytes_(maxBytes) {}
  ~GlyphRasters();
  GlyphRasters(const GlyphRasters&) = delete;
  GlyphRasters& operator=(const GlyphRasters&) = delete;

  // Glyph `index` of `font` drawn on `cr` with its present matrix (`matrix`,
  // as cairo_get_matrix gives it). Null when its dots cannot be taken or
  // are too many to keep: the caller leaves the text to cairo. With
  // `source`, the pango font `font` was made for, the glyph store is asked
  // first and given what cairo drew.
  const GlyphRaster* Find(cairo_t* cr, const cairo_matrix_t& matrix, cairo_scaled_font_t* font,
                          unsigned long index, PangoFont* source = nullptr);

  // Where glyphs are kept from run to run; none by default.
  void SetStore(GlyphStore* store) { store_ = store; }
  // Writes the glyphs drawn since the last save to the store, if any: when
  // a label is done.
  void Save() {
    if (store_ != nullptr) store_->Save();
  }

  // What the kept glyphs take; all are let go when another would pass the bound.
  size_t bytes() const { return bytes_; }
  size_t size() const { return size_; }

  // Kept per worker: the fonts of a dense label at 300 dpi take 2-3 MB.
  static constexpr size_t kMaxBytes = 16u << 20;
  // Glyph indices of this many and more are left to cairo.
  static constexpr unsigned long kMaxIndex = 1u << 16;
  // Glyphs above this many dots are left to cairo: few, and costly to keep.
  static constexpr size_t kMaxGlyphDots = 1u << 20;
  // Nor are glyphs whose outline lies farther than this from their origin.
  static constexpr double kFarthest = 1 << 24;

 private:
  // A font drawn with one matrix: its glyphs by index.
  struct FaceKey {
    cairo_scaled_font_t* font;
    double xx, yx, xy, yy;
    bool operator==(const FaceKey&) const = default;
  };
  struct FaceKeyHash {
    size_t operator()(const FaceKey& k) const;
  };
  struct Face {
    std::vector<std::unique_ptr<GlyphRaster>> glyphs;
    std::shared_ptr<GlyphStore::Strike> strike;  // its glyphs on disk, when kept there
    bool opened = false;                         // the strike was looked for
  };

  Face& FaceOf(const FaceKey& key);
  void OpenStrike(const FaceKey& key, PangoFont* source, Face& face);
  bool Take(cairo_t* cr, const cairo_matrix_t& matrix, cairo_scaled_font_t* font,
            unsigned long index, GlyphRaster& out);
  void Clear();

  std::unordered_map<FaceKey, Face, FaceKeyHash> faces_;
  FaceKey lastKey_{};
  Face* last_ = nullptr;  // the face of the last glyph found: runs ask for one face in turn
  std::vector<cairo_scaled_font_t*> fonts_;  // referenced while their glyphs are kept
  // Each font's key in the store (empty: not stored), made once per font.
  std::unordered_map<cairo_scaled_font_t*, std::string> fontKeys_;
  GlyphStore* store_ = nullptr;
  size_t bytes_ = 0;
  size_t size_ = 0;
  size_t maxBytes_;
};

}  // namespace vellum
