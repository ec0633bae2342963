#pragma once
// Cuts a TPL job into statements and splits statement values into their
// parts. Used by TPLParser; holds no state.

#include <string>
#include <string_view>
#include <vector>

namespace tpl {

// A line ends at CR LF, at a lone CR or at a lone LF, so jobs written with any
// of the three conventions, or a mix of them, give the same statements. Each
// statement is trimmed of white space at both ends. Text after the last line
// break is not a statement: a job's tail after its end marker is ignored.
std::vector<std::wstring> CutStatements(std::wstring_view job);

// Splits "x,y" at the first comma into its two trimmed halves. False, with
// both outputs untouched, when there is no comma.
bool SplitPair(std::wstring_view value, std::wstring& first, std::wstring& second);

// Splits at every comma; each item is trimmed. An empty text gives one empty item.
std::vector<std::wstring> SplitList(std::wstring_view value);

}  // namespace tpl
