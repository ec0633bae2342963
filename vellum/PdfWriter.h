#pragma once
// Renders prepared labels as PDF pages, each page the size of its printed
// label. Pages are drawn by the same LabelRenderer as the raster, in vector
// form (text stays text), so PNG and PDF show the same layout. A PdfDocument
// collects the labels of one job into one file as they print; RenderPdf makes
// a one-page PDF of a single label.

#include <cairo.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "vellum/LabelRenderer.h"

namespace vellum {

class PdfDocument {
 public:
  // Receives the file's bytes as they are made; false stops the document.
  using Writer = std::function<bool(const unsigned char* data, size_t size)>;

  explicit PdfDocument(Writer writer);
  ~PdfDocument();  // finishes the document if Finish was not called
  PdfDocument(const PdfDocument&) = delete;
  PdfDocument& operator=(const PdfDocument&) = delete;

  // Appends `label` as the next page; false once the document has failed.
  bool AddPage(const LabelRenderer& renderer, const PreparedLabel& label, Diagnostics& diagnostics);
  // Writes the document's end; false when any part could not be made or written.
  bool Finish();

  int pages() const { return pages_; }

 private:
  static cairo_status_t Write(void* closure, const unsigned char* data, unsigned int length);

  Writer writer_;
  cairo_surface_t* surface_ = nullptr;  // made with the first page
  int pages_ = 0;
  bool failed_ = false;
  bool finished_ = false;
};

// Replaces `out` with a one-page PDF of `label`; false (and `out` empty) on failure.
bool RenderPdf(const LabelRenderer& renderer, const PreparedLabel& label, std::vector<uint8_t>& out,
               Diagnostics& diagnostics);

}  // namespace vellum
