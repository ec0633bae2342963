#pragma once
// Runs the jobs intake posts on a job thread of their own, the way the
// device's window thread does: the caller (the port reader, on the main
// thread) hands each source's SourceIntake the runner's window, marks where
// each source file begins and ends, and the job thread takes the posted jobs
// in order, runs each through the Printer and writes its report, and reports
// in their place the jobs and bytes the source's intake could not print. The reader waits for room
// before each read (WaitForRoom), so the jobs queued at any time stay few and
// small. After a write failure, or once a limit of the run is reached, the
// remaining jobs are dropped, and stopped() tells the reader to stop.
//
// The Printer, the report writer and the progress line must outlive the
// runner; the runner owns its thread and joins it in Finish (or on
// destruction).

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "host/printer/Printer.h"
#include "host/printer/Report.h"
#include "host/render/Progress.h"
#include "platform/HostWindow.h"

namespace host {

class JobRunner {
 public:
  // `reports` may be null (no per-job report). Labels render on `threads`
  // threads (0: as many as the machine has) while the session runs the jobs
  // that follow; reports still come job after job.
  JobRunner(Printer& printer, ReportWriter* reports, Progress& progress, int threads = 0);
  ~JobRunner();

  JobRunner(const JobRunner&) = delete;
  JobRunner& operator=(const JobRunner&) = delete;

  // The job thread has a malloc heap of its own, which otherwise grows a
  // page or so at a time, one system call each, while its first label is
  // drawn; with this it grows by `bytes` at once when the thread starts.
  // Only for a program whose malloc keeps freed memory (M_TRIM_THRESHOLD)
  // and serves blocks of that size from the heap (M_MMAP_THRESHOLD); 0, the
  // default, for none. Set before the first runner is made.
  static void ReserveThreadHeap(size_t bytes);

  // The window intake posts jobs to.
  platform::HostWindow* window() { return &inbox_; }

  // The jobs posted after this belong to `name`.
  void BeginSource(const std::string& name);
  // The source is done; `unfinished` names a language whose job the source
  // left without its end marker ("" when none).
  void EndSource(const std::string& unfinished);
  // Waits until few enough jobs wait to run (or the runner stopped).
  void WaitForRoom();
  // Runs what is still queued and stops the thread.
  void Finish();

  // A label could not be written, or a limit of the run was reached.
  bool stopped() const { return stopped_.load(); }
  bool failed() const { return failed_.load(); }
  // After Finish: some job lost part of what it asked for (its report says
  // what), and the first such note, with its source.
  bool incomplete() const { return !firstLoss_.empty(); }
  const std::string& firstLoss() const { return firstLoss_; }
  // After Finish: some job had script errors, log lines, refused prints,
  // notes, or printed no label.
  bool hadProblems() const { return hadProblems_; }

 private:
  // Counts the jobs intake posts before they join the queue.
  class Inbox : public platform::HostWindow {
   public:
    explicit Inbox(JobRunner& runner) : runner_(runner) {}
    void Post(platform::Notification notification) override;

   private:
    JobRunner& runner_;
  };

  void Loop();
  static std::atomic<size_t> heapReserve_;
  void RunJob(std::unique_ptr<ScriptingData> job);
  // Finishes started jobs, oldest first, until at most `keep` remain.
  void FinishJobs(size_t keep);
  void FailJob(const std::string& source, int jobNumber, const std::exception& e);
  // What the source's intake could not print (SourceIntake's notes).
  void Discarded(int32_t language);
  void Dropped(int64_t bytes);
  // A report of no job, with `notes`.
  void Noted(std::vector<std::string> notes);
  void CloseSource(int64_t index);
  void Report(const JobReport& report);
  void Stop(bool failed);

  Printer& printer_;
  ReportWriter* reports_;
  Progress& progress_;
  int threads_ = 1;
  Inbox inbox_{*this};
  platform::NotificationQueue queue_;
  std::thread thread_;
  std::atomic<bool> failed_{false};
  std::atomic<bool> stopped_{false};

  std::mutex mutex_;  // guards the lists and counts below
  std::condition_variable room_;
  std::vector<std::string> sources_;
  std::vector<std::string> unfinished_;
  size_t queuedJobs_ = 0;
  size_t queuedBytes_ = 0;

  // Job thread only (read by the reader after Finish).
  std::string source_;
  int jobsInSource_ = 0;
  int othersInSource_ = 0;  // polls, cancels and loose commands
  std::string firstLoss_;
  bool hadProblems_ = false;
};

}  // namespace host
