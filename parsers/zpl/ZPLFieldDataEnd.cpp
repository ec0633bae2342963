#include "parsers/zpl/ZPLFieldDataEnd.h"

#include <string>

#include "platform/Text.h"

namespace {

// A command that starts a field or its object, or ends the label: whatever
// data came before it has ended.
bool EndsData(wchar_t first, wchar_t second) {
  return first == L'F' || first == L'A' || first == L'B' || first == L'G' ||
         (first == L'X' && second == L'Z');
}

}  // namespace

std::optional<ScriptProblem> ZPLFieldDataEnd::Next(std::wstring_view command, ZPLCommandSpan span) {
  if (command.size() < 2 || command[0] != L'^') return std::nullopt;
  const wchar_t first = platform::ToUpperChar(command[1]);
  const wchar_t second = command.size() > 2 ? platform::ToUpperChar(command[2]) : L'\0';
  std::optional<ScriptProblem> warning;
  if (open_ && EndsData(first, second) && !(first == L'F' && second == L'S')) {
    const std::wstring by =
        L"^" + std::wstring(1, first) + (second ? std::wstring(1, second) : L"");
    ScriptProblem problem;
    problem.kind = ScriptProblem::kWarning;
    problem.command = std::wstring(L"^F") + dataKind_;
    problem.message = problem.command + L" without ^FS: its data ends at " + by;
    problem.offset = static_cast<int64_t>(data_.offset);
    problem.length = static_cast<int32_t>(data_.length);
    warning = std::move(problem);
  }
  if (EndsData(first, second)) open_ = false;
  if (first == L'F' && (second == L'D' || second == L'V')) {
    open_ = true;
    dataKind_ = second;
    data_ = span;
  }
  return warning;
}
