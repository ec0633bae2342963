#include "parsers/zpl/ZPLBarcodeTable.h"

#include <unordered_map>

#include "parsers/zpl/ZPLCommand.h"
#include "parsers/zpl/ZPLData.h"

namespace {

using Rule = ZPLDeviceBarcodeRule;
using Full = ZPLFullBarcodeRule;
using Data = ZPLFullBarcode::Data;
using Id = BarcodeId;

constexpr Rule::Default kOrient{Rule::Default::ORIENTATION, L""};
constexpr Rule::Default kHeight{Rule::Default::HEIGHT, L""};
constexpr Rule::Default Lit(const wchar_t* text) { return {Rule::Default::LITERAL, text}; }
const Rule::Default kY = Lit(L"Y"), kN = Lit(L"N"), kA = Lit(L"A");

constexpr wchar_t kBarCode[] = L"Incorrect Number of Parameters for BAR CODE";

std::wstring NoOrigin(const wchar_t* suffix) {
  return std::wstring(L"ERROR CREATING FIELD DATA, NO FIELD ORIGIN DEFINED FOR BARCODE ") + suffix;
}

// Most commands log and record the same text.
Rule Checked(size_t most, std::vector<Rule::Default> defaults, std::vector<size_t> integers,
             Rule::Layout layout, const std::wstring& origin,
             std::wstring_view countMessage = kBarCode) {
  return Rule{true,         true,   most,  std::move(defaults), std::move(integers), layout,
              countMessage, origin, origin};
}

Rule AsWritten(std::wstring originLog, std::wstring originRecord) {
  return Rule{true, false, 0, {}, {}, Rule::KEPT, kBarCode, originLog, originRecord};
}

Full Reads(Data data, std::wstring_view layout, ZPLSymbolOptionReader reader = nullptr) {
  return Full{true, data, layout, reader};
}

std::vector<ZPLBarcodeRow> MakeRows() {
  using D = ZPLData;
  const std::wstring aztec = L"ERROR CREATING BARCODE, NO FIELD ORIGIN DEFINED FOR BARCODE AZTEC";
  return {
      {D::kB3, Id::kCode39,
       Checked(5, {kOrient, kN, kHeight, kY, kN}, {2}, Rule::MOVED, NoOrigin(L"CODE 39")),
       Reads(Data::kPlain, L"oehfg")},
      {D::kBC, Id::kCode128,
       Checked(6, {kOrient, kHeight, kY, kN, kN, kN}, {1}, Rule::KEPT, NoOrigin(L"CODE 128")),
       Reads(Data::kCode128, L"ohfgxm")},
      {D::kB2, Id::kInterleaved2Of5,
       Checked(5, {kOrient, kHeight, kY, kN, kN}, {1}, Rule::KEPT, NoOrigin(L"INTERLEAVED 2 OF 5")),
       Reads(Data::kDigits, L"ohfge")},
      {D::kBE, Id::kEAN13,
       Checked(4, {kOrient, kHeight, kY, kN}, {1}, Rule::PADDED, NoOrigin(L"EAN13")),
       Reads(Data::kDigits, L"ohfg")},
      {D::kB8, Id::kEAN8,
       Checked(4, {kOrient, kHeight, kY, kN}, {1}, Rule::PADDED, NoOrigin(L"EAN_8")),
       Reads(Data::kDigits, L"ohfg")},
      {D::kBU, Id::kUPCA,
       Checked(5, {kOrient, kHeight, kY, kN, kY}, {1}, Rule::KEPT, NoOrigin(L"UPCA")),
       Reads(Data::kDigits, L"ohfgx")},
      {D::kB0, Id::kAztec,
       Checked(7, {kOrient, Lit(L"3"), kN, Lit(L"0"), kN, Lit(L"1")}, {1}, Rule::KEPT, aztec),
       Reads(Data::kPlain, L"o", ReadAztecOptions)},
      {D::kBO, Id::kAztec, AsWritten(aztec, aztec), Reads(Data::kPlain, L"o", ReadAztecOptions)},
      {D::kB4, Id::kCode49,
       Checked(4, {kOrient, kHeight, kY, kA}, {1}, Rule::PADDED, NoOrigin(L"CODE_49")),
       Reads(Data::kPlain, L"ohix")},
      {D::kB7, Id::kCode417,
       AsWritten(NoOrigin(L"PDF417"), L"ERROR CREATING FIELD DATA, NO FIELD ORIGIN DEFINED"),
       Reads(Data::kPlain, L"o", ReadPdf417Options)},
      {D::kB9, Id::kUPCE2, AsWritten(NoOrigin(L"UPCE"), NoOrigin(L"UPCE")), Full{}},
      {D::kBA, Id::kCode93, AsWritten(NoOrigin(L"CODE_93"), NoOrigin(L"CODE_93")),
       Reads(Data::kPlain, L"ohfge")},
      {D::kBF, Id::kMicro417,
       Checked(4, {kOrient, kHeight, kY, kA}, {}, Rule::PADDED, NoOrigin(L"MICRO_PDF417")),
       Reads(Data::kPlain, L"o", ReadMicroPdfOptions)},
      {D::kBK, Id::kCodabar,
       Checked(7, {kOrient, kN, kHeight, kY, kN}, {2}, Rule::MOVED, NoOrigin(L"ANSI_CODABAR")),
       Reads(Data::kCodabar, L"oxhfgst")},
      {D::kBM, Id::kCodeMSI,
       Checked(6, {kOrient, kA, kHeight, kY, kN, kY}, {2}, Rule::KEPT, NoOrigin(L"MSI"),
               L"Incorrect Number of Parameters for MSI BAR CODE"),
       Reads(Data::kPlain, L"ochfgx")},
      {D::kBP, Id::kCodeMSI,
       Checked(5, {kOrient, kY, kHeight, kY, kN}, {2}, Rule::KEPT, NoOrigin(L"_PLESSEY"),
               L"Incorrect Number of Parameters for PLESSEY BAR CODE"),
       Reads(Data::kPlain, L"oEhfg")},
      {D::kBQ, Id::kQRCode,
       Checked(5, {kOrient, kY, Lit(L"3"), Lit(L"Q"), Lit(L"7")}, {}, Rule::KEPT,
               NoOrigin(L"QR_CODE"), L"Incorrect Number of Parameters for QRCODE BAR CODE"),
       Reads(Data::kQr, L"o", ReadQrOptions)},
      {D::kBS, Id::kUPCE2,
       Checked(4, {kOrient, kHeight, kY, kN}, {}, Rule::PADDED, NoOrigin(L"_UPC_EAN_EXTENSIONS"),
               L"Incorrect Number of Parameters for UPC EAN BAR CODE"),
       Full{}},
      {D::kBX, Id::kDatamatrix,
       Checked(7, {kOrient, kHeight, Lit(L"0"), Lit(L"9"), Lit(L"9"), Lit(L"6"), Lit(L"~")}, {1},
               Rule::KEPT, NoOrigin(L"_DATA_MATRIX")),
       Reads(Data::kDataMatrix, L"o", ReadDataMatrixOptions)},
      {D::kBZ, Id::kPostnet,
       Checked(4, {kOrient, kHeight, kY, kN}, {1}, Rule::PADDED, NoOrigin(L"_POSTNET")),
       Reads(Data::kPlain, L"ohfg")},
      {D::kBD, Id::kMaxicode, Rule{}, Reads(Data::kMaxiCode, L"", ReadMaxiCodeOptions)},
  };
}

}  // namespace

const std::vector<ZPLBarcodeRow>& ZplBarcodeRows() {
  static const std::vector<ZPLBarcodeRow> rows = MakeRows();
  return rows;
}

// Every barcode keyword is three characters long, so the command's first three
// name its row.
const ZPLBarcodeRow* FindZplBarcode(std::wstring_view command) {
  static const auto byKeyword = [] {
    std::unordered_map<std::wstring_view, const ZPLBarcodeRow*> index;
    for (const ZPLBarcodeRow& row : ZplBarcodeRows()) index.emplace(row.keyword, &row);
    return index;
  }();
  auto it = byKeyword.find(command.substr(0, zpl::kKeywordLength));
  return it == byKeyword.end() ? nullptr : it->second;
}
