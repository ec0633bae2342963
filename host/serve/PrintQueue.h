#pragma once
// The network printer's one line of work: the raw port and the HTTP API hand
// it raw reads (a connection's bytes up to a pause or its close, an HTTP
// body), and its one thread feeds each read to its source's SourceIntake,
// which cuts it into whole jobs as every source is cut, runs the jobs intake
// posts on the printer, in arrival order, and tells the report writer, the
// label index and the caller's callback what each job printed, and what
// could not be printed (a job over the limit, bytes outside any job).
//
// A source that arrives in several reads (a connection that pauses) keeps one
// SourceIntake, so a job split by a pause still prints; its last read says so,
// and a job it leaves without an end marker is reported as cut.
//
// With --forward, each job's bytes go on to that printer after the job has
// printed here; a forward that fails is a note in the job's report.
//
// Submit may be called from any thread. Finish runs what is queued and stops.
// The options, the report writer and the observer must outlive the queue.

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "host/printer/Options.h"
#include "host/printer/Printer.h"
#include "host/printer/Report.h"
#include "host/printer/SourceIntake.h"
#include "host/serve/Forwarder.h"
#include "platform/HostWindow.h"

namespace host {

// What the printer of a request should be: the process's own settings, or
// an HTTP request's overrides.
struct PrinterSetup {
  int dpi = 300;
  double widthInches = 4.0;
  OutputFormats formats;
  ZplDialect zpl = ZplDialect::kDevice;

  bool operator<(const PrinterSetup& o) const;
};

// One job's report with the numbers the label index gave its labels.
struct PrintedJob {
  JobReport report;
  std::vector<int> labels;
  int dpi = 0;  // of the printer that ran it
};

using PrintDone = std::function<void(const std::vector<PrintedJob>&)>;

struct PrintRead {
  std::string source;  // unique per connection or request, e.g. "tcp-7"
  std::vector<char> bytes;
  bool last = true;  // the source ends with this read
  PrinterSetup setup;
  PrintDone done;  // may be empty; called on the queue's thread
};

// Told about every job once it has printed (the label index, the live page).
class PrintObserver {
 public:
  virtual ~PrintObserver() = default;
  // Gives the job's labels their numbers (fills `job.labels`).
  virtual void Printed(PrintedJob& job) = 0;
};

class PrintQueue {
 public:
  // `reports` and `observer` may be null.
  PrintQueue(const HostOptions& options, ReportWriter* reports, PrintObserver* observer);
  ~PrintQueue();
  PrintQueue(const PrintQueue&) = delete;
  PrintQueue& operator=(const PrintQueue&) = delete;

  // Opens the printer of the process's own settings; false, with `error`.
  bool Open(std::string& error);
  PrinterSetup DefaultSetup() const;

  void Submit(PrintRead read);
  // Bytes submitted and not yet fed to intake: readers wait while it is high.
  size_t PendingBytes() const;
  void Finish();

 private:
  struct Source {
    std::unique_ptr<SourceIntake> intake;
    int jobs = 0;
    int others = 0;  // what it held besides jobs: polls, cancels, loose commands
  };

  void Loop();
  void Run(PrintRead& read);
  std::optional<JobReport> Take(platform::Notification& n, const std::string& name, Source& source,
                                Printer* printer, const std::string& error);
  Printer* PrinterFor(const PrinterSetup& setup, std::string& error);
  PrintedJob Record(JobReport report, int dpi);
  // Sends a printed job on (--forward); a failure is noted in `report`.
  void Forward(const std::vector<char>& bytes, JobReport& report) const;

  const HostOptions& options_;
  ReportWriter* reports_;
  PrintObserver* observer_;
  platform::NotificationQueue window_;    // intake posts here; drained on the thread
  std::unique_ptr<Forwarder> forwarder_;  // with --forward

  mutable std::mutex mutex_;  // guards the queue and its byte count
  std::condition_variable ready_;
  std::deque<PrintRead> queue_;
  size_t pendingBytes_ = 0;
  bool stopping_ = false;
  std::thread thread_;

  // Queue thread only (and Open, before the thread runs jobs).
  std::map<PrinterSetup, std::unique_ptr<HostOptions>> setups_;
  std::map<PrinterSetup, std::unique_ptr<Printer>> printers_;
  std::map<std::string, Source> sources_;
};

}  // namespace host
