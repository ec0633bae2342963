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
  const wchar_t* type;    // the session's barcode type name
  bool hasLowerCase;      // "w" is no barcode
  bool neverReadable;     // the symbology has no human-readable line
  const wchar_t* notice;  // logged when the upper-case letter asks for one anyway
};

constexpr BarcodeLetter kBarcodeLetters[] = {
    {L'A', L"Code 39", true, false, nullptr},
    {L'B', L"UPCA", true, false, nullptr},
    {L'C', L"UPCA", true, false, nullptr},
    {L'D', L"Interleaved 2-of-5", true, false, nullptr},
    {L'E', L"Code 128 Auto", true, false, nullptr},
    {L'F', L"EAN/JAN-13", true, false, nullptr},
    {L'G', L"EAN/JAN-8", true, false, nullptr},
    {L'H', L"HIBC", true, false, nullptr},
    {L'I', L"Codabar", true, false, nullptr},
    {L'J', L"Interleaved 2-of-5", true, false, nullptr},
    {L'K', L"MSI Plessey", true, false, nullptr},
    {L'O', L"Code 93", true, false, nullptr},
    {L'P', L"Postnet", true, true, L"Postnet does not support Human Readabel Font."},
    {L'Q', L"UCC128", true, false, nullptr},
    {L'U', L"Maxicode", true, true, L"MAXICODE does not support Human Readabel Font."},
    {L'W', L"Datamatrix", false, true, nullptr},
    {L'Z', L"PDF 417", true, true, L"PDF-417 does not support Human Readabel Font."},
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

// How each symbology takes its check character from the data.
struct CheckRule {
  std::wstring_view type;
  void (*apply)(TPLData& d, bool check);
};

const wchar_t* Flag(bool value) { return value ? L"T" : L"F"; }

constexpr CheckRule kCheckRules[] = {
    {L"Code 39", [](TPLData& d, bool) { d.checkCharacter = L"F"; }},
    {L"HIBC", [](TPLData& d, bool) { d.checkCharacter = L"F"; }},
    {L"Codabar", [](TPLData& d, bool) { d.checkCharacter = L"F"; }},
    {L"Code 93", [](TPLData& d, bool) { d.checkCharacter = L"F"; }},
    {L"UCC128", [](TPLData& d, bool) { d.checkCharacter = L"F"; }},
    {L"Maxicode", [](TPLData& d, bool) { d.checkCharacter = L"F"; }},
    // Data without its check digit asks for one.
    {L"UPCA", [](TPLData& d, bool) { d.checkCharacter = Flag(d.objectData.size() < 12); }},
    {L"EAN/JAN-13", [](TPLData& d, bool) { d.checkCharacter = Flag(d.objectData.size() < 13); }},
    {L"EAN/JAN-8", [](TPLData& d, bool) { d.checkCharacter = Flag(d.objectData.size() < 8); }},
    {L"Interleaved 2-of-5", [](TPLData& d, bool check) { d.checkCharacter = Flag(check); }},
    // A leading subset letter chooses nothing here: the session picks the subsets.
    {L"Code 128 Auto",
     [](TPLData& d, bool) {
       const wchar_t first = d.objectData.empty() ? L'\0' : d.objectData.front();
       if (first == L'A' || first == L'B' || first == L'C') d.objectData.erase(0, 1);
       d.checkCharacter = L"F";
     }},
    // The last character selects the check: "+" for one.
    {L"MSI Plessey",
     [](TPLData& d, bool) {
       const bool plus = !d.objectData.empty() && d.objectData.back() == L'+';
       if (!d.objectData.empty()) d.objectData.pop_back();
       d.checkCharacter = Flag(plus);
     }},
    {L"Postnet", [](TPLData& d, bool) { d.checkCharacter = L"T"; }},
};

}  // namespace

bool DPLParser::isBarcode(const dpl::ObjectHeader& header) {
  data_->humanReadableLocation = L"BOTTOM";
  data_->humanReadable = L"T";
  const BarcodeLetter* letter = FindBarcodeLetter(header.kind);
  if (letter == nullptr) return false;
  const bool lower = IsLower(header.kind);
  data_->objectType = letter->type;
  if (lower || letter->neverReadable) data_->humanReadable = L"F";
  if (!lower && letter->notice != nullptr) Log(letter->notice);
  data_->ratio = ParseRatio(header);
  data_->density = NarrowBarDensity(header);
  data_->height = header.size == L"000" ? L"30" : std::wstring(header.size);
  data_->positionY = header.row;
  data_->positionX = header.column;
  data_->objectData = header.rest;
  ConfigureCheckSum(letter->letter == L'J');
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

void DPLParser::ConfigureCheckSum(bool check) {
  for (const CheckRule& rule : kCheckRules) {
    if (rule.type == data_->objectType) {
      rule.apply(*data_, check);
      return;
    }
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
