#include "vellum/ShapePaths.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "engine/VInterface.h"

namespace vellum {
namespace {

constexpr double kPi = std::numbers::pi;

// Points on the ellipse inscribed in `box`; angle 0 is up, growing clockwise.
DotPoint OnEllipse(const DotBox& box, double angle, double scale) {
  return DotPoint{box.x + box.width / 2.0 * (1.0 + scale * std::sin(angle)),
                  box.y + box.height / 2.0 * (1.0 - scale * std::cos(angle))};
}

void AppendBurst(cairo_t* cr, const DotBox& box, int points, double innerScale) {
  std::vector<DotPoint> corners;
  for (int i = 0; i < points * 2; ++i) {
    const double angle = kPi * i / points;
    corners.push_back(OnEllipse(box, angle, i % 2 == 0 ? 1.0 : innerScale));
  }
  AppendPolygon(cr, corners);
}

// Corners as fractions of the box.
void AppendScaled(cairo_t* cr, const DotBox& box, std::initializer_list<DotPoint> fractions) {
  std::vector<DotPoint> corners;
  for (const DotPoint& f : fractions) {
    corners.push_back(DotPoint{box.x + f.x * box.width, box.y + f.y * box.height});
  }
  AppendPolygon(cr, corners);
}

void AppendArrow(cairo_t* cr, const DotBox& box) {
  const double head = std::min(box.width / 2.0, box.height * 0.6);
  const double neck = box.x + box.width - head;
  const double stemTop = box.y + box.height / 3.0;
  const double stemBottom = box.y + box.height * 2.0 / 3.0;
  AppendPolygon(cr, {{box.x, stemTop},
                     {neck, stemTop},
                     {neck, box.y},
                     {box.x + box.width, box.y + box.height / 2.0},
                     {neck, box.y + box.height},
                     {neck, stemBottom},
                     {box.x, stemBottom}});
}

// Three quarters of a ring, turning clockwise from the left, with a head at
// the top pointing right.
void AppendRotationalArrow(cairo_t* cr, const DotBox& box) {
  const double cx = box.x + box.width / 2.0;
  const double cy = box.y + box.height / 2.0;
  const double rx = box.width / 2.0;
  const double ry = box.height / 2.0;
  constexpr double kOuter = 0.8, kInner = 0.5, kHeadOuter = 1.0, kHeadInner = 0.3;
  auto at = [&](double angle, double r) {  // cairo angle: 0 right, clockwise
    return DotPoint{cx + rx * r * std::cos(angle), cy + ry * r * std::sin(angle)};
  };
  std::vector<DotPoint> corners;
  constexpr int kSteps = 48;
  const double start = kPi, end = kPi * 2.0 + kPi / 4.0;  // left round to upper right
  for (int i = 0; i <= kSteps; ++i)
    corners.push_back(at(start + (end - start) * i / kSteps, kOuter));
  corners.push_back(at(end, kHeadOuter));
  corners.push_back(at(end + kPi / 5.0, (kOuter + kInner) / 2.0));
  corners.push_back(at(end, kHeadInner));
  for (int i = kSteps; i >= 0; --i)
    corners.push_back(at(start + (end - start) * i / kSteps, kInner));
  AppendPolygon(cr, corners);
}

}  // namespace

void AppendPolygon(cairo_t* cr, const std::vector<DotPoint>& points) {
  if (points.empty()) return;
  cairo_move_to(cr, points[0].x, points[0].y);
  for (size_t i = 1; i < points.size(); ++i) cairo_line_to(cr, points[i].x, points[i].y);
  cairo_close_path(cr);
}

void AppendRoundedRect(cairo_t* cr, const DotBox& box, double roundX, double roundY) {
  const double rx = std::clamp(roundX / 2.0, 0.0, box.width / 2.0);
  const double ry = std::clamp(roundY / 2.0, 0.0, box.height / 2.0);
  if (rx <= 0.0 || ry <= 0.0) {
    cairo_rectangle(cr, box.x, box.y, box.width, box.height);
    return;
  }
  auto corner = [&](double cx, double cy, double from) {
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, rx, ry);
    cairo_arc(cr, 0.0, 0.0, 1.0, from, from + kPi / 2.0);
    cairo_restore(cr);
  };
  cairo_new_sub_path(cr);
  corner(box.x + box.width - rx, box.y + ry, -kPi / 2.0);
  corner(box.x + box.width - rx, box.y + box.height - ry, 0.0);
  corner(box.x + rx, box.y + box.height - ry, kPi / 2.0);
  corner(box.x + rx, box.y + ry, kPi);
  cairo_close_path(cr);
}

void AppendEllipse(cairo_t* cr, const DotBox& box) {
  if (box.width <= 0.0 || box.height <= 0.0) return;
  cairo_save(cr);
  cairo_translate(cr, box.x + box.width / 2.0, box.y + box.height / 2.0);
  cairo_scale(cr, box.width / 2.0, box.height / 2.0);
  cairo_new_sub_path(cr);
  cairo_arc(cr, 0.0, 0.0, 1.0, 0.0, 2.0 * kPi);
  cairo_close_path(cr);
  cairo_restore(cr);
}

bool AppendShapePath(cairo_t* cr, int type, const DotBox& box, double roundX, double roundY) {
  switch (type) {
    case kVObjRectangle:
      AppendRoundedRect(cr, box, roundX, roundY);
      return true;
    case kVObjCircle:
      AppendEllipse(cr, box);
      return true;
    case kVObjStar:
      AppendBurst(cr, box, 5, 0.382);
      return true;
    case kVObjSeal:
      AppendBurst(cr, box, 16, 0.85);
      return true;
    case kVObjTriangle:
      AppendScaled(cr, box, {{0.5, 0.0}, {1.0, 1.0}, {0.0, 1.0}});
      return true;
    case kVObjDiamond:
      AppendScaled(cr, box, {{0.5, 0.0}, {1.0, 0.5}, {0.5, 1.0}, {0.0, 0.5}});
      return true;
    case kVObjCross: {
      constexpr double a = 1.0 / 3.0, b = 2.0 / 3.0;
      AppendScaled(cr, box,
                   {{a, 0},
                    {b, 0},
                    {b, a},
                    {1, a},
                    {1, b},
                    {b, b},
                    {b, 1},
                    {a, 1},
                    {a, b},
                    {0, b},
                    {0, a},
                    {a, a}});
      return true;
    }
    case kVObjStraightArrow:
      AppendArrow(cr, box);
      return true;
    case kVObjRotationalArrow:
      AppendRotationalArrow(cr, box);
      return true;
  }
  return false;
}

void PaintPath(cairo_t* cr, bool filled, double pen) {
  if (filled) {
    cairo_fill(cr);
    return;
  }
  cairo_save(cr);
  cairo_path_t* path = cairo_copy_path(cr);
  cairo_clip(cr);
  cairo_append_path(cr, path);
  cairo_path_destroy(path);
  cairo_set_line_width(cr, pen * 2.0);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
  cairo_stroke(cr);
  cairo_restore(cr);
}

void PaintNotSign(cairo_t* cr, const DotBox& box, bool filled, double pen) {
  const double thick = filled ? std::max(pen, std::min(box.width, box.height) / 8.0) : pen;
  const DotBox inner{box.x + thick, box.y + thick, box.width - 2 * thick, box.height - 2 * thick};
  cairo_save(cr);
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
  AppendEllipse(cr, box);
  AppendEllipse(cr, inner);
  cairo_fill(cr);
  if (inner.width > 0.0 && inner.height > 0.0) {
    AppendEllipse(cr, inner);
    cairo_clip(cr);
    // The bar runs along the box's falling diagonal, `thick` wide.
    const double len = std::hypot(box.width, box.height);
    const double nx = box.height / len * thick / 2.0, ny = -box.width / len * thick / 2.0;
    AppendPolygon(cr, {{box.x + nx, box.y + ny},
                       {box.x + box.width + nx, box.y + box.height + ny},
                       {box.x + box.width - nx, box.y + box.height - ny},
                       {box.x - nx, box.y - ny}});
    cairo_fill(cr);
  }
  cairo_restore(cr);
}

namespace {

void AppendBand(cairo_t* cr, DotPoint a, DotPoint b, double thickness, bool across) {
  const double dx = across ? 0.0 : thickness, dy = across ? thickness : 0.0;
  AppendPolygon(cr, {a, b, {b.x + dx, b.y + dy}, {a.x + dx, a.y + dy}});
}

void AppendHead(cairo_t* cr, DotPoint tip, DotPoint from, double thickness, bool across) {
  const double len = std::hypot(tip.x - from.x, tip.y - from.y);
  if (len <= 0.0) return;
  const double size = std::max(3.0 * thickness, 6.0);
  const double ux = (tip.x - from.x) / len, uy = (tip.y - from.y) / len;
  const double cx = tip.x + (across ? 0.0 : thickness / 2.0);
  const double cy = tip.y + (across ? thickness / 2.0 : 0.0);
  const double bx = cx - ux * size, by = cy - uy * size;
  AppendPolygon(cr, {{cx, cy},
                     {bx - uy * size / 2.0, by + ux * size / 2.0},
                     {bx + uy * size / 2.0, by - ux * size / 2.0}});
}

}  // namespace

void PaintLine(cairo_t* cr, DotPoint a, DotPoint b, double thickness, int style, bool startCap,
               bool endCap) {
  const bool across = std::abs(b.x - a.x) >= std::abs(b.y - a.y);
  const double len = std::hypot(b.x - a.x, b.y - a.y);
  if (style == 0 || len <= 0.0) {
    AppendBand(cr, a, b, thickness, across);
  } else {
    // Dashes of three thicknesses (dots of one), with gaps of one thickness.
    const double dash = std::max(1.0, thickness * (style == 1 ? 3.0 : 1.0));
    const double gap = std::max(1.0, thickness);
    for (double s = 0.0; s < len; s += dash + gap) {
      const double e = std::min(len, s + dash);
      AppendBand(cr, {a.x + (b.x - a.x) * s / len, a.y + (b.y - a.y) * s / len},
                 {a.x + (b.x - a.x) * e / len, a.y + (b.y - a.y) * e / len}, thickness, across);
    }
  }
  if (startCap) AppendHead(cr, a, b, thickness, across);
  if (endCap) AppendHead(cr, b, a, thickness, across);
  cairo_fill(cr);
}

}  // namespace vellum
