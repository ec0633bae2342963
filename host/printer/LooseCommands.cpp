#include "host/printer/LooseCommands.h"

#include "parsers/zpl/ZPLCommandTable.h"
#include "parsers/zpl/ZPLReader.h"
#include "platform/Text.h"

namespace host {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\0'; }

}  // namespace

LooseBytes ReadLooseBytes(std::string_view bytes) {
  size_t first = 0;
  while (first < bytes.size() && IsBlank(bytes[first])) ++first;
  LooseBytes loose;
  if (first == bytes.size() || (bytes[first] != '~' && bytes[first] != '^')) return loose;
  bool queriesOnly = true;
  bool known = true;
  std::vector<std::string> commands;
  ReadZplCommands(bytes.substr(first), kFullReading, [&](const std::wstring& command) {
    const ZPLCommandRow* row = ZPLCommandTable::Find(command);
    known = row != nullptr && row->full != nullptr;
    queriesOnly = queriesOnly && known && row->statusQuery;
    commands.push_back(platform::WideToUtf8(platform::Trim(command)));
    return known;
  });
  if (!known || commands.empty()) return loose;
  loose.kind = queriesOnly ? LooseBytes::Kind::kStatusQueries : LooseBytes::Kind::kHostCommands;
  if (!queriesOnly) loose.commands = std::move(commands);
  return loose;
}

bool HoldsCancelAll(std::string_view bytes) {
  if (bytes.find("~JA") == std::string_view::npos) return false;  // the usual case, at once
  bool found = false;
  ReadZplCommands(bytes, kFullReading, [&found](const std::wstring& command) {
    found = command.starts_with(L"~JA");
    return !found;
  });
  return found;
}

}  // namespace host
