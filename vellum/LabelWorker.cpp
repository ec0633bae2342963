#include "vellum/LabelWorker.h"

#include <algorithm>

#include "vellum/PngWriter.h"

namespace vellum {

LabelWorker::LabelWorker(const PrinterGeometry& printer, const BarcodeRenderer* barcodes)
    : renderer_(printer, barcodes) {
  raster_.glyphs().rasters().SetStore(GlyphStore::Process());
}

RenderedLabel LabelWorker::Render(const RenderTask& task, bool keepPrepared) {
  RenderedLabel out;
  PreparedLabel prepared =
      renderer_.Prepare(task.job->label, task.values.values, task.outlinesOnly, out.diagnostics);
  out.widthDots = std::clamp(prepared.page.widthDots, 1, MonoRaster::kMaxDots);
  out.heightDots = std::clamp(prepared.page.heightDots, 1, MonoRaster::kMaxDots);
  const SinkNeeds& needs = task.needs;
  const int dpi = renderer_.printer().dpi;
  if (needs.raster || needs.png) {
    cairo_t* cr = raster_.Begin(out.widthDots, out.heightDots);
    renderer_.Draw(cr, prepared, false, out.diagnostics, &raster_.glyphs());
    if (needs.raster) {
      raster_.Threshold(bitmap_);
      out.bitmap = bitmap_;
      if (needs.png) out.pngMade = EncodeMonoPng(bitmap_, dpi, out.png);
    } else {
      // Only the file is wanted: the raster is thresholded into the encoder's rows.
      out.pngMade = EncodeMonoPng(
          out.widthDots, out.heightDots, dpi,
          [this](uint8_t* bits, size_t stride) {
            raster_.ThresholdInto(bits, stride, InkBit::kZero);
          },
          out.png);
    }
  } else {
    // Nothing of the raster is kept, but drawing is what finds barcodes that
    // cannot be drawn; on one dot it costs next to nothing.
    cairo_t* cr = scratch_.Begin(1, 1);
    renderer_.Draw(cr, prepared, false, out.diagnostics);
  }
  // What the label drew that the store lacked is kept for the next process.
  raster_.glyphs().rasters().Save();
  if (keepPrepared) out.prepared = std::move(prepared);
  return out;
}

}  // namespace vellum
