#include "host/serve/PrintQueue.h"

#include <chrono>
#include <exception>
#include <string_view>
#include <tuple>

#include "host/printer/ExitStatus.h"
#include "intake/Notifications.h"

namespace host {
namespace {

// Requests may ask for other resolutions and widths; a few printers are
// kept, the oldest extra one goes when more are asked for.
constexpr size_t kMostPrinters = 8;

// Each step of a forward (connecting, sending) ends within this.
constexpr std::chrono::milliseconds kForwardTimeout{5000};

// A report of something that printed nothing: `note` says what.
JobReport Noted(const std::string& source, std::string note) {
  JobReport report;
  report.source = source;
  report.language = "none";
  report.notes.push_back(std::move(note));
  return report;
}

}  // namespace

bool PrinterSetup::operator<(const PrinterSetup& o) const {
  return std::tie(dpi, widthInches, formats.png, formats.pdf, formats.json, zpl) <
         std::tie(o.dpi, o.widthInches, o.formats.png, o.formats.pdf, o.formats.json, o.zpl);
}

PrintQueue::PrintQueue(const HostOptions& options, ReportWriter* reports, PrintObserver* observer)
    : options_(options), reports_(reports), observer_(observer) {
  if (!options.forward.empty())
    forwarder_ = std::make_unique<Forwarder>(options.forward, kForwardTimeout);
}

PrintQueue::~PrintQueue() { Finish(); }

PrinterSetup PrintQueue::DefaultSetup() const {
  return PrinterSetup{options_.dpi, options_.widthInches, options_.formats, options_.zpl};
}

bool PrintQueue::Open(std::string& error) {
  if (PrinterFor(DefaultSetup(), error) == nullptr) return false;
  thread_ = std::thread([this] { Loop(); });
  return true;
}

void PrintQueue::Submit(PrintRead read) {
  std::lock_guard<std::mutex> lock(mutex_);
  pendingBytes_ += read.bytes.size();
  queue_.push_back(std::move(read));
  ready_.notify_one();
}

size_t PrintQueue::PendingBytes() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return pendingBytes_;
}

void PrintQueue::Finish() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
    ready_.notify_one();
  }
  if (thread_.joinable()) thread_.join();
}

void PrintQueue::Loop() {
  for (;;) {
    PrintRead read;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      ready_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
      if (queue_.empty()) return;  // stopping, and everything accepted has run
      read = std::move(queue_.front());
      queue_.pop_front();
    }
    Run(read);
    std::lock_guard<std::mutex> lock(mutex_);
    pendingBytes_ -= read.bytes.size();
  }
}

Printer* PrintQueue::PrinterFor(const PrinterSetup& setup, std::string& error) {
  auto found = printers_.find(setup);
  if (found != printers_.end()) return found->second.get();
  if (printers_.size() >= kMostPrinters) {
    for (auto it = printers_.begin(); it != printers_.end(); ++it) {
      if (it->first < DefaultSetup() || DefaultSetup() < it->first) {
        printers_.erase(it);
        break;
      }
    }
  }
  auto options = std::make_unique<HostOptions>(options_);
  options->dpi = setup.dpi;
  options->widthInches = setup.widthInches;
  options->formats = setup.formats;
  options->zpl = setup.zpl;
  std::unique_ptr<Printer> printer = Printer::Open(*options, error);
  if (!printer) return nullptr;
  setups_[setup] = std::move(options);  // the printer keeps a reference
  return (printers_[setup] = std::move(printer)).get();
}

void PrintQueue::Run(PrintRead& read) {
  std::vector<PrintedJob> printed;
  Source& source = sources_[read.source];
  if (!source.intake)
    source.intake = std::make_unique<SourceIntake>(&window_, options_.maxJobBytes, 0,
                                                   SourceIntake::Gate{}, read.setup.zpl);
  source.intake->Add(std::string_view(read.bytes.data(), read.bytes.size()));
  read.last ? source.intake->Finish() : source.intake->Pause();
  std::string error;
  Printer* printer = PrinterFor(read.setup, error);
  while (std::optional<platform::Notification> n = window_.TryTake()) {
    std::optional<JobReport> report = Take(*n, read.source, source, printer, error);
    if (report) printed.push_back(Record(std::move(*report), read.setup.dpi));
  }
  if (read.last) {
    const std::string unfinished = source.intake->Unfinished();
    if (!unfinished.empty() || (source.jobs == 0 && source.others == 0))
      printed.push_back(Record(Noted(read.source, EndNote(unfinished)), read.setup.dpi));
    sources_.erase(read.source);
  }
  if (read.done) read.done(printed);
}

// What one notification of the source's intake comes to: a job run, or a
// report of what could not be printed.
std::optional<JobReport> PrintQueue::Take(platform::Notification& n, const std::string& name,
                                          Source& source, Printer* printer,
                                          const std::string& error) {
  switch (n.code) {
    case NOTIFY_SCRIPTING_DATA:
      if (printer == nullptr) return Noted(name, "not printed: " + error);
      try {
        std::vector<char> bytes;
        if (forwarder_ && n.job) bytes = n.job->data;
        JobReport report = printer->RunJob(std::move(n.job), name, ++source.jobs);
        if (forwarder_) Forward(bytes, report);
        return report;
      } catch (const std::exception& e) {  // out of memory: this job only
        PrintError(name + ": cannot run job: " + e.what());
        return std::nullopt;
      }
    case kJobDiscardedNote: {
      JobReport report = Noted(name, DiscardedNote(options_.maxJobBytes, "--max-job-bytes"));
      report.jobNumber = ++source.jobs;
      report.language = LanguageName(static_cast<int32_t>(n.value));
      report.incomplete = true;
      return report;
    }
    case kBytesDroppedNote:
      return Noted(name, DroppedNote(n.value));
    case kJobsCancelledNote:
      ++source.others;
      return Noted(name, CancelledNote(n.value));
    case kStatusPollNote:  // a question, answered by the port or by no one
      ++source.others;
      return std::nullopt;
    case kLooseCommandsNote: {
      ++source.others;
      JobReport report = Noted(name, "");
      if (n.job) report.notes = LooseCommandsNotes(*n.job);
      return report;
    }
    default:
      return std::nullopt;  // for a device's panel
  }
}

void PrintQueue::Forward(const std::vector<char>& bytes, JobReport& report) const {
  const std::string error = forwarder_->Send(bytes);
  if (!error.empty())
    report.notes.push_back("not forwarded to " + forwarder_->target() + ": " + error);
}

PrintedJob PrintQueue::Record(JobReport report, int dpi) {
  PrintedJob job;
  job.dpi = dpi;
  job.report = std::move(report);
  if (observer_ != nullptr) observer_->Printed(job);
  if (reports_ != nullptr) reports_->Write(job.report);
  return job;
}

}  // namespace host
