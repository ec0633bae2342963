#include "host/render/LintReport.h"

#include <utility>

#include "platform/Text.h"
#include "session/SessionManager.h"

namespace host {
namespace {

// A log line's message, without the time stamp the log puts before it.
std::string Message(const std::string& line) {
  if (line.empty() || line[0] != '[') return line;
  const size_t end = line.find("] ");
  return end == std::string::npos ? line : line.substr(end + 2);
}

std::string ObjectPrefix(int32_t objectId) {
  return objectId == 0 ? std::string() : "object " + std::to_string(objectId) + ": ";
}

}  // namespace

void MakeLintReport(JobReport& report) {
  for (const EngineDiagnostic& d : report.diagnostics) {
    report.warnings.push_back(Warning{ObjectPrefix(d.objectId) + d.message});
  }
  report.diagnostics.clear();
  // The session's lines are what printing met; the parser's are script errors.
  const std::string sessionLog = platform::WideToUtf8(CSessionManager::kLogName);
  std::vector<LogLine> parserLines;
  for (LogLine& line : report.logLines) {
    if (line.file != sessionLog) {
      parserLines.push_back(std::move(line));
      continue;
    }
    Warning warning{Message(line.text)};
    warning.line = line.at.line;
    warning.column = line.at.column;
    warning.offset = line.at.offset;
    warning.length = line.at.length;
    report.warnings.push_back(std::move(warning));
  }
  report.logLines = std::move(parserLines);
  for (std::string& note : report.notes) report.warnings.push_back(Warning{std::move(note)});
  report.notes.clear();
}

size_t LintErrorCount(const JobReport& report) {
  return report.scriptErrors.size() + report.logLines.size();
}

void LintReports::Write(const JobReport& report) {
  JobReport lint = report;
  MakeLintReport(lint);
  errors_ += LintErrorCount(lint);
  warnings_ += lint.warnings.size();
  if (writer_ != nullptr) writer_->Write(lint);
}

}  // namespace host
