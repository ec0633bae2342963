#pragma once
// Runs the jobs intake posts on a job thread of their own, the way the
// device's window thread does: the caller (the port reader, on the main
// thread) hands intake the runner's window, marks where each source file
// begins and ends, and the job thread takes the posted jobs in order, runs
// each through the Printer and writes its report. After a write failure the
// remaining jobs are dropped, and failed() tells the reader to stop.
//
// The Printer, the report writer and the progress line must outlive the
// runner; the runner owns its thread and joins it in Finish (or on
// destruction).

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "host/Printer.h"
#include "host/Progress.h"
#include "host/Report.h"
#include "platform/HostWindow.h"

namespace host {

class JobRunner {
 public:
  // `reports` may be null (no per-job report).
  JobRunner(Printer& printer, ReportWriter* reports, Progress& progress);
  ~JobRunner();

  JobRunner(const JobRunner&) = delete;
  JobRunner& operator=(const JobRunner&) = delete;

  // The window intake posts jobs to.
  platform::HostWindow* window() { return &queue_; }

  // The jobs posted after this belong to `name`.
  void BeginSource(const std::string& name);
  // The source is done; `unfinished` names a language whose job the source
  // left without its end marker ("" when none).
  void EndSource(const std::string& unfinished);
  // Runs what is still queued and stops the thread.
  void Finish();

  bool failed() const { return failed_.load(); }

 private:
  void Loop();
  void RunJob(std::unique_ptr<ScriptingData> job);
  void CloseSource(int64_t index);
  void Report(const JobReport& report);

  Printer& printer_;
  ReportWriter* reports_;
  Progress& progress_;
  platform::NotificationQueue queue_;
  std::thread thread_;
  std::atomic<bool> failed_{false};

  std::mutex mutex_;  // guards the two lists below
  std::vector<std::string> sources_;
  std::vector<std::string> unfinished_;

  // Job thread only.
  std::string source_;
  int jobsInSource_ = 0;
};

}  // namespace host
