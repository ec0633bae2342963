#pragma once
// Parses a DPL job: control commands introduced by STX (0x02), one-letter
// label-format commands, and object records (text, barcodes, boxes, lines,
// circles, polygons) that begin with a rotation digit and read their values
// from fixed-width columns. Lengths in a job are hundredths of an inch, or
// tenths of a millimetre after STX "m".
//
// Problems go two ways: unsupported commands and values are lines in
// "DPL_ERROR_LOG.TXT"; unknown STX commands and fields of the wrong length
// become SCRIPT_ERROR records, which the session counts.
//
// Made by the parser factory for one job. The TPLData is owned by the factory,
// shared with the TPL and XTPL parsers, and must outlive the parser; label
// length, speed, density and copies carry over in it from job to job.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/BarcodeVocabulary.h"
#include "parsers/LanguageParserBase.h"
#include "parsers/dpl/DPLRecordFields.h"
#include "parsers/tpl/TPLData.h"
#include "record/CommandRecord.h"

class DPLParser : public CLanguageParserBase {
 public:
  // Bits of the state word.
  enum StateFlag : uint32_t {
    kLabelFormat = 0x1,  // between STX "L" and "E"; nothing depends on it
  };

  static constexpr wchar_t kStx = L'\x02';
  static constexpr wchar_t kSoh = L'\x01';

  explicit DPLParser(TPLData* data);
  ~DPLParser() override;

  // Reads the job line by line, running each line as it is read, and appends
  // the records to `out`. A last line without a line break is read too.
  // Always true.
  bool ParseData(const char* bytes, int32_t length, CommandList& out) override;

  // The same pass over lines already cut from a job; the next ParseData
  // starts afresh. Always true.
  bool parseCommandList(const std::vector<std::wstring>& lines);

  // Lengths in the job's units to dots: through ConvertUnitsToDots, then
  // ConvertDPLUnits, so that fractions of an inch survive.
  std::wstring Dots(std::wstring value) const;
  // Divides a number by the unit divisor (100 in inch mode, 10 in metric
  // mode), truncating.
  void ConvertDPLUnits(std::wstring& value) const;

  // "NONE" for code 0, "SOLID" for 1; anything else logs and gives "SOLID".
  std::wstring GetFillPattern(std::wstring_view code);

 private:
  using Handler = bool (DPLParser::*)(const std::wstring& line);
  struct Command {
    wchar_t letter;
    Handler handler;
  };
  static const Command kStxCommands[];
  static const Command kFormatCommands[];

  void StartPass();
  void RunLine(const std::wstring& line);
  bool IsCommandUnsupported(const std::wstring& line);
  bool HandleSTXCommand(const std::wstring& line);
  bool HandleLabelFormatCommand(const std::wstring& line);
  void ReportError(const std::wstring& message);
  void Log(const std::wstring& message) { LogError(message); }
  void Add(record::RecordWriter& writer) { commandList_.push_back(writer.Take()); }

  // STX commands.
  bool EnterLabelFormat(const std::wstring& line);
  bool LabelLength(const std::wstring& line);
  bool MetricMode(const std::wstring& line);
  bool InchMode(const std::wstring& line);
  void ParseLabelLength(const std::wstring& line);
  bool GenerateLabelLengthCommand(record::RecordWriter& command);

  // Label-format commands.
  bool EndLabelFormat(const std::wstring& line);
  bool Heat(const std::wstring& line);
  bool PrintSpeed(const std::wstring& line);
  bool PrintQuantity(const std::wstring& line);
  bool FormatAttribute(const std::wstring& line);
  void ParseHeatSetting(const std::wstring& line);
  void ParsePrintSpeed(const std::wstring& line);
  void ParsePrintQuantity(const std::wstring& line);

  // Object records.
  bool HandleObjectCreation(const std::wstring& line);
  bool isBarcode(const dpl::ObjectHeader& header);
  static bool isText(const dpl::ObjectHeader& header);
  void ParseTextCommand(const dpl::ObjectHeader& header);
  void GenerateTextCommand();
  void GenerateBarcodeCommand();
  void ConfigureCheckSum(BarcodeId type, bool check);
  std::wstring ParseRatio(const dpl::ObjectHeader& header) const;
  std::wstring NarrowBarDensity(const dpl::ObjectHeader& header) const;
  // Dots at the parser's resolution for a text `points` tall.
  int64_t TextHeightDots(int64_t points) const;

  // Hot shapes.
  void ParseHotShape(const dpl::ObjectHeader& header);
  void ParseBoxDefinition(dpl::FieldReader& fields, bool isLong);
  void ParseLineDefinition(dpl::FieldReader& fields, bool isLong);
  void ParseCircleDefinition(dpl::FieldReader& fields);
  void ParsePolyDefinition(dpl::FieldReader& fields);
  void GenerateShapeCommand();
  void GenerateLineCommand();
  void GeneratePolyCommand();
  // A thickness in the job's units as a pen in hundredths of a point.
  std::wstring PenInHundredthsOfPoint(const std::wstring& thickness) const;

  TPLData* data_;  // not owned
  std::vector<std::wstring> polygonColumns;
  std::vector<std::wstring> polygonRows;
  std::wstring labelLengthDots_;  // the job's last STX "c" length, for each label
};
