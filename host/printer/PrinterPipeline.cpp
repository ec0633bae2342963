// Printer: jobs in a batch. StartJob runs the session on a job with the
// engine's delivery deferred, so the job's labels render on the engine's
// threads while the session goes on with the next jobs; FinishJob writes them
// through the sink, in job order, and completes the report the way RunJob
// would have made it.
#include "host/printer/Printer.h"

namespace host {

void Printer::Pipeline(int threads) {
  if (pipelined_) return;
  pipelined_ = true;
  engine_->DeferDelivery(threads);
}

void Printer::StartJob(std::unique_ptr<ScriptingData> job, const std::string& source,
                       int jobNumber) {
  StartedJob started;
  if (!pipelined_) {
    started.report = RunJob(std::move(job), source, jobNumber);
    started_.push_back(std::move(started));
    return;
  }
  JobReport& report = started.report;
  report.source = source;
  report.jobNumber = jobNumber;
  report.language = LanguageName(job ? job->language : 0);
  started.engineJob = engine_->BeginDeferredJob();
  current_ = &report;
  printOpen_ = printStarted_ = diagnosticsDue_ = false;
  pendingRefusals_.clear();
  recorder_.Begin();
  recorder_.LocateIn(job.get());
  promptsAsked_.clear();
  if (started_.empty()) BeginEarlyDelivery(started);
  try {
    session_->ProcessData(std::move(job));
    PrintAskedConfiguration();
  } catch (...) {
    early_ = nullptr;
    current_ = nullptr;
    recorder_.End(report);  // stops listening to this thread's log
    throw;
  }
  early_ = nullptr;
  ClosePrint();
  recorder_.End(report);
  current_ = nullptr;
  started.promptsAsked = std::move(promptsAsked_);
  started_.push_back(std::move(started));
}

JobReport Printer::FinishJob() {
  StartedJob started = std::move(started_.front());
  started_.pop_front();
  // The report is moved out, not copied: a job of many script errors has a
  // large one.
  JobReport& report = started.report;
  if (started.engineJob == 0) return std::move(report);
  if (!started.delivering) {
    sink_.SetSource(report.source);
    sink_.BeginJob();
    sink_.TakeLabelCount();
    sink_.TakeWritten();
  }
  AddDiagnostics(started.delivered, report);
  AddDiagnostics(engine_->DeliverDeferredJob(started.engineJob), report);
  sink_.EndJob();
  report.labelsPrinted = sink_.TakeLabelCount();
  report.files = sink_.TakeWritten();
  if (!sink_.limitNote().empty()) {
    report.notes.insert(report.notes.begin(), sink_.limitNote());
    report.incomplete = true;
  }
  NotePrompts(report, started.promptsAsked);
  NoteDialect(report);
  return std::move(report);
}

// The sink's calls are those FinishJob would make, in the same order: only
// sooner. The report takes the prints' diagnostics at FinishJob, as before.
void Printer::BeginEarlyDelivery(StartedJob& started) {
  sink_.SetSource(started.report.source);
  sink_.BeginJob();
  sink_.TakeLabelCount();
  sink_.TakeWritten();
  started.delivering = true;
  early_ = &started;
}

// At each print's announcement: the prints before it are queued whole.
void Printer::DeliverEarly() {
  if (early_ == nullptr || sink_.failed() || sink_.runLimitReached()) return;
  std::vector<vellum::Diagnostic> said = engine_->DeliverDeferredAhead(early_->engineJob);
  early_->delivered.insert(early_->delivered.end(), said.begin(), said.end());
}

void Printer::DropStartedJobs() {
  started_.clear();
  engine_->DropDeferredJobs();
}

}  // namespace host
