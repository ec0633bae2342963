#pragma once
// Lays text onto the alpha raster with exactly the dots cairo would give, in
// a fraction of the time. Cairo composites glyphs OVER the raster, and pixman
// has no fast path for OVER from alpha onto alpha: every glyph takes the
// general path (scanlines fetched, combined and stored, a 24 KB buffer
// cleared), which was the largest cost of a dense label. Instead glyphs are
// ADDed (which has a fast path) onto a blank layer the size of the raster,
// and the layer is laid onto the raster with OVER's own arithmetic,
// m + d * (255 - m) / 255 rounded as pixman rounds it (or XOR's arithmetic,
// for text that reverses what lies below it). Whether a run's glyphs
// may be added together first or must be laid one by one is the caller's to
// decide (ShowText.cpp: it follows cairo's own choice). What the layer cannot
// reproduce is left to cairo: other operators and sources, groups, clips
// that are not whole-dot rectangles.
//
// Owned by the MonoRaster; the renderer reaches it through the Painter.

#include <cairo.h>

#include <functional>

namespace vellum {

// A rectangle in device space (dots of the raster).
struct DeviceBounds {
  double x0 = 0.0, y0 = 0.0, x1 = 0.0, y1 = 0.0;
};

// How the layer's coverage meets the raster: inked over it (OVER), erasing
// it (DEST_OUT: paper drawn on ink), or reversing it (XOR: ink turns to paper
// and paper to ink).
enum class LayMode { kOver, kErase, kXor };

class GlyphLayer {
 public:
  GlyphLayer() = default;
  ~GlyphLayer();
  GlyphLayer(const GlyphLayer&) = delete;
  GlyphLayer& operator=(const GlyphLayer&) = delete;

  // Whether what is drawn on `cr` now (opaque source, OVER or DEST_OUT,
  // straight onto an alpha image, no clip but whole-dot rectangles) can go
  // through the layer, and how it is laid.
  bool Accepts(cairo_t* cr, LayMode& mode);
  // The same for the target alone (an alpha image, no group, no clip but
  // whole-dot rectangles), whatever the operator and source.
  bool AcceptsTarget(cairo_t* cr);

  // After Accepts(cr): calls `draw` with the layer's context (`cr`'s matrix
  // and current point, ADD, opaque ink), then lays the dots within `bounds`
  // (device space; a margin for rounding is added) onto `cr`'s target and
  // blanks the layer again. Nothing drawn outside `bounds` is kept.
  void Draw(cairo_t* cr, const DeviceBounds& bounds, const std::function<void(cairo_t*)>& draw,
            LayMode mode = LayMode::kOver);

 private:
  struct DotRect {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;  // x1, y1 exclusive
    bool Empty() const { return x1 <= x0 || y1 <= y0; }
  };

  bool ClipRect(cairo_t* cr, int width, int height);
  bool Prepare(int width, int height);
  void LayOnto(cairo_surface_t* target, const DotRect& drawn, LayMode mode);

  cairo_surface_t* layer_ = nullptr;  // blank between Draw calls
  cairo_t* layerCr_ = nullptr;
  DotRect kept_;  // the target's clip, as found by Accepts
};

}  // namespace vellum
