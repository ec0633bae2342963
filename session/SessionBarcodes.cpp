// Barcode objects. Every type name runs through one builder driven by its row
// of the type table (session/BarcodeTypes.h). Parameters are read by the
// names of record::BarcodeParam.

#include <algorithm>
#include <climits>

#include "intake/Notifications.h"
#include "platform/Text.h"
#include "record/CommandRecord.h"
#include "session/SessionManager.h"
#include "session/ShapeGeometry.h"

namespace {

using P = record::BarcodeParam;

constexpr int32_t kBarcodeWidth = 3000;  // engine units; the engine fits the symbol

bool Flag(const std::wstring& value) { return value == L"T"; }

// Counts past a sequence's carry ZPL's symbol details; such a barcode is static.
int32_t SourceFromCount(size_t count) {
  if (count == P::kWithPrompt) return BarcodeObject::kPrompt;
  if (count == P::kWithSequence) return BarcodeObject::kSequence;
  return BarcodeObject::kStatic;
}

}  // namespace

// The parameter count, not the command kind, tells the data source.
bool CSessionManager::CreateBarCode(const Params& params, int32_t /*dataSource*/) {
  if (params.empty()) return false;
  const std::wstring& name = params[P::kType];
  const BarcodeType* type = FindBarcodeType(name);
  if (!type) {
    log_->Write(L"Invalid Barcode Type: " + name);
    return false;
  }
  BuildBarCode(*type, params);
  return true;
}

bool CSessionManager::CreateBarCodeCommand(const Params& params) {
  return CreateBarCode(params, DATA_SOURCE_STATIC);
}

void CSessionManager::BuildBarCode(const BarcodeType& type, const Params& params) {
  if (!engine_ || params.size() < P::kRequired) return;
  const EngineScale scale = GetEngineScale();
  BarcodeObject barcode;
  barcode.data = params[P::kData];
  barcode.details = BarcodeDetails(params);
  // Under the symbology's own rule the encoder is the check: it reports data
  // it cannot encode when the label is drawn.
  if (!barcode.details.symbologyRule && !CheckDataOf(type, barcode.data)) {
    log_->Write(std::wstring(type.invalidDataMessage));
    return;
  }
  barcode.typeName = type.Name();
  barcode.symbology = type.Symbology();
  barcode.height = scale.ToUnits(params, P::kHeight);
  const int32_t x = scale.ToUnits(params, P::kX), y = scale.ToUnits(params, P::kY);
  barcode.rect = {x, y, AddSaturated(x, kBarcodeWidth), AddSaturated(y, barcode.height)};
  barcode.unitsPerInch = scale.unitsPerInch;
  barcode.humanReadable = Flag(params[P::kHumanReadable]);
  barcode.humanReadableOnTop = params[P::kHumanReadableTop] == L"TOP";
  barcode.checkCharacter = type.checkCharacterAllowed && Flag(params[P::kCheckCharacter]);
  barcode.rotation = ConvertToInt(params[P::kRotation]) % 360;
  barcode.source = SourceFromCount(params.size());
  if (barcode.source == BarcodeObject::kPrompt) barcode.prompt = params[P::kPrompt];
  if (barcode.source == BarcodeObject::kSequence) barcode.sequence = BarcodeSequence(params);
  barcode.density = params[P::kDensity];
  barcode.ratio = params[P::kRatio];
  CreateSpecificBarCode(barcode);
}

SerialSequence CSessionManager::BarcodeSequence(const Params& params) {
  return {params[P::kSequenceStart], ConvertToInt(params[P::kIncrement]),
          ConvertToInt(params[P::kLabelCount]), params[P::kPrefix], params[P::kPostfix]};
}

SymbolDetails CSessionManager::BarcodeDetails(const Params& params) {
  SymbolDetails d;
  if (params.size() <= P::kWithSequence) return d;
  auto at = [&params](size_t i) -> const std::wstring& { return platform::ItemOrEmpty(params, i); };
  auto number = [&at](size_t i, int32_t fallback) {
    return at(i).empty() ? fallback : ConvertToInt(at(i));
  };
  d.moduleDots = std::clamp(number(P::kModuleDots, 0), 0, 1000);
  d.symbologyRule = at(P::kSymbolRule) == L"SYMBOLOGY";
  d.errorLevel = std::clamp(number(P::kErrorLevel, -1), -1, 99);
  d.symbolSize = std::clamp(number(P::kSymbolSize, 0), 0, 99);
  d.rows = std::clamp(number(P::kRows, 0), 0, 99);
  d.rowDots = std::clamp(number(P::kRowDots, 0), 0, 10000);
  d.mode = at(P::kSymbolMode);
  d.primary = at(P::kPrimary);
  d.anchorBottom = at(P::kAnchor) == L"BOTTOM";
  return d;
}

bool CSessionManager::CheckDataOf(const BarcodeType& type, std::wstring& data) {
  const BarcodeDataCheck check = CheckBarcodeData(type, data);
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
    engine_->SetPrompt(barcode.prompt, barcode.data, 0, L"Message", 1, L"", L"");
  }
  SetBarcodeSymbol(object, barcode);
  engine_->RotateSelectedObject(barcode.rotation);
  if (barcode.source == BarcodeObject::kSequence) SetUpSequence(barcode.sequence);
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
  const SymbolDetails& d = barcode.details;
  format.moduleDots = d.moduleDots;
  format.symbolRule = d.symbologyRule ? 1 : 0;
  if (d.symbologyRule) {
    const double ratio = platform::LeadingNumber(barcode.ratio);
    format.ratio = static_cast<float>(ratio >= 2.0 && ratio <= 3.0 ? ratio : 3.0);
  }
  format.errorLevel = d.errorLevel;
  format.symbolSize = d.symbolSize;
  format.rows = d.rows;
  format.rowDots = d.rowDots;
  format.symbolMode = d.mode;
  format.primary = d.primary;
  format.anchorBottom = d.anchorBottom ? 1 : 0;
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

// Texts and barcodes number their labels alike.
void CSessionManager::SetUpSequence(const SerialSequence& sequence) {
  engine_->SetDataSource(kVSourceSequence);
  engine_->SetSequence(sequence.start, sequence.labelCount, sequence.increment, 1, sequence.prefix,
                       sequence.postfix, L"");
  variableDataKind_ = kVVariableSequence;
  sequencedMark_ = 1;
  largestLabelCount_ = std::max(largestLabelCount_, sequence.labelCount);
}
