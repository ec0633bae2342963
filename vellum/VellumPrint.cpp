// VellumEngine: the print queue. Each queued job is a snapshot of the label
// taken when it was added; StartPrint expands the jobs into printed labels
// (PrintRun), renders each one and hands it to the sink.
#include <algorithm>

#include "vellum/JsonWriter.h"
#include "vellum/PdfWriter.h"
#include "vellum/VellumEngine.h"

namespace vellum {
namespace {

// How many labels the queue prints, as StartPrint will count them.
int64_t CountLabels(const std::vector<PrintJob>& queue) {
  int64_t total = 0;
  for (const PrintJob& job : queue) {
    const int64_t copies = std::max<int32_t>(1, job.data.quantity);
    total += std::min(PrintRun::LabelsOf(job) * copies, kMaxLabelsPerJob);
  }
  return total;
}

}  // namespace

void VellumEngine::AddPrintData(const VPrintData& job) {
  for (const auto& object : model_.objects()) {
    ObjectData& data = object->data();
    if (data.type == kVObjPicture && !data.picture.attempted) LoadPicture(data);
  }
  queue_.push_back(PrintJob{job, model_.Snapshot()});
}

bool VellumEngine::StartPrint(int32_t destination, int32_t, int32_t, int32_t) {
  diagnostics_.Clear();
  lastPrint_.clear();
  std::vector<PrintJob> queue;
  queue.swap(queue_);  // a job prints once
  int64_t remaining = CountLabels(queue);
  bool ok = true;
  for (const PrintJob& job : queue) PrintJobLabels(job, destination, remaining, ok);
  return ok;
}

void VellumEngine::PrintJobLabels(const PrintJob& job, int32_t destination, int64_t& remaining,
                                  bool& ok) {
  const int32_t cutter = job.label.settings.options.cutterMode;
  PrintRun run(settings_.promptAnswerer, settings_.clock);
  run.Expand(job, diagnostics_, [&](const PrintedValues& values) {
    --remaining;
    const bool cutAfter =
        cutter == kVCutBetweenLabels || (cutter == kVCutAfterJob && remaining == 0);
    DeliverLabel(job, values, destination, cutAfter, ok);
  });
}

void VellumEngine::DeliverLabel(const PrintJob& job, const PrintedValues& values,
                                int32_t destination, bool cutAfter, bool& ok) {
  // A sink that refused a label (a full disk, a limit) takes no more of this
  // print: rendering the rest would be work for nothing.
  if (!ok) return;
  const PreparedLabel prepared =
      renderer_->Prepare(job.label, values.values, testShapePrint_, diagnostics_);
  cairo_t* cr = raster_.Begin(prepared.page.widthDots, prepared.page.heightDots);
  renderer_->Draw(cr, prepared, false, diagnostics_);
  raster_.Threshold(bitmap_);

  PrintedSummary summary;
  PrintedLabelInfo& info = summary.info;
  info.jobName = job.data.jobName;
  info.number = ++printedPerJob_[job.data.jobName];
  info.labelIndex = values.labelIndex;
  info.copy = values.copy;
  info.dpi = printer_.dpi;
  info.widthDots = bitmap_.width;
  info.heightDots = bitmap_.height;
  info.cutAfter = cutAfter;
  info.quantity = job.data.quantity;
  info.sequencedMark = job.data.sequencedMark;
  info.labelCount = job.data.labelCount;
  info.variableDataKind = job.data.variableDataKind;
  summary.values = values.values;

  if (destination != kVPrintPreview && settings_.sink != nullptr) {
    const std::string json = DescribeLabel(job.label, printer_.unitsPerInch, &values.values, &info,
                                           &diagnostics_.entries());
    auto renderPdf = [&](std::vector<uint8_t>& out) {
      return RenderPdf(*renderer_, prepared, out, diagnostics_);
    };
    auto addPdfPage = [&](PdfDocument& document) {
      return document.AddPage(*renderer_, prepared, diagnostics_);
    };
    std::wstring error;
    if (!settings_.sink->Accept(
            PrintedPage{info, bitmap_, values.values, json, renderPdf, addPdfPage}, &error)) {
      diagnostics_.Add(0, L"printed label not delivered: " + error);
      ok = false;
    }
  }
  lastPrint_.push_back(std::move(summary));
}

}  // namespace vellum
