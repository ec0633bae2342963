#include "parsers/tpl/TPLStatements.h"

#include "platform/Text.h"

namespace tpl {

std::vector<std::wstring> CutStatements(std::wstring_view job) {
  std::vector<std::wstring> statements;
  size_t lineStart = 0;
  size_t i = 0;
  while (i < job.size()) {
    wchar_t c = job[i];
    if (c != L'\r' && c != L'\n') {
      ++i;
      continue;
    }
    statements.push_back(platform::Trim(job.substr(lineStart, i - lineStart)));
    bool crlf = c == L'\r' && i + 1 < job.size() && job[i + 1] == L'\n';
    i += crlf ? 2 : 1;
    lineStart = i;
  }
  return statements;
}

bool SplitPair(std::wstring_view value, std::wstring& first, std::wstring& second) {
  size_t comma = value.find(L',');
  if (comma == std::wstring_view::npos) return false;
  first = platform::Trim(value.substr(0, comma));
  second = platform::Trim(value.substr(comma + 1));
  return true;
}

std::vector<std::wstring> SplitList(std::wstring_view value) {
  std::vector<std::wstring> items;
  size_t start = 0;
  while (true) {
    size_t comma = value.find(L',', start);
    if (comma == std::wstring_view::npos) break;
    items.push_back(platform::Trim(value.substr(start, comma - start)));
    start = comma + 1;
  }
  items.push_back(platform::Trim(value.substr(start)));
  return items;
}

}  // namespace tpl
