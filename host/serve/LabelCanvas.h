#pragma once
// The picture the render interface answers with: a printed label on the
// requested media, the way label viewers draw it. The canvas is the media's
// width and length in dots; a label narrower than the media is centred
// across it, and one longer is cut at the media's end. The canvas may then
// be turned clockwise by quarter turns. CanvasPdf gathers canvases as the
// pages of one PDF, each page the canvas's size at its resolution, so the
// PDF shows exactly the PNG's dots.
//
// Used by LabelPreview, on the thread that renders the request.

#include <cairo.h>

#include <cstdint>
#include <string>

#include "vellum/MonoRaster.h"

namespace host {

// `label` on a blank canvas of `width` x `height` dots, centred across.
vellum::MonoBitmap PlaceOnCanvas(const vellum::MonoBitmap& label, int width, int height);

// `bitmap` turned clockwise by `degrees` (0, 90, 180 or 270; others: as is).
vellum::MonoBitmap TurnClockwise(const vellum::MonoBitmap& bitmap, int degrees);

class CanvasPdf {
 public:
  CanvasPdf();
  ~CanvasPdf();
  CanvasPdf(const CanvasPdf&) = delete;
  CanvasPdf& operator=(const CanvasPdf&) = delete;

  // Appends `canvas`, drawn at `dpi`, as the next page; false once the
  // document has failed.
  bool AddPage(const vellum::MonoBitmap& canvas, int dpi);
  // Ends the document; its bytes, or "" when it failed or has no page.
  std::string Finish();

 private:
  static cairo_status_t Write(void* closure, const unsigned char* data, unsigned int length);

  std::string bytes_;
  cairo_surface_t* surface_ = nullptr;  // made with the first page
  int pages_ = 0;
  bool failed_ = false;
};

}  // namespace host
