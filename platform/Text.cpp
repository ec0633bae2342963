#include "platform/Text.h"

#include <charconv>
#include <climits>
#include <string>

namespace platform {

std::wstring BytesToWide(const char* bytes, size_t count) {
  std::wstring out;
  if (bytes == nullptr) return out;
  out.resize(count);
  for (size_t i = 0; i < count; ++i) out[i] = static_cast<unsigned char>(bytes[i]);
  return out;
}

std::wstring BytesToWide(std::string_view bytes) { return BytesToWide(bytes.data(), bytes.size()); }

std::string WideToUtf8(std::wstring_view text) {
  std::string out;
  out.reserve(text.size());
  for (wchar_t wc : text) {
    uint32_t c = static_cast<uint32_t>(wc);
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = 0xFFFD;
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

bool IsSpace(wchar_t c) {
  return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == L'\v' || c == L'\f';
}

namespace {
bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

size_t SkipSpace(std::wstring_view text, size_t i) {
  while (i < text.size() && IsSpace(text[i])) ++i;
  return i;
}
}  // namespace

int32_t LeadingInt(std::wstring_view text) {
  size_t i = SkipSpace(text, 0);
  bool negative = false;
  if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) {
    negative = text[i] == L'-';
    ++i;
  }
  int64_t value = 0;
  const int64_t limit = negative ? -static_cast<int64_t>(INT32_MIN) : INT32_MAX;
  for (; i < text.size() && IsDigit(text[i]); ++i) {
    value = value * 10 + (text[i] - L'0');
    if (value >= limit) {
      value = limit;  // saturate; keep consuming digits without growing
    }
  }
  return static_cast<int32_t>(negative ? -value : value);
}

double LeadingNumber(std::wstring_view text) {
  size_t i = SkipSpace(text, 0);
  size_t start = i;
  if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) ++i;
  size_t digits = 0;
  while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
  if (i < text.size() && text[i] == L'.') {
    ++i;
    while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
  }
  if (digits == 0) return 0.0;
  if (i < text.size() && (text[i] == L'e' || text[i] == L'E')) {
    size_t j = i + 1;
    if (j < text.size() && (text[j] == L'+' || text[j] == L'-')) ++j;
    if (j < text.size() && IsDigit(text[j])) {
      while (j < text.size() && IsDigit(text[j])) ++j;
      i = j;
    }
  }
  std::string narrow;
  narrow.reserve(i - start);
  for (size_t k = start; k < i; ++k) {
    if (text[k] != L'+') narrow += static_cast<char>(text[k] == L'E' ? L'e' : text[k]);
  }
  double value = 0.0;
  auto result = std::from_chars(narrow.data(), narrow.data() + narrow.size(), value);
  if (result.ec == std::errc::result_out_of_range) {
    // from_chars leaves the value untouched on overflow or underflow; only a
    // negative exponent can underflow.
    if (narrow.find("e-") != std::string::npos) return 0.0;
    return narrow[0] == '-' ? -1e308 : 1e308;
  }
  return value;
}

// std::to_wstring goes through the C library's wide printf, which takes a
// lock and converts a character set for every number: records carry many.
std::wstring IntToWide(int64_t value) {
  char digits[24];
  const std::to_chars_result result = std::to_chars(digits, digits + sizeof digits, value);
  return std::wstring(digits, result.ptr);
}

std::wstring TrimLeft(std::wstring_view text) {
  size_t b = 0;
  while (b < text.size() && IsSpace(text[b])) ++b;
  return std::wstring(text.substr(b));
}

std::wstring TrimRight(std::wstring_view text) {
  size_t e = text.size();
  while (e > 0 && IsSpace(text[e - 1])) --e;
  return std::wstring(text.substr(0, e));
}

std::wstring Trim(std::wstring_view text) {
  size_t b = 0, e = text.size();
  while (b < e && IsSpace(text[b])) ++b;
  while (e > b && IsSpace(text[e - 1])) --e;
  return std::wstring(text.substr(b, e - b));
}

wchar_t ToUpperChar(wchar_t c) {
  if (c >= L'a' && c <= L'z') return c - 32;
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 32;
  return c;
}

wchar_t ToLowerChar(wchar_t c) {
  if (c >= L'A' && c <= L'Z') return c + 32;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 32;
  return c;
}

std::wstring ToUpper(std::wstring_view text) {
  std::wstring out(text);
  for (auto& c : out) c = ToUpperChar(c);
  return out;
}

std::wstring ToLower(std::wstring_view text) {
  std::wstring out(text);
  for (auto& c : out) c = ToLowerChar(c);
  return out;
}

bool EqualsIgnoreCase(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (ToUpperChar(a[i]) != ToUpperChar(b[i])) return false;
  }
  return true;
}

const std::wstring& ItemOrEmpty(const std::vector<std::wstring>& items, size_t index) {
  static const std::wstring kEmpty;
  return index < items.size() ? items[index] : kEmpty;
}

}  // namespace platform
