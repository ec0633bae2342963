// The symbol options of the 2-D barcode commands as a full ZPL printer reads
// them, after the orientation: module size, error correction, symbol size
// and mode. Rows of the barcode table (ZPLBarcodeTable.h) name them.

#include <algorithm>
#include <array>
#include <utility>

#include "parsers/zpl/ZPLCommand.h"
#include "parsers/zpl/full/ZPLFullBarcode.h"
#include "platform/Text.h"

using zpl::LetterAt;
using zpl::NumberAt;

namespace {

using B = ZPLFullBarcode;
using Params = std::vector<std::wstring>;

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

}  // namespace

void ReadQrOptions(const Params& p, int64_t magnification, B& b) {
  b.moduleDots = NumberAt(p, 2, magnification, 1, 10);
  const int32_t levels[] = {1, 2, 3, 4};
  const std::wstring kLetters = L"LMQH";
  const size_t level = kLetters.find(LetterAt(p, 3, L'Q'));
  b.errorLevel = levels[level == std::wstring::npos ? 2 : level];
}

// o,h module,s quality,c columns,r rows,f format,g escape,a aspect. Without a
// module the symbol is about as tall as "^BY" says.
void ReadDataMatrixOptions(const Params& p, int64_t, B& b) {
  b.moduleDots = NumberAt(p, 1, 0, 0, 1000);
  if (b.moduleDots == 0) b.rowDots = b.height;
  const int64_t columns = NumberAt(p, 3, 0, 0, 144), rows = NumberAt(p, 4, columns, 0, 144);
  b.symbolSize = DataMatrixSize(rows, columns);
  const std::wstring& escape = zpl::ParameterAt(p, 6);
  b.escape = escape.empty() ? L'~' : escape[0];
  if (LetterAt(p, 7, L'1') == L'2') b.mode = L"RECTANGLE";
}

// a,b magnification,c extended channel,d error control or size,e menu,f,g.
void ReadAztecOptions(const Params& p, int64_t magnification, B& b) {
  b.moduleDots = NumberAt(p, 1, magnification, 1, 10);
  const int64_t d = NumberAt(p, 3, 0, 0, 300);
  // 1-99: the least percent of the symbol kept for error correction.
  if (d >= 1 && d <= 99) b.errorLevel = static_cast<int32_t>(d);
  if (d >= 101 && d <= 104) b.symbolSize = static_cast<int32_t>(d - 100);
  if (d >= 201 && d <= 232) b.symbolSize = static_cast<int32_t>(d - 200 + 4);
  if (d == 300) b.mode = L"RUNE";
}

// o,h row height,s security level,c columns,r rows,t truncate.
void ReadPdf417Options(const Params& p, int64_t, B& b) {
  b.rowDots = NumberAt(p, 1, b.height, 1, 10000);
  b.errorLevel = static_cast<int32_t>(NumberAt(p, 2, 0, 0, 8));
  b.symbolSize = static_cast<int32_t>(NumberAt(p, 3, 0, 0, 30));
  b.rows = static_cast<int32_t>(NumberAt(p, 4, 0, 0, 90));
  if (b.rows > 0 && b.rows < 3) b.rows = 3;
  if (LetterAt(p, 5, L'N') == L'Y') b.mode = L"TRUNCATED";
}

// o,h row height,m mode 0-33: the mode chooses 1 to 4 columns.
void ReadMicroPdfOptions(const Params& p, int64_t, B& b) {
  b.rowDots = NumberAt(p, 1, b.height, 1, 10000);
  const int64_t mode = NumberAt(p, 2, 0, 0, 33);
  b.symbolSize = mode <= 3 ? 1 : mode <= 10 ? 2 : mode <= 22 ? 3 : 4;
}

// m mode 2-6, n symbol number, t of how many symbols.
void ReadMaxiCodeOptions(const Params& p, int64_t, B& b) {
  b.errorLevel = static_cast<int32_t>(NumberAt(p, 0, 2, 2, 6));
  const int64_t total = NumberAt(p, 2, 1, 1, 8), number = NumberAt(p, 1, 1, 1, total);
  if (total > 1) {
    b.mode = L"STRUCTURED " + platform::IntToWide(number) + L"/" + platform::IntToWide(total);
  }
  b.line = false;
}
