#pragma once
// Text helpers shared by every part of the engine. Jobs arrive as bytes and
// become wide text one byte per character (Latin-1); numbers in scripts and
// command parameters are read with leading-number semantics. All helpers are
// locale-independent, so results never depend on the host's settings.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// One wide character per byte (Latin-1).
std::wstring BytesToWide(const char* bytes, size_t count);
std::wstring BytesToWide(std::string_view bytes);

// UTF-8 for files written for people (logs, JSON). Characters that are not
// valid code points become U+FFFD.
std::string WideToUtf8(std::wstring_view text);

// Leading integer: optional white space, optional sign, decimal digits;
// stops at the first other character; 0 when there are no digits. Values
// beyond 32 bits saturate at INT32_MIN / INT32_MAX.
int32_t LeadingInt(std::wstring_view text);

// Leading decimal number: optional white space, sign, digits, optional
// fraction and exponent ("12", "-1.5", ".5", "2e3"); 0.0 when there is none.
// Never reads hexadecimal, "inf" or "nan".
double LeadingNumber(std::wstring_view text);

// Plain decimal text of an integer ("-12", "0", "345").
std::wstring IntToWide(int64_t value);

// White space is space, tab, CR, LF, vertical tab and form feed.
bool IsSpace(wchar_t c);
std::wstring Trim(std::wstring_view text);
std::wstring TrimLeft(std::wstring_view text);
std::wstring TrimRight(std::wstring_view text);

// Case mapping of ASCII and Latin-1 letters; every other character is kept.
wchar_t ToUpperChar(wchar_t c);
wchar_t ToLowerChar(wchar_t c);
std::wstring ToUpper(std::wstring_view text);
std::wstring ToLower(std::wstring_view text);
bool EqualsIgnoreCase(std::wstring_view a, std::wstring_view b);

// One byte as the wide character it stands for (Latin-1).
inline wchar_t Widen(char c) { return static_cast<wchar_t>(static_cast<unsigned char>(c)); }

// Entry `index` of a parameter list, or the empty text past its end.
const std::wstring& ItemOrEmpty(const std::vector<std::wstring>& items, size_t index);

}  // namespace platform
