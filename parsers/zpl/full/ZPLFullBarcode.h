#pragma once
// A barcode field of the full dialect: what its command ("^BC", "^BQ", ...)
// and "^BY" set, and how its "^FD" data becomes the data the symbology
// encodes. ZPLFullParser reads the command into one of these
// (ZPLFullBarcodes.cpp) by its row of the barcode table (ZPLBarcodeTable.h)
// and writes the BARCODE record with the symbol positions when the field is
// separated. The data functions (ZPLFullBarcodeData.cpp) are pure, for tests.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/BarcodeVocabulary.h"

struct ZPLFullBarcode {
  // How the field's data is read before it is encoded.
  enum class Data {
    kPlain,       // as given
    kCode128,     // "^BC": invocation codes (">;", ">8" ...) by `code128Mode`
    kDigits,      // UPC/EAN: the digits, cut to `digits` (the printer adds the check digit)
    kCodabar,     // framed by `startStop`
    kQr,          // "^FD" switches: error level, input mode, comma
    kDataMatrix,  // escape sequences after `escape` (quality 200)
    kMaxiCode,    // modes 2 and 3: the primary message leads the data
  };

  BarcodeId type = BarcodeId::kCode128;
  Data data = Data::kPlain;
  wchar_t orientation = L'N';
  int64_t height = 10;  // bar height, dots
  bool line = true;     // human-readable line
  bool lineAbove = false;
  bool check = false;  // the optional check character
  int64_t moduleDots = 2;
  std::wstring ratio = L"3.0";
  int32_t errorLevel = -1;
  int32_t symbolSize = 0;
  int32_t rows = 0;
  int64_t rowDots = 0;  // stacked row height; matrix symbol height when moduleDots is 0
  std::wstring mode;    // record kSymbolMode
  wchar_t code128Mode = L'N';
  wchar_t escape = L'~';
  std::wstring startStop = L"AA";
  int32_t digits = 0;
};

// The symbol options a 2-D command gives after its orientation
// (ZPLSymbolOptions.cpp); `magnification` is the printer's default module,
// one dot per 100 dpi.
using ZPLSymbolOptionReader = void (*)(const std::vector<std::wstring>& params,
                                       int64_t magnification, ZPLFullBarcode& barcode);
void ReadQrOptions(const std::vector<std::wstring>& p, int64_t magnification, ZPLFullBarcode& b);
void ReadDataMatrixOptions(const std::vector<std::wstring>& p, int64_t magnification,
                           ZPLFullBarcode& b);
void ReadAztecOptions(const std::vector<std::wstring>& p, int64_t magnification, ZPLFullBarcode& b);
void ReadPdf417Options(const std::vector<std::wstring>& p, int64_t magnification,
                       ZPLFullBarcode& b);
void ReadMicroPdfOptions(const std::vector<std::wstring>& p, int64_t magnification,
                         ZPLFullBarcode& b);
void ReadMaxiCodeOptions(const std::vector<std::wstring>& p, int64_t magnification,
                         ZPLFullBarcode& b);

// The data a symbology encodes, with what the data itself says about the
// symbol (a QR level, GS1 element strings, a MaxiCode primary message).
struct ZPLBarcodeData {
  std::wstring data;
  std::wstring mode;        // "GS1", "SUBSET B" or the command's own
  int32_t errorLevel = -1;  // -1: the command's
  std::wstring primary;
  // What reading changed of the job's data, said for a warning (empty when
  // nothing): characters dropped, digits cut, a check digit replaced.
  std::wstring changed;
};

// Reads `data` as `barcode` says.
ZPLBarcodeData ReadZplBarcodeData(const ZPLFullBarcode& barcode, const std::wstring& data);

// Code 128 in mode N (normal) or A (automatic): invocation codes become the
// characters and FNC1s they stand for. Mode U and D as ZPL defines them.
ZPLBarcodeData ReadCode128(wchar_t mode, std::wstring_view data);

// GS1 element strings between FNC1s ("01095011010209171719050810ABC") in
// zint's bracketed form ("[01]095011010209171719050810ABC"): each string's
// application identifier is 2, 3 or 4 digits as its first digits say.
std::wstring BracketElementStrings(std::wstring_view fnc1Separated, wchar_t fnc1);

// The GS1 mod-10 check digit of `digits`.
wchar_t Gs1CheckDigit(std::wstring_view digits);
