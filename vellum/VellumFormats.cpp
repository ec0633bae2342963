// VellumEngine: the many-valued formats of the selected object.
#include <algorithm>
#include <cmath>

#include "vellum/VellumEngine.h"

namespace vellum {

bool VellumEngine::GetLineFormat(VLineFormat& format) {
  const ObjectData* line = SelectedOfType(kVObjLine);
  if (line == nullptr) return false;
  format = line->line;
  return true;
}

bool VellumEngine::SetLineFormat(const VLineFormat& format) {
  ObjectData* line = SelectedOfType(kVObjLine);
  if (line == nullptr) return false;
  line->line = format;
  line->line.thicknessDots = std::clamp(format.thicknessDots, 1, 10000);
  line->rect = Normalised({format.x1, format.y1, format.x2, format.y2});
  return true;
}

bool VellumEngine::GetTextFormat(VTextFormat& format) {
  const ObjectData* text = SelectedOfType(kVObjText);
  if (text == nullptr) return false;
  const double upi = printer_.unitsPerInch;
  format = text->textFormat;
  format.xInches = static_cast<float>(text->rect.left / upi);
  format.yInches = static_cast<float>(text->rect.top / upi);
  format.widthInches = static_cast<float>((text->rect.right - text->rect.left) / upi);
  format.heightInches = static_cast<float>((text->rect.bottom - text->rect.top) / upi);
  return true;
}

bool VellumEngine::SetTextFormat(const VTextFormat& format) {
  ObjectData* text = SelectedOfType(kVObjText);
  if (text == nullptr) return false;
  for (float v : {format.xInches, format.yInches, format.widthInches, format.heightInches,
                  format.lineSpacing, format.characterSpacingPoints, format.marginInches}) {
    if (!std::isfinite(v)) return false;
  }
  const int32_t left = InchesToUnits(format.xInches);
  const int32_t top = InchesToUnits(format.yInches);
  text->rect = Normalised({left, top, left + InchesToUnits(std::max(0.0f, format.widthInches)),
                           top + InchesToUnits(std::max(0.0f, format.heightInches))});
  text->textFormat = format;
  text->textFormat.borderThickness = std::clamp(format.borderThickness, 0, 1000);
  return true;
}

bool VellumEngine::GetTextAlignment(VTextAlignment& alignment) {
  const ObjectData* text = SelectedOfType(kVObjText);
  if (text == nullptr) return false;
  alignment = text->alignment;
  return true;
}

bool VellumEngine::SetTextAlignment(const VTextAlignment& alignment) {
  ObjectData* text = SelectedOfType(kVObjText);
  if (text == nullptr) return false;
  text->alignment = alignment;
  return true;
}

bool VellumEngine::GetBarcodeFormat(VBarcodeFormat& format) {
  const ObjectData* barcode = SelectedOfType(kVObjBarcode);
  if (barcode == nullptr) return false;
  format = barcode->barcode;
  return true;
}

bool VellumEngine::SetBarcodeFormat(const VBarcodeFormat& format) {
  ObjectData* barcode = SelectedOfType(kVObjBarcode);
  if (barcode == nullptr) return false;
  // The format is kept even when its data cannot be encoded: a sequenced or
  // prompted barcode gets its real value per printed label, and each printed
  // value is checked (and reported) when it is drawn.
  barcode->barcode = format;
  barcode->barcodeRejection.clear();
  return worker_->renderer().barcodes()->Validate(format, barcode->barcodeLayout, nullptr);
}

bool VellumEngine::GetBarcodeLayout(VBarcodeLayout& layout) {
  const ObjectData* barcode = SelectedOfType(kVObjBarcode);
  if (barcode == nullptr) return false;
  layout = barcode->barcodeLayout;
  return true;
}

bool VellumEngine::SetBarcodeLayout(const VBarcodeLayout& layout) {
  ObjectData* barcode = SelectedOfType(kVObjBarcode);
  if (barcode == nullptr) return false;
  barcode->barcodeLayout = layout;
  return true;
}

}  // namespace vellum
