#pragma once
// Lays text onto the alpha raster with exactly the dots cairo would give, in
// a fraction of the time. Cairo composites glyphs OVER the raster, and pixman
// has no fast path for OVER from alpha onto alpha: every glyph takes the
// general path (scanlines fetched, combined and stored, a 24 KB buffer
// cleared), which was the largest cost of a dense label. Instead glyphs are
// ADDed (which has a fast path) onto a blank layer the size of the run's
// bounds, and the layer is laid onto the raster with OVER's own arithmetic,
// m + d * (255 - m) / 255 rounded as pixman rounds it (or XOR's arithmetic,
// for text that reverses what lies below it). Whether a run's glyphs
// may be added together first or must be laid one by one is the caller's to
// decide (ShowText.cpp: it follows cairo's own choice). The glyphs' dots are
// cairo's own, kept by the layer (GlyphRasters), and added as cairo adds
// them: saturating, each at its origin rounded to a whole dot. What the
// layer cannot reproduce is left to cairo: other operators and sources,
// groups, clips that are not whole-dot rectangles.
//
// The layer is one scratch reused from run to run, so that a label's text
// touches the same few pages wherever it lands (in a fresh process each new
// page is a fault). It grows with the largest run up to kMaxScratchBytes; a
// run larger still is laid in bands of rows, each dot's arithmetic being its
// own. Blank between Draw calls.
//
// Owned by the MonoRaster; the renderer reaches it through the Painter.

#include <cairo.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <span>
#include <vector>

#include "vellum/GlyphRasters.h"

namespace vellum {

struct BarRect;

// How the layer's coverage meets the raster: inked over it (OVER), erasing
// it (DEST_OUT: paper drawn on ink), or reversing it (XOR: ink turns to paper
// and paper to ink).
enum class LayMode { kOver, kErase, kXor };

// A glyph's dots where cairo puts them: the raster's own offset from
// (`x`, `y`), the glyph's origin in device space rounded to a whole dot.
struct GlyphAt {
  const GlyphRaster* raster = nullptr;
  int x = 0, y = 0;
};

class GlyphLayer {
 public:
  GlyphLayer() = default;
  GlyphLayer(const GlyphLayer&) = delete;
  GlyphLayer& operator=(const GlyphLayer&) = delete;

  // Whether what is drawn on `cr` now (opaque source, OVER or DEST_OUT,
  // straight onto an alpha image, no clip but whole-dot rectangles) can go
  // through the layer, and how it is laid.
  bool Accepts(cairo_t* cr, LayMode& mode);
  // The same for the target alone (an alpha image, no group, no clip but
  // whole-dot rectangles), whatever the operator and source.
  bool AcceptsTarget(cairo_t* cr);

  // After Accepts(cr): adds the glyphs' dots onto the layer, then lays the
  // dots within `bounds` (device space; a margin for rounding is added) onto
  // `cr`'s target and blanks the layer again. Nothing outside `bounds` is kept.
  void Draw(cairo_t* cr, const DeviceBounds& bounds, std::span<const GlyphAt> glyphs,
            LayMode mode = LayMode::kOver);

  // After Accepts(cr): lays each glyph's dots straight onto `cr`'s target,
  // one glyph after another, as cairo composites a run glyph by glyph. The
  // layer itself is not used.
  void LayEach(cairo_t* cr, std::span<const GlyphAt> glyphs, LayMode mode = LayMode::kOver);

  // After Accepts(cr): fills the bars (whole-dot rectangles in user space,
  // one path under the winding rule) straight onto `cr`'s target, as cairo
  // fills them: every dot inside one at full coverage. False, having drawn
  // nothing, when `cr`'s matrix is not a whole-dot translation or the mode
  // reverses (overlapping bars would be reversed twice).
  bool LayBars(cairo_t* cr, std::span<const BarRect> bars, LayMode mode);

  // The dots of the glyphs drawn through this layer.
  GlyphRasters& rasters() { return rasters_; }

  // What the scratch takes now.
  size_t scratchBytes() const { return scratchBytes_; }

  // The scratch grows no larger (unless one row of the raster is larger):
  // four pages, faulted in once, within the first-level cache. A line of
  // small text fits whole; larger runs are laid in bands of rows.
  static constexpr size_t kMaxScratchBytes = 16u << 10;

 private:
  struct DotRect {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;  // x1, y1 exclusive
    bool Empty() const { return x1 <= x0 || y1 <= y0; }
  };

  struct Free {
    void operator()(uint8_t* bytes) const { std::free(bytes); }
  };

  bool ClipRect(cairo_t* cr, int width, int height);
  bool Prepare(int width, int height);
  bool Reserve(size_t bytes);
  void Add(const GlyphAt& glyph, const DotRect& band, size_t stride);
  void LayOnto(uint8_t* raster, size_t rasterStride, const DotRect& band, size_t stride,
               LayMode mode);

  int width_ = 0, height_ = 0;  // the target's
  // A band of a run's bounds, a byte per dot, rows as the run's width plus a
  // glyph row's padding apart; blank between Draw calls.
  std::unique_ptr<uint8_t[], Free> scratch_;
  size_t scratchBytes_ = 0;
  DotRect kept_;  // the target's clip, as found by Accepts
  GlyphRasters rasters_;
};

}  // namespace vellum
