#include "host/PrintQueue.h"

#include <exception>
#include <limits>
#include <tuple>

#include "host/Commands.h"
#include "intake/Languages.h"
#include "intake/Notifications.h"

namespace host {
namespace {

// Requests may ask for other resolutions and widths; a few printers are
// kept, the oldest extra one goes when more are asked for.
constexpr size_t kMostPrinters = 8;

// The language of a job intake still holds, or "" when none is pending.
std::string Unfinished(const CProcessScriptLanguageData& intake) {
  for (const Language& language : kLanguages) {
    if (intake.IsState(language.stateFlag)) return language.name;
  }
  return "";
}

JobReport NoJob(const std::string& source, const std::string& unfinished) {
  JobReport report;
  report.source = source;
  report.language = "none";
  report.notes.push_back(unfinished.empty()
                             ? "no job found (no start and end marker of a known language)"
                             : "input ended inside a " + unfinished +
                                   " job (no end marker); its bytes were discarded");
  return report;
}

}  // namespace

bool PrinterSetup::operator<(const PrinterSetup& o) const {
  return std::tie(dpi, widthInches, formats.png, formats.pdf, formats.json, zpl) <
         std::tie(o.dpi, o.widthInches, o.formats.png, o.formats.pdf, o.formats.json, o.zpl);
}

PrintQueue::PrintQueue(const HostOptions& options, ReportWriter* reports, PrintObserver* observer)
    : options_(options), reports_(reports), observer_(observer) {}

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
  std::string error;
  Printer* printer = PrinterFor(read.setup, error);
  Source& source = sources_[read.source];
  if (!source.intake) {
    source.intake = std::make_unique<CProcessScriptLanguageData>(&window_, kHostMessageId);
    source.intake->SetHeldDataLimit(options_.maxJobBytes);
  }
  // The readers cap a read far below this; the check keeps the cast honest.
  if (!read.bytes.empty() && read.bytes.size() <= std::numeric_limits<int32_t>::max())
    source.intake->ProcessIncomingData(read.bytes.data(), static_cast<int32_t>(read.bytes.size()));
  while (std::optional<platform::Notification> n = window_.TryTake()) {
    if (n->code != NOTIFY_SCRIPTING_DATA) continue;  // for a device's panel
    if (printer == nullptr) {
      JobReport report = NoJob(read.source, "");
      report.notes = {"not printed: " + error};
      printed.push_back(Record(std::move(report), read.setup.dpi));
      continue;
    }
    try {
      printed.push_back(
          Record(printer->RunJob(std::move(n->job), read.source, ++source.jobs), read.setup.dpi));
    } catch (const std::exception& e) {  // out of memory: this job only
      PrintError(read.source + ": cannot run job: " + e.what());
    }
  }
  if (read.last) {
    const std::string unfinished = Unfinished(*source.intake);
    if (!unfinished.empty() || source.jobs == 0)
      printed.push_back(Record(NoJob(read.source, unfinished), read.setup.dpi));
    sources_.erase(read.source);
  }
  if (read.done) read.done(printed);
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
