#pragma once
// What the two ZPL dialects' parsers (CZPLParser, the device's, and
// ZPLFullParser, the full printer's) do alike, and nothing that lasts from
// one label or field to the next: reading a command's parameters by its
// rule, reporting a script error, appending records, the setting commands
// both read the device's way ("^MU", "^ST", "^PM", "^PO", "~TA", "~WC",
// "^FX"), and the shapes and device-read barcodes both build. The per-label
// state is each dialect's own.
//
// Handlers append records, each complete, and they reach the parser's list
// through Commit only: once there a record never changes (WatchRecords lets
// a caller see each one as it is committed).

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/BarcodeVocabulary.h"
#include "parsers/LanguageParserBase.h"
#include "parsers/zpl/ZPLCommand.h"
#include "parsers/zpl/ZPLData.h"
#include "record/CommandRecord.h"

struct ZPLBarcodeRow;
struct ZPLCommandTable;

class ZPLParserCore : public CLanguageParserBase {
 public:
  // One line in the error log and a SCRIPT_ERROR record with the message.
  void ReportError(const std::wstring& message);

  // Called with every record as it is committed to the parser's list.
  using RecordWatch = std::function<void(const LabelCommand& record)>;
  void WatchRecords(RecordWatch watch) { watch_ = std::move(watch); }

 protected:
  explicit ZPLParserCore(ZPLData* data);

  // Appends a complete record (through Write, where a dialect may keep it
  // back, in order, until what it still needs is known).
  void Append(LabelCommand record) { Write(std::move(record)); }
  void Append(int32_t kind, std::vector<std::wstring> params = {});
  virtual void Write(LabelCommand record) { Commit(std::move(record)); }
  // Puts the record on the parser's list: from here on it never changes.
  void Commit(LabelCommand record);

  // The rule's reading of `text`; a count error is reported. False when the
  // command is rejected.
  bool ReadParameters(std::wstring_view text, const zpl::ParameterRule& rule,
                      std::vector<std::wstring>& params);

  // Commands that change nothing the parser makes: comments, the prefix
  // changes the reader has acted on, printer settings of no effect here.
  bool Ignore(const ZPLCommand& command);
  // The setting commands both dialects read alike (ZPLSharedCommands.cpp).
  bool UnitsOfMeasure(const ZPLCommand& command);
  bool SetDateAndTime(const ZPLCommand& command);
  bool PrintMirror(const ZPLCommand& command);
  bool PrintOrientation(const ZPLCommand& command);
  bool TearOffAdjust(const ZPLCommand& command);
  bool ConfigurationLabel(const ZPLCommand& command);

  // A box, circle or ellipse as its command ("^GB", "^GC", "^GE") gives it
  // (ZPLShapeCommands.cpp); none when the command is rejected.
  struct Shape {
    const wchar_t* name;
    std::wstring width, height, thickness;  // dots; a side is never less than the border
    std::wstring colour;                    // "B" or "W" as written
    std::optional<std::wstring> corner;     // boxes: the corner rounding
  };
  std::optional<Shape> ReadShape(const ZPLCommand& command);
  // Its SHAPE record at x, y: the thickness becomes the pen and the colour
  // rides in the unused position.
  record::RecordWriter ShapeRecord(const Shape& shape, const std::wstring& x,
                                   const std::wstring& y) const;

  // A barcode command read by the device's rule (ZPLDeviceBarcode.cpp), the
  // given orientation and height its defaults; false when it is rejected.
  bool ReadDeviceBarcode(const ZPLCommand& command, const ZPLBarcodeRow& row,
                         const std::wstring& orientation, const std::wstring& height,
                         std::vector<std::wstring>& params);
  // The BARCODE record of a device-read barcode with its field data.
  LabelCommand DeviceBarcodeRecord(BarcodeId type, const std::vector<std::wstring>& params,
                                   const std::wstring& fieldData, const std::wstring& x,
                                   const std::wstring& y) const;

  // A font height in dots as points at this printer's resolution.
  std::wstring FontSizeInPoints(const std::wstring& heightInDots) const;
  // A module width in dots as mils at this printer's resolution.
  std::wstring DensityInMils(const std::wstring& moduleInDots) const;

  ZPLData* data_;  // not owned; the factory keeps it

 private:
  friend struct ZPLCommandTable;
  RecordWatch watch_;
};
