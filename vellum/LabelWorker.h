#pragma once
// Renders one printed label: lays it out with its values, draws it on the
// raster, thresholds it to one bit per dot and encodes the PNG, making only
// what the sink reads. The engine owns one worker for the labels it renders
// itself, and each thread of a RenderPool owns its own: text layout and the
// raster are not shared between threads.

#include <memory>
#include <optional>
#include <vector>

#include "vellum/Diagnostics.h"
#include "vellum/LabelRenderer.h"
#include "vellum/MonoRaster.h"
#include "vellum/OutputSink.h"
#include "vellum/PrintRun.h"

namespace vellum {

// One label to print: its job (shared by the job's labels, kept alive until
// the last is delivered) and the values its objects print.
struct RenderTask {
  std::shared_ptr<const PrintJob> job;
  PrintedValues values;
  bool cutAfter = false;
  bool outlinesOnly = false;  // test shape print
  SinkNeeds needs;
};

struct RenderedLabel {
  int widthDots = 0;
  int heightDots = 0;
  MonoBitmap bitmap;         // when the sink needs the raster
  std::vector<uint8_t> png;  // when the sink needs a PNG
  bool pngMade = false;
  Diagnostics diagnostics;                // what laying out and drawing could not do
  std::optional<PreparedLabel> prepared;  // when asked to keep it (a PDF may follow)
};

class LabelWorker {
 public:
  LabelWorker(const PrinterGeometry& printer, const BarcodeRenderer* barcodes);

  RenderedLabel Render(const RenderTask& task, bool keepPrepared);

  const LabelRenderer& renderer() const { return renderer_; }
  LabelRenderer& renderer() { return renderer_; }

 private:
  LabelRenderer renderer_;
  MonoRaster raster_;
  MonoBitmap bitmap_;   // reused from label to label when the sink takes the raster
  MonoRaster scratch_;  // one dot: drawn on when no raster is wanted, for the diagnostics
};

}  // namespace vellum
