#pragma once
// Test encoders for ZPL graphic data, written from the format's rules rather
// than from our decoder: a known bitmap goes out in every form a job may send
// it ("^GF" A, B and C, run-length compressed hex, ":B64:" and ":Z64:"), and
// the tests check that what comes back, or what prints, is that bitmap.
// Header-only, for the parser's and labelhost's tests.

#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <string>
#include <vector>

#include "parsers/zpl/ZPLGraphicData.h"

namespace zplgfx {

// A bitmap of `bytesPerRow` x `rows` with ink where `ink(x, y)` says.
template <typename Ink>
ZplBitmap MakeBitmap(int32_t bytesPerRow, int32_t rows, Ink ink) {
  ZplBitmap bitmap;
  bitmap.bytesPerRow = bytesPerRow;
  bitmap.rows = rows;
  bitmap.bits.assign(static_cast<size_t>(bytesPerRow) * rows, 0);
  for (int32_t y = 0; y < rows; ++y) {
    for (int32_t x = 0; x < bytesPerRow * 8; ++x) {
      if (ink(x, y)) bitmap.bits[static_cast<size_t>(y) * bytesPerRow + x / 8] |= 0x80 >> (x % 8);
    }
  }
  return bitmap;
}

// A picture with no symmetry, so a shift, flip or turn shows: a frame, a
// falling diagonal, a filled block, repeated rows, empty and full rows, and a
// row whose bytes are the prefixes and line ends ("^", "~", LF, CR), which
// binary data must carry through the reader.
inline ZplBitmap SampleBitmap() {
  ZplBitmap bitmap = MakeBitmap(5, 23, [](int x, int y) {
    if (y == 0 || y == 22) return true;                // full rows
    if (y >= 14 && y <= 16) return x == 3 || x == 37;  // three equal rows
    if (y == 18) return false;                         // an empty row
    if (x == 0) return true;
    if (x >= 25 && x < 33 && y >= 3 && y < 8) return true;
    return x == 2 * y;
  });
  const uint8_t special[] = {0x5E, 0x7E, 0x0A, 0x0D, 0x5E};
  std::copy(std::begin(special), std::end(special), bitmap.bits.begin() + 20 * 5);
  return bitmap;
}

inline std::string Bytes(const ZplBitmap& bitmap) {
  return std::string(bitmap.bits.begin(), bitmap.bits.end());
}

inline std::string Hex(const std::string& bytes) {
  std::string out;
  char digits[3];
  for (unsigned char c : bytes) {
    std::snprintf(digits, sizeof digits, "%02X", c);
    out += digits;
  }
  return out;
}

// A run of `n` times `digit` in the compression's count letters.
inline std::string Run(char digit, size_t n) {
  std::string out;
  if (n == 1) return std::string(1, digit);
  for (; n >= 400; n -= 400) out += 'z';
  if (n >= 20) out += static_cast<char>('g' + n / 20 - 1), n %= 20;
  if (n > 0) out += static_cast<char>('G' + n - 1);
  return out + digit;
}

// Every row as the compression writes it: ":" for a repeated row, "," and
// "!" for an empty and a full one, trailing zeros cut with ",", runs counted.
inline std::string CompressedHex(const ZplBitmap& bitmap) {
  const std::string hex = Hex(Bytes(bitmap));
  const size_t width = static_cast<size_t>(bitmap.bytesPerRow) * 2;
  std::string out, previous;
  for (size_t y = 0; y < static_cast<size_t>(bitmap.rows); ++y) {
    std::string row = hex.substr(y * width, width);
    if (y > 0 && row == previous) {
      out += ':';
      continue;
    }
    previous = row;
    if (row.find_first_not_of('0') == std::string::npos) {
      out += ',';
      continue;
    }
    if (row.find_first_not_of('F') == std::string::npos) {
      out += '!';
      continue;
    }
    const size_t last = row.find_last_not_of('0');
    const bool cut = last + 1 < row.size();
    row.resize(last + 1);
    for (size_t i = 0; i < row.size();) {
      size_t j = i;
      while (j < row.size() && row[j] == row[i]) ++j;
      out += Run(row[i], j - i);
      i = j;
    }
    if (cut) out += ',';
  }
  return out;
}

inline std::string Base64(const std::string& bytes) {
  static const char kAlphabet[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  for (size_t i = 0; i < bytes.size(); i += 3) {
    uint32_t n = static_cast<uint8_t>(bytes[i]) << 16;
    if (i + 1 < bytes.size()) n |= static_cast<uint8_t>(bytes[i + 1]) << 8;
    if (i + 2 < bytes.size()) n |= static_cast<uint8_t>(bytes[i + 2]);
    out += kAlphabet[n >> 18];
    out += kAlphabet[(n >> 12) & 63];
    out += i + 1 < bytes.size() ? kAlphabet[(n >> 6) & 63] : '=';
    out += i + 2 < bytes.size() ? kAlphabet[n & 63] : '=';
  }
  return out;
}

inline std::string Deflate(const std::string& bytes) {
  uLongf size = compressBound(static_cast<uLong>(bytes.size()));
  std::string out(size, '\0');
  compress2(reinterpret_cast<Bytef*>(out.data()), &size,
            reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uLong>(bytes.size()), 9);
  out.resize(size);
  return out;
}

// ":B64:" or ":Z64:" text with its CRC.
inline std::string Encoded(const std::string& bytes, bool deflated) {
  const std::string text = Base64(deflated ? Deflate(bytes) : bytes);
  char crc[5];
  std::snprintf(crc, sizeof crc, "%04X", ZplCrc16(text));
  return (deflated ? ":Z64:" : ":B64:") + text + ":" + crc;
}

// One "^GF" command of `bitmap` in `form`: "hex", "rle", "b64", "z64",
// "binary" or "deflated".
inline std::string GraphicField(const ZplBitmap& bitmap, const std::string& form) {
  const std::string total = std::to_string(bitmap.bits.size());
  const std::string row = std::to_string(bitmap.bytesPerRow);
  const std::string bytes = Bytes(bitmap);
  std::string letter = "A", data;
  if (form == "hex") data = Hex(bytes);
  if (form == "rle") data = CompressedHex(bitmap);
  if (form == "b64") data = Encoded(bytes, false);
  if (form == "z64") data = Encoded(bytes, true);
  if (form == "binary") letter = "B", data = bytes;
  if (form == "deflated") letter = "C", data = Deflate(bytes);
  const std::string sent = letter == "A" ? total : std::to_string(data.size());
  return "^GF" + letter + "," + sent + "," + total + "," + row + "," + data;
}

inline const std::vector<std::string>& GraphicForms() {
  static const std::vector<std::string> forms = {"hex", "rle", "b64", "z64", "binary", "deflated"};
  return forms;
}

}  // namespace zplgfx
