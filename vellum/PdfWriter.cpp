#include "vellum/PdfWriter.h"

#include <cairo-pdf.h>

namespace vellum {

PdfDocument::PdfDocument(Writer writer) : writer_(std::move(writer)) {}

PdfDocument::~PdfDocument() { Finish(); }

cairo_status_t PdfDocument::Write(void* closure, const unsigned char* data, unsigned int length) {
  auto* document = static_cast<PdfDocument*>(closure);
  if (document->failed_ || !document->writer_(data, length)) {
    document->failed_ = true;
    return CAIRO_STATUS_WRITE_ERROR;
  }
  return CAIRO_STATUS_SUCCESS;
}

bool PdfDocument::AddPage(const LabelRenderer& renderer, const PreparedLabel& label,
                          Diagnostics& diagnostics) {
  if (failed_ || finished_) return false;
  const double pointsPerDot = 72.0 / renderer.printer().dpi;
  const double width = label.page.widthDots * pointsPerDot;
  const double height = label.page.heightDots * pointsPerDot;
  if (surface_ == nullptr) {
    surface_ = cairo_pdf_surface_create_for_stream(Write, this, width, height);
  } else {
    cairo_pdf_surface_set_size(surface_, width, height);  // before anything is drawn on the page
  }
  cairo_t* cr = cairo_create(surface_);
  cairo_scale(cr, pointsPerDot, pointsPerDot);
  renderer.Draw(cr, label, true, diagnostics);
  cairo_show_page(cr);
  cairo_destroy(cr);
  if (cairo_surface_status(surface_) != CAIRO_STATUS_SUCCESS) failed_ = true;
  if (!failed_) ++pages_;
  return !failed_;
}

bool PdfDocument::Finish() {
  if (finished_) return !failed_;
  finished_ = true;
  if (surface_ == nullptr) return !failed_;
  cairo_surface_finish(surface_);
  if (cairo_surface_status(surface_) != CAIRO_STATUS_SUCCESS) failed_ = true;
  cairo_surface_destroy(surface_);
  surface_ = nullptr;
  return !failed_;
}

bool RenderPdf(const LabelRenderer& renderer, const PreparedLabel& label, std::vector<uint8_t>& out,
               Diagnostics& diagnostics) {
  out.clear();
  PdfDocument document([&out](const unsigned char* data, size_t size) {
    out.insert(out.end(), data, data + size);
    return true;
  });
  const bool ok = document.AddPage(renderer, label, diagnostics) && document.Finish();
  if (!ok) out.clear();
  return ok;
}

}  // namespace vellum
