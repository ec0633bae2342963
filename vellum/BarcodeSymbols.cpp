#include "vellum/BarcodeSymbols.h"

#include <zint.h>

#include <array>

#include "engine/VInterface.h"
#include "platform/Text.h"

namespace vellum {
namespace {

using S = SymbolShape;
using R = DataRule;

// Canada's Postbar has no zint encoder; Royal Mail's 4-state code is the
// closest: four bar states, letters and digits, a check character (see
// vellum/README.md).
constexpr std::array<SymbologyRow, 23> kRows = {{
    {L"Code 39", kVSymCode39, BARCODE_CODE39, S::kLinear, true, 1, R::kUpperCase, 0, 0, false},
    {L"Code 49", kVSymCode49, BARCODE_CODE49, S::kBound, false, 0, R::kAsGiven, 0, 0, true},
    {L"Code 16K", kVSymCode16K, BARCODE_CODE16K, S::kBound, false, 0, R::kAsGiven, 0, 0, true},
    {L"QRCode", kVSymQrCode, BARCODE_QRCODE, S::kMatrix, false, 0, R::kAsGiven, 0, 0, true},
    {L"Postnet", kVSymPostnet, BARCODE_POSTNET, S::kPostal, false, 0, R::kAsGiven, 0, 0, true},
    {L"Postbar", kVSymPostbar, BARCODE_RM4SCC, S::kPostal, false, 0, R::kUpperCase, 0, 0, true},
    {L"PDF 417", kVSymPdf417, BARCODE_PDF417, S::kStacked, false, 0, R::kAsGiven, 0, 0, true},
    {L"Micro 417", kVSymPdf417, BARCODE_MICROPDF417, S::kStacked, false, 0, R::kAsGiven, 0, 0,
     true},
    {L"Code 93", kVSymCode93, BARCODE_CODE93, S::kLinear, false, 0, R::kUpperCase, 0, 0, false},
    {L"UCC128", kVSymUcc128, BARCODE_GS1_128, S::kLinear, false, 0, R::kGs1, 0, 0, true},
    {L"HIBC", kVSymHibc, BARCODE_HIBC_39, S::kLinear, true, 0, R::kUpperCase, 0, 0, false},
    {L"MSI Plessey", kVSymMsiPlessey, BARCODE_MSI_PLESSEY, S::kLinear, true, 1, R::kAsGiven, 0, 0,
     false},
    {L"Codabar", kVSymCodabar, BARCODE_CODABAR, S::kLinear, true, 1, R::kCodabar, 0, 0, false},
    {L"UPCA", kVSymUpcA, BARCODE_UPCA, S::kLinear, false, 0, R::kDigits, 11, 0, false},
    {L"UPCE2", kVSymUpcAddOn, BARCODE_UPCE, S::kLinear, false, 0, R::kUpcE, 11, 2, false},
    {L"UPCE5", kVSymUpcAddOn, BARCODE_UPCE, S::kLinear, false, 0, R::kUpcE, 11, 5, false},
    {L"EAN/JAN-13", kVSymEan13, BARCODE_EANX, S::kLinear, false, 0, R::kDigits, 12, 0, false},
    {L"EAN/JAN-8", kVSymEan8, BARCODE_EANX, S::kLinear, false, 0, R::kDigits, 7, 0, false},
    {L"Interleaved 2-of-5", kVSymInterleaved2Of5, BARCODE_C25INTER, S::kLinear, true, 1,
     R::kAsGiven, 0, 0, false},
    {L"Code 128 Auto", kVSymCode128, BARCODE_CODE128, S::kLinear, false, 0, R::kAsGiven, 0, 0,
     false},
    {L"Aztec", kVSymAztec, BARCODE_AZTEC, S::kMatrix, false, 0, R::kAsGiven, 0, 0, true},
    {L"Datamatrix", kVSymDatamatrix, BARCODE_DATAMATRIX, S::kMatrix, false, 0, R::kAsGiven, 0, 0,
     true},
    {L"Maxicode", kVSymMaxicode, BARCODE_MAXICODE, S::kMaxiCode, false, 0, R::kAsGiven, 0, 0, true},
}};

}  // namespace

const SymbologyRow* FindSymbology(const std::wstring& typeName, int32_t code) {
  for (const SymbologyRow& row : kRows) {
    if (platform::EqualsIgnoreCase(typeName, row.typeName)) return &row;
  }
  for (const SymbologyRow& row : kRows) {
    if (row.code == code) return &row;
  }
  return nullptr;
}

const SymbologyRow* SymbologyRows(size_t* count) {
  *count = kRows.size();
  return kRows.data();
}

}  // namespace vellum
