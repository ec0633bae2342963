#include "vellum/VellumEngine.h"

#include <algorithm>
#include <cmath>
#include <fstream>

#include "platform/StorageCard.h"
#include "vellum/JsonWriter.h"

namespace vellum {
namespace {

VellumSettings Sanitised(VellumSettings settings) {
  settings.dpi = std::clamp(settings.dpi, 72, 1200);
  settings.unitsPerInch = std::clamp(settings.unitsPerInch, 1, 100000);
  if (!std::isfinite(settings.mediaWidthInches)) settings.mediaWidthInches = 4.0;
  settings.mediaWidthInches = std::clamp(settings.mediaWidthInches, 0.25, 20.0);
  const double length = settings.mediaLengthInches;
  settings.mediaLengthInches =
      std::isfinite(length) && length > 0.0 ? std::clamp(length, 0.25, kMaxLabelInches) : 0.0;
  if (!settings.clock) settings.clock = platform::Now;
  settings.pictureBytesPerLabel = std::max<int64_t>(0, settings.pictureBytesPerLabel);
  return settings;
}

bool Finite(double value) { return std::isfinite(value); }

}  // namespace

VellumEngine::VellumEngine(VellumSettings settings)
    : settings_(Sanitised(std::move(settings))), textProperties_(this) {
  printer_ = PrinterGeometry{settings_.dpi,
                             settings_.unitsPerInch,
                             settings_.mediaWidthInches,
                             settings_.mediaLengthInches,
                             settings_.mediaLengthOnly && settings_.mediaLengthInches > 0.0,
                             settings_.checkPlacement};
  printerObj_.name = settings_.printerName;
  printerObj_.dpi = settings_.dpi;
  printerObj_.unitsPerInch = settings_.unitsPerInch;
  printerObj_.printableArea = GetPrinterPrintableArea();
  const BarcodeRenderer* barcodes =
      settings_.barcodes != nullptr ? settings_.barcodes : &defaultBarcodes_;
  worker_ = std::make_unique<LabelWorker>(printer_, barcodes);
  model_.settings().portrait = settings_.mediaPortrait;
  pictures_ = PictureCache(settings_.pictureBytesPerLabel);
}

VellumEngine::~VellumEngine() {
  pool_.reset();  // its threads draw with our barcode renderer
}

int32_t VellumEngine::InchesToUnits(double inches) const {
  const double units =
      std::clamp(inches, -kMaxLabelInches, kMaxLabelInches) * printer_.unitsPerInch;
  return static_cast<int32_t>(std::lround(units));
}

VSize VellumEngine::GetPrinterPrintableArea() {
  const LabelSettings& label = model_.settings();
  const double media =
      settings_.mediaLengthInches > 0.0 ? settings_.mediaLengthInches : kMaxLabelInches;
  const int32_t length = label.lengthFixed ? label.lengthUnits : InchesToUnits(media);
  return VSize{InchesToUnits(settings_.mediaWidthInches), length};
}

bool VellumEngine::CreateLabel(const std::wstring& name, int32_t width, int32_t length,
                               int32_t marginLeft, int32_t marginTop, int32_t clearObjects) {
  LabelSettings fresh;
  fresh.name = name;
  fresh.portrait = settings_.mediaPortrait;
  fresh.widthUnits = std::clamp(width, 0, InchesToUnits(settings_.mediaWidthInches));
  fresh.lengthUnits = std::clamp(length, 0, InchesToUnits(kMaxLabelInches));
  fresh.lengthFixed = fresh.lengthUnits > 0;
  fresh.marginUnits = VPoint{marginLeft, marginTop};
  fresh.options = model_.settings().options;  // printer options outlive the label
  model_.settings() = fresh;
  if (clearObjects == 1) {
    model_.Clear();
    pictures_.NewLabel();
  }
  model_.Select(nullptr);
  pendingPoints_.clear();
  return true;
}

void VellumEngine::SetAppType(const std::wstring& appType) { model_.settings().appType = appType; }

int32_t VellumEngine::IsLabelPrinterPortrait(int32_t source, const void*) {
  const bool portrait = source == 1 ? settings_.mediaPortrait : model_.settings().portrait;
  return portrait ? 1 : 0;
}

void VellumEngine::SetLabelOrientation(int32_t portrait, int32_t, const void*) {
  model_.settings().portrait = portrait != 0;
}

void VellumEngine::SetPageSizeUnlimited(int32_t unlimited, const void*) {
  LabelSettings& label = model_.settings();
  label.lengthFixed = unlimited == 0 && label.lengthUnits > 0;
}

bool VellumEngine::GetLabelData(VLabelData& data, int32_t, const void*) {
  const LabelSettings& label = model_.settings();
  data = label.data;
  data.widthInches = static_cast<double>(label.widthUnits) / printer_.unitsPerInch;
  data.lengthInches = static_cast<double>(label.lengthUnits) / printer_.unitsPerInch;
  data.lengthFixed = label.lengthFixed ? 1 : 0;
  return true;
}

bool VellumEngine::SetLabelData(const VLabelData& data) {
  if (!Finite(data.widthInches) || !Finite(data.lengthInches) || !Finite(data.gapInches) ||
      data.widthInches < 0.0 || data.lengthInches < 0.0) {
    return false;
  }
  LabelSettings& label = model_.settings();
  label.data = data;
  label.data.leftMarginDots = std::clamp(data.leftMarginDots, 0, 10000);
  label.widthUnits =
      std::min(InchesToUnits(data.widthInches), InchesToUnits(settings_.mediaWidthInches));
  label.lengthUnits = InchesToUnits(data.lengthInches);
  label.lengthFixed = data.lengthFixed == 1 && label.lengthUnits > 0;
  return true;
}

void VellumEngine::SetLabelOffsets(const void*, float xInches, float yInches) {
  auto clampInches = [](float v) { return std::isfinite(v) ? std::clamp(v, -20.0f, 20.0f) : 0.0f; };
  model_.settings().offsetXInches = clampInches(xInches);
  model_.settings().offsetYInches = clampInches(yInches);
}

void VellumEngine::RotateLabelTenthsDeg(int32_t, const void*, int32_t tenths) {
  if (tenths >= 0 && tenths <= 3600) model_.settings().rotationTenths = tenths;
}

void VellumEngine::RotateLabel180Deg(int32_t, const void*) { model_.settings().upsideDown = true; }

bool VellumEngine::SaveToFile(const std::wstring& cardPath, const std::wstring&, int32_t) {
  const auto host = platform::CardPathToHost(cardPath);
  if (!host) return false;
  std::error_code error;
  std::filesystem::create_directories(host->parent_path(), error);
  const std::string json =
      DescribeLabel(model_.Snapshot(), printer_.unitsPerInch, nullptr, nullptr, nullptr);
  std::ofstream out(*host, std::ios::binary | std::ios::trunc);
  out << json;
  out.close();
  return static_cast<bool>(out);
}

void VellumEngine::DeleteAllLabelObjects() {
  model_.Clear();
  pictures_.NewLabel();
  pendingPoints_.clear();
}

bool VellumEngine::CopyLogicalFont(const platform::LOGFONTW& source, platform::LOGFONTW& copy,
                                   int32_t) {
  copy = source;
  return true;
}

bool VellumEngine::SetPreventHandleCreation(bool prevent) {
  const bool old = preventHandles_;
  preventHandles_ = prevent;
  return old;
}

bool VellumEngine::GetLabelOptions(VLabelOptions& options) {
  options = model_.settings().options;
  return true;
}

bool VellumEngine::SetLabelOptions(const VLabelOptions& options) {
  model_.settings().options = options;
  return true;
}

}  // namespace vellum
