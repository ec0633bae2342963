#pragma once
// Field data as a full ZPL printer reads it. The reader hands over one
// character per byte; "^FH" turns an indicator and two hex digits into the
// byte they name, and "^CI" says how the bytes become characters. Used by the
// full dialect's field commands.

#include <cstdint>
#include <string>
#include <string_view>

// Each `indicator` followed by two hex digits becomes that byte; an indicator
// not followed by two hex digits stays as written.
std::wstring DecodeZplHex(std::wstring_view bytes, wchar_t indicator);

// The characters of `bytes` (each below 256) in character set `encoding`:
// 28 UTF-8, 29 UTF-16 big-endian, 30 UTF-16 little-endian, 27 Windows-1252,
// anything else the printer's code page 850. A malformed UTF sequence
// becomes U+FFFD and reading goes on after it.
std::wstring DecodeZplText(std::wstring_view bytes, int32_t encoding);

// True for the "^CI" values the full dialect knows (0 to 13 and 27 to 30).
bool IsKnownZplEncoding(int64_t encoding);

// The text of a field block: "\&" breaks the line, "\\" is one backslash.
std::wstring ZplBlockText(std::wstring_view text);
