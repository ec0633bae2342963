// VellumEngine: the print queue. Each queued job is a snapshot of the label
// taken when it was added; StartPrint expands the jobs into printed labels
// (PrintRun), renders each one and hands it to the sink, or, for a host that
// deferred delivery, queues them to be rendered ahead and delivered later.
#include <algorithm>

#include "vellum/JsonWriter.h"
#include "vellum/PdfWriter.h"
#include "vellum/VellumEngine.h"

namespace vellum {
void VellumEngine::AddPrintData(const VPrintData& job) {
  for (const auto& object : model_.objects()) {
    ObjectData& data = object->data();
    if (data.type == kVObjPicture && !data.picture.attempted) LoadPicture(data);
  }
  queue_.push_back(PrintJob{job, model_.Snapshot()});
}

SinkNeeds VellumEngine::NeedsFor(int32_t destination) const {
  if (destination == kVPrintPreview || settings_.sink == nullptr)
    return SinkNeeds{false, false, false};
  return settings_.sink->Needs();
}

void VellumEngine::ExpandJob(const std::shared_ptr<const PrintJob>& job, int64_t& remaining,
                             Diagnostics& diagnostics,
                             const std::function<void(RenderTask)>& emit) {
  const int32_t cutter = job->label.settings.options.cutterMode;
  PrintRun run(settings_.promptAnswerer, settings_.clock);
  run.Expand(*job, diagnostics, [&](const PrintedValues& values) {
    --remaining;
    const bool cutAfter =
        cutter == kVCutBetweenLabels || (cutter == kVCutAfterJob && remaining == 0);
    emit(RenderTask{job, values, cutAfter, testShapePrint_, SinkNeeds{}});
  });
}

bool VellumEngine::StartPrint(int32_t destination, int32_t, int32_t, int32_t) {
  diagnostics_.Clear();
  lastPrint_.clear();
  std::vector<PrintJob> queue;
  queue.swap(queue_);  // a job prints once
  if (deferMode_) {
    QueueDeferred(std::move(queue), destination);
    return true;
  }
  int64_t remaining = QueueLabels(queue);
  const SinkNeeds needs = NeedsFor(destination);
  bool ok = true;
  for (PrintJob& queued : queue) {
    auto job = std::make_shared<const PrintJob>(std::move(queued));
    ExpandJob(job, remaining, diagnostics_, [&](RenderTask task) {
      // A sink that refused a label (a full disk, a limit) takes no more of
      // this print: rendering the rest would be work for nothing.
      if (!ok) return;
      task.needs = needs;
      RenderedLabel rendered = worker_->Render(task, true);
      DeliverLabel(task, rendered, destination, diagnostics_, ok);
    });
  }
  return ok;
}

void VellumEngine::DeliverLabel(const RenderTask& task, RenderedLabel& rendered,
                                int32_t destination, Diagnostics& diagnostics, bool& ok) {
  for (const Diagnostic& d : rendered.diagnostics.entries()) {
    diagnostics.Add(d.objectId, d.message, d.kind);
  }
  const PrintJob& job = *task.job;
  const PrintedValues& values = task.values;
  PrintedSummary summary;
  PrintedLabelInfo& info = summary.info;
  info.jobName = job.data.jobName;
  info.number = ++printedPerJob_[job.data.jobName];
  info.labelIndex = values.labelIndex;
  info.copy = values.copy;
  info.dpi = printer_.dpi;
  info.widthDots = rendered.widthDots;
  info.heightDots = rendered.heightDots;
  info.cutAfter = task.cutAfter;
  info.quantity = job.data.quantity;
  info.sequencedMark = job.data.sequencedMark;
  info.labelCount = job.data.labelCount;
  info.variableDataKind = job.data.variableDataKind;
  summary.values = values.values;

  if (destination != kVPrintPreview && settings_.sink != nullptr) {
    const std::string json = task.needs.json
                                 ? DescribeLabel(job.label, printer_.unitsPerInch, &values.values,
                                                 &info, &diagnostics.entries())
                                 : std::string();
    // A label rendered ahead kept no layout: a PDF lays it out again here.
    auto prepared = [&]() -> const PreparedLabel& {
      if (!rendered.prepared) {
        Diagnostics again;  // the same remarks the label's rendering made
        rendered.prepared =
            worker_->renderer().Prepare(job.label, values.values, task.outlinesOnly, again);
      }
      return *rendered.prepared;
    };
    auto renderPdf = [&](std::vector<uint8_t>& out) {
      return RenderPdf(worker_->renderer(), prepared(), out, diagnostics);
    };
    auto addPdfPage = [&](PdfDocument& document) {
      return document.AddPage(worker_->renderer(), prepared(), diagnostics);
    };
    const std::vector<uint8_t>* png = rendered.pngMade ? &rendered.png : nullptr;
    std::wstring error;
    if (!settings_.sink->Accept(
            PrintedPage{info, rendered.bitmap, values.values, json, png, renderPdf, addPdfPage},
            &error)) {
      diagnostics.Add(0, L"printed label not delivered: " + error);
      ok = false;
    }
  }
  lastPrint_.push_back(std::move(summary));
}

}  // namespace vellum
