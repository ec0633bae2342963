#pragma once
// Turns one job of the line-command language into label records. The parser
// factory makes a CJPLParser per job and hands it the shared JPLData, which
// must outlive it. ParseData cuts the job into lines, drops comment lines and
// adds a closing "JZ"; parseCommandList dispatches each line on its first
// character. Script problems are log lines only ("Unsupported command: ");
// object lines with too few fields are skipped without a word.
//
// Every printed label starts with START_LABEL: a "J" line opens one, and the
// first record of a job that has no "J" before it opens one too, so a job
// never draws onto the previous job's label. A "J" that finds the open label
// holding objects prints it first, so every label of the job prints.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "parsers/LanguageParserBase.h"
#include "parsers/jpl/JPLData.h"

class CJPLParser final : public CLanguageParserBase {
 public:
  // State word flags, for one dispatch pass.
  enum StateFlags : uint32_t {
    kIgnoredBlock = 1u << 0,     // between "<ABC>" and "</ABC>"
    kLabelOpen = 1u << 1,        // a START_LABEL was appended in this pass
    kLabelHasObjects = 1u << 2,  // objects since the last START_LABEL
  };

  // Replacement texts may add at most this many characters to a job beyond
  // its own length, so named texts that quote each other cannot blow up.
  static constexpr size_t kReferenceAllowance = 64 * 1024;

  explicit CJPLParser(JPLData* data);

  // Always true; the records, in order, are appended to `out`.
  bool ParseData(const char* bytes, int32_t length, CommandList& out) override;

  // The dispatch pass over lines already cut; always true.
  bool parseCommandList(const std::vector<std::wstring>& lines);

  // Cuts text into lines at each line feed, drops CR and LF, leaves out lines
  // beginning "//" or ";" and always ends the list with "JZ".
  static std::vector<std::wstring> CutLines(std::string_view bytes);
  // The same, with where each line stands in `bytes` (its text without the
  // white space around it); the closing "JZ" stands at the end.
  struct LineSpan {
    size_t offset = 0;
    size_t length = 0;
  };
  static std::vector<std::wstring> CutLines(std::string_view bytes, std::vector<LineSpan>& spans);

  // Splits a trimmed line into fields (the first character is field 0) and
  // returns their number. `fields` is replaced.
  static size_t SplitFields(std::wstring_view line, std::vector<std::wstring>& fields);

  // Replaces a bracketed field that names a sample-record value by that value.
  static void ReplaceSampleField(std::wstring& field);

 private:
  using Fields = std::vector<std::wstring>;
  using Handler = void (CJPLParser::*)(const Fields& fields);

  // The handler of a command letter, or null for letters this language rejects.
  static Handler FindHandler(std::wstring_view letter);
  void DispatchLine(const std::wstring& rawLine);

  // Where ParseData's lines stand, for the problems they cause.
  std::vector<LineSpan> lineSpans_;

  // Appends a record; opens a label first when the pass has none. Objects
  // mark the label as holding something worth printing.
  void Append(LabelCommand record);
  void AppendObject(LabelCommand record);
  void OpenLabel();

  // Where the values of "T", "B" and "G" start: field 2 when field 1 begins
  // with "[" or ":", else field 1.
  static size_t ValueStart(const Fields& fields);
  // The field at `index`, or an empty text past the end.
  static const std::wstring& FieldAt(const Fields& fields, size_t index);
  std::wstring Dots(std::wstring value) const;

  // Label-level commands (JPLLabelCommands.cpp).
  void Job(const Fields& fields);
  void Units(const Fields& fields);
  void Size(const Fields& fields);
  void Offset(const Fields& fields);
  void Options(const Fields& fields);
  void Quantity(const Fields& fields);

  // Objects (JPLTextCommand.cpp, JPLBarcodeCommand.cpp, JPLGraphicCommands.cpp).
  void Text(const Fields& fields);
  std::wstring ResolveReferences(const std::wstring& text);
  void Barcode(const Fields& fields);
  void Picture(const Fields& fields);
  void Graphics(const Fields& fields);
  std::wstring PenInHundredthsOfPoint(int64_t thicknessDots) const;

  JPLData* data_;  // not owned; the factory keeps it

  // Per dispatch pass.
  std::unordered_map<std::wstring, std::wstring> namedTexts_;  // first definition wins
  size_t referenceBudget_ = 0;  // characters references may still add
  bool budgetReported_ = false;
};
