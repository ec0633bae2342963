// The full dialect's barcode commands: one row per command says which
// symbology it prints, how its parameters are laid out and which reader takes
// its symbol options; "^BY" sets the module, ratio and height every 1-D
// symbology defaults to. The field's record is written when it is separated
// (FullAppendBarcode).

#include <algorithm>
#include <array>
#include <cmath>

#include "parsers/zpl/ZPLFullBarcode.h"
#include "parsers/zpl/ZPLParser.h"
#include "platform/Text.h"

namespace {

constexpr size_t kKeywordLength = 3;
using B = ZPLFullBarcode;
using Params = std::vector<std::wstring>;

const std::wstring& At(const Params& p, size_t i) {
  static const std::wstring kEmpty;
  return i < p.size() ? p[i] : kEmpty;
}
wchar_t Letter(const Params& p, size_t i, wchar_t fallback) {
  return At(p, i).empty() ? fallback : platform::ToUpperChar(At(p, i)[0]);
}
int64_t Number(const Params& p, size_t i, int64_t fallback, int64_t low, int64_t high) {
  return At(p, i).empty() ? fallback
                          : std::clamp<int64_t>(platform::LeadingInt(At(p, i)), low, high);
}

// Symbol options of the 2-D commands; `magnification` is the printer's
// default module (one dot per 100 dpi).
struct Context {
  int64_t magnification;
};
using Reader = void (*)(const Params&, const Context&, B&);

void ReadQr(const Params& p, const Context& c, B& b) {
  b.moduleDots = Number(p, 2, c.magnification, 1, 10);
  const int32_t levels[] = {1, 2, 3, 4};
  const std::wstring kLetters = L"LMQH";
  const size_t level = kLetters.find(Letter(p, 3, L'Q'));
  b.errorLevel = levels[level == std::wstring::npos ? 2 : level];
}

// Rows x columns of Data Matrix's ECC 200 sizes, numbered as the encoder numbers them.
int32_t DataMatrixSize(int64_t rows, int64_t columns) {
  static constexpr std::array<std::pair<int, int>, 30> kSizes = {{
      {10, 10}, {12, 12}, {14, 14}, {16, 16}, {18, 18},   {20, 20},   {22, 22},   {24, 24},
      {26, 26}, {32, 32}, {36, 36}, {40, 40}, {44, 44},   {48, 48},   {52, 52},   {64, 64},
      {72, 72}, {80, 80}, {88, 88}, {96, 96}, {104, 104}, {120, 120}, {132, 132}, {144, 144},
      {8, 18},  {8, 32},  {12, 26}, {12, 36}, {16, 36},   {16, 48},
  }};
  for (size_t i = 0; i < kSizes.size(); ++i) {
    if (kSizes[i].first == rows && kSizes[i].second == columns) return static_cast<int32_t>(i + 1);
  }
  return 0;
}

// o,h module,s quality,c columns,r rows,f format,g escape,a aspect. Without a
// module the symbol is about as tall as "^BY" says.
void ReadDataMatrix(const Params& p, const Context&, B& b) {
  b.moduleDots = Number(p, 1, 0, 0, 1000);
  if (b.moduleDots == 0) b.rowDots = b.height;
  const int64_t columns = Number(p, 3, 0, 0, 144), rows = Number(p, 4, columns, 0, 144);
  b.symbolSize = DataMatrixSize(rows, columns);
  b.escape = At(p, 6).empty() ? L'~' : At(p, 6)[0];
  if (Letter(p, 7, L'1') == L'2') b.mode = L"RECTANGLE";
}

// a,b magnification,c extended channel,d error control or size,e menu,f,g.
void ReadAztec(const Params& p, const Context& c, B& b) {
  b.moduleDots = Number(p, 1, c.magnification, 1, 10);
  const int64_t d = Number(p, 3, 0, 0, 300);
  if (d >= 1 && d <= 99) b.errorLevel = d <= 10 ? 1 : d <= 23 ? 2 : d <= 36 ? 3 : 4;
  if (d >= 101 && d <= 104) b.symbolSize = static_cast<int32_t>(d - 100);
  if (d >= 201 && d <= 232) b.symbolSize = static_cast<int32_t>(d - 200 + 4);
  if (d == 300) b.mode = L"RUNE";
}

// o,h row height,s security level,c columns,r rows,t truncate.
void ReadPdf417(const Params& p, const Context&, B& b) {
  b.rowDots = Number(p, 1, b.height, 1, 10000);
  b.errorLevel = static_cast<int32_t>(Number(p, 2, 0, 0, 8));
  b.symbolSize = static_cast<int32_t>(Number(p, 3, 0, 0, 30));
  b.rows = static_cast<int32_t>(Number(p, 4, 0, 0, 90));
  if (b.rows > 0 && b.rows < 3) b.rows = 3;
  if (Letter(p, 5, L'N') == L'Y') b.mode = L"TRUNCATED";
}

// o,h row height,m mode 0-33: the mode chooses 1 to 4 columns.
void ReadMicroPdf(const Params& p, const Context&, B& b) {
  b.rowDots = Number(p, 1, b.height, 1, 10000);
  const int64_t mode = Number(p, 2, 0, 0, 33);
  b.symbolSize = mode <= 3 ? 1 : mode <= 10 ? 2 : mode <= 22 ? 3 : 4;
}

// m mode 2-6, n symbol number, t of how many symbols.
void ReadMaxiCode(const Params& p, const Context&, B& b) {
  b.errorLevel = static_cast<int32_t>(Number(p, 0, 2, 2, 6));
  const int64_t total = Number(p, 2, 1, 1, 8), number = Number(p, 1, 1, 1, total);
  if (total > 1) {
    b.mode = L"STRUCTURED " + platform::IntToWide(number) + L"/" + platform::IntToWide(total);
  }
  b.line = false;
}

// One command. `layout` names its leading parameters: o orientation, h bar
// height, f line, g line above, e / E check character (default no / yes),
// c MSI check (A: none), m Code 128 mode, s Codabar start, t stop, i Code 49
// line (N, A above, B below), x ignored. A `reader` takes the rest.
struct Row {
  std::wstring_view keyword;
  std::wstring_view type;
  B::Data data;
  std::wstring_view layout;
  Reader reader = nullptr;
  int32_t digits = 0;
};

const std::array<Row, 20> kRows = {{
    {L"^B3", L"Code 39", B::Data::kPlain, L"oehfg"},
    {L"^BC", L"Code 128 Auto", B::Data::kCode128, L"ohfgxm"},
    {L"^B2", L"Interleaved 2-of-5", B::Data::kDigits, L"ohfge"},
    {L"^BE", L"EAN/JAN-13", B::Data::kDigits, L"ohfg", nullptr, 12},
    {L"^B8", L"EAN/JAN-8", B::Data::kDigits, L"ohfg", nullptr, 7},
    {L"^BU", L"UPCA", B::Data::kDigits, L"ohfgx", nullptr, 11},
    {L"^BA", L"Code 93", B::Data::kPlain, L"ohfge"},
    {L"^BK", L"Codabar", B::Data::kCodabar, L"oxhfgst"},
    {L"^BM", L"MSI Plessey", B::Data::kPlain, L"ochfgx"},
    {L"^BP", L"MSI Plessey", B::Data::kPlain, L"oEhfg"},
    {L"^B4", L"Code 49", B::Data::kPlain, L"ohix"},
    {L"^BZ", L"Postnet", B::Data::kPlain, L"ohfg"},
    {L"^BQ", L"QRCode", B::Data::kQr, L"o", ReadQr},
    {L"^BX", L"Datamatrix", B::Data::kDataMatrix, L"o", ReadDataMatrix},
    {L"^B0", L"Aztec", B::Data::kPlain, L"o", ReadAztec},
    {L"^BO", L"Aztec", B::Data::kPlain, L"o", ReadAztec},
    {L"^B7", L"PDF 417", B::Data::kPlain, L"o", ReadPdf417},
    {L"^BF", L"Micro 417", B::Data::kPlain, L"o", ReadMicroPdf},
    {L"^BD", L"Maxicode", B::Data::kMaxiCode, L"", ReadMaxiCode},
    {L"^BS", L"", B::Data::kPlain, L""},  // UPC/EAN extensions: the shared command
}};

const Row* FindRow(std::wstring_view command) {
  for (const Row& row : kRows) {
    if (command.starts_with(row.keyword)) return &row;
  }
  return nullptr;
}

bool IsYes(const Params& p, size_t i, bool fallback) {
  return At(p, i).empty() ? fallback : platform::ToUpperChar(At(p, i)[0]) == L'Y';
}

void ReadLayout(const Row& row, const Params& p, B& b) {
  for (size_t i = 0; i < row.layout.size(); ++i) {
    const wchar_t letter = row.layout[i];
    if (letter == L'o') b.orientation = Letter(p, i, b.orientation);
    if (letter == L'h') b.height = Number(p, i, b.height, 1, 32000);
    if (letter == L'f') b.line = IsYes(p, i, true);
    if (letter == L'g') b.lineAbove = IsYes(p, i, false);
    if (letter == L'e' || letter == L'E') b.check = IsYes(p, i, letter == L'E');
    if (letter == L'c') b.check = Letter(p, i, L'B') != L'A';
    if (letter == L'm') b.code128Mode = Letter(p, i, L'N');
    if (letter == L's') b.startStop[0] = Letter(p, i, L'A');
    if (letter == L't') b.startStop[1] = Letter(p, i, L'A');
    if (letter == L'i') {
      b.line = Letter(p, i, L'N') != L'N';
      b.lineAbove = Letter(p, i, L'N') == L'A';
    }
  }
}

}  // namespace

bool CZPLParser::FullBarcode(const std::wstring& command) {
  const Row* row = FindRow(command);
  if (row == nullptr || row->type.empty()) return FullObject(command);
  field_.objectCommand = true;
  if (!field_.hasOrigin) {
    ReportError(L"NO FIELD ORIGIN DEFINED, FIELD SKIPPED: " + ShortCommand(command));
    return true;
  }
  const ZPLFullSettings& full = data_->full;
  B b;
  b.type = row->type;
  b.data = row->data;
  b.digits = row->digits;
  b.orientation = full.orientation;
  b.height = full.barcodeHeight;
  b.moduleDots = full.barcodeModule;
  b.ratio = full.barcodeRatio;
  Params p;
  SplitParameters(ParameterText(command, kKeywordLength), p);
  ReadLayout(*row, p, b);
  if (b.orientation != L'N' && b.orientation != L'R' && b.orientation != L'I' &&
      b.orientation != L'B') {
    b.orientation = full.orientation;
  }
  if (row->reader != nullptr) {
    row->reader(p, Context{std::max<int64_t>(1, GetParserDPI() / 100)}, b);
    if (row->data != B::Data::kMaxiCode) b.line = false;
  }
  fullBarcode_ = std::move(b);
  fullBarcodeSet_ = true;
  fieldState_ = ORIGIN_SET;
  AcceptObject(PENDING_BARCODE);
  return true;
}

// "^BY" module width 1-10 dots, wide-to-narrow ratio 2.0-3.0, bar height.
bool CZPLParser::FullBarcodeDefault(const std::wstring& command) {
  std::vector<std::wstring> p;
  if (!FullNumbers(command, kKeywordLength, 3, L"BARCODE FIELD DEFAULT", p)) return true;
  ZPLFullSettings& full = data_->full;
  full.barcodeModule = Number(p, 0, full.barcodeModule, 1, 10);
  if (!At(p, 1).empty()) {
    const double ratio = platform::LeadingNumber(At(p, 1));
    const int64_t tenths = std::lround(std::clamp(ratio, 2.0, 3.0) * 10.0);
    full.barcodeRatio = platform::IntToWide(tenths / 10) + L"." + platform::IntToWide(tenths % 10);
  }
  full.barcodeHeight = Number(p, 2, full.barcodeHeight, 1, 32000);
  return true;
}
