#include "parsers/zpl/ZPLCommand.h"

#include <algorithm>

#include "platform/Text.h"

namespace zpl {

ZPLCommand MakeCommand(std::wstring_view text, size_t keywordLength) {
  const size_t split = text.size() < keywordLength ? text.size() : keywordLength;
  return ZPLCommand{text, text.substr(0, split), text.substr(split)};
}

void SplitParameters(std::wstring_view text, std::vector<std::wstring>& params) {
  params.clear();
  size_t start = 0;
  while (true) {
    size_t comma = text.find(L',', start);
    std::wstring_view piece =
        text.substr(start, comma == std::wstring_view::npos ? comma : comma - start);
    params.push_back(platform::Trim(piece));
    if (comma == std::wstring_view::npos) break;
    start = comma + 1;
  }
}

void FillDefault(std::vector<std::wstring>& params, size_t index, const std::wstring& value) {
  if (params.size() < index + 1) params.resize(index + 1);
  if (params[index].empty()) params[index] = value;
}

const std::wstring& ParameterAt(const std::vector<std::wstring>& params, size_t index) {
  return platform::ItemOrEmpty(params, index);
}

wchar_t LetterAt(const std::vector<std::wstring>& params, size_t index, wchar_t fallback) {
  const std::wstring& value = ParameterAt(params, index);
  return value.empty() ? fallback : platform::ToUpperChar(value[0]);
}

int64_t NumberAt(const std::vector<std::wstring>& params, size_t index, int64_t fallback,
                 int64_t low, int64_t high) {
  const std::wstring& value = ParameterAt(params, index);
  return value.empty() ? fallback : std::clamp<int64_t>(platform::LeadingInt(value), low, high);
}

bool IsNumeric(std::wstring_view value, bool decimalPointAllowed) {
  bool pointSeen = false;
  for (size_t i = 0; i < value.size(); ++i) {
    wchar_t c = value[i];
    if (c >= L'0' && c <= L'9') continue;
    if (c == L'-' && i == 0) continue;
    if (c == L'.' && decimalPointAllowed && !pointSeen) {
      pointSeen = true;
      continue;
    }
    return false;
  }
  return true;
}

ParameterRead ReadParameters(std::wstring_view text, const ParameterRule& rule,
                             std::vector<std::wstring>& params) {
  SplitParameters(text, params);
  if (params.size() > rule.most) return ParameterRead::kTooMany;
  for (size_t i = 0; i < rule.defaults.size(); ++i) FillDefault(params, i, rule.defaults[i]);
  for (const NumericCheck& check : rule.numeric) {
    if (check.position < params.size() && !IsNumeric(params[check.position], check.decimal)) {
      return ParameterRead::kNotNumeric;
    }
  }
  return ParameterRead::kRead;
}

}  // namespace zpl
