#include "session/BarcodeTypes.h"

#include <array>
#include <cmath>
#include <optional>

#include "engine/VInterface.h"
#include "platform/Text.h"

namespace {

using C = BarcodeCheck;
using I = BarcodeId;

// One row per vocabulary row, in BarcodeId order (checked below).
constexpr std::array<BarcodeType, kBarcodeTypeCount> kTypes = {{
    {I::kCode39, C::kSetA, true, L"Invalid Data for BarCode 39", L"Code39"},
    {I::kCode49, C::kSetB, true, L"Invalid Data for BarCode 49", L"Code49"},
    {I::kCode16K, C::kSetB, true, L"Invalid Data for BarCode 16K", L"Code16K"},
    {I::kQRCode, C::kSetC, true, L"Invalid Data for QR Code", L"QRCode"},
    {I::kPostnet, C::kSetB, true, L"Invalid Data for Postnet", L"Postnet"},
    {I::kPostbar, C::kSetB, true, L"Invalid Data for Postbar", L"Postbar"},
    {I::kCode417, C::kSetB, true, L"Invalid Data for PDF417", L"PDF417"},
    {I::kMicro417, C::kSetB, true, L"Invalid Data for Micro417", L"Micro417"},
    {I::kCode93, C::kSetA, true, L"Invalid Data for BarCode 93", L"Code93"},
    {I::kUCC128, C::kSetA, true, L"Invalid Data for BarCode UCC128", L"UCC128"},
    {I::kHIBC, C::kSetA, true, L"Invalid Data for BarCode HIBC", L"HIBC"},
    {I::kCodeMSI, C::kSetA, true, L"Invalid Data for BarCode MSI", L"MSI"},
    {I::kCodabar, C::kSetA, true, L"Invalid Data for Codabar", L"Codabar"},
    {I::kUPCA, C::kDigits, true, L"Invalid Data for Barcode UPCA", L"UPCA"},
    {I::kUPCE2, C::kDigits, true, L"Invalid Data for Barcode UPCE2", L"UPCE2"},
    {I::kUPCE5, C::kDigits, true, L"Invalid Data for Barcode UPCE5", L"UPCE5"},
    {I::kEAN13, C::kDigits, false, L"Invalid Data for Barcode EAN13", L"EAN13"},
    {I::kEAN8, C::kDigits, false, L"Invalid Data for Barcode EAN8", L"EAN8"},
    {I::kInterleaved2Of5, C::kDigits, true, L"Invalid Data for Barcode Interleaved 2 of 5",
     L"Interleaved 2 of 5"},
    {I::kCode128, C::kSetA, true, L"Invalid Data for Barcode Code 128", L"Code 128"},
    {I::kAztec, C::kSetA, true, L"Invalid Data for Aztec", L"Aztec"},
    {I::kDatamatrix, C::kSetA, true, L"Invalid Data for Datamatrix", L"Datamatrix"},
    {I::kMaxicode, C::kNone, true, L"", L"Maxicode"},
}};

constexpr bool FollowsTheVocabulary() {
  for (size_t i = 0; i < kTypes.size(); ++i) {
    if (static_cast<size_t>(kTypes[i].id) != i) return false;
  }
  return true;
}
static_assert(FollowsTheVocabulary(), "kTypes must hold one row per BarcodeId, in its order");

constexpr std::wstring_view kSetA = L"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-.$/+% ";
constexpr std::wstring_view kSetB = L"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-.$/+% !'";
constexpr std::wstring_view kSetC = L"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-.$/+%: !'";
constexpr std::wstring_view kDigits = L"0123456789";

std::wstring LengthMessage(const BarcodeType& type, bool tooShort) {
  std::wstring message = L"Invalid length for Barcode " + std::wstring(type.lengthName) + L", ";
  const std::wstring length = platform::IntToWide(type.FixedLength());
  if (tooShort) return message + L"less than " + length + L" Characters, will be padded with 0";
  return message + L"Longer then " + length + L" characters, will be truncated";
}

}  // namespace

std::span<const BarcodeType> BarcodeTypes() { return kTypes; }

const BarcodeType& GetBarcodeType(BarcodeId id) { return kTypes[static_cast<size_t>(id)]; }

const BarcodeType* FindBarcodeType(std::wstring_view name) {
  const std::optional<BarcodeId> id = FindBarcodeId(name);
  return id ? &GetBarcodeType(*id) : nullptr;
}

std::wstring_view BarcodeCharacterSet(BarcodeCheck check) {
  switch (check) {
    case BarcodeCheck::kSetA:
      return kSetA;
    case BarcodeCheck::kSetB:
      return kSetB;
    case BarcodeCheck::kSetC:
      return kSetC;
    case BarcodeCheck::kDigits:
      return kDigits;
    case BarcodeCheck::kNone:
      break;
  }
  return {};
}

bool ValidateBarCode(std::wstring_view data, std::wstring_view characterSet) {
  for (wchar_t c : data) {
    if (characterSet.find(platform::ToUpperChar(c)) == std::wstring_view::npos) return false;
  }
  return true;
}

BarcodeDataCheck CheckBarcodeData(const BarcodeType& type, std::wstring& data) {
  BarcodeDataCheck result;
  const size_t length = static_cast<size_t>(type.FixedLength());
  if (length > 0 && data.size() < length) {
    data.insert(0, length - data.size(), L'0');
    result.lengthMessage = LengthMessage(type, true);
  } else if (length > 0 && data.size() > length) {
    data.resize(length);
    result.lengthMessage = LengthMessage(type, false);
  }
  if (type.check != BarcodeCheck::kNone) {
    result.valid = ValidateBarCode(data, BarcodeCharacterSet(type.check));
  }
  return result;
}

int32_t RoundBarcodeDensity(std::wstring_view density) {
  // Clamp before truncating: a number beyond 32 bits must not be undefined.
  const double value = std::trunc(platform::LeadingNumber(density));
  const double clamped = std::fmax(-1e9, std::fmin(1e9, value));
  const int64_t n = static_cast<int64_t>(clamped);
  return static_cast<int32_t>((n + 5) / 10 * 10);
}

int32_t BarcodeDensityMils(int32_t roundedDensity) {
  switch (roundedDensity) {
    case 10:
    case 30:
    case 40:
    case 50:
    case 60:
    case 70:
    case 80:
      return roundedDensity;
    default:
      return 20;
  }
}

float BarcodeRatio(std::wstring_view ratio) {
  if (ratio == L"2.0" || ratio == L"2:1" || ratio == L"2") return 2.0f;
  if (ratio == L"2.5" || ratio == L"2.5:1") return 2.5f;
  return 3.0f;
}

int32_t HumanReadableCode(bool shown, bool onTop) {
  if (!shown) return kVHumanNone;
  return onTop ? kVHumanAbove : kVHumanBelow;
}
