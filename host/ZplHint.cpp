#include "host/ZplHint.h"

#include <algorithm>

#include "parsers/zpl/ZPLParser.h"
#include "platform/Text.h"

namespace host {
namespace {

constexpr char kUnsupported[] = "Unsupported command: ";

// "^FT" of "^FT10,20"; "^A" of any font command.
std::string Keyword(const std::string& command) {
  if (command.rfind("^A", 0) == 0) return "^A";
  return command.substr(0, 3);
}

}  // namespace

std::string FullDialectHint(const std::vector<LogLine>& lines) {
  std::vector<std::string> keywords;
  for (const LogLine& line : lines) {
    if (line.file != "ZPL_ERROR_LOG.TXT") continue;
    const size_t at = line.text.find(kUnsupported);
    if (at == std::string::npos) continue;
    const std::string command = line.text.substr(at + sizeof kUnsupported - 1);
    if (!CZPLParser::FullDialectHandles(platform::BytesToWide(command))) continue;
    const std::string keyword = Keyword(command);
    if (std::find(keywords.begin(), keywords.end(), keyword) == keywords.end()) {
      keywords.push_back(keyword);
    }
  }
  if (keywords.empty()) return {};
  std::string hint = "this printer does not support ";
  for (size_t i = 0; i < keywords.size(); ++i) hint += (i ? ", " : "") + keywords[i];
  return hint + "; --zpl full prints it as a full ZPL printer would";
}

std::string FullDialectHint(const JobReport& report) {
  std::vector<LogLine> lines;
  for (const ScriptError& error : report.scriptErrors) {
    if (!error.logFile.empty()) lines.push_back({error.logFile, error.message});
  }
  lines.insert(lines.end(), report.logLines.begin(), report.logLines.end());
  return FullDialectHint(lines);
}

}  // namespace host
