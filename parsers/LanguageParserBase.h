#pragma once
// The base of the five language parsers. A parser lives for one job: the
// session makes it through the factory, sets its DPI, calls ParseData once and
// keeps it until the next job. The base holds the records made so far, the
// parser's state word, its error log, the shared attribute record (not owned;
// it must outlive the parser) and the script's units, and converts the
// script's lengths to dots, mils and points.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "intake/Logging.h"
#include "parsers/ScriptData.h"
#include "parsers/ScriptProblem.h"
#include "record/CommandRecord.h"
#include "record/LabelCommand.h"

class CLanguageParserBase {
 public:
  enum Units : int32_t { UNITS_DOTS = 0, UNITS_INCHES = 1, UNITS_MILLIMETRES = 2 };

  explicit CLanguageParserBase(ScriptData* scriptData);
  virtual ~CLanguageParserBase();

  CLanguageParserBase(const CLanguageParserBase&) = delete;
  CLanguageParserBase& operator=(const CLanguageParserBase&) = delete;

  // Parses one job and appends its records, in order, to `out`. Script
  // problems go to the error log (and, in some languages, SCRIPT_ERROR
  // records); the result is true once the records are handed over.
  virtual bool ParseData(const char* bytes, int32_t length, CommandList& out) = 0;

  // Where a parser may hand each label's records as soon as no later command
  // can change them, so that a job of many labels is never held whole as
  // records: the sink runs them (the session prints the label) and may free
  // them. Records the parser never hands over this way still go to ParseData's
  // list. Without a sink (the default) every record goes there.
  using LabelSink = std::function<void(CommandList& records)>;
  void SetLabelSink(LabelSink sink) { labelSink_ = std::move(sink); }

  // Told of each script problem as the parser meets it, on the parsing
  // thread. May be empty.
  using ProblemObserver = std::function<void(const ScriptProblem&)>;
  void SetProblemObserver(ProblemObserver observer) { problemObserver_ = std::move(observer); }

  void AddState(uint32_t flags) { state_ |= flags; }
  void RemoveState(uint32_t flags) { state_ &= ~flags; }
  // True when every given flag is set.
  bool IsState(uint32_t flags) const { return (state_ & flags) == flags; }

  // Values from 1 to 1000 are taken; anything else becomes 300.
  void SetParserDPI(int dpi);
  int GetParserDPI() const { return dpi_; }

  // First character decides: m/M millimetres, i/I inches, anything else dots.
  void SetParserUnits(const std::wstring& unitName);
  int32_t GetParserUnits() const { return units_; }

  // Rewrite a number in place, truncated toward zero. With dots as the units
  // the first three leave the text exactly as it was.
  void ConvertUnitsToDots(std::wstring& value) const;
  void ConvertUnitsToMils(std::wstring& value) const;
  void ConvertUnitsToPoints(std::wstring& value) const;
  // Ignores the units: DPI x points / 102.
  void ConvertPointsToDots(std::wstring& value) const;
  // A line thickness in dots as the pen of a shape or arrow record, in
  // hundredths of a point at this DPI, rounded. Text without a positive
  // leading number is returned unchanged.
  std::wstring PenInHundredthsOfPoint(const std::wstring& dots) const;

  // The positions of a text record every language fills from its attribute
  // record alike: font name, sizing, justification, rotation, the box and the
  // styles. The caller sets the text, the geometry and the font size.
  void WriteTextAttributes(record::RecordWriter& text) const;

 protected:
  // Appends a record to the parser's own list and returns it.
  LabelCommand& AddCommand(int32_t kind, std::vector<std::wstring> params = {});
  LabelCommand& AddCommand(LabelCommand command);
  // Moves the records made so far, in order, to the end of `out`.
  void HandOverCommands(CommandList& out);
  // Hands the records made so far to the label sink, when there is one. Call
  // only where no later command looks back at them.
  void HandOverLabel();
  // The command being read: where it stands in the bytes ParseData was given.
  // The problems noted until the next call stand there.
  void SetCommandSpan(size_t offset, size_t length);
  // Tells the problem observer, if any; a problem without a place of its own
  // is placed at the command being read.
  void NoteProblem(const ScriptProblem& problem) const;
  // A script error with the text the parser logged or recorded (a line and a
  // record of the same text are one error).
  void NoteScriptError(const std::wstring& message) const;
  // One line in the error log, noted as a script error.
  void LogError(const std::wstring& message) const;

  CommandList commandList_;
  uint32_t state_ = 0;
  int32_t pendingObject_ = 0;  // used by the ZPL and JPL parsers
  std::unique_ptr<CLogging> errorLog_;
  ScriptData* scriptData_;  // not owned
  int32_t dpi_ = 300;
  int32_t units_ = UNITS_INCHES;

 private:
  LabelSink labelSink_;
  ProblemObserver problemObserver_;
  int64_t spanOffset_ = -1;
  int32_t spanLength_ = 0;
};
