#include "host/printer/ReportText.h"

#include <cstdint>
#include <cstdio>

namespace host {
namespace {

// One step through UTF-8 text: a code point and its length, or kInvalid with
// length 1 for a byte that does not start a well-formed sequence.
constexpr int32_t kInvalid = -1;

struct Step {
  int32_t codePoint;
  size_t length;
};

Step Decode(std::string_view text, size_t at) {
  const auto byte = [&](size_t i) { return static_cast<uint8_t>(text[i]); };
  const uint8_t lead = byte(at);
  if (lead < 0x80) return {lead, 1};
  size_t length = 0;
  int32_t value = 0, lowest = 0;
  if ((lead & 0xE0) == 0xC0) {
    length = 2, value = lead & 0x1F, lowest = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, value = lead & 0x0F, lowest = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, value = lead & 0x07, lowest = 0x10000;
  } else {
    return {kInvalid, 1};
  }
  if (at + length > text.size()) return {kInvalid, 1};
  for (size_t i = 1; i < length; ++i) {
    if ((byte(at + i) & 0xC0) != 0x80) return {kInvalid, 1};
    value = (value << 6) | (byte(at + i) & 0x3F);
  }
  const bool surrogate = value >= 0xD800 && value <= 0xDFFF;
  if (value < lowest || value > 0x10FFFF || surrogate) return {kInvalid, 1};
  return {value, length};
}

bool IsControl(int32_t c) { return c < 0x20 || (c >= 0x7F && c <= 0x9F); }

std::string Hex(const char* pattern, unsigned value) {
  char out[12];
  std::snprintf(out, sizeof out, pattern, value);
  return out;
}

}  // namespace

std::string Shorten(std::string_view utf8, size_t limit) {
  size_t at = 0, characters = 0, cut = utf8.size();
  while (at < utf8.size()) {
    if (characters == limit) cut = at;
    at += Decode(utf8, at).length;
    ++characters;
  }
  if (characters <= limit) return std::string(utf8);
  return std::string(utf8.substr(0, cut)) + "... (" + std::to_string(characters) +
         " characters in all)";
}

std::string EscapeForTerminal(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (size_t at = 0; at < utf8.size();) {
    const Step step = Decode(utf8, at);
    if (step.codePoint == kInvalid) {
      out += Hex("\\x%02x", static_cast<uint8_t>(utf8[at]));
    } else if (IsControl(step.codePoint)) {
      out +=
          Hex(step.codePoint < 0x80 ? "\\x%02x" : "\\u%04x", static_cast<unsigned>(step.codePoint));
    } else {
      out.append(utf8.substr(at, step.length));
    }
    at += step.length;
  }
  return out;
}

std::string EscapeForJson(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (size_t at = 0; at < utf8.size();) {
    const Step step = Decode(utf8, at);
    if (step.codePoint == kInvalid) {
      out += "\\ufffd";
    } else if (step.codePoint == '"' || step.codePoint == '\\') {
      out += '\\';
      out += static_cast<char>(step.codePoint);
    } else if (IsControl(step.codePoint)) {
      out += Hex("\\u%04x", static_cast<unsigned>(step.codePoint));
    } else {
      out.append(utf8.substr(at, step.length));
    }
    at += step.length;
  }
  return out;
}

}  // namespace host
