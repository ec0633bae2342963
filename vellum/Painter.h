#pragma once
// Chooses how ink and paper are painted on the target surface. On the raster
// (an alpha surface) ink is opaque alpha and paper erases it; on a PDF page
// ink is black and paper white. A negative label swaps the two after the
// whole page has been inked.

#include <cairo.h>

namespace vellum {

class GlyphLayer;

struct Painter {
  bool vector = false;           // PDF page rather than the raster
  bool negative = false;         // the label prints white on black
  GlyphLayer* glyphs = nullptr;  // the raster's faster way to lay text, if any

  void Ink(cairo_t* cr) const { Set(cr, !negative); }
  void Paper(cairo_t* cr) const { Set(cr, negative); }
  // `ink` false paints paper.
  void Choose(cairo_t* cr, bool ink) const { ink ? Ink(cr) : Paper(cr); }

 private:
  void Set(cairo_t* cr, bool black) const {
    if (vector) {
      cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
      cairo_set_source_rgb(cr, black ? 0.0 : 1.0, black ? 0.0 : 1.0, black ? 0.0 : 1.0);
    } else {
      // DEST_OUT erases where the source (masks and glyphs included) covers.
      cairo_set_operator(cr, black ? CAIRO_OPERATOR_OVER : CAIRO_OPERATOR_DEST_OUT);
      cairo_set_source_rgba(cr, 0.0, 0.0, 0.0, 1.0);
    }
  }
};

}  // namespace vellum
