#include "session/BarcodeTypes.h"

#include <array>
#include <cmath>

#include "engine/VInterface.h"
#include "platform/Text.h"

namespace {

using C = BarcodeCheck;
using I = BarcodeId;

// One row per accepted type name, in the order names are tried.
constexpr std::array<BarcodeType, 23> kTypes = {{
    {I::kCode39, L"Code 39", C::kSetA, 0, kVSymCode39, true, L"Invalid Data for BarCode 39",
     L"Code39"},
    {I::kCode49, L"Code 49", C::kSetB, 0, kVSymCode49, true, L"Invalid Data for BarCode 49",
     L"Code49"},
    {I::kCode16K, L"Code 16K", C::kSetB, 0, kVSymCode16K, true, L"Invalid Data for BarCode 16K",
     L"Code16K"},
    {I::kQRCode, L"QRCode", C::kSetC, 0, kVSymQrCode, true, L"Invalid Data for QR Code", L"QRCode"},
    {I::kPostnet, L"Postnet", C::kSetB, 0, kVSymPostnet, true, L"Invalid Data for Postnet",
     L"Postnet"},
    {I::kPostbar, L"Postbar", C::kSetB, 0, kVSymPostbar, true, L"Invalid Data for Postbar",
     L"Postbar"},
    {I::kCode417, L"PDF 417", C::kSetB, 0, kVSymPdf417, true, L"Invalid Data for PDF417",
     L"PDF417"},
    {I::kMicro417, L"Micro 417", C::kSetB, 0, kVSymPdf417, true, L"Invalid Data for Micro417",
     L"Micro417"},
    {I::kCode93, L"Code 93", C::kSetA, 0, kVSymCode93, true, L"Invalid Data for BarCode 93",
     L"Code93"},
    {I::kUCC128, L"UCC128", C::kSetA, 0, kVSymUcc128, true, L"Invalid Data for BarCode UCC128",
     L"UCC128"},
    {I::kHIBC, L"HIBC", C::kSetA, 0, kVSymHibc, true, L"Invalid Data for BarCode HIBC", L"HIBC"},
    {I::kCodeMSI, L"MSI Plessey", C::kSetA, 0, kVSymMsiPlessey, true,
     L"Invalid Data for BarCode MSI", L"MSI"},
    {I::kCodabar, L"Codabar", C::kSetA, 0, kVSymCodabar, true, L"Invalid Data for Codabar",
     L"Codabar"},
    {I::kUPCA, L"UPCA", C::kDigits, 11, kVSymUpcA, true, L"Invalid Data for Barcode UPCA", L"UPCA"},
    {I::kUPCE2, L"UPCE2", C::kDigits, 13, kVSymUpcAddOn, true, L"Invalid Data for Barcode UPCE2",
     L"UPCE2"},
    {I::kUPCE5, L"UPCE5", C::kDigits, 16, kVSymUpcAddOn, true, L"Invalid Data for Barcode UPCE5",
     L"UPCE5"},
    {I::kEAN13, L"EAN/JAN-13", C::kDigits, 12, kVSymEan13, false, L"Invalid Data for Barcode EAN13",
     L"EAN13"},
    {I::kEAN8, L"EAN/JAN-8", C::kDigits, 7, kVSymEan8, false, L"Invalid Data for Barcode EAN8",
     L"EAN8"},
    {I::kInterleaved2Of5, L"Interleaved 2-of-5", C::kDigits, 0, kVSymInterleaved2Of5, true,
     L"Invalid Data for Barcode Interleaved 2 of 5", L"Interleaved 2 of 5"},
    {I::kCode128, L"Code 128 Auto", C::kSetA, 0, kVSymCode128, true,
     L"Invalid Data for Barcode Code 128", L"Code 128"},
    {I::kAztec, L"Aztec", C::kSetA, 0, kVSymAztec, true, L"Invalid Data for Aztec", L"Aztec"},
    {I::kDatamatrix, L"Datamatrix", C::kSetA, 0, kVSymDatamatrix, true,
     L"Invalid Data for Datamatrix", L"Datamatrix"},
    {I::kMaxicode, L"Maxicode", C::kNone, 0, kVSymMaxicode, true, L"", L"Maxicode"},
}};

constexpr std::wstring_view kSetA = L"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-.$/+% ";
constexpr std::wstring_view kSetB = L"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-.$/+% !'";
constexpr std::wstring_view kSetC = L"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-.$/+%: !'";
constexpr std::wstring_view kDigits = L"0123456789";

std::wstring LengthMessage(const BarcodeType& type, bool tooShort) {
  std::wstring message = L"Invalid length for Barcode " + std::wstring(type.lengthName) + L", ";
  const std::wstring length = platform::IntToWide(type.fixedLength);
  if (tooShort) return message + L"less than " + length + L" Characters, will be padded with 0";
  return message + L"Longer then " + length + L" characters, will be truncated";
}

}  // namespace

std::span<const BarcodeType> BarcodeTypes() { return kTypes; }

const BarcodeType& GetBarcodeType(BarcodeId id) { return kTypes[static_cast<size_t>(id)]; }

const BarcodeType* FindBarcodeType(std::wstring_view name) {
  for (const BarcodeType& type : kTypes) {
    if (platform::EqualsIgnoreCase(type.name, name)) return &type;
  }
  return nullptr;
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
  const size_t length = static_cast<size_t>(type.fixedLength);
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
