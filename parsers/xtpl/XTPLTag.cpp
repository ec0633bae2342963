#include "parsers/xtpl/XTPLTag.h"

#include <utility>

#include "platform/Text.h"

namespace xtpl {

namespace {

// A quoted value's text becomes blanks; its quotes stay, so the places of
// values are still known. A quote left open at the end is not a value.
std::wstring Blanked(std::wstring text) {
  for (size_t open = text.find(L'"'); open != std::wstring::npos;) {
    const size_t close = text.find(L'"', open + 1);
    if (close == std::wstring::npos) break;
    for (size_t i = open + 1; i < close; ++i) text[i] = L' ';
    open = text.find(L'"', close + 1);
  }
  return text;
}

}  // namespace

// A large tag is held three times over, so the text is moved, not copied.
Tag::Tag(std::wstring text) : asWritten_(std::move(text)) {
  size_t first = 0;
  while (first < asWritten_.size() && platform::IsSpace(asWritten_[first])) ++first;
  asWritten_.erase(0, first);
  upper_ = platform::ToUpper(asWritten_);
  blanked_ = Blanked(upper_);
}

bool Tag::Contains(std::wstring_view word) const {
  return blanked_.find(word) != std::wstring::npos;
}

std::optional<std::wstring> Tag::GetValue(std::wstring_view name) { return Read(name, upper_); }

std::optional<std::wstring> Tag::GetValueAsWritten(std::wstring_view name) {
  return Read(name, asWritten_);
}

void Tag::RemoveString(std::wstring_view word) {
  const size_t at = blanked_.find(word);
  if (at != std::wstring::npos) Erase(at, word.size());
}

std::optional<std::wstring> Tag::Read(std::wstring_view name, const std::wstring& source) {
  const size_t at = blanked_.find(name);
  if (at == std::wstring::npos) return std::nullopt;
  // Found outside the values, so the next quote opens one and the quote
  // after it closes that same value.
  const size_t open = blanked_.find(L'"', at + name.size());
  if (open == std::wstring::npos) return std::nullopt;
  const size_t close = blanked_.find(L'"', open + 1);
  if (close == std::wstring::npos) return std::nullopt;
  std::wstring value = source.substr(open + 1, close - open - 1);
  Erase(at, close + 1 - at);
  return value;
}

void Tag::Erase(size_t at, size_t count) {
  asWritten_.erase(at, count);
  upper_.erase(at, count);
  blanked_.erase(at, count);
}

}  // namespace xtpl
