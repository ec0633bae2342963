#include "vellum/PdfWriter.h"

#include <cairo-pdf.h>

namespace vellum {
namespace {

cairo_status_t AppendBytes(void* closure, const unsigned char* data, unsigned int length) {
  auto* out = static_cast<std::vector<uint8_t>*>(closure);
  out->insert(out->end(), data, data + length);
  return CAIRO_STATUS_SUCCESS;
}

}  // namespace

bool RenderPdf(const LabelRenderer& renderer, const PreparedLabel& label, std::vector<uint8_t>& out,
               Diagnostics& diagnostics) {
  out.clear();
  const double pointsPerDot = 72.0 / renderer.printer().dpi;
  cairo_surface_t* surface = cairo_pdf_surface_create_for_stream(
      AppendBytes, &out, label.page.widthDots * pointsPerDot, label.page.heightDots * pointsPerDot);
  cairo_t* cr = cairo_create(surface);
  cairo_scale(cr, pointsPerDot, pointsPerDot);
  renderer.Draw(cr, label, true, diagnostics);
  cairo_show_page(cr);
  cairo_destroy(cr);
  cairo_surface_finish(surface);
  const bool ok = cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(surface);
  if (!ok) out.clear();
  return ok;
}

}  // namespace vellum
