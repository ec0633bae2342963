#pragma once
// One command of the caret-and-tilde language as the handlers of both
// dialects receive it, and the parameter machinery every handler shares:
// splitting, defaults, number checks and the rule that combines them. The
// reader (ZPLReader.h) cuts the commands; the command table
// (ZPLCommandTable.h) names the keyword each one begins with.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// A command cut from a job: its whole text (for messages), the keyword the
// command table matched and the text after it. The views point into the
// reader's text, which outlives the handler's call.
struct ZPLCommand {
  std::wstring_view text;
  std::wstring_view keyword;
  std::wstring_view parameters;
};

namespace zpl {

// Every keyword is a prefix and two letters ("^FO"), except the font
// command "^A", which is followed by its font letter at once.
inline constexpr size_t kKeywordLength = 3;

// `text` read as beginning with a keyword of `keywordLength` characters
// (fewer when the text is shorter).
ZPLCommand MakeCommand(std::wstring_view text, size_t keywordLength = kKeywordLength);

// Splits at every comma; each piece trimmed. Empty text gives one empty entry.
void SplitParameters(std::wstring_view text, std::vector<std::wstring>& params);
// Gives position `index` the value when it is empty or missing; a shorter
// list grows to index + 1 entries.
void FillDefault(std::vector<std::wstring>& params, size_t index, const std::wstring& value);
// Digits, one leading "-", and (when allowed) one "."; the empty text passes.
bool IsNumeric(std::wstring_view value, bool decimalPointAllowed);

// Position `index` of `params`, or the empty text when there is none.
const std::wstring& ParameterAt(const std::vector<std::wstring>& params, size_t index);
// The first letter of position `index`, upper-cased; `fallback` when empty.
wchar_t LetterAt(const std::vector<std::wstring>& params, size_t index, wchar_t fallback);
// The leading number of position `index` kept within `low` and `high`;
// `fallback` when empty.
int64_t NumberAt(const std::vector<std::wstring>& params, size_t index, int64_t fallback,
                 int64_t low, int64_t high);

// A position that must hold a number; `decimal` also allows one ".".
struct NumericCheck {
  size_t position;
  bool decimal = false;
};

// How one command's parameters are read: more than `most` is a count error
// reported with `countMessage`; `defaults` fill empty or missing positions
// from 0 up; a failed numeric check rejects the command without a message.
struct ParameterRule {
  size_t most;
  std::vector<std::wstring> defaults;
  std::vector<NumericCheck> numeric;
  std::wstring_view countMessage;
};

enum class ParameterRead { kRead, kTooMany, kNotNumeric };

// Split, count check, defaults and numeric checks, in that order.
ParameterRead ReadParameters(std::wstring_view text, const ParameterRule& rule,
                             std::vector<std::wstring>& params);

}  // namespace zpl
