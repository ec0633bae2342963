#pragma once
// A script problem a parser met, as data for whoever reports on the job (the
// host's report). The error log and SCRIPT_ERROR records keep the printer's
// own wording; this says what the problem was about without reading that
// text back. Parsers hand them to CLanguageParserBase::NoteProblem.

#include <cstdint>
#include <string>

struct ScriptProblem {
  enum Kind : int32_t {
    kUnsupportedCommand,  // a command the parser does not know
  };
  Kind kind = kUnsupportedCommand;
  std::wstring command;  // the command as the job wrote it
};
