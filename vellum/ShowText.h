#pragma once
// Shows laid-out text at the current point of a cairo context, as
// pango_cairo_show_layout and pango_cairo_show_layout_line do, but through the
// painter's glyph layer when each line is one glyph run without decorations:
// the layer gives the same dots faster (see GlyphLayer). Used by the text
// objects' and barcodes' drawing.

#include <pango/pangocairo.h>

#include "vellum/Painter.h"

namespace vellum {

void ShowLayout(cairo_t* cr, PangoLayout* layout, const Painter& painter);
void ShowLayoutLine(cairo_t* cr, PangoLayoutLine* line, const Painter& painter);

// A line that reverses what lies below it, laid with XOR through the glyph
// layer: what drawing it into a fresh alpha group and painting that group
// with XOR onto the raster gives. False, having drawn nothing, when the
// layer cannot; the caller then draws the group itself.
bool ShowLineReversing(cairo_t* cr, PangoLayoutLine* line, const Painter& painter);

}  // namespace vellum
