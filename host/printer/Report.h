#pragma once
// What the host tells the user after each job: the language, the labels
// printed, the files written, the script errors the job carried, the lines it
// added to the store's error logs and the engine's diagnostics. The render and built-in label
// commands fill one JobReport per job; a ReportWriter prints it as text or as one JSON object per
// line. Writers print to the stream they are given and own nothing.

#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "host/printer/Options.h"

namespace host {

// Where the command behind a script error stands in its source: 1-based
// line and column (in bytes), and byte offset and length within the file or
// stream (a job that is not the first in its file counts from the file's
// start). 0 and -1 when the parser did not say.
struct SourceSpan {
  int line = 0, column = 0;
  int64_t offset = -1;
  int length = 0;
  bool known() const { return line > 0; }
};

struct LogLine {
  std::string file;  // the log's file name, e.g. "ZPL_ERROR_LOG.TXT"
  std::string text;  // the line without its line end
  SourceSpan at;     // the command a parser logged it for
};

// A SCRIPT_ERROR record of the job. When a log line of the same job holds the
// same text, that line is this error: it is listed here, with its log, and not
// again among the log lines.
struct ScriptError {
  std::string message;       // the record's text
  std::string logFile;       // the log that also holds it; "" when only recorded
  int line = 0, column = 0;  // see SourceSpan
  int64_t offset = -1;
  int length = 0;
};

// What lint warns of: something that prints other than the job meant, placed
// like a script error when its command is known.
struct Warning {
  std::string message;
  int line = 0, column = 0;  // see SourceSpan
  int64_t offset = -1;
  int length = 0;
};

struct EngineDiagnostic {
  int32_t objectId = 0;  // 0: the label as a whole
  std::string message;
};

struct JobReport {
  std::string source;    // the input file ("-" for standard input) or the built-in label
  int jobNumber = 0;     // 1-based within the source; 0 when the source held no job
  std::string language;  // "ZPL", "TPL", ... or "none"
  int printsRequested = 0;
  int printsRefused = 0;              // prints the callbacks declined
  std::vector<std::string> refusals;  // why: "script errors", "tape mismatch", ...
  int labelsPrinted = 0;
  std::vector<std::string> files;
  std::vector<ScriptError> scriptErrors;
  int64_t scriptErrorsUnlisted = 0;  // past the most a report lists; a note says so
  // The commands the job's parser did not know, as the job wrote them, each
  // once.
  std::vector<std::string> unsupportedCommands;
  std::vector<LogLine> logLines;  // without those listed as script errors
  std::vector<EngineDiagnostic> diagnostics;
  std::vector<Warning> warnings;  // lint's; render leaves it empty
  // Host remarks: unfinished jobs, limits, write failures, labels left open.
  std::vector<std::string> notes;
  // Part of what the job asked for was lost: the job was discarded, a limit
  // stopped its labels, or a log line could not be written. The first note
  // says so.
  bool incomplete = false;
};

class ReportWriter {
 public:
  virtual ~ReportWriter() = default;
  virtual void Write(const JobReport& report) = 0;
};

// Makes the writer for `format`; `out` must outlive it.
std::unique_ptr<ReportWriter> MakeReportWriter(ReportFormat format, std::ostream& out);
// The writer a command's options ask for, on standard output; null with --quiet.
std::unique_ptr<ReportWriter> MakeReportWriter(const HostOptions& options);

// The language name of a language code ("none" for codes it does not know).
const char* LanguageName(int32_t code);

}  // namespace host
