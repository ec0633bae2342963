// The session's life and its jobs: construction, ProcessData, the installed
// media, notifications to the host and the small readers the builders share.

#include "session/SessionManager.h"

#include <exception>

#include "intake/LogLimits.h"
#include "intake/Notifications.h"
#include "parsers/LanguageParserBase.h"
#include "parsers/ParserFactory.h"
#include "platform/HostWindow.h"
#include "platform/ScriptingData.h"
#include "platform/Text.h"
#include "session/InstalledMedia.h"
#include "session/ShapeGeometry.h"

namespace {

constexpr int32_t kFallbackDpi = 300;
constexpr int32_t kFallbackUnitsPerInch = 1000;

}  // namespace

CSessionManager::CSessionManager(VInterface* engine)
    : parserFactory_(std::make_unique<CParserFactory>()),
      engine_(engine),
      log_(std::make_unique<CLogging>(kLogName)) {}

// The parser goes before the factory: it points into the factory's records.
CSessionManager::~CSessionManager() { parser_.reset(); }

void CSessionManager::ProcessData(std::unique_ptr<ScriptingData> job) {
  parser_.reset();
  if (job) parser_ = parserFactory_->GetParser(job->language);
  if (parser_) {
    int32_t dpi = engine_ ? engine_->GetPrinterDPI() : kFallbackDpi;
    parser_->SetParserDPI(dpi < 1 || dpi > 1000 ? kFallbackDpi : dpi);
  }
  Notify(NOTIFY_SCRIPT_STARTED, 0);
  {
    // The job's share of each error log; the lines past it are counted and
    // said in one line when the job ends.
    JobLogScope logScope;
    // Nothing may escape to the host's window procedure: a job that throws is
    // stopped where it stands, and the host still hears that it finished.
    try {
      RunJob(job.get());
    } catch (const std::exception& e) {
      log_->Write(L"Job stopped: " + platform::BytesToWide(e.what()));
    } catch (...) {
      log_->Write(L"Job stopped by an unknown error");
    }
  }
  job.reset();
  Notify(NOTIFY_SCRIPT_FINISHED, 0);
}

// Each label the parser completes runs at once and its records are freed, so a
// job of many labels holds the records of one label at a time; what is run,
// and in which order, is what running the whole list afterwards would run.
void CSessionManager::RunJob(const ScriptingData* job) {
  ResetJobFields();
  CommandList commands;
  if (parser_) {
    parser_->SetLabelSink([this](CommandList& records) { RunCommands(records); });
    parser_->SetProblemObserver(problemObserver);
    parser_->ParseData(job->data.data(), job->length(), commands);
    parser_->SetLabelSink(nullptr);
    parser_->SetProblemObserver(nullptr);
  }
  RunCommands(commands);
}

void CSessionManager::SetZplDialect(ZplDialect dialect) { parserFactory_->SetZplDialect(dialect); }

void CSessionManager::SetInstalledRotation(uint32_t flags) {
  const InstalledMedia media = InstalledMediaOf(flags);
  installedRotation_ = media.rotationDegrees;
  installedPortrait_ = media.portrait;
}

void CSessionManager::SetInstalledPartNames(const std::wstring& tape, const std::wstring& ribbon) {
  installedTape_ = tape;
  installedRibbon_ = ribbon;
}

void CSessionManager::Notify(int32_t code, int64_t value) {
  if (mainWindow_) mainWindow_->Post(platform::Notification(messageId, code, value));
}

int32_t CSessionManager::ConvertToInt(const std::wstring& text) {
  return platform::LeadingInt(text);
}

int32_t CSessionManager::EngineDpi() {
  int32_t dpi = engine_ ? engine_->GetPrinterDPI() : kFallbackDpi;
  return dpi < 1 ? kFallbackDpi : dpi;
}

int32_t CSessionManager::EngineUnitsPerInch() {
  int32_t units = engine_ ? engine_->GetUnitsPerInch() : kFallbackUnitsPerInch;
  return units < 1 ? kFallbackUnitsPerInch : units;
}

CSessionManager::EngineScale CSessionManager::GetEngineScale() {
  const int32_t dpi = EngineDpi();
  return {dpi, EngineUnitsPerInch()};
}

int32_t CSessionManager::EngineScale::ToUnits(const Params& params, size_t index) const {
  return DotsToEngineUnits(ConvertToInt(params[index]), unitsPerInch, dpi);
}
