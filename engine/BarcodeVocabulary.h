#pragma once
// The barcode vocabulary: the 23 barcode type names a BARCODE record may carry,
// one row each, with the drawing engine's symbology and the digit counts of the
// fixed-length retail types. Parsers name a type through the constants below,
// never through a literal; the session's type table (session/BarcodeTypes.h)
// and Vellum's symbology table (vellum/BarcodeSymbols.h) add their own columns
// to these rows, indexed by BarcodeId, and test that they agree with them.
// The names and their spelling are fixed by the printer's record contract.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "engine/VInterface.h"
#include "platform/Text.h"

// Index of a row; the order is the table's, which is also the order in which
// the session tries names.
enum class BarcodeId : int32_t {
  kCode39,
  kCode49,
  kCode16K,
  kQRCode,
  kPostnet,
  kPostbar,
  kCode417,
  kMicro417,
  kCode93,
  kUCC128,
  kHIBC,
  kCodeMSI,
  kCodabar,
  kUPCA,
  kUPCE2,
  kUPCE5,
  kEAN13,
  kEAN8,
  kInterleaved2Of5,
  kCode128,
  kAztec,
  kDatamatrix,
  kMaxicode,
};

inline constexpr size_t kBarcodeTypeCount = 23;

// The type names as records carry them.
namespace barcode_name {
inline constexpr std::wstring_view kCode39 = L"Code 39";
inline constexpr std::wstring_view kCode49 = L"Code 49";
inline constexpr std::wstring_view kCode16K = L"Code 16K";
inline constexpr std::wstring_view kQRCode = L"QRCode";
inline constexpr std::wstring_view kPostnet = L"Postnet";
inline constexpr std::wstring_view kPostbar = L"Postbar";
inline constexpr std::wstring_view kPdf417 = L"PDF 417";
inline constexpr std::wstring_view kMicro417 = L"Micro 417";
inline constexpr std::wstring_view kCode93 = L"Code 93";
inline constexpr std::wstring_view kUCC128 = L"UCC128";
inline constexpr std::wstring_view kHIBC = L"HIBC";
inline constexpr std::wstring_view kMsiPlessey = L"MSI Plessey";
inline constexpr std::wstring_view kCodabar = L"Codabar";
inline constexpr std::wstring_view kUPCA = L"UPCA";
inline constexpr std::wstring_view kUPCE2 = L"UPCE2";
inline constexpr std::wstring_view kUPCE5 = L"UPCE5";
inline constexpr std::wstring_view kEAN13 = L"EAN/JAN-13";
inline constexpr std::wstring_view kEAN8 = L"EAN/JAN-8";
inline constexpr std::wstring_view kInterleaved2Of5 = L"Interleaved 2-of-5";
inline constexpr std::wstring_view kCode128 = L"Code 128 Auto";
inline constexpr std::wstring_view kAztec = L"Aztec";
inline constexpr std::wstring_view kDatamatrix = L"Datamatrix";
inline constexpr std::wstring_view kMaxicode = L"Maxicode";
}  // namespace barcode_name

struct BarcodeVocabularyRow {
  BarcodeId id;
  std::wstring_view name;
  int32_t symbology;  // a VSymbology
  // Retail types: the digits of the number itself (no check digit, no
  // add-on) and of the add-on; 0 for every other type.
  int32_t digits;
  int32_t addOnDigits;

  // How many digits the data holds in all (number and add-on); 0 for types
  // whose data has no fixed length.
  constexpr int32_t DataDigits() const { return digits + addOnDigits; }
};

inline constexpr std::array<BarcodeVocabularyRow, kBarcodeTypeCount> kBarcodeVocabulary = {{
    {BarcodeId::kCode39, barcode_name::kCode39, kVSymCode39, 0, 0},
    {BarcodeId::kCode49, barcode_name::kCode49, kVSymCode49, 0, 0},
    {BarcodeId::kCode16K, barcode_name::kCode16K, kVSymCode16K, 0, 0},
    {BarcodeId::kQRCode, barcode_name::kQRCode, kVSymQrCode, 0, 0},
    {BarcodeId::kPostnet, barcode_name::kPostnet, kVSymPostnet, 0, 0},
    {BarcodeId::kPostbar, barcode_name::kPostbar, kVSymPostbar, 0, 0},
    {BarcodeId::kCode417, barcode_name::kPdf417, kVSymPdf417, 0, 0},
    {BarcodeId::kMicro417, barcode_name::kMicro417, kVSymPdf417, 0, 0},
    {BarcodeId::kCode93, barcode_name::kCode93, kVSymCode93, 0, 0},
    {BarcodeId::kUCC128, barcode_name::kUCC128, kVSymUcc128, 0, 0},
    {BarcodeId::kHIBC, barcode_name::kHIBC, kVSymHibc, 0, 0},
    {BarcodeId::kCodeMSI, barcode_name::kMsiPlessey, kVSymMsiPlessey, 0, 0},
    {BarcodeId::kCodabar, barcode_name::kCodabar, kVSymCodabar, 0, 0},
    {BarcodeId::kUPCA, barcode_name::kUPCA, kVSymUpcA, 11, 0},
    {BarcodeId::kUPCE2, barcode_name::kUPCE2, kVSymUpcAddOn, 11, 2},
    {BarcodeId::kUPCE5, barcode_name::kUPCE5, kVSymUpcAddOn, 11, 5},
    {BarcodeId::kEAN13, barcode_name::kEAN13, kVSymEan13, 12, 0},
    {BarcodeId::kEAN8, barcode_name::kEAN8, kVSymEan8, 7, 0},
    {BarcodeId::kInterleaved2Of5, barcode_name::kInterleaved2Of5, kVSymInterleaved2Of5, 0, 0},
    {BarcodeId::kCode128, barcode_name::kCode128, kVSymCode128, 0, 0},
    {BarcodeId::kAztec, barcode_name::kAztec, kVSymAztec, 0, 0},
    {BarcodeId::kDatamatrix, barcode_name::kDatamatrix, kVSymDatamatrix, 0, 0},
    {BarcodeId::kMaxicode, barcode_name::kMaxicode, kVSymMaxicode, 0, 0},
}};

// Every row stands at its own id's index, so a row is found by indexing.
constexpr bool BarcodeVocabularyIsIndexed() {
  for (size_t i = 0; i < kBarcodeVocabulary.size(); ++i) {
    if (static_cast<size_t>(kBarcodeVocabulary[i].id) != i) return false;
  }
  return true;
}
static_assert(BarcodeVocabularyIsIndexed(), "kBarcodeVocabulary rows must follow BarcodeId");

constexpr const BarcodeVocabularyRow& GetBarcodeVocabularyRow(BarcodeId id) {
  return kBarcodeVocabulary[static_cast<size_t>(id)];
}

constexpr std::wstring_view BarcodeName(BarcodeId id) { return GetBarcodeVocabularyRow(id).name; }

// The row whose name equals `name` without regard to case, tried in table
// order; none when no name does. The one way a type name becomes a row.
inline std::optional<BarcodeId> FindBarcodeId(std::wstring_view name) {
  for (const BarcodeVocabularyRow& row : kBarcodeVocabulary) {
    if (platform::EqualsIgnoreCase(row.name, name)) return row.id;
  }
  return std::nullopt;
}
