#include "host/Printer.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "host/FontList.h"
#include "intake/Notifications.h"
#include "platform/StorageCard.h"
#include "platform/Text.h"
#include "session/InstalledMedia.h"

namespace host {
namespace {

namespace fs = std::filesystem;

// A folder we must be able to write into: made when missing.
bool UsableFolder(const fs::path& folder, const char* what, std::string& error) {
  std::error_code ec;
  if (fs::exists(folder, ec) && !fs::is_directory(folder, ec)) {
    error = std::string(what) + " '" + folder.string() + "' is not a folder";
    return false;
  }
  fs::create_directories(folder, ec);
  if (ec) {
    error = "cannot create " + std::string(what) + " '" + folder.string() + "': " + ec.message();
    return false;
  }
  if (::access(folder.c_str(), R_OK | W_OK | X_OK) != 0) {
    error =
        "cannot use " + std::string(what) + " '" + folder.string() + "': " + std::strerror(errno);
    return false;
  }
  return true;
}

vellum::VellumSettings EngineSettings(const HostOptions& options, vellum::OutputSink* sink) {
  vellum::VellumSettings settings;
  settings.printerName = L"labelhost";
  settings.dpi = options.dpi;
  settings.mediaWidthInches = options.widthInches;
  const InstalledMedia media =
      options.rotationFlags ? InstalledMediaOf(*options.rotationFlags) : InstalledMedia{};
  settings.mediaPortrait = media.portrait;
  settings.sink = sink;
  const auto* answers = &options.answers;
  settings.promptAnswerer = [answers](const std::wstring& prompt,
                                      const std::wstring&) -> std::optional<std::wstring> {
    auto found = answers->find(prompt);
    if (found == answers->end()) return std::nullopt;
    return found->second;
  };
  return settings;
}

}  // namespace

std::unique_ptr<Printer> Printer::Open(const HostOptions& options, std::string& error) {
  if (options.store) platform::SetStoreRoot(*options.store);
  const fs::path store = platform::StoreRoot();
  if (!UsableFolder(store, "store", error) ||
      !UsableFolder(store / "Logging", "log folder", error)) {
    return nullptr;
  }
  if (!UsableFolder(options.outDir, "output folder", error)) return nullptr;
  if (options.clock) {
    const platform::LocalTime fixed = *options.clock;
    platform::SetClock([fixed] { return fixed; });
  }
  return std::unique_ptr<Printer>(new Printer(options, FontNames(options)));
}

Printer::Printer(const HostOptions& options, std::vector<std::string> fontNames)
    : options_(options),
      fontNames_(std::move(fontNames)),
      sink_(options.outDir, options.formats),
      logs_(platform::StoreRoot() / "Logging"),
      engine_(std::make_unique<vellum::VellumEngine>(EngineSettings(options, &sink_))),
      window_(*this),
      session_(std::make_unique<CSessionManager>(engine_.get())) {
  ConfigureSession();
}

Printer::~Printer() {
  session_.reset();  // the session talks to the engine until it is gone
  if (options_.clock) platform::SetClock(nullptr);
}

void Printer::ConfigureSession() {
  CSessionManager& s = *session_;
  s.messageId = kHostMessageId;
  s.SetMainWindow(&window_);
  s.SetInstalledPartNames(platform::BytesToWide(options_.tape),
                          platform::BytesToWide(options_.ribbon));
  if (options_.rotationFlags) s.SetInstalledRotation(*options_.rotationFlags);
  s.setXOffset(options_.xOffset);
  s.setYOffset(options_.yOffset);
  s.SetSystemFonts(ToLogFonts(fontNames_));
  s.consumableMismatchCallback = [this](int which) {
    return which == 1 ? Decide(options_.onTapeMismatch, "tape mismatch")
                      : Decide(options_.onRibbonMismatch, "ribbon mismatch");
  };
  s.scriptErrorCallback = [this] { return Decide(options_.onScriptError, "script errors"); };
  s.beforePrintCallback = [this] {
    HarvestDiagnostics();  // the previous print's, before StartPrint clears them
    printStarted_ = true;
    diagnosticsDue_ = true;
  };
}

bool Printer::Decide(PrintDecision decision, const char* reason) {
  if (decision == PrintDecision::kPrint) return true;
  pendingRefusals_.push_back(reason);
  return false;
}

void Printer::SessionWindow::Post(platform::Notification notification) {
  if (notification.code == NOTIFY_LABEL_PRINTING) printer_.OpenPrint();
}

void Printer::OpenPrint() {
  ClosePrint();
  if (current_ != nullptr) ++current_->printsRequested;
  printOpen_ = true;
}

// A print that was announced but never started was refused by a callback.
void Printer::ClosePrint() {
  if (printOpen_ && !printStarted_ && current_ != nullptr) {
    ++current_->printsRefused;
    std::string why;
    for (const std::string& reason : pendingRefusals_) why += (why.empty() ? "" : ", ") + reason;
    current_->refusals.push_back(why.empty() ? "refused" : why);
  }
  printOpen_ = false;
  printStarted_ = false;
  pendingRefusals_.clear();
}

void Printer::HarvestDiagnostics() {
  if (!diagnosticsDue_ || current_ == nullptr) return;
  diagnosticsDue_ = false;
  for (const vellum::Diagnostic& d : engine_->LastPrintDiagnostics()) {
    EngineDiagnostic entry{d.objectId, platform::WideToUtf8(d.message)};
    auto& all = current_->diagnostics;
    const bool seen = std::any_of(all.begin(), all.end(), [&](const EngineDiagnostic& e) {
      return e.objectId == entry.objectId && e.message == entry.message;
    });
    if (!seen) all.push_back(std::move(entry));
  }
}

void Printer::BeginReport(JobReport& report) {
  current_ = &report;
  printOpen_ = printStarted_ = diagnosticsDue_ = false;
  pendingRefusals_.clear();
  logs_.Mark();
  sink_.TakeLabelCount();
  sink_.TakeWritten();
}

void Printer::EndReport(JobReport& report) {
  ClosePrint();
  HarvestDiagnostics();
  report.labelsPrinted = sink_.TakeLabelCount();
  report.files = sink_.TakeWritten();
  report.logLines = logs_.Collect();
  current_ = nullptr;
}

JobReport Printer::RunJob(std::unique_ptr<ScriptingData> job, const std::string& source,
                          int jobNumber) {
  JobReport report;
  report.source = source;
  report.jobNumber = jobNumber;
  report.language = LanguageName(job ? job->language : 0);
  sink_.SetSource(source);
  BeginReport(report);
  session_->ProcessData(std::move(job));
  EndReport(report);
  return report;
}

JobReport Printer::RunBuiltIn(const std::string& name,
                              const std::function<void(CSessionManager&)>& print) {
  JobReport report;
  report.source = name;
  report.jobNumber = 1;
  report.language = "built-in";
  sink_.SetSource(name);
  BeginReport(report);
  diagnosticsDue_ = true;  // some built-in labels print without the callback
  print(*session_);
  EndReport(report);
  // Built-in labels announce rows, not prints, and pass no checks.
  report.printsRequested = report.printsRefused = 0;
  report.refusals.clear();
  return report;
}

}  // namespace host
