#include "parsers/zpl/ZPLReader.h"

#include <algorithm>
#include <cstddef>

#include "platform/Text.h"

namespace {

using platform::Widen;
wchar_t Widen(wchar_t c) { return c; }

// The characters that begin commands and separate parameters.
struct Marks {
  wchar_t caret = L'^';
  wchar_t tilde = L'~';
  wchar_t delimiter = L',';
};

// True when `command` is a whole "CC", "CT" or "CD" command, whose character
// it sets.
bool ChangeMark(const std::wstring& command, Marks& marks) {
  if (command.size() != 4 || command[1] != L'C') return false;
  wchar_t* mark = command[2] == L'C'   ? &marks.caret
                  : command[2] == L'T' ? &marks.tilde
                  : command[2] == L'D' ? &marks.delimiter
                                       : nullptr;
  if (mark != nullptr) *mark = command[3];
  return mark != nullptr;
}

// True when `command` is "CC", "CT" or "CD" still without its character,
// which is taken whatever it is, a prefix too.
bool AwaitsMark(const std::wstring& command) {
  return command.size() == 3 && command[1] == L'C' &&
         (command[2] == L'C' || command[2] == L'T' || command[2] == L'D');
}

// Field data and comments are text, not parameters: a changed delimiter
// leaves them as written.
bool HoldsParameters(const std::wstring& command) {
  return command.compare(0, 3, L"^FD") != 0 && command.compare(0, 3, L"^FV") != 0 &&
         command.compare(0, 3, L"^FX") != 0;
}

// Commands are handed on with "," between parameters: under a changed
// delimiter the two characters trade places, up to a graphic's data.
void RestoreDelimiter(std::wstring& command, wchar_t delimiter) {
  if (delimiter == L',' || !HoldsParameters(command)) return;
  const bool graphic = command.compare(0, 3, L"^GF") == 0;
  size_t delimiters = 0;
  for (wchar_t& c : command) {
    if (graphic && delimiters == 4) return;
    if (c == delimiter) {
      c = L',';
      ++delimiters;
    } else if (c == L',') {
      c = delimiter;
    }
  }
}

// Binary graphic data ("^GFB" and "^GFC" not written as ":B64:"/":Z64:" text)
// may hold any byte, prefixes and line ends too: after the fourth comma of
// its command, the count of bytes its second parameter declares (at most
// what is left) belongs to the command as they are. A count that runs past the
// job's end (data a text tool has changed) is not trusted: the data is cut
// as text is, so the commands after it, and the format's end, still count.
template <typename Char>
size_t BinaryGraphicLength(const std::wstring& command, wchar_t delimiter,
                           std::basic_string_view<Char> rest) {
  if (command.size() < 5 || command.compare(0, 3, L"^GF") != 0) return 0;
  if (command[3] != L'B' && command[3] != L'C') return 0;
  if (!rest.empty() && rest[0] == Char(':')) return 0;
  const size_t first = command.find(delimiter);
  size_t count = 0;
  for (size_t k = first + 1; k < command.size() && command[k] >= L'0' && command[k] <= L'9'; ++k) {
    count = std::min<size_t>(count * 10 + static_cast<size_t>(command[k] - L'0'), rest.size() + 1);
  }
  return count > rest.size() ? 0 : count;
}

// The span of the command from `start` up to `end`, without the line breaks
// that close it.
template <typename Char>
ZPLCommandSpan SpanOf(std::basic_string_view<Char> text, size_t start, size_t end) {
  while (end > start + 1 && (text[end - 1] == Char('\r') || text[end - 1] == Char('\n'))) --end;
  return ZPLCommandSpan{start, end - start};
}

template <typename Char>
void Read(std::basic_string_view<Char> text, ZPLReadOptions options,
          const ZPLPlacedCommandVisitor& each) {
  Marks marks;
  std::wstring command;
  auto isPrefix = [&](size_t i) {
    const wchar_t c = Widen(text[i]);
    return c == marks.caret || c == marks.tilde;
  };
  size_t i = 0;
  while (i < text.size() && !isPrefix(i)) ++i;
  while (i < text.size()) {
    const size_t start = i;
    command.assign(1, Widen(text[i]) == marks.caret ? L'^' : L'~');
    size_t end = i + 1;
    size_t commas = 0;
    bool changed = false;
    for (; end < text.size() && (!isPrefix(end) || (options.prefixChanges && AwaitsMark(command)));
         ++end) {
      const Char c = text[end];
      if (c != Char('\r') && c != Char('\n')) command.push_back(Widen(c));
      // A change takes effect on the very next character.
      if (options.prefixChanges && ChangeMark(command, marks)) {
        changed = true;
        ++end;
        break;
      }
      if (options.binaryGraphics && Widen(c) == marks.delimiter && ++commas == 4) {
        const size_t raw = BinaryGraphicLength(command, marks.delimiter, text.substr(end + 1));
        for (size_t k = 0; k < raw; ++k) command.push_back(Widen(text[end + 1 + k]));
        end += raw;
      }
    }
    // What follows a change up to the next prefix belongs to no command.
    i = end;
    while (changed && i < text.size() && !isPrefix(i)) ++i;
    // A prefix followed at once by another is no command.
    if (options.prefixChanges && command.size() == 1) continue;
    if (options.prefixChanges && !changed) RestoreDelimiter(command, marks.delimiter);
    if (!each(command, SpanOf(text, start, end))) return;
  }
}

template <typename Char>
std::vector<std::wstring> Cut(std::basic_string_view<Char> text, ZPLReadOptions options) {
  std::vector<std::wstring> commands;
  Read(text, options, [&commands](const std::wstring& command, ZPLCommandSpan) {
    commands.push_back(command);
    return true;
  });
  return commands;
}

}  // namespace

void ReadZplCommands(std::string_view bytes, ZPLReadOptions options,
                     const ZPLCommandVisitor& each) {
  Read(bytes, options,
       [&each](const std::wstring& command, ZPLCommandSpan) { return each(command); });
}

void ReadZplCommands(std::string_view bytes, ZPLReadOptions options,
                     const ZPLPlacedCommandVisitor& each) {
  Read(bytes, options, each);
}

std::vector<std::wstring> CutZplCommands(std::string_view bytes, ZPLReadOptions options) {
  return Cut(bytes, options);
}

std::vector<std::wstring> CutZplCommands(std::wstring_view text, ZPLReadOptions options) {
  return Cut(text, options);
}
