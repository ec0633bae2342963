// Barcode objects. Every type name runs through one builder driven by its row
// of the type table (session/BarcodeTypes.h); the named builders and
// validators in the header are that builder under the names scripts know.

#include <algorithm>
#include <climits>

#include "intake/Notifications.h"
#include "platform/Text.h"
#include "session/SessionManager.h"
#include "session/ShapeGeometry.h"

namespace {

// Positions once the type name is gone.
enum BarcodeParam : size_t {
  kData = 0,
  kX = 1,
  kY = 2,
  kHeight = 3,
  kRotation = 4,
  kHumanReadable = 5,
  kHumanReadableTop = 6,
  kDensity = 7,
  kRatio = 8,
  kCheckCharacter = 9,
  kExtraTexts = 10,
};

constexpr size_t kBarcodeParams = 10;    // type name not counted
constexpr size_t kPromptParams = 11;     // plus the prompt text
constexpr size_t kSequenceParams = 15;   // plus start, increment, count, prefix, postfix
constexpr int32_t kBarcodeWidth = 3000;  // engine units; the engine fits the symbol

bool Flag(const std::wstring& value) { return value == L"T"; }

int32_t SourceFromCount(size_t count) {
  if (count == kPromptParams) return BarcodeObject::kPrompt;
  if (count == kSequenceParams) return BarcodeObject::kSequence;
  return BarcodeObject::kStatic;
}

}  // namespace

bool CSessionManager::CreateBarCode(Params& params, int32_t /*dataSource*/) {
  if (params.empty()) return false;
  const std::wstring name = params.front();
  params.erase(params.begin());
  const BarcodeType* type = FindBarcodeType(name);
  if (!type) {
    log_->Write(L"Invalid Barcode Type: " + name);
    return false;
  }
  BuildBarCode(type->id, params);
  return true;
}

bool CSessionManager::CreateBarCodeCommand(const Params& params) {
  // The parameter count, not the command kind, tells the data source.
  Params copy = params;
  return CreateBarCode(copy, DATA_SOURCE_STATIC);
}

void CSessionManager::BuildBarCode(BarcodeId id, Params& params) {
  if (!engine_ || params.size() < kBarcodeParams) return;
  const BarcodeType& type = GetBarcodeType(id);
  const int32_t dpi = EngineDpi();
  const int32_t units = EngineUnitsPerInch();
  if (!CheckDataOf(id, params[kData])) {
    log_->Write(std::wstring(type.invalidDataMessage));
    return;
  }
  auto toUnits = [&](size_t i) { return DotsToEngineUnits(ConvertToInt(params[i]), units, dpi); };

  BarcodeObject barcode;
  barcode.typeName = type.name;
  barcode.symbology = type.symbology;
  barcode.height = toUnits(kHeight);
  const int32_t x = toUnits(kX), y = toUnits(kY);
  barcode.rect = {x, y, AddSaturated(x, kBarcodeWidth), AddSaturated(y, barcode.height)};
  barcode.unitsPerInch = units;
  barcode.humanReadable = Flag(params[kHumanReadable]);
  barcode.humanReadableOnTop = params[kHumanReadableTop] == L"TOP";
  barcode.checkCharacter = type.checkCharacterAllowed && Flag(params[kCheckCharacter]);
  barcode.data = params[kData];
  barcode.rotation = ConvertToInt(params[kRotation]) % 360;
  barcode.source = SourceFromCount(params.size());
  if (barcode.source != BarcodeObject::kStatic) {
    barcode.extraTexts.assign(params.begin() + kExtraTexts, params.end());
  }
  barcode.density = params[kDensity];
  barcode.ratio = params[kRatio];
  CreateSpecificBarCode(barcode);
}

bool CSessionManager::ValidateBarCode(const std::wstring& data, const std::wstring& characterSet) {
  return ::ValidateBarCode(data, characterSet);
}

bool CSessionManager::CheckDataOf(BarcodeId id, std::wstring& data) {
  const BarcodeDataCheck check = CheckBarcodeData(GetBarcodeType(id), data);
  if (!check.lengthMessage.empty()) log_->Write(check.lengthMessage);
  return check.valid;
}

void CSessionManager::CreateSpecificBarCode(const BarcodeObject& barcode) {
  if (!engine_) return;
  VDrawObj* object =
      engine_->CreateNewObject(kVObjBarcode, barcode.rect, engine_->GetNextFreeObjectId());
  if (!object) {
    log_->Write(L"Unable to create barcode object: " + barcode.typeName);
    return;
  }
  engine_->SetSelectByObject(object);
  const bool prompt = barcode.source == BarcodeObject::kPrompt;
  if (prompt) {
    object->SetPrompted(1, 0, 0);
    const std::wstring promptText = barcode.extraTexts.empty() ? L"" : barcode.extraTexts[0];
    engine_->SetPrompt(promptText, barcode.data, 0, L"Message", 1, L"", L"");
  }
  SetBarcodeSymbol(object, barcode);
  engine_->RotateSelectedObject(barcode.rotation);
  if (barcode.source == BarcodeObject::kSequence) SetBarcodeSequence(barcode.extraTexts);
  if (prompt) Notify(NOTIFY_PROMPT_CREATED, 0);
}

void CSessionManager::SetBarcodeSymbol(VDrawObj* object, const BarcodeObject& barcode) {
  VBarcodeFormat format;
  engine_->GetBarcodeFormat(format);
  VBarcodeLayout layout;
  layout.quietZones = 1;  // kept when the engine does not report its own
  engine_->GetBarcodeLayout(layout);

  const float heightInches =
      static_cast<float>(barcode.height) / static_cast<float>(std::max(1, barcode.unitsPerInch));
  const int32_t humanReadable =
      HumanReadableCode(barcode.humanReadable, barcode.humanReadableOnTop);
  const int32_t density = BarcodeDensityMils(RoundBarcodeDensity(barcode.density));

  format.typeName = barcode.typeName;
  format.heightInches = heightInches;
  format.densityMils = density;
  format.ratio = BarcodeRatio(barcode.ratio);
  format.humanReadable = humanReadable;
  format.checkCharacter = barcode.checkCharacter ? 1 : 0;
  format.quietZones = 0;
  format.barWidthReduction = 0;
  format.data = barcode.data;
  engine_->SetBarcodeFormat(format);

  const std::vector<VDrawObj*> selected = engine_->GetSelectedObjects();
  engine_->SetObjectAutoSize(selected.empty() ? object : selected.front(), format.autoSize);

  layout.densityIndex = (density - 10) / 10;
  layout.humanReadableFont = 2;
  layout.symbology = barcode.symbology;
  layout.humanReadable = humanReadable;
  layout.invert = 0;
  layout.mirror = 0;
  layout.checkCharacter = format.checkCharacter;
  layout.heightInches = heightInches;
  engine_->SetBarcodeLayout(layout);
}

void CSessionManager::SetBarcodeSequence(const Params& texts) {
  // texts: start value, increment, number of labels, prefix, postfix.
  if (texts.size() < 5) return;
  const int32_t count = ConvertToInt(texts[2]);
  engine_->SetDataSource(kVSourceSequence);
  engine_->SetSequence(texts[0], count, ConvertToInt(texts[1]), 1, texts[3], texts[4], L"");
  variableDataKind_ = 1;
  sequencedMark_ = 1;
  largestLabelCount_ = std::max(largestLabelCount_, count);
}
