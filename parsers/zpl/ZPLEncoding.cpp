#include "parsers/zpl/ZPLEncoding.h"

#include <array>

namespace {

constexpr wchar_t kReplacement = 0xFFFD;

// Bytes 0x80 to 0xFF of code page 850, the printer's single-byte set.
constexpr std::array<uint16_t, 128> kCodePage850 = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8, 0x00EF,
    0x00EE, 0x00EC, 0x00C4, 0x00C5, 0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9,
    0x00FF, 0x00D6, 0x00DC, 0x00F8, 0x00A3, 0x00D8, 0x00D7, 0x0192, 0x00E1, 0x00ED, 0x00F3, 0x00FA,
    0x00F1, 0x00D1, 0x00AA, 0x00BA, 0x00BF, 0x00AE, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x00C1, 0x00C2, 0x00C0, 0x00A9, 0x2563, 0x2551, 0x2557,
    0x255D, 0x00A2, 0x00A5, 0x2510, 0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x00E3, 0x00C3,
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x00A4, 0x00F0, 0x00D0, 0x00CA, 0x00CB,
    0x00C8, 0x0131, 0x00CD, 0x00CE, 0x00CF, 0x2518, 0x250C, 0x2588, 0x2584, 0x00A6, 0x00CC, 0x2580,
    0x00D3, 0x00DF, 0x00D4, 0x00D2, 0x00F5, 0x00D5, 0x00B5, 0x00FE, 0x00DE, 0x00DA, 0x00DB, 0x00D9,
    0x00FD, 0x00DD, 0x00AF, 0x00B4, 0x00AD, 0x00B1, 0x2017, 0x00BE, 0x00B6, 0x00A7, 0x00F7, 0x00B8,
    0x00B0, 0x00A8, 0x00B7, 0x00B9, 0x00B3, 0x00B2, 0x25A0, 0x00A0,
};

// Bytes 0x80 to 0x9F of Windows-1252; the rest of its upper half is Latin-1,
// and its five unassigned bytes stay as they are.
constexpr std::array<uint16_t, 32> kWindows1252 = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

int HexValue(wchar_t c) {
  if (c >= L'0' && c <= L'9') return c - L'0';
  if (c >= L'A' && c <= L'F') return c - L'A' + 10;
  if (c >= L'a' && c <= L'f') return c - L'a' + 10;
  return -1;
}

uint32_t Byte(wchar_t c) { return static_cast<uint32_t>(c) & 0xFF; }

void AppendCodePoint(std::wstring& out, uint32_t cp) {
  if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = kReplacement;
  if constexpr (sizeof(wchar_t) == 2) {
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<wchar_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<wchar_t>(0xDC00 + (cp & 0x3FF)));
      return;
    }
  }
  out.push_back(static_cast<wchar_t>(cp));
}

// One UTF-8 sequence from bytes[i]; `i` moves past what was read.
uint32_t NextUtf8(std::wstring_view bytes, size_t& i) {
  const uint32_t lead = Byte(bytes[i++]);
  if (lead < 0x80) return lead;
  int more = lead >= 0xF0 && lead <= 0xF4  ? 3
             : lead >= 0xE0                ? 2
             : lead >= 0xC2 && lead < 0xE0 ? 1
                                           : -1;
  if (more < 0) return kReplacement;
  uint32_t cp = lead & (0x3F >> more);
  for (int k = 0; k < more; ++k) {
    if (i >= bytes.size() || (Byte(bytes[i]) & 0xC0) != 0x80) return kReplacement;
    cp = (cp << 6) | (Byte(bytes[i++]) & 0x3F);
  }
  const uint32_t least[] = {0, 0x80, 0x800, 0x10000};
  return cp < least[more] ? kReplacement : cp;
}

std::wstring FromUtf8(std::wstring_view bytes) {
  std::wstring out;
  out.reserve(bytes.size());
  for (size_t i = 0; i < bytes.size();) AppendCodePoint(out, NextUtf8(bytes, i));
  return out;
}

std::wstring FromUtf16(std::wstring_view bytes, bool bigEndian) {
  std::wstring out;
  uint32_t high = 0;  // a pending high surrogate
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const uint32_t a = Byte(bytes[i]), b = Byte(bytes[i + 1]);
    const uint32_t unit = bigEndian ? (a << 8 | b) : (b << 8 | a);
    if (unit >= 0xD800 && unit <= 0xDBFF) {
      if (high != 0) AppendCodePoint(out, kReplacement);
      high = unit;
      continue;
    }
    if (unit >= 0xDC00 && unit <= 0xDFFF && high != 0) {
      AppendCodePoint(out, 0x10000 + ((high - 0xD800) << 10) + (unit - 0xDC00));
    } else {
      if (high != 0) AppendCodePoint(out, kReplacement);
      AppendCodePoint(out, unit >= 0xDC00 && unit <= 0xDFFF ? kReplacement : unit);
    }
    high = 0;
  }
  if (high != 0 || bytes.size() % 2 != 0) AppendCodePoint(out, kReplacement);
  return out;
}

std::wstring FromSingleByte(std::wstring_view bytes, bool windows1252) {
  std::wstring out;
  out.reserve(bytes.size());
  for (wchar_t c : bytes) {
    const uint32_t b = Byte(c);
    if (b < 0x80) {
      out.push_back(static_cast<wchar_t>(b));
    } else if (windows1252) {
      out.push_back(static_cast<wchar_t>(b < 0xA0 ? kWindows1252[b - 0x80] : b));
    } else {
      out.push_back(static_cast<wchar_t>(kCodePage850[b - 0x80]));
    }
  }
  return out;
}

}  // namespace

std::wstring DecodeZplHex(std::wstring_view bytes, wchar_t indicator) {
  std::wstring out;
  out.reserve(bytes.size());
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == indicator && i + 2 < bytes.size() && HexValue(bytes[i + 1]) >= 0 &&
        HexValue(bytes[i + 2]) >= 0) {
      out.push_back(static_cast<wchar_t>(HexValue(bytes[i + 1]) * 16 + HexValue(bytes[i + 2])));
      i += 2;
    } else {
      out.push_back(bytes[i]);
    }
  }
  return out;
}

std::wstring DecodeZplText(std::wstring_view bytes, int32_t encoding) {
  switch (encoding) {
    case 28:
      return FromUtf8(bytes);
    case 29:
      return FromUtf16(bytes, true);
    case 30:
      return FromUtf16(bytes, false);
    case 27:
      return FromSingleByte(bytes, true);
    default:
      return FromSingleByte(bytes, false);
  }
}

bool IsKnownZplEncoding(int64_t encoding) {
  return (encoding >= 0 && encoding <= 13) || (encoding >= 27 && encoding <= 30);
}
