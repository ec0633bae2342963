#pragma once
// Where the label's design lands on the printed page. The design is the label
// as the session describes it (engine units, x right, y down, origin top-left);
// the page is what leaves the printer: the media width across, the label
// length along the feed, in dots. Landscape turns the design a quarter turn
// clockwise onto the page; the label rotation (counter-clockwise) and the
// upside-down turn follow; the turned design's bounding box is put at the
// page's top-left corner, shifted by the margins and offsets, and finally
// mirrored left to right when asked.

#include <cairo.h>

#include "vellum/LabelModel.h"
#include "vellum/ShapePaths.h"

namespace vellum {

struct PrinterGeometry {
  int dpi = 300;
  int unitsPerInch = 1000;
  double mediaWidthInches = 4.0;
  double mediaLengthInches = 0.0;  // 0: continuous media, a label as long as its content
  // The media length decides every label's length, whatever the label asks
  // for: a viewer's fixed canvas, on which a short label length cuts nothing.
  bool mediaLengthOnly = false;
  bool checkPlacement = false;  // say which objects lie outside their label
};

// How far a label's content reaches in the design, dots, and the margin a
// length that follows the content leaves beyond it.
struct ContentExtent {
  double right = 0.0;
  double bottom = 0.0;
  double margin = 0.0;
};

// The least margin below content that decides a label's length, inches.
inline constexpr double kContentMarginInches = 0.1;

struct PageGeometry {
  int widthDots = 1;
  int heightDots = 1;
  cairo_matrix_t designToPage;
};

// Engine units to dots (not rounded).
double UnitsToDots(double units, const PrinterGeometry& printer);

// The label's width across the media, dots.
int LabelWidthDots(const LabelSettings& settings, const PrinterGeometry& printer);

// The page for `settings`. The label's own fixed length wins, then the media
// length; without either the length follows `content` and its margin.
PageGeometry ComputePage(const LabelSettings& settings, const PrinterGeometry& printer,
                         const ContentExtent& content);

// The bounding box of `box` turned by `degrees` (counter-clockwise) about its
// centre.
DotBox RotatedBounds(const DotBox& box, double degrees);

// The bounds of `box` mapped by `matrix`.
DotBox TransformedBounds(const cairo_matrix_t& matrix, const DotBox& box);

// A counter-clockwise turn by `degrees` about (cx, cy).
void InitTurnAbout(cairo_matrix_t* matrix, double degrees, double cx, double cy);

// Cairo's rotation for a counter-clockwise turn on the printed label, with
// quarter turns exact.
void InitRotation(cairo_matrix_t* matrix, double degrees);

// The longest label the engine prints, inches: a label that asks for more is
// cut there.
inline constexpr double kMaxLabelInches = 50.0;

}  // namespace vellum
