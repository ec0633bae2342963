#include "host/printer/Printer.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>

#include "host/printer/ConfigurationLabel.h"
#include "host/printer/ExitStatus.h"
#include "host/printer/FontList.h"
#include "host/printer/ZplHint.h"
#include "intake/Languages.h"
#include "intake/LogLimits.h"
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

std::string Quoted(const std::wstring& text) { return "\"" + platform::WideToUtf8(text) + "\""; }

}  // namespace

vellum::VellumSettings Printer::EngineSettings() {
  vellum::VellumSettings settings;
  settings.printerName = L"labelhost";
  settings.dpi = options_.dpi;
  settings.mediaWidthInches = options_.widthInches;
  settings.mediaLengthInches = options_.lengthInches;
  settings.mediaLengthOnly = options_.lengthFromMediaOnly;
  const InstalledMedia media =
      options_.rotationFlags ? InstalledMediaOf(*options_.rotationFlags) : InstalledMedia{};
  settings.mediaPortrait = media.portrait;
  settings.checkPlacement = options_.checkPlacement;
  settings.sink = &sink_;
  settings.pictureBytesPerLabel = options_.limits.pictureBytesPerLabel;
  settings.promptAnswerer = [this](const std::wstring& prompt, const std::wstring&) {
    return AnswerPrompt(prompt);
  };
  return settings;
}

std::optional<std::wstring> Printer::AnswerPrompt(const std::wstring& prompt) {
  promptsAsked_.insert(prompt);
  auto found = options_.answers.find(prompt);
  if (found == options_.answers.end()) return std::nullopt;
  return found->second;
}

// A prompt printed with its default and an answer no prompt asked for are
// both likely slips (a misspelt prompt text gives one of each).
void Printer::NotePrompts(JobReport& report, const std::set<std::wstring>& promptsAsked) const {
  if (report.labelsPrinted == 0) return;  // nothing was asked
  for (const std::wstring& prompt : promptsAsked) {
    if (options_.answers.count(prompt) == 0) {
      report.notes.push_back("prompt " + Quoted(prompt) + " has no --answer; its default printed");
    }
  }
  for (const auto& [prompt, value] : options_.answers) {
    if (promptsAsked.count(prompt) == 0) {
      report.notes.push_back("--answer " + Quoted(prompt) + " matches no prompt of this job");
    }
  }
}

std::unique_ptr<Printer> Printer::OpenForCommand(const HostOptions& options) {
  std::string error;
  std::unique_ptr<Printer> printer = Open(options, error);
  if (!printer) PrintError(error);
  return printer;
}

std::unique_ptr<Printer> Printer::Open(const HostOptions& options, std::string& error) {
  if (options.store) platform::SetStoreRoot(*options.store);
  const fs::path store = platform::StoreRoot();
  if (!UsableFolder(store, "store", error) ||
      !UsableFolder(store / "Logging", "log folder", error)) {
    return nullptr;
  }
  // Lint and previews ask for no format: they write no label and need no
  // folder for them.
  const OutputFormats& formats = options.formats;
  const bool writes = formats.png || formats.pdf || formats.json;
  if (writes && !UsableFolder(options.outDir, "output folder", error)) return nullptr;
  SetLogLimits(LogLimits{options.limits.logLinesPerJob, options.limits.logBytes});
  if (options.clock) {
    const platform::LocalTime fixed = *options.clock;
    platform::SetClock([fixed] { return fixed; });
  }
  // Reading the system's font configuration is most of the start-up left to
  // us: it goes on while the printer is set up and the first job is read and
  // parsed (the session asks for the list at the first font a job names).
  // Where no thread can be had, it is read when first needed.
  FontNameList fontNames = std::async(std::launch::async | std::launch::deferred, [&options] {
                             return FontNames(options);
                           }).share();
  return std::unique_ptr<Printer>(new Printer(options, std::move(fontNames)));
}

Printer::Printer(const HostOptions& options, FontNameList fontNames)
    : options_(options),
      fontNames_(std::move(fontNames)),
      sink_(options.outDir, options.formats, options.limits),
      engine_(std::make_unique<vellum::VellumEngine>(EngineSettings())),
      window_(*this),
      session_(std::make_unique<CSessionManager>(engine_.get())) {
  recorder_.SetMostListed(options.limits.logLinesPerJob);
  ConfigureSession();
}

Printer::~Printer() { Close(); }

void Printer::Close() {
  if (!session_) return;
  session_.reset();  // the session talks to the engine until it is gone
  sink_.EndJob();
  // The font list's thread may be writing the font catalog for the next runs.
  if (fontNames_.valid() &&
      fontNames_.wait_for(std::chrono::seconds(0)) != std::future_status::deferred) {
    fontNames_.wait();
  }
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
  s.SetZplDialect(options_.zpl);
  s.consumableMismatchCallback = [this](int which) {
    return which == 1 ? Decide(options_.onTapeMismatch, "tape mismatch")
                      : Decide(options_.onRibbonMismatch, "ribbon mismatch");
  };
  s.scriptErrorCallback = [this] { return Decide(options_.onScriptError, "script errors"); };
  s.commandObserver = [this](const LabelCommand& command) {
    recorder_.OnCommand(command);
    if (command.kind == PRINT_CONFIGURATION_LABEL) ++configurationAsked_;
  };
  s.problemObserver = [this](const ScriptProblem& problem) { recorder_.OnProblem(problem); };
  s.SetSystemFontSource([this] { return ToLogFonts(fontNames()); });
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
  DeliverEarly();
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
  AddDiagnostics(engine_->LastPrintDiagnostics(), *current_);
}

void Printer::AddDiagnostics(const std::vector<vellum::Diagnostic>& diagnostics,
                             JobReport& report) {
  for (const vellum::Diagnostic& d : diagnostics) {
    // A missing face is said once per run, whichever object or job meets it.
    if (d.kind == vellum::DiagnosticKind::kFontSubstituted &&
        !substitutionsReported_.insert(d.message).second) {
      continue;
    }
    EngineDiagnostic entry{d.objectId, platform::WideToUtf8(d.message)};
    auto& all = report.diagnostics;
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
  recorder_.Begin();
  sink_.BeginJob();
  promptsAsked_.clear();
  sink_.TakeLabelCount();
  sink_.TakeWritten();
}

void Printer::EndReport(JobReport& report) {
  ClosePrint();
  HarvestDiagnostics();
  sink_.EndJob();
  report.labelsPrinted = sink_.TakeLabelCount();
  report.files = sink_.TakeWritten();
  recorder_.End(report);
  if (!sink_.limitNote().empty()) {
    report.notes.insert(report.notes.begin(), sink_.limitNote());
    report.incomplete = true;
  }
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
  recorder_.LocateIn(job.get());
  session_->ProcessData(std::move(job));
  PrintAskedConfiguration();
  EndReport(report);
  NotePrompts(report, promptsAsked_);
  NoteDialect(report);
  return report;
}

// The session passes "~WC" by, as the device does; a full ZPL printer
// prints its configuration label, once per "~WC", after the job's labels.
void Printer::PrintAskedConfiguration() {
  const int asked = configurationAsked_;
  configurationAsked_ = 0;
  if (options_.zpl != ZplDialect::kFull) return;
  for (int i = 0; i < asked; ++i) {
    diagnosticsDue_ = true;  // the built-in label prints without the callback
    PrintConfigurationLabel(*session_, ConfigurationLines(options_, fontNames().size()));
  }
}

void Printer::NoteDialect(JobReport& report) const {
  if (options_.zpl == ZplDialect::kDevice && report.language == LanguageName(LANGUAGE_ZPL)) {
    if (std::string hint = FullDialectHint(report.unsupportedCommands); !hint.empty()) {
      report.notes.push_back(std::move(hint));
    }
  }
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
