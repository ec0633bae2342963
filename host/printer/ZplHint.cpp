#include "host/printer/ZplHint.h"

#include <algorithm>

#include "parsers/zpl/ZPLParser.h"
#include "platform/Text.h"

namespace host {
namespace {

// "^FT" of "^FT10,20"; "^A" of any font command.
std::string Keyword(const std::string& command) {
  if (command.rfind("^A", 0) == 0) return "^A";
  return command.substr(0, 3);
}

}  // namespace

std::string FullDialectHint(const std::vector<std::string>& unsupportedCommands) {
  std::vector<std::string> keywords;
  for (const std::string& command : unsupportedCommands) {
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

}  // namespace host
