#pragma once
// The device dialect of the caret-and-tilde language: this printer's own
// ZPL, exactly as the printer reads it. The name CZPLParser is fixed by the
// printer's contract. The parser factory makes one per job (ZPLFullParser,
// in full/, when the host chose the full dialect) and hands it the shared
// ZPLData, which must outlive it.
//
// ParseData cuts the job into commands (ZPLReader.h) and runs one dispatch
// pass through the command table (ZPLCommandTable.h): label-level commands
// append their records at once, a field ("^FO", an object command, "^FD",
// "^FS") appends its record when its data arrives. Script problems become a
// log line plus a SCRIPT_ERROR record; a field without an origin ends the
// pass, keeping the records made before it.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "parsers/zpl/ZPLParserCore.h"

class CZPLParser final : public ZPLParserCore {
 public:
  enum FieldState { NO_ORIGIN, ORIGIN_SET, OBJECT_DEFINED, DATA_GIVEN };
  enum PendingObject : int32_t {
    PENDING_NONE,
    PENDING_RECTANGLE,
    PENDING_CIRCLE,
    PENDING_ELLIPSE,
    PENDING_TEXT,
    PENDING_BARCODE,
    PENDING_LINE,
  };

  explicit CZPLParser(ZPLData* data);

  // Always true; the records, in order, are appended to `out`.
  bool ParseData(const char* bytes, int32_t length, CommandList& out) override;

  // The dispatch pass over commands already cut. False when a field without an
  // origin stopped it.
  bool parseCommandList(const std::vector<std::wstring>& commands);

  // True when the full dialect prints `command` (the command's text, keyword
  // first) or carries it out as a command to the printer. The host uses it
  // to tell device-mode users what full mode adds.
  static bool FullDialectHandles(std::wstring_view command);

 private:
  friend struct ZPLCommandTable;

  // Forgets what an earlier pass left: records and the field.
  void BeginPass();
  // Runs one command; false ends the dispatch pass.
  bool RunCommand(const std::wstring& command);
  // Reports a missing field origin (log and record texts may differ) and ends
  // the pass.
  bool StopForMissingOrigin(const std::wstring& logMessage, const std::wstring& recordMessage);

  // Label-level and setting commands (ZPLSettingCommands.cpp).
  bool StartLabel(const ZPLCommand& command);
  bool EndLabel(const ZPLCommand& command);
  bool EndField(const ZPLCommand& command);
  bool ChangeDefaultFont(const ZPLCommand& command);
  bool BarcodeFieldDefault(const ZPLCommand& command);
  bool FieldOrientationDefault(const ZPLCommand& command);
  bool FieldReverse(const ZPLCommand& command);
  bool PrintQuantity(const ZPLCommand& command);
  bool LabelLength(const ZPLCommand& command);

  // Field commands (ZPLFieldCommands.cpp).
  bool FieldOrigin(const ZPLCommand& command);
  bool Font(const ZPLCommand& command);
  bool FieldData(const ZPLCommand& command);
  void AppendText(const std::wstring& data);

  // Graphic commands (ZPLGraphicCommands.cpp).
  bool Box(const ZPLCommand& command);
  bool Circle(const ZPLCommand& command);
  bool Ellipse(const ZPLCommand& command);
  bool DiagonalLine(const ZPLCommand& command);
  bool GraphicField(const ZPLCommand& command);
  // A shape at the field origin; a rejected command drops the origin.
  void AppendShape(const ZPLCommand& command, PendingObject pending);
  void AcceptObject(PendingObject pending);

  // Barcode commands (ZPLBarcodeCommands.cpp), each by its row of the
  // barcode table.
  bool Barcode(const ZPLCommand& command);

  FieldState fieldState_ = NO_ORIGIN;
  BarcodeId barcodeType_ = BarcodeId::kCode128;

  // Per dispatch pass.
  std::wstring originX_;
  std::wstring originY_;
  std::vector<std::wstring> pendingFont_;
  std::vector<std::wstring> pendingBarcode_;
};
