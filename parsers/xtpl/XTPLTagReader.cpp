#include "parsers/xtpl/XTPLTagReader.h"

#include <algorithm>

#include "platform/Text.h"

namespace xtpl {

namespace {

constexpr size_t npos = std::wstring::npos;

std::wstring Widened(std::string_view text) { return platform::BytesToWide(text); }
std::wstring Widened(std::wstring_view text) { return std::wstring(text); }

}  // namespace

template <typename CharT>
size_t TagReader<CharT>::Finder::Find(std::basic_string_view<CharT> text, size_t from) {
  // The remembered place still answers while `from` has not passed it.
  if (searched_ && from >= from_ && (found_ == npos || from <= found_)) return found_;
  searched_ = true;
  from_ = from;
  found_ = text.find(c_, from);
  return found_;
}

template <typename CharT>
TagResult TagReader<CharT>::Next(std::wstring& tag) {
  while (true) {
    const size_t open = open_.Find(job_, next_);
    size_t close = close_.Find(job_, next_);
    // Only the first pair of quotes of the text that is left protects a ">".
    const size_t quote = quote_.Find(job_, next_);
    const size_t endQuote = quote == npos ? npos : closingQuote_.Find(job_, quote + 1);
    if (endQuote != npos && close != npos && quote < close && close < endQuote) {
      close = job_.find(CharT('>'), endQuote + 1);
    }
    if (open == npos && close == npos) return TagResult::kEnd;
    offset_ = close == npos ? open : open == npos ? close : std::min(open, close);
    length_ = 1;
    if (close == npos) return TagResult::kNoClose;
    if (open == npos) return TagResult::kNoOpen;
    next_ = close + 1;
    if (open > close) continue;  // a ">" in the text between tags
    length_ = close + 1 - open;
    tag = platform::Trim(Widened(job_.substr(open, close + 1 - open)));
    return TagResult::kTag;
  }
}

template class TagReader<char>;
template class TagReader<wchar_t>;

}  // namespace xtpl
