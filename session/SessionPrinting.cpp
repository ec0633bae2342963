// A label's life within a job: START_LABEL makes it empty, PRINT_LABEL checks
// the job's requirements and prints it with the settings then in force.

#include "intake/Notifications.h"
#include "platform/Text.h"
#include "session/SessionManager.h"

namespace {

constexpr wchar_t kPrintJobName[] = L"*CurrentLabel*";

// True when a required part is named and differs from the installed one.
bool PartMismatch(const std::wstring& installed, const std::wstring& required) {
  return !platform::EqualsIgnoreCase(installed, required);
}

}  // namespace

bool CSessionManager::CreateEmptyLabel() {
  if (!engine_) return true;
  engine_->CreateLabel(L"", 0, 0, 0, 0, 1);
  engine_->SetAppType(L"CUSTOM");
  int32_t portrait = installedPortrait_ ? 1 : 0;
  if (engine_->IsLabelPrinterPortrait(0, nullptr) != portrait) {
    engine_->SetLabelOrientation(portrait, 0, nullptr);
  }
  SetCurrentLabelAutosizeLength();
  return true;
}

void CSessionManager::SetCurrentLabelAutosizeLength() {
  if (engine_) engine_->SetPageSizeUnlimited(1, nullptr);
}

VPrintData CSessionManager::CurrentPrintData() const {
  return {kPrintJobName, printQuantity_, sequencedMark_, largestLabelCount_, variableDataKind_};
}

bool CSessionManager::PrintLabel() {
  Notify(NOTIFY_LABEL_PRINTING, 0);
  if (!DoPrintTimeCheck()) return false;
  if (!engine_) return true;
  if (installedRotation_ == 180) engine_->RotateLabel180Deg(0, nullptr);
  engine_->RefreshLabel(0, 0);
  engine_->SetLabelOffsets(nullptr, labelOffsetX_, labelOffsetY_);
  engine_->InitPrintData();
  engine_->AddPrintData(CurrentPrintData());
  if (beforePrintCallback) beforePrintCallback();
  engine_->StartPrint(kVPrintDevice, 0, 1, 1);
  return true;
}

// A mismatch or errors without the matching callback never stop the print.
// When errors were counted and the host asks about them, its answer alone
// decides.
bool CSessionManager::DoPrintTimeCheck() {
  bool go = true;
  if (matchTapePending_ && PartMismatch(installedTape_, requiredTape_) &&
      consumableMismatchCallback) {
    go = consumableMismatchCallback(1);
  }
  if (matchRibbonPending_ && go && PartMismatch(installedRibbon_, requiredRibbon_) &&
      consumableMismatchCallback) {
    go = consumableMismatchCallback(0);
  }
  if (scriptErrorCount_ != 0) {
    if (scriptErrorCallback) go = scriptErrorCallback();
    scriptErrorCount_ = 0;
  }
  matchTapePending_ = false;
  matchRibbonPending_ = false;
  requiredTape_.clear();
  requiredRibbon_.clear();
  return go;
}

bool CSessionManager::ReportScriptError(const Params&) {
  ++scriptErrorCount_;
  return true;
}
