#pragma once
// Outlines of the geometric object types as cairo paths, in printer dots. The
// renderer fills a path for a solid shape, or draws its outline by stroking
// the path at twice the pen width clipped to the path itself, so every
// outline grows inward from the shape's edge and edges stay on whole dots.

#include <cairo.h>

#include <vector>

namespace vellum {

struct DotBox {
  double x = 0.0;
  double y = 0.0;
  double width = 0.0;
  double height = 0.0;
};

struct DotPoint {
  double x = 0.0;
  double y = 0.0;
};

// Appends the outline of `type` (a VObjectType) filling `box`; `roundX` and
// `roundY` are the corner ellipse of a rectangle. False for a type that is
// not a closed shape (text, picture, barcode, line, polygon, not-sign).
bool AppendShapePath(cairo_t* cr, int type, const DotBox& box, double roundX, double roundY);

void AppendRoundedRect(cairo_t* cr, const DotBox& box, double roundX, double roundY);
void AppendEllipse(cairo_t* cr, const DotBox& box);
void AppendPolygon(cairo_t* cr, const std::vector<DotPoint>& points);

// Fills the current path, or draws its inward outline `pen` dots wide.
// Consumes the path.
void PaintPath(cairo_t* cr, bool filled, double pen);

// The "no entry" sign: a ring `pen` dots thick with a bar from upper left to
// lower right. A filled sign uses a bar and ring an eighth of the box thick.
void PaintNotSign(cairo_t* cr, const DotBox& box, bool filled, double pen);

// A line `thickness` dots wide from a to b. Lines that run more across than
// down are as thick as `thickness` measured vertically, from the line down;
// steeper lines measure it horizontally, from the line to the right. So a
// horizontal or vertical line covers whole dots. `style` 1 dashed, 2 dotted;
// `startCap`/`endCap` put an arrow head on that end.
void PaintLine(cairo_t* cr, DotPoint a, DotPoint b, double thickness, int style, bool startCap,
               bool endCap);

}  // namespace vellum
