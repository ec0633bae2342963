#include "host/render/JobRunner.h"

#include <algorithm>
#include <cstdlib>
#include <exception>

#include "host/printer/ExitStatus.h"
#include "host/printer/SourceIntake.h"
#include "intake/Notifications.h"

namespace host {
namespace {

// The runner's own notifications, beside the engine's codes.
enum RunnerCode : int32_t {
  kSourceBegins = 1001,  // value: index of the source
  kSourceEnds = 1002,    // value: index of the source
  kStop = 1003,
};

// How much may wait to run while the reader goes on reading.
constexpr size_t kQueuedJobs = 16;
constexpr size_t kQueuedBytes = size_t{64} << 20;

// What --strict turns into exit status 3.
bool HasProblems(const JobReport& r) {
  return r.jobNumber == 0 || r.labelsPrinted == 0 || r.printsRefused > 0 ||
         !r.scriptErrors.empty() || !r.logLines.empty() || !r.notes.empty();
}

// Grows the calling thread's heap by `bytes` in one step: the block, given
// back at once, stays the heap's free top for the allocations to come.
void ReserveHeap(size_t bytes) {
  if (bytes == 0) return;
  void* block = std::malloc(bytes);
  if (block == nullptr) return;
  static_cast<volatile char*>(block)[0] = 0;  // taken for real, not optimised away
  std::free(block);
}

}  // namespace

std::atomic<size_t> JobRunner::heapReserve_{0};

void JobRunner::ReserveThreadHeap(size_t bytes) { heapReserve_.store(bytes); }

JobRunner::JobRunner(Printer& printer, ReportWriter* reports, Progress& progress, int threads)
    : printer_(printer), reports_(reports), progress_(progress) {
  const int machine = static_cast<int>(std::thread::hardware_concurrency());
  threads_ = threads > 0 ? threads : std::max(1, machine);
  printer_.Pipeline(threads_);
  thread_ = std::thread([this] { Loop(); });
}

JobRunner::~JobRunner() { Finish(); }

void JobRunner::Inbox::Post(platform::Notification notification) {
  if (notification.code == NOTIFY_SCRIPTING_DATA && notification.job) {
    std::lock_guard<std::mutex> lock(runner_.mutex_);
    ++runner_.queuedJobs_;
    runner_.queuedBytes_ += notification.job->data.size();
  }
  runner_.queue_.Post(std::move(notification));
}

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

void JobRunner::WaitForRoom() {
  std::unique_lock<std::mutex> lock(mutex_);
  room_.wait(lock, [this] {
    return stopped_.load() || (queuedJobs_ < kQueuedJobs && queuedBytes_ < kQueuedBytes);
  });
}

void JobRunner::Finish() {
  if (!thread_.joinable()) return;
  queue_.Post(platform::Notification(kHostMessageId, kStop, 0));
  thread_.join();
}

void JobRunner::Stop(bool failed) {
  if (failed) failed_.store(true);
  std::lock_guard<std::mutex> lock(mutex_);
  stopped_.store(true);
  room_.notify_all();
}

void JobRunner::Loop() {
  ReserveHeap(heapReserve_.load());
  for (;;) {
    std::optional<platform::Notification> n = queue_.Take(std::chrono::milliseconds(200));
    if (!n) continue;
    switch (n->code) {
      case NOTIFY_SCRIPTING_DATA: {
        if (n->job) {
          std::lock_guard<std::mutex> lock(mutex_);
          --queuedJobs_;
          queuedBytes_ -= n->job->data.size();
          room_.notify_all();
        }
        RunJob(std::move(n->job));
        break;
      }
      case kSourceBegins: {
        std::unique_lock<std::mutex> lock(mutex_);
        source_ = sources_.at(static_cast<size_t>(n->value));
        jobsInSource_ = othersInSource_ = 0;
        progress_.Source(static_cast<size_t>(n->value) + 1, source_);
        break;
      }
      case kJobDiscardedNote:
        FinishJobs(0);  // its report follows theirs
        Discarded(static_cast<int32_t>(n->value));
        break;
      case kBytesDroppedNote:
        FinishJobs(0);
        Dropped(n->value);
        break;
      case kStatusPollNote:  // a question in a file: no one to answer, nothing lost
        ++othersInSource_;
        break;
      case kJobsCancelledNote:
      case kLooseCommandsNote:
        FinishJobs(0);
        ++othersInSource_;
        Noted(n->code == kJobsCancelledNote ? std::vector<std::string>{CancelledNote(n->value)}
              : n->job                      ? LooseCommandsNotes(*n->job)
                                            : std::vector<std::string>{});
        break;
      case kSourceEnds:
        FinishJobs(0);
        CloseSource(n->value);
        break;
      case kStop:
        FinishJobs(0);
        return;
      default:
        break;  // intake's other notifications are for a device's panel
    }
  }
}

void JobRunner::RunJob(std::unique_ptr<ScriptingData> job) {
  if (stopped_.load()) return;  // nowhere to write, or nothing more to; drop the job
  ++jobsInSource_;
  progress_.Job(source_);
  try {
    printer_.StartJob(std::move(job), source_, jobsInSource_);
  } catch (const std::exception& e) {  // out of memory: stop cleanly, say why
    FailJob(source_, jobsInSource_, e);
    return;
  }
  // While more jobs wait, enough stay started to keep every render thread
  // busy (as many as the engine renders ahead); when none does, nothing is
  // held back from the output folder.
  size_t waiting = 0;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    waiting = queuedJobs_;
  }
  FinishJobs(waiting > 0 ? 4 * static_cast<size_t>(threads_) : 0);
}

void JobRunner::FinishJobs(size_t keep) {
  while (printer_.startedJobs() > keep && !stopped_.load()) {
    const JobReport& next = printer_.nextToFinish();
    const std::string source = next.source;
    const int jobNumber = next.jobNumber;
    try {
      const JobReport report = printer_.FinishJob();
      progress_.Labels(report.labelsPrinted);
      Report(report);
    } catch (const std::exception& e) {
      FailJob(source, jobNumber, e);
    }
    if (printer_.failed()) Stop(true);
    if (printer_.runLimitReached()) Stop(false);
  }
  // Jobs after a failure or a run's limit are dropped, as they would not have run.
  if (stopped_.load()) printer_.DropStartedJobs();
}

void JobRunner::FailJob(const std::string& source, int jobNumber, const std::exception& e) {
  progress_.Clear();
  PrintError(source + ": cannot run job " + std::to_string(jobNumber) + ": " + e.what());
  Stop(true);
  printer_.DropStartedJobs();
}

void JobRunner::Discarded(int32_t language) {
  if (stopped_.load()) return;
  JobReport report;
  report.source = source_;
  report.jobNumber = ++jobsInSource_;
  report.language = LanguageName(language);
  report.notes.push_back(DiscardedNote(printer_.options().maxJobInput, "--max-job-input"));
  report.incomplete = true;
  Report(report);
}

void JobRunner::Dropped(int64_t bytes) { Noted({DroppedNote(bytes)}); }

void JobRunner::Noted(std::vector<std::string> notes) {
  if (stopped_.load()) return;
  JobReport report;
  report.source = source_;
  report.language = "none";
  report.notes = std::move(notes);
  Report(report);
}

void JobRunner::CloseSource(int64_t index) {
  std::string unfinished;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (index >= 0) unfinished = unfinished_.at(static_cast<size_t>(index));
  }
  if (stopped_.load() || ((jobsInSource_ > 0 || othersInSource_ > 0) && unfinished.empty())) {
    return;
  }
  JobReport report;
  report.source = source_;
  report.language = "none";
  report.notes.push_back(EndNote(unfinished));
  Report(report);
}

void JobRunner::Report(const JobReport& report) {
  hadProblems_ = hadProblems_ || HasProblems(report);
  if (report.incomplete && firstLoss_.empty()) {
    firstLoss_ = report.source + ": job " + std::to_string(report.jobNumber) + ": " +
                 (report.notes.empty() ? "incomplete" : report.notes.front());
  }
  if (reports_ == nullptr) return;
  progress_.Clear();
  reports_->Write(report);
  progress_.Redraw();
}

}  // namespace host
