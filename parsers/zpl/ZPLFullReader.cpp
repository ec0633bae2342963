// The full dialect's reader: like the device's, but "^CC"/"~CC" and
// "^CT"/"~CT" change the characters that begin commands, as on a full ZPL
// printer. Commands are handed on with their usual "^" or "~" first, so that
// one command table serves whatever characters the job chose. One pass over
// the bytes.

#include <algorithm>

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

// Binary graphic data ("^GFB" and "^GFC" not written as ":B64:"/":Z64:" text)
// may hold any byte, prefixes and line ends too: after the fourth comma of
// its command, the count of bytes its second parameter declares (at most
// what is left) belongs to the command as they are.
size_t BinaryGraphicLength(const std::wstring& command, std::string_view rest) {
  if (command.size() < 5 || command.compare(0, 3, L"^GF") != 0) return 0;
  if (command[3] != L'B' && command[3] != L'C') return 0;
  if (!rest.empty() && rest[0] == ':') return 0;
  const size_t first = command.find(L',');
  size_t count = 0;
  for (size_t k = first + 1; k < command.size() && command[k] >= L'0' && command[k] <= L'9'; ++k) {
    count = std::min<size_t>(count * 10 + static_cast<size_t>(command[k] - L'0'), rest.size());
  }
  return count;
}

}  // namespace

std::vector<std::wstring> CZPLParser::CutFullCommands(std::string_view bytes) {
  std::vector<std::wstring> commands;
  CutFullCommands(bytes, [&commands](const std::wstring& command) {
    commands.push_back(command);
    return true;
  });
  return commands;
}

void CZPLParser::CutFullCommands(std::string_view bytes, const CommandVisitor& each) {
  wchar_t caret = L'^', tilde = L'~';
  std::wstring command;
  auto isPrefix = [&](size_t i) {
    const wchar_t c = Widen(bytes[i]);
    return c == caret || c == tilde;
  };
  size_t i = 0;
  while (i < bytes.size() && !isPrefix(i)) ++i;
  while (i < bytes.size()) {
    command.assign(1, Widen(bytes[i]) == caret ? L'^' : L'~');
    size_t end = i + 1;
    size_t commas = 0;
    for (; end < bytes.size() && !isPrefix(end); ++end) {
      if (bytes[end] != '\r' && bytes[end] != '\n') command.push_back(Widen(bytes[end]));
      // A prefix change takes effect on the very next character.
      if (ChangePrefix(command, caret, tilde)) {
        ++end;
        break;
      }
      if (bytes[end] == ',' && ++commas == 4) {
        const size_t raw = BinaryGraphicLength(command, bytes.substr(end + 1));
        for (size_t k = 0; k < raw; ++k) command.push_back(Widen(bytes[end + 1 + k]));
        end += raw;
      }
    }
    if (!each(command)) return;
    i = end;
  }
}

bool CZPLParser::FullPrefixChange(const std::wstring&) { return true; }
