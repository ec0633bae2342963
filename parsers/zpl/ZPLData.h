#pragma once
// The keyword table of the caret-and-tilde language: its vocabulary, the
// defaults that "^CF", "^BY" and "^FW" change, the font-letter table and the
// attribute values the parser copies into text and barcode records. The parser
// factory makes one and hands it to every ZPL parser of either dialect;
// nothing but the constructor resets the defaults, so settings carry over
// from job to job. The device's defaults are the strings below; the full
// dialect's are ZPLFullSettings (it reads the device's barcode height and
// module only for the two barcodes it reads the device's way, "^B9" and "^BS").

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "parsers/ScriptData.h"

// The settings of the full dialect that last from format to format, as on a
// full ZPL printer. The device dialect neither reads nor writes them.
struct ZPLFullSettings {
  int64_t homeX = 0;  // "^LH", dots
  int64_t homeY = 0;
  int64_t shift = 0;               // "^LS": fields move this far left, dots
  int64_t top = 0;                 // "^LT": fields move this far down, dots
  std::wstring printWidth;         // "^PW", dots; empty: the media's width
  std::wstring labelLength;        // "^LL", dots; empty: the content's length
  int32_t encoding = 0;            // "^CI"
  std::wstring font = L"A";        // "^CF": font, height and width; an empty
  std::wstring fontHeight = L"9";  // height or width follows the other
  std::wstring fontWidth = L"5";
  wchar_t orientation = L'N';                   // "^FW": default orientation of fields
  int32_t justification = 0;                    // "^FW": 0 left, 1 right, 2 auto (left)
  std::map<wchar_t, std::wstring> fontAliases;  // "^CW": letter -> font file name
  // "^BY": what barcodes default to.
  int64_t barcodeModule = 2;           // narrow bar, dots
  std::wstring barcodeRatio = L"3.0";  // wide to narrow
  int64_t barcodeHeight = 10;          // bar height, dots
  bool labelReverse = false;           // "^LR": every field reverses what is below
};

class ZPLData final : public ScriptData {
 public:
  // Command prefixes and the commands this language knows. Only the ones the
  // parser dispatches on are acted upon; the rest are reported as unsupported.
  static constexpr std::wstring_view kCaret = L"^";
  static constexpr std::wstring_view kTilde = L"~";
  static constexpr std::wstring_view kXA = L"^XA", kXZ = L"^XZ", kFO = L"^FO", kGB = L"^GB";
  static constexpr std::wstring_view kGC = L"^GC", kGD = L"^GD", kGE = L"^GE", kGF = L"^GF";
  static constexpr std::wstring_view kA = L"^A", kCF = L"^CF", kCW = L"^CW", kFD = L"^FD";
  static constexpr std::wstring_view kFS = L"^FS", kB3 = L"^B3", kBC = L"^BC", kB2 = L"^B2";
  static constexpr std::wstring_view kBE = L"^BE", kBU = L"^BU", kB0 = L"^B0", kB1 = L"^B1";
  static constexpr std::wstring_view kB4 = L"^B4", kB5 = L"^B5", kB7 = L"^B7", kB8 = L"^B8";
  static constexpr std::wstring_view kB9 = L"^B9", kBA = L"^BA", kBB = L"^BB", kBD = L"^BD";
  static constexpr std::wstring_view kBF = L"^BF", kBI = L"^BI", kBJ = L"^BJ", kBK = L"^BK";
  static constexpr std::wstring_view kBL = L"^BL", kBM = L"^BM", kBO = L"^BO", kBP = L"^BP";
  static constexpr std::wstring_view kBQ = L"^BQ", kBR = L"^BR", kBS = L"^BS", kBT = L"^BT";
  static constexpr std::wstring_view kBX = L"^BX", kBY = L"^BY", kBZ = L"^BZ", kFP = L"^FP";
  static constexpr std::wstring_view kFR = L"^FR", kFT = L"^FT", kMU = L"^MU", kPS = L"~PS";
  static constexpr std::wstring_view kPW = L"^PW", kSN = L"^SN", kFW = L"^FW", kST = L"^ST";
  static constexpr std::wstring_view kJR = L"~JR", kPM = L"^PM", kPO = L"^PO", kPQ = L"^PQ";
  static constexpr std::wstring_view kWC = L"~WC", kLL = L"^LL", kLH = L"^LH", kTA = L"~TA";
  static constexpr std::wstring_view kFX = L"^FX";

  ZPLData();

  void ResetAll() override;
  void ResetShape() override;
  void ResetGraphic() override;
  void ResetLine() override;
  void ResetText() override;

  // The face name of a font letter ("A" Arial ... "D" Times New Roman), looked
  // up upper-cased; any other letter is Arial.
  const std::wstring& FontNameFor(std::wstring_view letter) const;

  // The label-negative value "^FR" hands on; no command of this language sets it.
  const std::wstring& LabelNegative() const { return labelLength; }

  // Defaults read and changed by the setting commands.
  std::wstring fieldOrientation;    // "^FW"
  std::wstring barcodeModuleWidth;  // "^BY"
  std::wstring barcodeRatio;        // "^BY"
  std::wstring barcodeHeight;       // "^BY"
  std::wstring font;                // "^CF"
  std::wstring fontHeight;          // "^CF"
  std::wstring fontWidth;           // "^CF"

  ZPLFullSettings full;  // the full dialect's lasting settings

 private:
  std::map<std::wstring, std::wstring> fontLetters_;
};
