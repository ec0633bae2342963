#pragma once
// The full dialect of the caret-and-tilde language: what a full ZPL printer
// does with a job (field typesetting, field blocks, encodings, graphics,
// stored formats, barcode options). The parser factory makes one per job
// when the host chose the full dialect, and hands it the shared ZPLData,
// which must outlive it. It reads with the language's one reader
// (ZPLReader.h, prefix changes and binary graphics on) and dispatches through
// the one command table (ZPLCommandTable.h); the barcode table, the record
// writers and the parameter rules are the language's too.
//
// A field is set when it is separated, as on a full printer: its commands
// may come in any order, and "^FS" (or a new origin, "^XA", "^XZ") writes its
// records, each once and complete. A serial-number field needs the format's
// "^PQ", which may follow it: from the first such field to "^XZ" the
// format's records wait, in order, and are appended when it ends. Script
// problems are logged and the rest of the label prints.

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "parsers/zpl/ZPLParserCore.h"
#include "parsers/zpl/full/ZPLFullBarcode.h"
#include "parsers/zpl/full/ZPLFullField.h"

struct ZPLBarcodeRow;

class ZPLFullParser final : public ZPLParserCore {
 public:
  explicit ZPLFullParser(ZPLData* data);

  // Always true; the records, in order, are appended to `out`.
  bool ParseData(const char* bytes, int32_t length, CommandList& out) override;

 private:
  friend struct ZPLCommandTable;

  // Forgets what an earlier pass left; at the end, writes what a job cut off
  // in the middle of a format had made.
  void BeginPass();
  void EndPass();
  bool RunCommand(const std::wstring& command);

  // Records of a format that wait for its "^XZ" (ZPLFormatRecords.cpp).
  void Write(LabelCommand record) override;
  // Writes the format's START_LABEL, and the settings waiting for it, before
  // its first record of `kind` that belongs to a label.
  void StartLabelFor(int32_t kind);
  void WriteSettings();
  void WriteSerial(record::RecordWriter serial);
  void ReleaseRecords(const std::wstring& labels);

  // Formats and label settings (ZPLFullLabelCommands.cpp).
  bool StartLabel(const ZPLCommand& command);
  bool EndLabel(const ZPLCommand& command);
  bool LabelHome(const ZPLCommand& command);
  bool LabelShift(const ZPLCommand& command);
  bool LabelTop(const ZPLCommand& command);
  bool PrintWidth(const ZPLCommand& command);
  bool LabelLength(const ZPLCommand& command);
  bool PrintQuantity(const ZPLCommand& command);
  bool Encoding(const ZPLCommand& command);
  bool FontAlias(const ZPLCommand& command);
  bool DefaultFont(const ZPLCommand& command);
  bool LabelReverse(const ZPLCommand& command);
  bool Units(const ZPLCommand& command);
  // A long command (a graphic's data) is logged by its start.
  static std::wstring ShortCommand(std::wstring_view command);
  void ReportBadParameters(std::wstring_view name, const ZPLCommand& command);
  // The numbers of a command; false (and a log line) when it is malformed.
  bool Numbers(const ZPLCommand& command, size_t most, std::wstring_view name,
               std::vector<std::wstring>& params);

  // Field commands (ZPLFullFieldCommands.cpp, ZPLFieldBlock.cpp).
  bool FieldOrigin(const ZPLCommand& command);
  bool FieldTypeset(const ZPLCommand& command);
  bool SetOrigin(const ZPLCommand& command, ZPLFullField::Origin origin);
  bool Font(const ZPLCommand& command);
  bool SymbolFont(const ZPLCommand& command);
  bool FieldData(const ZPLCommand& command);
  bool FieldSeparator(const ZPLCommand& command);
  bool FieldHex(const ZPLCommand& command);
  bool FieldReverse(const ZPLCommand& command);
  bool FieldBlock(const ZPLCommand& command);
  bool SerialNumber(const ZPLCommand& command);
  bool FieldOrientation(const ZPLCommand& command);
  // False (and a log line) when the field has no origin for the object
  // command; the command still claims the field.
  bool ClaimField(const ZPLCommand& command);

  // Writing a field when it is separated (ZPLFullText.cpp).
  void EmitField();
  void EmitText();
  std::wstring FieldText() const;
  // The UL and CSA marks of a "^GS" field, drawn from circles and letters
  // (ZPLApprovalMarks.cpp); the field's own text leaves them out.
  void EmitApprovalMarks(const std::wstring& marks, int64_t left, int64_t top, int64_t cell);
  std::wstring DecodedData() const;

  // The objects a field draws (ZPLFullShapes.cpp): written with the field,
  // when their ink is known ("^FR" may follow them).
  struct FieldObject {
    record::RecordWriter record;
    size_t inkPosition;
    bool white;
    bool reversed;  // "^FR" or "^LR" reverses what lies below it
  };
  void AddObject(record::RecordWriter record, size_t inkPosition, bool white);
  void WriteObjects();
  bool GraphicShape(const ZPLCommand& command);
  bool DiagonalLine(const ZPLCommand& command);

  // Barcodes (ZPLFullBarcodes.cpp, ZPLFullBarcodeRecord.cpp).
  bool Barcode(const ZPLCommand& command);
  bool BarcodeDefault(const ZPLCommand& command);
  void ReadBarcodeCommand(const ZPLCommand& command, const ZPLBarcodeRow& row);
  void EmitBarcode();
  LabelCommand BarcodeRecord(const std::wstring& data) const;

  // Graphics (ZPLFullGraphics.cpp).
  bool GraphicField(const ZPLCommand& command);
  bool DownloadGraphic(const ZPLCommand& command);
  bool RecallGraphic(const ZPLCommand& command);
  bool RecallImage(const ZPLCommand& command);
  bool RecallStored(const ZPLCommand& command, const std::wstring& object, int64_t mx, int64_t my);
  void AddGraphic(const std::wstring& name, int64_t width, int64_t height, int64_t mx, int64_t my);

  // Commands to the printer, not the label (ZPLHostCommands.cpp).
  bool CancelAll(const ZPLCommand& command);
  bool DeleteObject(const ZPLCommand& command);

  // Stored formats (ZPLStoredFormats.cpp).
  bool DownloadFormat(const ZPLCommand& command);
  bool StoreCommand(const std::wstring& command);
  bool RecallFormat(const ZPLCommand& command);
  bool FieldNumber(const ZPLCommand& command);
  bool NumberedField();
  void RunRecalls();
  void RunStoredFormat(const std::wstring& name);
  void ResetStoredFormats();

  // Per format.
  ZPLFullField field_;
  std::vector<FieldObject> objects_;  // the field's shapes and pictures, in order
  // The barcode the field prints at "^FS": none, one read the full way
  // (barcode_), or one read as the device reads it (deviceBarcode_).
  enum class FieldBarcode { kNone, kFull, kDevice } fieldBarcode_ = FieldBarcode::kNone;
  ZPLFullBarcode barcode_;
  BarcodeId deviceType_ = BarcodeId::kUPCE2;
  std::vector<std::wstring> deviceBarcode_;
  bool formatPrints_ = false;  // a field was written: the format prints a label
  // Between "^XA" and "^XZ"; the label is started by the format's first
  // record that is more than a printer setting, so a format that only sets
  // the printer up starts no label.
  bool inFormat_ = false;
  bool labelStarted_ = false;
  std::vector<LabelCommand> settings_;  // printer settings before the label starts
  std::wstring quantity_;               // "^PQ" labels, written with the label
  int64_t replicates_ = 0;              // "^PQ": further copies of each serial number
  // From the format's first serial-number field on, its records wait here
  // for the format's label count.
  bool holding_ = false;
  bool formatHasSerial_ = false;  // copies are then 1 + replicates
  std::vector<std::variant<LabelCommand, record::RecordWriter>> held_;

  // Per job.
  double unitFactor_ = 1.0;            // "^MU": dots per unit of the job's measurements
  int64_t lastFtX_ = 0, lastFtY_ = 0;  // where a field without coordinates goes
  std::wstring storingFormat_;         // "^DF": the file the format's commands go to
  std::string storedBytes_;
  std::vector<std::wstring> recalls_;            // "^XF" of this format, run at "^XZ"
  std::vector<std::wstring> recallStack_;        // formats being recalled, outermost first
  std::map<int64_t, std::wstring> fieldValues_;  // "^FN" data for the recalled fields
  size_t recalledCommands_ = 0;
  std::map<std::wstring, std::string> formatCache_;  // stored formats read in this job
};
