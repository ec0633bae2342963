// Barcode records: the letter picks the symbology and whether the
// human-readable line prints; the factors give ratio and density.

#include "parsers/dpl/DPLParser.h"
#include "platform/Text.h"

namespace {

using record::BarcodeParam;

// One barcode letter. The upper-case letter prints the human-readable line,
// the lower-case one hides it.
struct BarcodeLetter {
  wchar_t letter;         // upper case
  BarcodeId type;         // the session's barcode type
  bool hasLowerCase;      // "w" is no barcode
  bool neverReadable;     // the symbology has no human-readable line
  const wchar_t* notice;  // logged when the upper-case letter asks for one anyway
};

using I = BarcodeId;

constexpr BarcodeLetter kBarcodeLetters[] = {
    {L'A', I::kCode39, true, false, nullptr},
    {L'B', I::kUPCA, true, false, nullptr},
    {L'C', I::kUPCA, true, false, nullptr},
    {L'D', I::kInterleaved2Of5, true, false, nullptr},
    {L'E', I::kCode128, true, false, nullptr},
    {L'F', I::kEAN13, true, false, nullptr},
    {L'G', I::kEAN8, true, false, nullptr},
    {L'H', I::kHIBC, true, false, nullptr},
    {L'I', I::kCodabar, true, false, nullptr},
    {L'J', I::kInterleaved2Of5, true, false, nullptr},
    {L'K', I::kCodeMSI, true, false, nullptr},
    {L'O', I::kCode93, true, false, nullptr},
    {L'P', I::kPostnet, true, true, L"Postnet does not support Human Readabel Font."},
    {L'Q', I::kUCC128, true, false, nullptr},
    {L'U', I::kMaxicode, true, true, L"MAXICODE does not support Human Readabel Font."},
    {L'W', I::kDatamatrix, false, true, nullptr},
    {L'Z', I::kCode417, true, true, L"PDF-417 does not support Human Readabel Font."},
};

bool IsLower(wchar_t c) { return c >= L'a' && c <= L'z'; }

const BarcodeLetter* FindBarcodeLetter(wchar_t kind) {
  const bool lower = IsLower(kind);
  const wchar_t upper = lower ? static_cast<wchar_t>(kind - L'a' + L'A') : kind;
  for (const BarcodeLetter& row : kBarcodeLetters) {
    if (row.letter == upper) return (!lower || row.hasLowerCase) ? &row : nullptr;
  }
  return nullptr;
}

const wchar_t* Flag(bool value) { return value ? L"T" : L"F"; }

// Retail data of no more than the type's digits lacks its check digit and
// asks for one.
void CheckDigitWhenMissing(BarcodeId type, TPLData& d) {
  const size_t digits = static_cast<size_t>(GetBarcodeVocabularyRow(type).digits);
  d.checkCharacter = Flag(d.objectData.size() <= digits);
}

// A leading subset letter chooses nothing here: the session picks the subsets.
void DropCode128Subset(TPLData& d) {
  const wchar_t first = d.objectData.empty() ? L'\0' : d.objectData.front();
  if (first == L'A' || first == L'B' || first == L'C') d.objectData.erase(0, 1);
  d.checkCharacter = L"F";
}

// The last character selects the check: "+" for one.
void MsiCheckFromLastCharacter(TPLData& d) {
  const bool plus = !d.objectData.empty() && d.objectData.back() == L'+';
  if (!d.objectData.empty()) d.objectData.pop_back();
  d.checkCharacter = Flag(plus);
}

}  // namespace

bool DPLParser::isBarcode(const dpl::ObjectHeader& header) {
  data_->humanReadableLocation = L"BOTTOM";
  data_->humanReadable = L"T";
  const BarcodeLetter* letter = FindBarcodeLetter(header.kind);
  if (letter == nullptr) return false;
  const bool lower = IsLower(header.kind);
  data_->objectType = BarcodeName(letter->type);
  if (lower || letter->neverReadable) data_->humanReadable = L"F";
  if (!lower && letter->notice != nullptr) Log(letter->notice);
  data_->ratio = ParseRatio(header);
  data_->density = NarrowBarDensity(header);
  data_->height = header.size == L"000" ? L"30" : std::wstring(header.size);
  data_->positionY = header.row;
  data_->positionX = header.column;
  data_->objectData = header.rest;
  ConfigureCheckSum(letter->type, letter->letter == L'J');
  return true;
}

// The narrow-bar character gives the ratio, "0" counting as 2.
std::wstring DPLParser::ParseRatio(const dpl::ObjectHeader& header) const {
  const std::wstring_view narrow = header.narrow == L"0" ? L"2" : header.narrow;
  return std::wstring(narrow) + L":1";
}

// The narrow bar is given in dots, the session reads the density in
// thousandths of an inch, as for ZPL's "^BY". "0" (no width) leaves the
// session's default.
std::wstring DPLParser::NarrowBarDensity(const dpl::ObjectHeader& header) const {
  const int64_t dots = dpl::StartsWithDigits(header.narrow, 1) ? dpl::FieldValue(header.narrow) : 0;
  if (dots <= 0) return L"0";
  const int64_t dpi = GetParserDPI();
  return platform::IntToWide((dots * 1000 + dpi / 2) / dpi);
}

// How each symbology takes its check character from the data; the others
// keep the one they have.
void DPLParser::ConfigureCheckSum(BarcodeId type, bool check) {
  TPLData& d = *data_;
  switch (type) {
    case I::kCode39:
    case I::kHIBC:
    case I::kCodabar:
    case I::kCode93:
    case I::kUCC128:
    case I::kMaxicode:
      d.checkCharacter = L"F";
      break;
    case I::kUPCA:
    case I::kEAN13:
    case I::kEAN8:
      CheckDigitWhenMissing(type, d);
      break;
    case I::kInterleaved2Of5:
      d.checkCharacter = Flag(check);
      break;
    case I::kCode128:
      DropCode128Subset(d);
      break;
    case I::kCodeMSI:
      MsiCheckFromLastCharacter(d);
      break;
    case I::kPostnet:
      d.checkCharacter = L"T";
      break;
    default:
      break;
  }
}

// Position and bar height are lengths like any other object's.
void DPLParser::GenerateBarcodeCommand() {
  const TPLData& d = *data_;
  record::RecordWriter barcode(BARCODE, BarcodeParam::kRequired);
  barcode.Set(BarcodeParam::kType, d.objectType)
      .Set(BarcodeParam::kData, d.objectData)
      .Set(BarcodeParam::kX, Dots(d.positionX))
      .Set(BarcodeParam::kY, Dots(d.positionY))
      .Set(BarcodeParam::kHeight, Dots(d.height))
      .Set(BarcodeParam::kRotation, d.rotation)
      .Set(BarcodeParam::kHumanReadable, d.humanReadable)
      .Set(BarcodeParam::kHumanReadableTop, d.humanReadableLocation)
      .Set(BarcodeParam::kDensity, d.density)
      .Set(BarcodeParam::kRatio, d.ratio)
      .Set(BarcodeParam::kCheckCharacter, d.checkCharacter);
  Add(barcode);
  data_->ResetAll();
}
