#pragma once
// The command table of the caret-and-tilde language, the one list of its
// keywords for both dialects: each row names the handler the device
// (CZPLParser) and the full dialect (ZPLFullParser) read the keyword by, or
// none where that dialect does not know it. The barcode commands have rows
// made from the barcode table (ZPLBarcodeTable.h). The first keyword a
// command begins with is its keyword; the only two-character one, "^A" (the
// font command), begins no other.

#include <string_view>
#include <vector>

#include "parsers/zpl/ZPLCommand.h"

class CZPLParser;
class ZPLFullParser;

struct ZPLCommandRow {
  // A handler; false ends the dispatch pass.
  using DeviceHandler = bool (CZPLParser::*)(const ZPLCommand& command);
  using FullHandler = bool (ZPLFullParser::*)(const ZPLCommand& command);

  std::wstring_view keyword;
  DeviceHandler device;  // null: the device reports the command unsupported
  FullHandler full;      // null: so does the full dialect
  // False where the full dialect takes the command but nothing it prints
  // changes (printer settings such as media tracking).
  bool fullPrints = true;
  // A command to the printer, not the label (cancel, reset, media and store
  // management), which the full dialect carries out and the device does not
  // know: a device-mode report says the full dialect takes it.
  bool hostCommand = false;
  // A status query ("~HS", "^HH"...): the raw port answers it before intake;
  // in a job nobody can be answered and it is taken silently.
  bool statusQuery = false;
};

struct ZPLCommandTable {
  static const std::vector<ZPLCommandRow>& Rows();
  // The row of the keyword `command` begins with, or null.
  static const ZPLCommandRow* Find(std::wstring_view command);
  // True when `command` begins with a status query's keyword.
  static bool IsStatusQuery(std::wstring_view command);
};
