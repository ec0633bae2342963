#include "parsers/zpl/ZPLReader.h"

#include <algorithm>
#include <cstddef>

#include "platform/Text.h"

namespace {

using platform::Widen;
wchar_t Widen(wchar_t c) { return c; }

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
template <typename Char>
size_t BinaryGraphicLength(const std::wstring& command, std::basic_string_view<Char> rest) {
  if (command.size() < 5 || command.compare(0, 3, L"^GF") != 0) return 0;
  if (command[3] != L'B' && command[3] != L'C') return 0;
  if (!rest.empty() && rest[0] == Char(':')) return 0;
  const size_t first = command.find(L',');
  size_t count = 0;
  for (size_t k = first + 1; k < command.size() && command[k] >= L'0' && command[k] <= L'9'; ++k) {
    count = std::min<size_t>(count * 10 + static_cast<size_t>(command[k] - L'0'), rest.size());
  }
  return count;
}

template <typename Char>
void Read(std::basic_string_view<Char> text, ZPLReadOptions options,
          const ZPLCommandVisitor& each) {
  wchar_t caret = L'^', tilde = L'~';
  std::wstring command;
  auto isPrefix = [&](size_t i) {
    const wchar_t c = Widen(text[i]);
    return c == caret || c == tilde;
  };
  size_t i = 0;
  while (i < text.size() && !isPrefix(i)) ++i;
  while (i < text.size()) {
    command.assign(1, Widen(text[i]) == caret ? L'^' : L'~');
    size_t end = i + 1;
    size_t commas = 0;
    for (; end < text.size() && !isPrefix(end); ++end) {
      const Char c = text[end];
      if (c != Char('\r') && c != Char('\n')) command.push_back(Widen(c));
      // A prefix change takes effect on the very next character.
      if (options.prefixChanges && ChangePrefix(command, caret, tilde)) {
        ++end;
        break;
      }
      if (options.binaryGraphics && c == Char(',') && ++commas == 4) {
        const size_t raw = BinaryGraphicLength(command, text.substr(end + 1));
        for (size_t k = 0; k < raw; ++k) command.push_back(Widen(text[end + 1 + k]));
        end += raw;
      }
    }
    if (!each(command)) return;
    i = end;
  }
}

template <typename Char>
std::vector<std::wstring> Cut(std::basic_string_view<Char> text, ZPLReadOptions options) {
  std::vector<std::wstring> commands;
  Read(text, options, [&commands](const std::wstring& command) {
    commands.push_back(command);
    return true;
  });
  return commands;
}

}  // namespace

void ReadZplCommands(std::string_view bytes, ZPLReadOptions options,
                     const ZPLCommandVisitor& each) {
  Read(bytes, options, each);
}

std::vector<std::wstring> CutZplCommands(std::string_view bytes, ZPLReadOptions options) {
  return Cut(bytes, options);
}

std::vector<std::wstring> CutZplCommands(std::wstring_view text, ZPLReadOptions options) {
  return Cut(text, options);
}
