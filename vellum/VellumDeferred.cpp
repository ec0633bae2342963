// VellumEngine: deferred delivery. StartPrint queues each print's labels;
// up to a few per thread are rendered ahead on the pool, in print order, and
// DeliverDeferredJob hands them to the sink in that same order, one job at a
// time, so files, their numbers and the descriptions are those of printing
// label after label. The session keeps running on its own thread meanwhile.
#include <algorithm>
#include <system_error>

#include "vellum/VellumEngine.h"

namespace vellum {
namespace {

// Labels rendered ahead per thread: enough to keep every thread busy while
// the oldest is delivered and the session works on the next jobs (it hands
// labels over in bursts; with two per thread the threads ran dry between
// them), few enough to keep memory small (a label in flight holds its PNG).
constexpr size_t kAheadPerThread = 4;

}  // namespace

void VellumEngine::DeferDelivery(int threads) {
  deferMode_ = true;
  pool_.reset();
  if (threads > 0) {
    pool_ = std::make_unique<RenderPool>(threads, printer_, worker_->renderer().barcodes());
  }
}

void VellumEngine::QueueDeferred(std::vector<PrintJob> queue, int32_t destination) {
  DeferredPrint print;
  print.job = deferredJob_;
  print.destination = destination;
  const SinkNeeds needs = NeedsFor(destination);
  int64_t remaining = QueueLabels(queue);
  for (PrintJob& queued : queue) {
    auto job = std::make_shared<const PrintJob>(std::move(queued));
    ExpandJob(job, remaining, print.diagnostics, [&](RenderTask task) {
      task.needs = needs;
      print.labels.push_back(DeferredLabel{std::move(task), {}});
    });
  }
  deferred_.push_back(std::move(print));
  SubmitAhead();
}

// Moves the cursor past prints it has finished; true when a label waits there.
bool VellumEngine::LabelWaiting() {
  while (cursorPrint_ < deferred_.size() && cursorLabel_ >= deferred_[cursorPrint_].labels.size()) {
    ++cursorPrint_, cursorLabel_ = 0;
  }
  return cursorPrint_ < deferred_.size();
}

void VellumEngine::SubmitAhead() {
  if (!pool_ || !LabelWaiting()) return;
  // A lone label is left for delivery, which renders it on this thread: a
  // one-label run then starts no thread and builds no second font map.
  const bool another = cursorLabel_ + 1 < deferred_[cursorPrint_].labels.size() ||
                       cursorPrint_ + 1 < deferred_.size();
  if (inFlight_ == 0 && !another && pool_->started() == 0) return;
  const size_t ahead = kAheadPerThread * static_cast<size_t>(pool_->threads());
  while (inFlight_ < ahead && LabelWaiting()) {
    DeferredLabel& label = deferred_[cursorPrint_].labels[cursorLabel_];
    try {
      label.rendered = pool_->Submit(label.task);
    } catch (const std::system_error&) {
      return;  // no thread to be had: delivery renders the label on its own thread
    }
    ++cursorLabel_, ++inFlight_;
  }
}

std::vector<Diagnostic> VellumEngine::DeliverDeferredJob(int64_t job) {
  std::vector<Diagnostic> said;
  lastPrint_.clear();
  while (!deferred_.empty() && deferred_.front().job == job) DeliverFrontPrint(said);
  SubmitAhead();
  return said;
}

std::vector<Diagnostic> VellumEngine::DeliverDeferredAhead(int64_t job) {
  std::vector<Diagnostic> said;
  const size_t keep = kAheadPerThread * static_cast<size_t>(pool_ ? pool_->threads() : 1) * 2;
  size_t queued = 0;
  for (const DeferredPrint& print : deferred_) queued += print.labels.size();
  while (!deferred_.empty() && deferred_.front().job == job &&
         queued - deferred_.front().labels.size() >= keep) {
    queued -= deferred_.front().labels.size();
    DeliverFrontPrint(said);
  }
  SubmitAhead();
  return said;
}

void VellumEngine::DeliverFrontPrint(std::vector<Diagnostic>& said) {
  DeferredPrint& print = deferred_.front();
  bool ok = true;
  for (size_t i = 0; i < print.labels.size(); ++i) {
    DeferredLabel& label = print.labels[i];
    // A label not yet submitted is rendered here rather than waited for;
    // the pool takes the ones after it meanwhile.
    if (cursorPrint_ == 0 && cursorLabel_ == i) ++cursorLabel_;
    SubmitAhead();
    RenderedLabel rendered;
    if (label.rendered.valid()) {
      --inFlight_;
      rendered = label.rendered.get();
    } else if (ok) {
      rendered = worker_->Render(label.task, true);
    }
    // After a refusal the rest of the print is not delivered, as StartPrint does.
    if (ok) DeliverLabel(label.task, rendered, print.destination, print.diagnostics, ok);
    if (!ok && cursorPrint_ == 0) cursorPrint_ = 1, cursorLabel_ = 0;  // render no more of it
    label.task = RenderTask{};  // its job and values are needed no more
  }
  const auto& entries = print.diagnostics.entries();
  said.insert(said.end(), entries.begin(), entries.end());
  deferred_.pop_front();
  if (cursorPrint_ > 0) {
    --cursorPrint_;
  } else {
    cursorLabel_ = 0;
  }
}

void VellumEngine::DropDeferredJobs() {
  for (DeferredPrint& print : deferred_) {
    for (DeferredLabel& label : print.labels) {
      if (label.rendered.valid()) label.rendered.wait();
    }
  }
  deferred_.clear();
  inFlight_ = 0;
  cursorPrint_ = cursorLabel_ = 0;
}

}  // namespace vellum
