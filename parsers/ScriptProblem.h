#pragma once
// A script problem a parser met, as data for whoever reports on the job (the
// host's report). The error log and SCRIPT_ERROR records keep the printer's
// own wording; this says what the problem was about without reading that
// text back, and where in the job it stands. Parsers hand them to
// CLanguageParserBase::NoteProblem.

#include <cstdint>
#include <string>

struct ScriptProblem {
  enum Kind : int32_t {
    kUnsupportedCommand,  // a command the parser does not know
    kScriptError,         // a line the parser logged or a SCRIPT_ERROR record it made
    // Something the printer accepts but a label developer should fix; it is
    // neither logged nor recorded, only reported.
    kWarning,
  };
  Kind kind = kUnsupportedCommand;
  std::wstring command;  // the command as the job wrote it
  // A script error's text, as logged or recorded: one problem stands for a
  // line and a record of the same text, and one more is noted when they differ.
  // A warning's text, as the report says it.
  std::wstring message{};
  // The command that caused it: its first byte within the bytes the parser
  // was given and its length in bytes, the line break after it not counted.
  // -1 when the parser does not know.
  int64_t offset = -1;
  int32_t length = 0;
};
