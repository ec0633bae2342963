// The labels the session prints of its own accord, on the host's request: the
// configuration text, the font list and the picture list. Each is built on the
// engine's current label, printed, and the label is emptied again.

#include <algorithm>
#include <cstdint>

#include "intake/Notifications.h"
#include "platform/Text.h"
#include "session/SessionManager.h"
#include "session/ShapeGeometry.h"

namespace {

constexpr wchar_t kSavedLabel[] = L"\\SD\\Store\\TestLabel.vlm";
constexpr wchar_t kLabelFont[] = L"Arial";

// Text size and row heights follow the printable width, in three bands.
struct BuiltInLayout {
  int32_t fontPoints;
  int32_t rowHeight;         // font and graphics labels
  int32_t configLineHeight;  // configuration label, per line
};

BuiltInLayout LayoutForWidth(int32_t width) {
  if (width > 1000) return {14, 200, 100};
  if (width > 600) return {10, 160, 80};
  return {9, 140, 70};
}

// The font label's caption column, right of the samples: to the printable
// edge, and at least this wide (it is cut where the media ends).
constexpr int32_t kCaptionGap = 100;
constexpr int32_t kCaptionMinWidth = 1000;

// Row i of a list label: from `top` + i rows down, one row high.
VRect Row(int32_t left, int32_t right, int32_t rowHeight, size_t i) {
  const int64_t top = 20 + static_cast<int64_t>(i) * rowHeight;
  const int32_t clampedTop = static_cast<int32_t>(std::min<int64_t>(top, INT32_MAX));
  return {left, clampedTop, right, AddSaturated(clampedTop, rowHeight)};
}

}  // namespace

bool CSessionManager::PrintTestLabel() { return true; }

void CSessionManager::ResetJobFields() {
  printQuantity_ = 1;
  sequencedMark_ = 1;
  largestLabelCount_ = 1;
  variableDataKind_ = kVVariableNone;
}

void CSessionManager::SetBuiltInTextAlignment() {
  VTextAlignment alignment;
  engine_->GetTextAlignment(alignment);
  alignment.boxBound = 0;
  alignment.justification = kVJustifyLeft;
  alignment.verticalCentre = 0;
  alignment.autoSize = 0;
  alignment.wordWrap = 1;
  engine_->SetTextAlignment(alignment);
}

void CSessionManager::SetBuiltInFont(const platform::LOGFONTW* font, const std::wstring& faceName,
                                     int32_t points) {
  VInterfaceTextProperties* properties = engine_->GetVInterfaceTextProperties();
  if (!font) {
    log_->Write(L"Unable to locate font: " + faceName + L", System Default will be used");
  }
  if (!properties) return;
  if (font) properties->SetTextFontName(kVTextSelected, 0, *font, 0);
  properties->SetTextFontSize(kVTextSelected, 0, points, 0, 0.0, true);
}

bool CSessionManager::PrintConfigLabel(const std::wstring& text, int32_t lineCount) {
  if (!engine_) return true;
  engine_->CreateLabel(L"", 0, 0, 0, 0, 1);
  ResetJobFields();
  const platform::LOGFONTW* font = GetSystemFont(kLabelFont);
  const int32_t width = engine_->GetPrinterPrintableArea().width;
  const BuiltInLayout layout = LayoutForWidth(width);
  const int64_t bottom = (int64_t{lineCount} + 1) * layout.configLineHeight + 20;
  const VRect box{50, 20, AddSaturated(width, -50),
                  static_cast<int32_t>(std::clamp<int64_t>(bottom, INT32_MIN, INT32_MAX))};
  if (engine_->IsLabelPrinterPortrait(0, nullptr) != 1) engine_->SetLabelOrientation(1, 0, nullptr);

  VDrawObj* object = engine_->CreateNewObject(kVObjText, box, engine_->GetNextFreeObjectId());
  if (object) {
    engine_->SetSelectByObject(object);
    SetBorderThickness(2);
    engine_->RotateSelectedObject(0);
    SetBuiltInTextAlignment();
    engine_->SetTextFromObject(object, text, true);
    SetBuiltInFont(font, kLabelFont, layout.fontPoints);
  }
  PrintLabel();
  Notify(NOTIFY_SCRIPT_FINISHED, 0);
  engine_->DeleteAllLabelObjects();
  return true;
}

// Each row shows a font's name in the font itself and, beside it, in a
// readable face: a symbol font's sample alone cannot be read.
bool CSessionManager::PrintFontLabel(const std::vector<std::wstring>& fontNames) {
  if (!engine_) return true;
  ResetJobFields();
  engine_->CreateLabel(L"", 0, 0, 0, 0, 1);
  engine_->GetVInterfaceTextProperties();
  const int32_t width = engine_->GetPrinterPrintableArea().width;
  const BuiltInLayout layout = LayoutForWidth(width);
  const int32_t rowWidth = width > 1000 ? 2500 : 1500;
  const int32_t captionLeft = rowWidth + 100 + kCaptionGap;
  const int32_t captionRight = std::max(AddSaturated(width, -50), captionLeft + kCaptionMinWidth);
  const platform::LOGFONTW* captionFont = GetSystemFont(kLabelFont);
  if (engine_->IsLabelPrinterPortrait(1, nullptr) != 1) engine_->SetLabelOrientation(1, 0, nullptr);
  const VLabelOptions options = ForceCutAfterJob();

  for (size_t i = 0; i < fontNames.size(); ++i) {
    const VRect row = Row(100, rowWidth + 100, layout.rowHeight, i);
    VDrawObj* object = engine_->CreateNewObject(kVObjText, row, engine_->GetNextFreeObjectId());
    if (!object) continue;
    engine_->SetSelectByObject(object);
    object->CreateObjectWindow(0, engine_->GetParentWnd(), 1);
    engine_->SetTextFromObject(object, fontNames[i], true);
    SetBuiltInFont(GetSystemFont(fontNames[i]), fontNames[i], layout.fontPoints);
    engine_->RefreshLabel(0, 0);
    AddFontCaption(Row(captionLeft, captionRight, layout.rowHeight, i), fontNames[i], captionFont,
                   layout.fontPoints);
  }
  Notify(NOTIFY_LABEL_PRINTING, 0);
  engine_->InitPrintData();
  engine_->AddPrintData(CurrentPrintData());
  PrintLabel();
  RestoreCutterMode(options);
  engine_->DeleteAllLabelObjects();
  Notify(NOTIFY_SCRIPT_FINISHED, 0);
  return true;
}

// Box-bound, one line, autosized: a long name shrinks to fit its row; a missing
// caption face is not logged (the engine's default face is readable too).
void CSessionManager::AddFontCaption(const VRect& box, const std::wstring& name,
                                     const platform::LOGFONTW* font, int32_t points) {
  VDrawObj* caption = engine_->CreateNewObject(kVObjText, box, engine_->GetNextFreeObjectId());
  if (!caption) return;
  engine_->SetSelectByObject(caption);
  VTextAlignment alignment;
  engine_->GetTextAlignment(alignment);
  alignment.boxBound = 1;
  alignment.justification = kVJustifyLeft;
  alignment.verticalCentre = 1;
  alignment.autoSize = 1;
  alignment.wordWrap = 0;
  engine_->SetTextAlignment(alignment);
  engine_->SetTextFromObject(caption, name, true);
  VInterfaceTextProperties* properties = engine_->GetVInterfaceTextProperties();
  if (!properties) return;
  if (font) properties->SetTextFontName(kVTextSelected, 0, *font, 0);
  properties->SetTextFontSize(kVTextSelected, 0, points, 0, 0.0, false);  // keeps the autosize
}

bool CSessionManager::PrintGraphicsLabel(const std::vector<std::wstring>& pictureNames) {
  if (!engine_) return true;
  engine_->CreateLabel(L"", 0, 0, 0, 0, 1);
  ResetJobFields();
  const int32_t width = engine_->GetPrinterPrintableArea().width;
  const BuiltInLayout layout = LayoutForWidth(width);
  if (engine_->IsLabelPrinterPortrait(1, nullptr) != 1) engine_->SetLabelOrientation(1, 0, nullptr);
  const VLabelOptions options = ForceCutAfterJob();
  const platform::LOGFONTW* font = GetSystemFont(kLabelFont);
  // An empty list must not print whatever an earlier job left queued.
  engine_->InitPrintData();

  for (size_t i = 0; i < pictureNames.size(); ++i) {
    const VRect row = Row(100, width, layout.rowHeight, i);
    VDrawObj* object = engine_->CreateNewObject(kVObjText, row, engine_->GetNextFreeObjectId());
    if (!object) continue;
    engine_->SetSelectByObject(object);
    engine_->RotateSelectedObject(0);
    SetBuiltInTextAlignment();
    engine_->SetTextFromObject(object, pictureNames[i], true);
    SetBuiltInFont(font, kLabelFont, layout.fontPoints);
    // Each row re-saves and re-queues the label, so the last holds every row.
    Notify(NOTIFY_LABEL_PRINTING, 0);
    engine_->SaveToFile(kSavedLabel, L"", 0);
    engine_->InitPrintData();
    engine_->AddPrintData(CurrentPrintData());
  }
  engine_->StartPrint(kVPrintDevice, 0, 1, 1);
  RestoreCutterMode(options);
  Notify(NOTIFY_SCRIPT_FINISHED, 0);
  engine_->DeleteAllLabelObjects();
  return true;
}

VLabelOptions CSessionManager::ForceCutAfterJob() {
  VLabelOptions options;
  engine_->GetLabelOptions(options);
  if (options.cutterMode != kVCutAfterJob) {
    VLabelOptions forced = options;
    forced.cutterMode = kVCutAfterJob;
    engine_->SetLabelOptions(forced);
  }
  return options;
}

void CSessionManager::RestoreCutterMode(const VLabelOptions& saved) {
  if (saved.cutterMode != kVCutAfterJob) engine_->SetLabelOptions(saved);
}
