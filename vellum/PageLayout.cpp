#include "vellum/PageLayout.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vellum {
namespace {

double Snap(double v) {
  for (double exact : {-1.0, 0.0, 1.0}) {
    if (std::abs(v - exact) < 1e-12) return exact;
  }
  return v;
}

int ClampDots(double dots, const PrinterGeometry& printer) {
  const double most = kMaxLabelInches * printer.dpi;
  return static_cast<int>(std::clamp(std::ceil(dots - 1e-6), 1.0, most));
}

// The length the label's page must have, dots, or 0 when it follows the
// content. Rounded to the nearest dot, as the width is: a length given in
// dots comes back through engine units a fraction off (100 dots at 203 dpi
// are 493 units, 100.08 dots).
double FixedLengthDots(const LabelSettings& settings, const PrinterGeometry& printer) {
  const double own = std::round(UnitsToDots(settings.lengthUnits, printer));
  if (settings.lengthFixed && own >= 1.0 && !printer.mediaLengthOnly) return own;
  const double media = std::round(printer.mediaLengthInches * printer.dpi);
  return media >= 1.0 ? media : 0.0;
}

}  // namespace

double UnitsToDots(double units, const PrinterGeometry& printer) {
  return printer.unitsPerInch > 0 ? units * printer.dpi / printer.unitsPerInch : 0.0;
}

int LabelWidthDots(const LabelSettings& settings, const PrinterGeometry& printer) {
  const double dots = settings.widthUnits > 0 ? UnitsToDots(settings.widthUnits, printer)
                                              : printer.mediaWidthInches * printer.dpi;
  return ClampDots(std::round(dots), printer);
}

void InitRotation(cairo_matrix_t* matrix, double degrees) {
  // Cairo turns clockwise on a y-down page; the label's degrees run the other way.
  cairo_matrix_init_rotate(matrix, -degrees * std::numbers::pi / 180.0);
  matrix->xx = Snap(matrix->xx);
  matrix->xy = Snap(matrix->xy);
  matrix->yx = Snap(matrix->yx);
  matrix->yy = Snap(matrix->yy);
}

DotBox TransformedBounds(const cairo_matrix_t& matrix, const DotBox& box) {
  double minX = 1e300, minY = 1e300, maxX = -1e300, maxY = -1e300;
  for (double fx : {0.0, 1.0}) {
    for (double fy : {0.0, 1.0}) {
      double x = box.x + fx * box.width, y = box.y + fy * box.height;
      cairo_matrix_transform_point(&matrix, &x, &y);
      minX = std::min(minX, x), maxX = std::max(maxX, x);
      minY = std::min(minY, y), maxY = std::max(maxY, y);
    }
  }
  return DotBox{minX, minY, maxX - minX, maxY - minY};
}

void InitTurnAbout(cairo_matrix_t* matrix, double degrees, double cx, double cy) {
  cairo_matrix_t turn, there, back;
  InitRotation(&turn, degrees);
  cairo_matrix_init_translate(&there, -cx, -cy);
  cairo_matrix_init_translate(&back, cx, cy);
  cairo_matrix_multiply(matrix, &there, &turn);
  cairo_matrix_multiply(matrix, matrix, &back);
}

DotBox RotatedBounds(const DotBox& box, double degrees) {
  cairo_matrix_t turn;
  InitTurnAbout(&turn, degrees, box.x + box.width / 2.0, box.y + box.height / 2.0);
  return TransformedBounds(turn, box);
}

PageGeometry ComputePage(const LabelSettings& settings, const PrinterGeometry& printer,
                         const ContentExtent& content) {
  const int across = LabelWidthDots(settings, printer);
  const double fixedLength = FixedLengthDots(settings, printer);
  const bool fixed = fixedLength > 0.0;
  const double margin = std::max(0.0, content.margin);
  double designW = across, designH = across;
  if (settings.portrait) {
    designH = fixed ? fixedLength : std::max(1.0, content.bottom + margin);
  } else {
    designW = fixed ? fixedLength : std::max(1.0, content.right + margin);
  }
  designW = ClampDots(designW, printer);
  designH = ClampDots(designH, printer);

  double degrees = settings.rotationTenths / 10.0 + (settings.portrait ? 0.0 : -90.0) +
                   (settings.upsideDown ? 180.0 : 0.0);
  cairo_matrix_t turn;
  InitRotation(&turn, degrees);
  const DotBox turned = TransformedBounds(turn, DotBox{0, 0, designW, designH});
  const double shiftX =
      std::round(settings.offsetXInches * printer.dpi + settings.data.leftMarginDots +
                 UnitsToDots(settings.marginUnits.x, printer));
  const double shiftY = std::round(settings.offsetYInches * printer.dpi +
                                   UnitsToDots(settings.marginUnits.y, printer));

  PageGeometry page;
  page.widthDots = across;
  page.heightDots = fixed ? ClampDots(fixedLength, printer)
                          : ClampDots(turned.height + std::max(0.0, shiftY), printer);
  cairo_matrix_t move;
  cairo_matrix_init_translate(&move, std::round(-turned.x) + shiftX,
                              std::round(-turned.y) + shiftY);
  cairo_matrix_multiply(&page.designToPage, &turn, &move);
  if (settings.options.mirror == 1) {
    cairo_matrix_t mirror = {-1.0, 0.0, 0.0, 1.0, static_cast<double>(page.widthDots), 0.0};
    cairo_matrix_multiply(&page.designToPage, &page.designToPage, &mirror);
  }
  return page;
}

}  // namespace vellum
