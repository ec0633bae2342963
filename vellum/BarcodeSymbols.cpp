#include "vellum/BarcodeSymbols.h"

#include <zint.h>

#include <array>
#include <optional>

namespace vellum {
namespace {

using S = SymbolShape;
using R = DataRule;
using I = BarcodeId;

// Canada's Postbar has no zint encoder; Royal Mail's 4-state code is the
// closest: four bar states, letters and digits, a check character (see
// vellum/README.md).
constexpr std::array<SymbologyRow, kBarcodeTypeCount> kRows = {{
    {I::kCode39, BARCODE_CODE39, S::kLinear, true, 1, R::kUpperCase, false},
    {I::kCode49, BARCODE_CODE49, S::kBound, false, 0, R::kAsGiven, true},
    {I::kCode16K, BARCODE_CODE16K, S::kBound, false, 0, R::kAsGiven, true},
    {I::kQRCode, BARCODE_QRCODE, S::kMatrix, false, 0, R::kAsGiven, true},
    {I::kPostnet, BARCODE_POSTNET, S::kPostal, false, 0, R::kAsGiven, true},
    {I::kPostbar, BARCODE_RM4SCC, S::kPostal, false, 0, R::kUpperCase, true},
    {I::kCode417, BARCODE_PDF417, S::kStacked, false, 0, R::kAsGiven, true},
    {I::kMicro417, BARCODE_MICROPDF417, S::kStacked, false, 0, R::kAsGiven, true},
    {I::kCode93, BARCODE_CODE93, S::kLinear, false, 0, R::kUpperCase, false},
    {I::kUCC128, BARCODE_GS1_128, S::kLinear, false, 0, R::kGs1, true},
    {I::kHIBC, BARCODE_HIBC_39, S::kLinear, true, 0, R::kUpperCase, false},
    {I::kCodeMSI, BARCODE_MSI_PLESSEY, S::kLinear, true, 1, R::kAsGiven, false},
    {I::kCodabar, BARCODE_CODABAR, S::kLinear, true, 1, R::kCodabar, false},
    {I::kUPCA, BARCODE_UPCA, S::kLinear, false, 0, R::kDigits, false},
    {I::kUPCE2, BARCODE_UPCE, S::kLinear, false, 0, R::kUpcE, false},
    {I::kUPCE5, BARCODE_UPCE, S::kLinear, false, 0, R::kUpcE, false},
    {I::kEAN13, BARCODE_EANX, S::kLinear, false, 0, R::kDigits, false},
    {I::kEAN8, BARCODE_EANX, S::kLinear, false, 0, R::kDigits, false},
    {I::kInterleaved2Of5, BARCODE_C25INTER, S::kLinear, true, 1, R::kAsGiven, false},
    {I::kCode128, BARCODE_CODE128, S::kLinear, false, 0, R::kAsGiven, false},
    {I::kAztec, BARCODE_AZTEC, S::kMatrix, false, 0, R::kAsGiven, true},
    {I::kDatamatrix, BARCODE_DATAMATRIX, S::kMatrix, false, 0, R::kAsGiven, true},
    {I::kMaxicode, BARCODE_MAXICODE, S::kMaxiCode, false, 0, R::kAsGiven, true},
}};

constexpr bool FollowsTheVocabulary() {
  for (size_t i = 0; i < kRows.size(); ++i) {
    if (static_cast<size_t>(kRows[i].id) != i) return false;
  }
  return true;
}
static_assert(FollowsTheVocabulary(), "kRows must hold one row per BarcodeId, in its order");

}  // namespace

const SymbologyRow* FindSymbology(std::wstring_view typeName, int32_t code) {
  if (const std::optional<BarcodeId> id = FindBarcodeId(typeName)) {
    return &kRows[static_cast<size_t>(*id)];
  }
  for (const SymbologyRow& row : kRows) {
    if (row.Vocabulary().symbology == code) return &row;
  }
  return nullptr;
}

std::span<const SymbologyRow> SymbologyRows() { return kRows; }

}  // namespace vellum
