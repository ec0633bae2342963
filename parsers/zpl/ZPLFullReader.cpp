// The full dialect's reader: like the device's, but "^CC"/"~CC" and
// "^CT"/"~CT" change the characters that begin commands, as on a full ZPL
// printer. Commands are handed on with their usual "^" or "~" first, so that
// one command table serves whatever characters the job chose. One pass over
// the bytes.

#include "parsers/zpl/ZPLParser.h"

namespace {

wchar_t Widen(char c) { return static_cast<wchar_t>(static_cast<unsigned char>(c)); }

// True when `command` is a whole "CC" or "CT" command, whose prefix it sets.
bool ChangePrefix(const std::wstring& command, wchar_t& caret, wchar_t& tilde) {
  if (command.size() != 4 || command[1] != L'C') return false;
  if (command[2] == L'C') caret = command[3];
  if (command[2] == L'T') tilde = command[3];
  return command[2] == L'C' || command[2] == L'T';
}

}  // namespace

std::vector<std::wstring> CZPLParser::CutFullCommands(std::string_view bytes) {
  wchar_t caret = L'^', tilde = L'~';
  std::vector<std::wstring> commands;
  auto isPrefix = [&](size_t i) {
    const wchar_t c = Widen(bytes[i]);
    return c == caret || c == tilde;
  };
  size_t i = 0;
  while (i < bytes.size() && !isPrefix(i)) ++i;
  while (i < bytes.size()) {
    std::wstring command(1, Widen(bytes[i]) == caret ? L'^' : L'~');
    size_t end = i + 1;
    for (; end < bytes.size() && !isPrefix(end); ++end) {
      if (bytes[end] != '\r' && bytes[end] != '\n') command.push_back(Widen(bytes[end]));
      // A prefix change takes effect on the very next character.
      if (ChangePrefix(command, caret, tilde)) {
        ++end;
        break;
      }
    }
    commands.push_back(std::move(command));
    i = end;
  }
  return commands;
}

bool CZPLParser::FullPrefixChange(const std::wstring&) { return true; }
