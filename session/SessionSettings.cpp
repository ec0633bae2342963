// The setting commands: label length, orientation, offsets and rotation,
// mirror and cutter options, the copies to print, what the host is told
// (speed, density) and what the next print requires (tape, ribbon). Each
// operation reads only the positions it needs, by the names of the record
// definition; the command loop has made sure they exist.

#include <algorithm>

#include "intake/Notifications.h"
#include "platform/Text.h"
#include "record/CommandRecord.h"
#include "session/SessionManager.h"

namespace {

constexpr size_t kValue = record::SettingParam::kValue;
constexpr int32_t kDensityMin = 80;
constexpr int32_t kDensityMax = 115;

// Dots to inches with the engine's DPI.
float DotsToInches(int32_t dots, int32_t dpi) {
  return static_cast<float>(dots) / static_cast<float>(dpi);
}

}  // namespace

bool CSessionManager::SetDateAndTime(const Params&) { return true; }
bool CSessionManager::SetPrintOrientation(const Params&) { return true; }

bool CSessionManager::SetTearoffPosition(const Params& params) { return !params[kValue].empty(); }

bool CSessionManager::SetPrintQuantity(const Params& params) {
  printQuantity_ = ConvertToInt(params[kValue]);
  return true;
}

// Options are written back in every case, changed or not.
bool CSessionManager::SetMirrorPrinting(const Params& params) {
  if (!engine_) return true;
  std::wstring flag = platform::ToUpper(params[kValue]);
  VLabelOptions options;
  engine_->GetLabelOptions(options);
  if (flag == L"Y") options.mirror = 1;
  if (flag == L"N") options.mirror = 0;
  engine_->SetLabelOptions(options);
  return true;
}

// Only a real change reaches the engine.
bool CSessionManager::SetCuttingOption(const Params& params) {
  if (!engine_) return true;
  VLabelOptions options;
  engine_->GetLabelOptions(options);
  int32_t cutter = options.cutterMode;
  if (params[kValue] == L"0") cutter = kVCutBetweenLabels;
  if (params[kValue] == L"1") cutter = kVCutAfterJob;
  if (params[kValue] == L"2") cutter = kVCutNever;
  if (cutter != options.cutterMode) {
    options.cutterMode = cutter;
    engine_->SetLabelOptions(options);
  }
  return true;
}

// A width after the length (the full ZPL dialect's print width) sets the
// label's width too; an empty length then leaves the length alone.
bool CSessionManager::SetLabelLength(const Params& params) {
  const std::wstring& width = platform::ItemOrEmpty(params, record::LabelLengthParam::kWidth);
  if (params[kValue].empty() && width.empty()) return false;
  if (!engine_) return true;
  VLabelData data;
  engine_->GetLabelData(data, 0, nullptr);
  if (!params[kValue].empty()) {
    data.gapInches = 0.0;
    data.lengthInches = DotsToInches(ConvertToInt(params[kValue]), EngineDpi());
    data.lengthFixed = 1;
    data.leftMarginDots = 0;
    data.labelsAcross = 1;
    data.labelsDown = 1;
  }
  if (!width.empty()) data.widthInches = DotsToInches(ConvertToInt(width), EngineDpi());
  engine_->SetLabelData(data);
  engine_->RefreshLabel(0, 0);
  return true;
}

// The label negative command carries a length in dots, like LABEL_LENGTH.
bool CSessionManager::SetLabelNegative(const Params& params) { return SetLabelLength(params); }

bool CSessionManager::SetLabelOrientation(const Params& params) {
  if (params[kValue].empty()) return false;
  bool landscape = params[kValue].find_first_of(L"Ll") != std::wstring::npos;
  if (engine_) engine_->SetLabelOrientation(landscape ? 0 : 1, 0, nullptr);
  return true;
}

bool CSessionManager::SetLabelOffset(const Params& params) {
  using P = record::LabelOffsetParam;
  if (params[P::kX].empty() || params[P::kY].empty()) return false;
  int32_t dpi = EngineDpi();
  labelOffsetX_ = DotsToInches(ConvertToInt(params[P::kX]), dpi);
  labelOffsetY_ = DotsToInches(ConvertToInt(params[P::kY]), dpi);
  if (engine_) engine_->SetLabelOffsets(nullptr, labelOffsetX_, labelOffsetY_);
  return true;
}

bool CSessionManager::SetPrintRotation(const Params& params) {
  int32_t degrees = ConvertToInt(params[kValue]);
  if (degrees >= 0 && degrees <= 360 && engine_) {
    engine_->RotateLabelTenthsDeg(0, nullptr, degrees * 10);
  }
  return true;
}

bool CSessionManager::SetPrintSpeed(const Params& params) {
  Notify(NOTIFY_PRINT_SPEED, ConvertToInt(params[kValue]));
  return true;
}

bool CSessionManager::SetPrintDensity(const Params& params) {
  int32_t density = std::clamp(ConvertToInt(params[kValue]), kDensityMin, kDensityMax);
  Notify(NOTIFY_PRINT_DENSITY, int64_t{density} * 100);
  return true;
}

bool CSessionManager::SetMatchRibbon(const Params& params) {
  requiredRibbon_ = params[kValue];
  matchRibbonPending_ = true;
  return true;
}

bool CSessionManager::SetMatchTape(const Params& params) {
  requiredTape_ = params[kValue];
  matchTapePending_ = true;
  return true;
}
