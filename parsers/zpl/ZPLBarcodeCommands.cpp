// The barcode commands of CZPLParser. Every command is one row of a table,
// the only list of them: its symbology, how its parameters are read, and how
// they are rearranged so that "^FD" finds orientation, height and the three
// flags at positions 0-4.

#include <string>
#include <unordered_map>
#include <vector>

#include "parsers/zpl/ZPLParser.h"

// One barcode command.
struct ZPLBarcodeRule {
  // How the parameters are rearranged once read.
  enum Layout {
    KEPT,    // already in the canonical order
    MOVED,   // position 1 goes to the end
    PADDED,  // an empty check-character flag is appended
  };
  // A default by position: literal text or one of the keyword table's defaults.
  struct Default {
    enum Source { LITERAL, ORIENTATION, HEIGHT } source;
    const wchar_t* text;
  };

  std::wstring_view command;
  std::wstring_view typeName;
  bool checked;  // false: taken as written, with no count, default or number check
  size_t most;
  std::vector<Default> defaults;
  std::vector<size_t> integers;
  Layout layout;
  std::wstring_view countMessage;
  std::wstring originLog;
  std::wstring originRecord;
};

namespace {

using Rule = ZPLBarcodeRule;
constexpr Rule::Default kOrient{Rule::Default::ORIENTATION, L""};
constexpr Rule::Default kHeight{Rule::Default::HEIGHT, L""};
constexpr Rule::Default Lit(const wchar_t* text) { return {Rule::Default::LITERAL, text}; }
const Rule::Default kY = Lit(L"Y"), kN = Lit(L"N"), kA = Lit(L"A");

constexpr size_t kKeywordLength = 3;
constexpr size_t kCanonicalPositions = 5;
constexpr wchar_t kBarCode[] = L"Incorrect Number of Parameters for BAR CODE";

std::wstring NoOrigin(const wchar_t* suffix) {
  return std::wstring(L"ERROR CREATING FIELD DATA, NO FIELD ORIGIN DEFINED FOR BARCODE ") + suffix;
}

// Most commands log and record the same text.
Rule Checked(std::wstring_view command, std::wstring_view type, size_t most,
             std::vector<Rule::Default> defaults, std::vector<size_t> integers, Rule::Layout layout,
             const std::wstring& origin, std::wstring_view countMessage = kBarCode) {
  return Rule{command, type,         true,   most,  std::move(defaults), std::move(integers),
              layout,  countMessage, origin, origin};
}

Rule AsWritten(std::wstring_view command, std::wstring_view type, std::wstring originLog,
               std::wstring originRecord) {
  return Rule{command, type, false, 0, {}, {}, Rule::KEPT, kBarCode, originLog, originRecord};
}

const std::vector<Rule>& Rules() {
  using D = ZPLData;
  static const std::vector<Rule> rules = [] {
    const std::wstring aztec = L"ERROR CREATING BARCODE, NO FIELD ORIGIN DEFINED FOR BARCODE AZTEC";
    std::vector<Rule> r = {
        Checked(D::kB3, L"Code 39", 5, {kOrient, kN, kHeight, kY, kN}, {2}, Rule::MOVED,
                NoOrigin(L"CODE 39")),
        Checked(D::kBC, L"Code 128 Auto", 6, {kOrient, kHeight, kY, kN, kN, kN}, {1}, Rule::KEPT,
                NoOrigin(L"CODE 128")),
        Checked(D::kB2, L"Interleaved 2-of-5", 5, {kOrient, kHeight, kY, kN, kN}, {1}, Rule::KEPT,
                NoOrigin(L"INTERLEAVED 2 OF 5")),
        Checked(D::kBE, L"EAN/JAN-13", 4, {kOrient, kHeight, kY, kN}, {1}, Rule::PADDED,
                NoOrigin(L"EAN13")),
        Checked(D::kB8, L"EAN/JAN-8", 4, {kOrient, kHeight, kY, kN}, {1}, Rule::PADDED,
                NoOrigin(L"EAN_8")),
        Checked(D::kBU, L"UPCA", 5, {kOrient, kHeight, kY, kN, kY}, {1}, Rule::KEPT,
                NoOrigin(L"UPCA")),
        Checked(D::kB0, L"Aztec", 7, {kOrient, Lit(L"3"), kN, Lit(L"0"), kN, Lit(L"1")}, {1},
                Rule::KEPT, aztec),
        AsWritten(D::kBO, L"Aztec", aztec, aztec),
        Checked(D::kB4, L"Code 49", 4, {kOrient, kHeight, kY, kA}, {1}, Rule::PADDED,
                NoOrigin(L"CODE_49")),
        AsWritten(D::kB7, L"PDF 417", NoOrigin(L"PDF417"),
                  L"ERROR CREATING FIELD DATA, NO FIELD ORIGIN DEFINED"),
        AsWritten(D::kB9, L"UPCE2", NoOrigin(L"UPCE"), NoOrigin(L"UPCE")),
        AsWritten(D::kBA, L"Code 93", NoOrigin(L"CODE_93"), NoOrigin(L"CODE_93")),
        Checked(D::kBF, L"Micro 417", 4, {kOrient, kHeight, kY, kA}, {}, Rule::PADDED,
                NoOrigin(L"MICRO_PDF417")),
        Checked(D::kBK, L"Codabar", 7, {kOrient, kN, kHeight, kY, kN}, {2}, Rule::MOVED,
                NoOrigin(L"ANSI_CODABAR")),
        Checked(D::kBM, L"MSI Plessey", 6, {kOrient, kA, kHeight, kY, kN, kY}, {2}, Rule::KEPT,
                NoOrigin(L"MSI"), L"Incorrect Number of Parameters for MSI BAR CODE"),
        Checked(D::kBP, L"MSI Plessey", 5, {kOrient, kY, kHeight, kY, kN}, {2}, Rule::KEPT,
                NoOrigin(L"_PLESSEY"), L"Incorrect Number of Parameters for PLESSEY BAR CODE"),
        Checked(D::kBQ, L"QRCode", 5, {kOrient, kY, Lit(L"3"), Lit(L"Q"), Lit(L"7")}, {},
                Rule::KEPT, NoOrigin(L"QR_CODE"),
                L"Incorrect Number of Parameters for QRCODE BAR CODE"),
        Checked(D::kBS, L"UPCE2", 4, {kOrient, kHeight, kY, kN}, {}, Rule::PADDED,
                NoOrigin(L"_UPC_EAN_EXTENSIONS"),
                L"Incorrect Number of Parameters for UPC EAN BAR CODE"),
        Checked(D::kBX, L"Datamatrix", 7,
                {kOrient, kHeight, Lit(L"0"), Lit(L"9"), Lit(L"9"), Lit(L"6"), Lit(L"~")}, {1},
                Rule::KEPT, NoOrigin(L"_DATA_MATRIX")),
        Checked(D::kBZ, L"Postnet", 4, {kOrient, kHeight, kY, kN}, {1}, Rule::PADDED,
                NoOrigin(L"_POSTNET")),
    };
    return r;
  }();
  return rules;
}

}  // namespace

// Every barcode keyword is three characters long, so the command's first three
// name its rule.
const ZPLBarcodeRule* CZPLParser::FindBarcodeRule(std::wstring_view command) {
  static const auto byKeyword = [] {
    std::unordered_map<std::wstring_view, const Rule*> index;
    for (const Rule& rule : Rules()) index.emplace(rule.command, &rule);
    return index;
  }();
  auto it = byKeyword.find(command.substr(0, kKeywordLength));
  return it == byKeyword.end() ? nullptr : it->second;
}

bool CZPLParser::Barcode(const std::wstring& command, const ZPLBarcodeRule& rule) {
  if (fieldState_ != ORIGIN_SET) return StopForMissingOrigin(rule.originLog, rule.originRecord);
  pendingBarcode_.clear();
  if (!ReadBarcodeParameters(command, rule)) return true;
  barcodeTypeName_ = rule.typeName;
  AcceptObject(PENDING_BARCODE);
  return true;
}

bool CZPLParser::ReadBarcodeParameters(const std::wstring& command, const ZPLBarcodeRule& rule) {
  std::vector<std::wstring>& params = pendingBarcode_;
  if (!rule.checked) {
    // Taken as written; the positions "^FD" reads are made to exist.
    SplitParameters(ParameterText(command, kKeywordLength), params);
    if (params.size() < kCanonicalPositions) params.resize(kCanonicalPositions);
    return true;
  }
  ParameterRule checks{rule.most, {}, {}, rule.countMessage};
  for (const Rule::Default& d : rule.defaults) {
    checks.defaults.push_back(d.source == Rule::Default::ORIENTATION ? data_->fieldOrientation
                              : d.source == Rule::Default::HEIGHT    ? data_->barcodeHeight
                                                                     : std::wstring(d.text));
  }
  for (size_t position : rule.integers) checks.numeric.push_back({position});
  if (!ReadObjectParameters(command, checks, params)) {
    params.clear();
    return false;
  }
  if (rule.layout == Rule::MOVED && params.size() > 1) {
    std::wstring moved = std::move(params[1]);
    params.erase(params.begin() + 1);
    params.push_back(std::move(moved));
  } else if (rule.layout == Rule::PADDED) {
    params.emplace_back();
  }
  return true;
}
