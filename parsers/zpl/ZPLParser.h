#pragma once
// Turns one caret-and-tilde job into label records. The parser factory makes a
// CZPLParser per job and hands it the shared ZPLData, which must outlive it.
// ParseData cuts the job into commands at every "^" and "~" and runs one
// dispatch pass: label-level commands append their records at once, a field
// ("^FO", an object command, "^FD", "^FS") appends its record when its data
// arrives. Script problems become a log line plus a SCRIPT_ERROR record; a
// field without an origin ends the pass, keeping the records made before it.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "parsers/LanguageParserBase.h"
#include "parsers/zpl/ZPLData.h"
#include "parsers/zpl/ZPLFullBarcode.h"
#include "parsers/zpl/ZPLFullField.h"
#include "parsers/zpl/ZplDialect.h"

struct ZPLBarcodeRule;

class CZPLParser final : public CLanguageParserBase {
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

  // A position that must hold a number; `decimal` also allows one ".".
  struct NumericCheck {
    size_t position;
    bool decimal = false;
  };

  // How one command's parameters are read: more than `most` is a count error
  // reported with `countMessage`; `defaults` fill empty or missing positions
  // from 0 up; a failed numeric check rejects the command without a message.
  struct ParameterRule {
    size_t most;
    std::vector<std::wstring> defaults;
    std::vector<NumericCheck> numeric;
    std::wstring_view countMessage;
  };

  explicit CZPLParser(ZPLData* data, ZplDialect dialect = ZplDialect::kDevice);

  // Always true; the records, in order, are appended to `out`.
  bool ParseData(const char* bytes, int32_t length, CommandList& out) override;

  // The dispatch pass over commands already cut. False when a field without an
  // origin stopped it.
  bool parseCommandList(const std::vector<std::wstring>& commands);

  // Cuts text into commands: each runs from a "^" or "~" to the next one or
  // the end, with every CR and LF removed; text before the first is ignored.
  static std::vector<std::wstring> CutCommands(std::wstring_view text);
  // The full dialect's cut (ZPLFullReader.cpp): "^CC" and "^CT" change the
  // prefixes from where they stand; every command comes out with "^" or "~".
  static std::vector<std::wstring> CutFullCommands(std::string_view bytes);
  // The same cut, each command handed to `each` as soon as it is read (the
  // text is reused for the next one); false from `each` stops the cut.
  using CommandVisitor = std::function<bool(const std::wstring& command)>;
  static void CutFullCommands(std::string_view bytes, const CommandVisitor& each);

  // Splits at every comma; each piece trimmed. Empty text gives one empty entry.
  static void SplitParameters(std::wstring_view text, std::vector<std::wstring>& params);
  // Gives position `index` the value when it is empty or missing; a shorter
  // list grows to index + 1 entries.
  static void FillDefault(std::vector<std::wstring>& params, size_t index,
                          const std::wstring& value);
  // Digits, one leading "-", and (when allowed) one "."; the empty text passes.
  static bool IsNumeric(std::wstring_view value, bool decimalPointAllowed);

  // One line in the error log and a SCRIPT_ERROR record with the message.
  void ReportError(const std::wstring& message);

  // True when the full dialect prints `command` (the command's text, keyword
  // first). The host uses it to tell device-mode users what full mode adds.
  static bool FullDialectHandles(std::wstring_view command);

 private:
  // A command handler; false ends the dispatch pass.
  using Handler = bool (CZPLParser::*)(const std::wstring& command);
  // The dialects a row of the command table serves.
  enum RowDialects : uint8_t { kDeviceRow = 1, kFullRow = 2, kBothRows = 3 };
  struct DispatchEntry {
    std::wstring_view keyword;
    Handler handler;
    uint8_t dialects = kBothRows;
  };
  // One table for both dialects: the full dialect's own rows come first and
  // shadow a shared row of the same keyword.
  static const std::vector<DispatchEntry>& DispatchTable();
  static std::vector<DispatchEntry> FullDialectRows();  // ZPLFullDispatch.cpp
  // The handler of the first keyword of the dialect the command begins with,
  // or null.
  static Handler FindHandler(std::wstring_view command, ZplDialect dialect);
  // Forgets what an earlier pass left: records, the field, the format.
  void BeginPass();
  // Runs one command; false ends the dispatch pass.
  bool RunCommand(const std::wstring& command);
  bool RunFullCommand(const std::wstring& command);
  // A graphic or barcode command read as the device reads it.
  bool RunSharedCommand(const std::wstring& command);

  // The command's text after its keyword (empty when there is none).
  static std::wstring_view ParameterText(std::wstring_view command, size_t keywordLength) {
    return command.size() > keywordLength ? command.substr(keywordLength) : std::wstring_view();
  }
  // Split, count check, defaults and numeric checks of a command's parameter
  // text (the command after its keyword).
  bool ReadParameters(std::wstring_view text, const ParameterRule& rule,
                      std::vector<std::wstring>& params);
  // Reports a missing field origin (log and record texts may differ) and ends
  // the pass.
  bool StopForMissingOrigin(const std::wstring& logMessage, const std::wstring& recordMessage);

  // Label-level and setting commands (ZPLSettingCommands.cpp).
  bool StartLabel(const std::wstring& command);
  bool EndLabel(const std::wstring& command);
  bool EndField(const std::wstring& command);
  bool Comment(const std::wstring& command);
  bool UnitsOfMeasure(const std::wstring& command);
  bool ChangeDefaultFont(const std::wstring& command);
  bool BarcodeFieldDefault(const std::wstring& command);
  bool FieldOrientationDefault(const std::wstring& command);
  bool SetDateAndTime(const std::wstring& command);
  bool PrintMirror(const std::wstring& command);
  bool FieldReverse(const std::wstring& command);
  bool PrintQuantity(const std::wstring& command);
  bool LabelLength(const std::wstring& command);
  bool PrintOrientation(const std::wstring& command);
  bool TearOffAdjust(const std::wstring& command);
  bool ConfigurationLabel(const std::wstring& command);

  // Field commands (ZPLFieldCommands.cpp).
  bool FieldOrigin(const std::wstring& command);
  bool Font(const std::wstring& command);
  bool FieldData(const std::wstring& command);
  void AppendText(const std::wstring& data);
  void AppendBarcode(const std::wstring& data);
  std::wstring FontSizeInPoints(const std::wstring& heightInDots) const;
  std::wstring DensityInMils(const std::wstring& moduleInDots) const;

  // Graphic commands (ZPLGraphicCommands.cpp).
  bool Box(const std::wstring& command);
  bool Circle(const std::wstring& command);
  bool Ellipse(const std::wstring& command);
  bool DiagonalLine(const std::wstring& command);
  bool GraphicField(const std::wstring& command);
  record::RecordWriter ShapeAtOrigin(const wchar_t* name, const std::wstring& width,
                                     const std::wstring& height,
                                     const std::wstring& thickness) const;
  // An object command's parameters; a rejected command drops the field origin.
  bool ReadObjectParameters(const std::wstring& command, const ParameterRule& rule,
                            std::vector<std::wstring>& params);
  void AcceptObject(PendingObject pending);

  // Barcode commands (ZPLBarcodeCommands.cpp), one table for all of them.
  // The rule of the barcode command `command` begins with, or null.
  static const ZPLBarcodeRule* FindBarcodeRule(std::wstring_view command);
  bool Barcode(const std::wstring& command, const ZPLBarcodeRule& rule);
  bool ReadBarcodeParameters(const std::wstring& command, const ZPLBarcodeRule& rule);

  // The full dialect (ZPLFull*.cpp, ZPLFieldBlock.cpp): its own label,
  // field and setting commands; the graphic and barcode commands are the
  // shared ones, reached through FullObject.
  bool FullStartLabel(const std::wstring& command);
  bool FullEndLabel(const std::wstring& command);
  bool FullFieldOrigin(const std::wstring& command);
  bool FullFieldTypeset(const std::wstring& command);
  bool FullFont(const std::wstring& command);
  bool FullDefaultFont(const std::wstring& command);
  bool FullFieldData(const std::wstring& command);
  bool FullFieldSeparator(const std::wstring& command);
  bool FullFieldHex(const std::wstring& command);
  bool FullFieldReverse(const std::wstring& command);
  bool FullFieldBlock(const std::wstring& command);
  bool FullSerialNumber(const std::wstring& command);
  bool FullFieldOrientation(const std::wstring& command);
  bool FullObject(const std::wstring& command);
  bool FullLabelHome(const std::wstring& command);
  bool FullLabelShift(const std::wstring& command);
  bool FullLabelTop(const std::wstring& command);
  bool FullPrintWidth(const std::wstring& command);
  bool FullLabelLength(const std::wstring& command);
  bool FullPrintQuantity(const std::wstring& command);
  bool FullEncoding(const std::wstring& command);
  bool FullFontAlias(const std::wstring& command);
  bool FullIgnored(const std::wstring& command);
  bool FullPrefixChange(const std::wstring& command);
  bool FullSymbolFont(const std::wstring& command);
  bool FullNotYet(const std::wstring& command);
  bool FullSetOrigin(const std::wstring& command, ZPLFullField::Origin origin);
  void FullEmitField();
  void FullEmitText();
  void FullEmitBarcode();
  std::wstring FullFieldText() const;
  // A long command (a graphic's data) is logged by its start.
  static std::wstring ShortCommand(const std::wstring& command);
  void FullReportBadParameters(std::wstring_view name, const std::wstring& command);
  // The numbers of a full-dialect command; false (and a log line) when the
  // command is malformed.
  bool FullNumbers(const std::wstring& command, size_t keywordLength, size_t most,
                   std::wstring_view name, std::vector<std::wstring>& params);

  // Full-dialect barcodes (ZPLFullBarcodes.cpp, ZPLFullBarcodeRecord.cpp).
  bool FullBarcode(const std::wstring& command);
  bool FullBarcodeDefault(const std::wstring& command);
  void FullAppendBarcode(const std::wstring& data);
  ZPLFullBarcode fullBarcode_;   // the field's barcode command, read the full way
  bool fullBarcodeSet_ = false;  // false: the field's barcode is the shared command's

  ZPLData* data_;  // not owned; the factory keeps it
  ZplDialect dialect_;
  FieldState fieldState_ = NO_ORIGIN;
  std::wstring barcodeTypeName_;

  // Per dispatch pass.
  std::wstring originX_;
  std::wstring originY_;
  std::vector<std::wstring> pendingFont_;
  std::vector<std::wstring> pendingBarcode_;

  // Full dialect, per format.
  ZPLFullField field_;
  bool formatOpen_ = false;
  bool formatPrints_ = false;          // a field was emitted: the format prints a label
  std::wstring quantity_;              // "^PQ" labels, emitted with the label
  int64_t replicates_ = 0;             // "^PQ": further copies of each serial number
  std::vector<size_t> serialRecords_;  // this format's SEQUENCE_TEXT records
  int64_t lastFtX_ = 0, lastFtY_ = 0;  // where a field without coordinates goes

  // Full dialect: graphics and stored formats (ZPLFullGraphics.cpp,
  // ZPLStoredFormats.cpp).
  bool FullGraphicField(const std::wstring& command);
  bool FullDownloadGraphic(const std::wstring& command);
  bool FullRecallGraphic(const std::wstring& command);
  bool FullRecallImage(const std::wstring& command);
  bool FullRecallStored(const std::wstring& command, const std::wstring& object, int64_t mx,
                        int64_t my);
  void FullEmitGraphic(const std::wstring& name, int64_t width, int64_t height, int64_t mx,
                       int64_t my);
  bool FullDownloadFormat(const std::wstring& command);
  bool FullStoreCommand(const std::wstring& command);
  bool FullRecallFormat(const std::wstring& command);
  bool FullFieldNumber(const std::wstring& command);
  bool FullNumberedField();
  void FullRunRecalls();
  void FullRunStoredFormat(const std::wstring& name);
  void FullResetStoredFormats();
  // Boxes, circles, ellipses and diagonals (ZPLFullShapes.cpp).
  bool FullDiagonalLine(const std::wstring& command);
  bool FullLabelReverse(const std::wstring& command);
  void FullSetShapeInk(size_t index, bool white);
  void FullReverseShape();

  std::wstring storingFormat_;  // "^DF": the file the format's commands go to
  std::string storedBytes_;
  std::vector<std::wstring> recalls_;                // "^XF" of this format, run at "^XZ"
  std::vector<std::wstring> recallStack_;            // formats being recalled, outermost first
  std::map<int64_t, std::wstring> fieldValues_;      // "^FN" data for the recalled fields
  size_t recalledCommands_ = 0;                      // per job
  std::map<std::wstring, std::string> formatCache_;  // stored formats read in this job
};
