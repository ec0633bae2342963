#pragma once
// What a printer makes of caret-and-tilde commands that arrive outside any
// format: a real printer carries out a "~" command wherever it arrives, and
// a status query is a question, not a job. SourceIntake reads every piece of
// a source that intake found no job in with ReadLooseBytes, and every piece
// of a full-dialect source with HoldsCancelAll, before intake sees it.

#include <string>
#include <string_view>
#include <vector>

namespace host {

struct LooseBytes {
  enum class Kind {
    kText,           // not commands of the language: bytes outside any job
    kStatusQueries,  // only status queries ("~HS", "~HQES", "^HH"...)
    kHostCommands,   // commands the language knows ("~JA", "~WC", "^MNM"...)
  };
  Kind kind = Kind::kText;
  std::vector<std::string> commands;  // as written, of kHostCommands
};

// Reads bytes that hold no start marker: commands when, past leading blanks,
// they begin with a command prefix and every command is one the command
// table knows.
LooseBytes ReadLooseBytes(std::string_view bytes);

// True when the bytes, read as the full dialect reads them, hold "~JA".
bool HoldsCancelAll(std::string_view bytes);

}  // namespace host
