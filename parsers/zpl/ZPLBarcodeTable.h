#pragma once
// The barcode commands of both dialects, one row per keyword and the only
// list of them: the type each prints (a row of the engine's barcode
// vocabulary), how the device reads its parameters and what it says without
// a field origin, and how the full dialect reads it. A command the device
// does not know ("^BD") has no device rule; one the full dialect reads as the
// device does ("^B9", "^BS") has no full reading.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "engine/BarcodeVocabulary.h"
#include "parsers/zpl/full/ZPLFullBarcode.h"

// How the device reads a barcode command's parameters so that "^FD" finds
// orientation, height and the three flags at positions 0-4.
struct ZPLDeviceBarcodeRule {
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

  bool known = false;    // false: the device reports the command unsupported
  bool checked = false;  // false: taken as written, with no count, default or number check
  size_t most = 0;
  std::vector<Default> defaults;
  std::vector<size_t> integers;
  Layout layout = KEPT;
  std::wstring_view countMessage;
  std::wstring originLog;
  std::wstring originRecord;
};

// How the full dialect reads a barcode command. `layout` names its leading
// parameters: o orientation, h bar height, f line, g line above, e / E check
// character (default no / yes), c MSI check (A: none), m Code 128 mode, s
// Codabar start, t stop, i Code 49 line (N, A above, B below), x ignored. A
// `reader` takes the symbol options after them.
struct ZPLFullBarcodeRule {
  bool known = false;  // false: read as the device reads it
  ZPLFullBarcode::Data data = ZPLFullBarcode::Data::kPlain;
  std::wstring_view layout;
  ZPLSymbolOptionReader reader = nullptr;
};

struct ZPLBarcodeRow {
  std::wstring_view keyword;
  BarcodeId type;
  ZPLDeviceBarcodeRule device;
  ZPLFullBarcodeRule full;
};

// Every row, in the table's order.
const std::vector<ZPLBarcodeRow>& ZplBarcodeRows();

// The row of the barcode command `command` begins with, or null.
const ZPLBarcodeRow* FindZplBarcode(std::wstring_view command);
