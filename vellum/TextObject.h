#pragma once
// A text object made ready to draw: its frame, the size it prints at and its
// laid-out lines. Box-bound text sits in its frame (inset by the margin,
// centred vertically unless told otherwise, wrapped at the frame width,
// autosized to the largest size that fits); free-form text starts at the
// frame's top-left corner and the frame follows the text. Either keeps clear
// of the frame's border. Used by the LabelRenderer, which owns the TextShaper.

#include <cairo.h>

#include <string>
#include <vector>

#include "vellum/LabelObject.h"
#include "vellum/Painter.h"
#include "vellum/ShapePaths.h"
#include "vellum/TextLayout.h"

namespace vellum {

// One line of typeset text: where its baseline starts, dots. `x` is in the
// layout's own (unstretched) units from the text's left edge.
struct TypesetLine {
  PangoLayoutLine* line = nullptr;  // owned by the prepared text's layout
  double x = 0.0;
  double baseline = 0.0;
};

struct PreparedText {
  PlacedLayout placed;
  DotBox frame;        // where the frame is drawn (reverse fill, border, clip)
  double textX = 0.0;  // the layout's origin
  double textY = 0.0;
  double widthScale = 1.0;
  double sizePoints = 0.0;
  bool boxBound = true;
  bool reverse = false;
  bool clip = true;
  double borderDots = 0.0;

  // Typeset text (TypesetText.cpp): drawn line by line.
  bool typeset = false;
  std::vector<TypesetLine> lines;
  bool reverseBelow = false;     // reverses what lies below instead of inking
  bool turnAboutOrigin = false;  // a rotation turns the text about `origin`
  DotPoint origin;               // the field's origin point
  DotPoint penEnd;               // where the last line's baseline ends
};

// `frame` is the object's rectangle in dots; `family` its resolved face.
PreparedText PrepareText(const ObjectData& object, const std::wstring& value, const DotBox& frame,
                         const std::string& family, const TextShaper& shaper, int dpi);

void DrawText(cairo_t* cr, const PreparedText& text, const Painter& painter);

// Typeset text: the object's text format has a cell height. `origin` is the
// field's origin point in dots.
PreparedText PrepareTypesetText(const ObjectData& object, const std::wstring& value,
                                const DotPoint& origin, const std::string& family,
                                const TextShaper& shaper, int dpi);
void DrawTypesetText(cairo_t* cr, const PreparedText& text, const Painter& painter);

}  // namespace vellum
