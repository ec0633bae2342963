// The barcode line of CJPLParser: "B[:name;]x,y,rotation,type[,height,density,
// ratio];data". The type word picks the symbology, whether the human-readable
// text shows (an upper-case word shows it) and, after a "+", the check
// character. Density and ratio stay in the keyword table for later lines.

#include <algorithm>
#include <optional>
#include <string_view>

#include "engine/BarcodeVocabulary.h"
#include "parsers/jpl/JPLParser.h"
#include "platform/Text.h"
#include "record/CommandRecord.h"

namespace {

using record::BarcodeParam;
using record::RecordWriter;

constexpr size_t kBarcodeFields = 6;
constexpr BarcodeId kDefaultType = BarcodeId::kCode39;

// A key of the type word and the type it selects; none for symbologies this
// printer lacks, which print as the default type.
struct BarcodeKey {
  std::wstring_view key;
  std::optional<BarcodeId> type;
  bool checkCharacter = false;  // the symbology always carries one
};

using I = BarcodeId;

// Tried in this order; the first key found in the type word decides. The
// GS1-128 spellings print as UCC128 and MaxiCode as itself, rather than as
// Code 39 of the same data.
constexpr BarcodeKey kBarcodeKeys[] = {
    {L"2OF5INTERLEAVED", I::kInterleaved2Of5},
    {L"ADDON2", std::nullopt},
    {L"AZTEC", I::kAztec},
    {L"CODABAR", I::kCodabar},
    {L"CODABLOCKF", std::nullopt},
    {L"CODE39", I::kCode39},
    {L"CODE93", I::kCode93},
    {L"CODE128", I::kCode128},
    {L"EANDATAMATRIX", I::kDatamatrix},
    {L"DATAMATRIX", I::kDatamatrix},
    {L"DBP", std::nullopt},
    {L"EAN8", I::kEAN8},
    {L"JAN8", I::kEAN8},
    {L"EAN13", I::kEAN13},
    {L"EAN128", I::kUCC128, true},
    {L"UCC128", I::kUCC128, true},
    {L"GS1128", I::kUCC128, true},
    {L"EAN18", std::nullopt},
    {L"FIM", std::nullopt},
    {L"HIBC", I::kHIBC},
    {L"MAXICODE", I::kMaxicode},
    {L"MICRO", I::kMicro417},
    {L"MSI", I::kCodeMSI},
    {L"PDF417", I::kCode417},
    {L"PLESSEY", I::kCodeMSI},
    {L"POSTNET", I::kPostnet},
    {L"QRCODE", I::kQRCode},
    {L"RSS14", std::nullopt},
    {L"RSSLIMITED", std::nullopt},
    {L"RSSEXPANDED", std::nullopt},
    {L"UPCA", I::kUPCA},
    {L"UPCE0", I::kUPCA},
    {L"UPCE", I::kUPCA},
};

const BarcodeKey* FindKey(const std::wstring& typeWord) {
  for (const BarcodeKey& key : kBarcodeKeys) {
    if (typeWord.find(key.key) != std::wstring::npos) return &key;
  }
  return nullptr;
}

bool HasUpperCaseLetter(const std::wstring& word) {
  return std::any_of(word.begin(), word.end(), [](wchar_t c) { return c >= L'A' && c <= L'Z'; });
}

// Upper case, without blanks and hyphens: "upc-e 0" becomes "UPCE0".
std::wstring Normalised(const std::wstring& word) {
  std::wstring out;
  for (wchar_t c : platform::ToUpper(word)) {
    if (c != L' ' && c != L'-') out.push_back(c);
  }
  return out;
}

bool Contains(const std::wstring& text, std::wstring_view part) {
  return text.find(part) != std::wstring::npos;
}

}  // namespace

void CJPLParser::Barcode(const Fields& fields) {
  if (fields.size() < kBarcodeFields) return;
  const size_t s = ValueStart(fields);
  const size_t dataIndex = fields.size() - 1;
  // Value fields end before the data; a field the line lacks is left alone.
  auto value = [&](size_t i) -> const std::wstring* {
    return i < dataIndex ? &fields[i] : nullptr;
  };
  auto mils = [this](std::wstring v) {
    ConvertUnitsToMils(v);
    return v;
  };
  std::wstring typeWord = fields[s + 3];

  std::wstring height = L"10";  // what the two-dimensional codes are given
  if (Contains(typeWord, L"AZTEC") || Contains(typeWord, L"DATAMATRIX")) {
    if (const std::wstring* density = value(s + 4)) data_->density = mils(*density);
  } else if (!Contains(typeWord, L"QRCODE")) {
    height = value(s + 4) ? *value(s + 4) : L"";
    if (const std::wstring* density = value(s + 5)) data_->density = mils(*density);
    if (const std::wstring* ratio = value(s + 6)) data_->ratio = *ratio;
  }

  // The check character belongs to this line's type word alone.
  data_->checkCharacter = L"F";
  const size_t plus = typeWord.find(L'+', 1);
  if (plus != std::wstring::npos) {
    if (typeWord.find(L"MOD", 1) != std::wstring::npos) data_->checkCharacter = L"T";
    typeWord.resize(plus);
  }
  const bool humanReadable = HasUpperCaseLetter(typeWord);
  const BarcodeKey* key = FindKey(Normalised(typeWord));
  const bool known = key != nullptr && key->type.has_value();
  const std::wstring typeName(BarcodeName(known ? *key->type : kDefaultType));
  if (known && key->checkCharacter) data_->checkCharacter = L"T";

  // A missing or non-positive height leaves the bar height to the engine.
  height = Dots(height);
  if (platform::LeadingNumber(height) <= 0) height = L"0";
  data_->objectType = typeName;
  data_->objectData = fields[dataIndex];
  AppendObject(RecordWriter(BARCODE, BarcodeParam::kRequired)
                   .Set(BarcodeParam::kType, typeName)
                   .Set(BarcodeParam::kData, fields[dataIndex])
                   .Set(BarcodeParam::kX, Dots(fields[s]))
                   .Set(BarcodeParam::kY, Dots(fields[s + 1]))
                   .Set(BarcodeParam::kHeight, height)
                   .Set(BarcodeParam::kRotation, fields[s + 2])
                   .SetFlag(BarcodeParam::kHumanReadable, humanReadable)
                   .Set(BarcodeParam::kHumanReadableTop, L"BOTTOM")
                   .Set(BarcodeParam::kDensity, data_->density)
                   .Set(BarcodeParam::kRatio, data_->ratio)
                   .SetFlag(BarcodeParam::kCheckCharacter, data_->checkCharacter == L"T")
                   .Take());
}
