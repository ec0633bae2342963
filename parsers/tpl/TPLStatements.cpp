#include "parsers/tpl/TPLStatements.h"

#include <algorithm>

#include "platform/Text.h"

namespace tpl {

namespace {

bool IsByteSpace(char c) { return platform::IsSpace(static_cast<unsigned char>(c)); }

}  // namespace

bool StatementReader::Next(std::wstring& statement) {
  size_t end = job_.find_first_of("\r\n", next_);
  if (end == std::string_view::npos) return false;
  Trim(next_, end);
  statement = platform::BytesToWide(job_.data() + offset_, length_);
  bool crlf = job_[end] == '\r' && end + 1 < job_.size() && job_[end + 1] == '\n';
  next_ = end + (crlf ? 2 : 1);
  return true;
}

bool StatementReader::Tail(std::wstring& statement) {
  Trim(std::min(next_, job_.size()), job_.size());
  if (length_ == 0) return false;
  statement = platform::BytesToWide(job_.data() + offset_, length_);
  return true;
}

void StatementReader::Trim(size_t first, size_t last) {
  while (first < last && IsByteSpace(job_[first])) ++first;
  while (last > first && IsByteSpace(job_[last - 1])) --last;
  offset_ = first;
  length_ = last - first;
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
