#pragma once
// Parses a TPL job, the printer's own line-oriented language: one statement
// per line, a keyword and its value. Label-level statements become setting
// records at once; object blocks (text, barcode, shape, line, arrow, picture)
// gather their values in the shared TPLData and become one record at their
// end statement. Script problems are lines in "TPL_ERROR_LOG.TXT"; TPL makes
// no SCRIPT_ERROR records.
//
// Made by the parser factory for one job. The TPLData is owned by the factory
// and must outlive the parser; the constructor resets its object fields.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "parsers/LanguageParserBase.h"
#include "parsers/tpl/TPLData.h"

class TPLParser : public CLanguageParserBase {
 public:
  // Bits of the state word.
  enum StateFlag : uint32_t {
    kDocumentOpen = 0x001,
    kLabelOpen = 0x002,
    kShapeOpen = 0x004,
    kLineOpen = 0x008,
    kArrowOpen = 0x010,
    kTextOpen = 0x020,
    kBarcodeOpen = 0x080,
    kPromptSource = 0x100,
    kSerialSource = 0x200,
    kDateTimeSource = 0x400,
    kGraphicOpen = 0x800,
  };

  explicit TPLParser(TPLData* data);
  ~TPLParser() override;

  // Reads the job line by line and runs each statement as it is read, then
  // appends the records to `out`. Always true; problems in the script go to
  // the error log.
  bool ParseData(const char* bytes, int32_t length, CommandList& out) override;

  // The same statement pass over statements already cut from a job, for
  // callers that check a statement list: the result and the state flags
  // (IsState) tell what it did, and the next ParseData starts afresh. False
  // only when STARTTPL rejects the version.
  bool parseCommandList(const std::vector<std::wstring>& statements);

  // The date/time picture for a code "0" to "19"; "MM/dd/yyyy" for any other.
  static std::wstring GetDateTimeFormat(const std::wstring& code);

  // Not empty, only digits and '-', and a '-' only once, in the first place.
  static bool IsSignedInteger(const std::wstring& text);

 private:
  using Handler = void (TPLParser::*)(const std::wstring& value);
  struct Keyword;
  static const Keyword kKeywords[];

  void RunStatement(const std::wstring& statement);
  static const Keyword* FindKeyword(std::wstring_view upperStatement);
  bool IsAnyState(uint32_t flags) const { return (state_ & flags) != 0; }
  void Log(const std::wstring& message) { LogError(message); }
  // A copy of a length in the script's units, converted to dots.
  std::wstring Dots(std::wstring value) const;

  // Value statements that store their value unchanged in one field.
  template <auto Field>
  void Store(const std::wstring& value) {
    data_->*Field = value;
  }

  // Label level.
  void StartTpl(const std::wstring& value);
  void EndTpl(const std::wstring& value);
  void StartLabel(const std::wstring& value);
  void EndLabel(const std::wstring& value);
  void CutBetweenLabels(const std::wstring& value);
  void CutAtEndOfJob(const std::wstring& value);
  void DontCut(const std::wstring& value);
  void SetCutting(const wchar_t* option);
  void LabelLength(const std::wstring& value);
  void LabelNegative(const std::wstring& value);
  void PrintSpeed(const std::wstring& value);
  void PrintDensity(const std::wstring& value);
  void LabelMirror(const std::wstring& value);
  void LabelRotate(const std::wstring& value);
  void SetUnits(const std::wstring& value);
  void LabelOrientation(const std::wstring& value);
  void LabelOffset(const std::wstring& value);
  void MatchTape(const std::wstring& value);
  void MatchRibbon(const std::wstring& value);

  // Block starts and ends.
  void StartShape(const std::wstring& value);
  void EndShape(const std::wstring& value);
  void StartGraphics(const std::wstring& value);
  void EndGraphics(const std::wstring& value);
  void StartLine(const std::wstring& value);
  void EndLine(const std::wstring& value);
  void StartArrow(const std::wstring& value);
  void EndArrow(const std::wstring& value);
  void StartText(const std::wstring& value);
  void EndText(const std::wstring& value);
  void StartBarcode(const std::wstring& value);
  void EndBarcode(const std::wstring& value);
  // Block ends that run without an open label clear their flag only inside one.
  void CloseBlock(uint32_t flag);

  // Values of shapes, lines, arrows and pictures.
  void Position(const std::wstring& value);
  void StartPoint(const std::wstring& value);
  void EndPoint(const std::wstring& value);
  void ShapeType(const std::wstring& value);
  void ArrowType(const std::wstring& value);

  // Values of texts and barcodes.
  void FontName(const std::wstring& value);
  void FontType(const std::wstring& value);
  bool TryAutosize(const std::wstring& value);
  bool TryFreeform(const std::wstring& value);
  bool TryManual(const std::wstring& value);
  void Justification(const std::wstring& value);
  void Styles(const std::wstring& value);
  void HumanReadable(const std::wstring& value);

  // Data sources.
  void GetText(const std::wstring& value);
  void GetSerial(const std::wstring& value);
  void GetDateTime(const std::wstring& value);
  void SelectSource(uint32_t source);

  TPLData* data_;  // not owned
  bool stopped_ = false;
};
