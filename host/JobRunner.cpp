#include "host/JobRunner.h"

#include <exception>

#include "host/Commands.h"
#include "intake/Notifications.h"

namespace host {
namespace {

// The runner's own notifications, beside the engine's codes.
enum RunnerCode : int32_t {
  kSourceBegins = 1001,  // value: index of the source
  kSourceEnds = 1002,    // value: index of the source
  kStop = 1003,
};

}  // namespace

JobRunner::JobRunner(Printer& printer, ReportWriter* reports, Progress& progress)
    : printer_(printer), reports_(reports), progress_(progress) {
  thread_ = std::thread([this] { Loop(); });
}

JobRunner::~JobRunner() { Finish(); }

void JobRunner::BeginSource(const std::string& name) {
  int64_t index = 0;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    sources_.push_back(name);
    unfinished_.emplace_back();
    index = static_cast<int64_t>(sources_.size()) - 1;
  }
  queue_.Post(platform::Notification(kHostMessageId, kSourceBegins, index));
}

void JobRunner::EndSource(const std::string& unfinished) {
  int64_t index = 0;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    index = static_cast<int64_t>(sources_.size()) - 1;
    if (index >= 0) unfinished_[static_cast<size_t>(index)] = unfinished;
  }
  queue_.Post(platform::Notification(kHostMessageId, kSourceEnds, index));
}

void JobRunner::Finish() {
  if (!thread_.joinable()) return;
  queue_.Post(platform::Notification(kHostMessageId, kStop, 0));
  thread_.join();
}

void JobRunner::Loop() {
  for (;;) {
    std::optional<platform::Notification> n = queue_.Take(std::chrono::milliseconds(200));
    if (!n) continue;
    switch (n->code) {
      case NOTIFY_SCRIPTING_DATA:
        RunJob(std::move(n->job));
        break;
      case kSourceBegins: {
        std::unique_lock<std::mutex> lock(mutex_);
        source_ = sources_.at(static_cast<size_t>(n->value));
        jobsInSource_ = 0;
        progress_.Source(static_cast<size_t>(n->value) + 1, source_);
        break;
      }
      case kSourceEnds:
        CloseSource(n->value);
        break;
      case kStop:
        return;
      default:
        break;  // intake's other notifications are for a device's panel
    }
  }
}

void JobRunner::RunJob(std::unique_ptr<ScriptingData> job) {
  if (failed_.load()) return;  // nowhere to write; drop the job
  ++jobsInSource_;
  progress_.Job(source_);
  try {
    const JobReport report = printer_.RunJob(std::move(job), source_, jobsInSource_);
    progress_.Labels(report.labelsPrinted);
    Report(report);
  } catch (const std::exception& e) {  // out of memory: stop cleanly, say why
    progress_.Clear();
    PrintError(source_ + ": cannot run job " + std::to_string(jobsInSource_) + ": " + e.what());
    failed_.store(true);
  }
  if (printer_.failed()) failed_.store(true);
}

void JobRunner::CloseSource(int64_t index) {
  std::string unfinished;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (index >= 0) unfinished = unfinished_.at(static_cast<size_t>(index));
  }
  if (failed_.load() || (jobsInSource_ > 0 && unfinished.empty())) return;
  JobReport report;
  report.source = source_;
  report.language = "none";
  if (!unfinished.empty()) {
    report.notes.push_back("input ended inside a " + unfinished +
                           " job (no end marker); its bytes were discarded");
  } else {
    report.notes.push_back("no job found (no start and end marker of a known language)");
  }
  Report(report);
}

void JobRunner::Report(const JobReport& report) {
  if (reports_ == nullptr) return;
  progress_.Clear();
  reports_->Write(report);
  progress_.Redraw();
}

}  // namespace host
