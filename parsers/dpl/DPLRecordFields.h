#pragma once
// Fixed-width fields of DPL object records. Every object record begins with
// the same header (rotation, kind, two factors, size, row, column) and goes
// on with fields of its own; both are read here, with every read bounds
// checked: a field that runs past the end of the line is whatever remains of
// it, possibly nothing, and converts as 0. Used by DPLParser.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace dpl {

// Takes fields off the front of a line. The line must outlive the reader.
class FieldReader {
 public:
  explicit FieldReader(std::wstring_view line) : rest_(line) {}

  // The next `width` characters, or fewer at the end of the line.
  std::wstring_view Take(size_t width);
  // The next character, or L'\0' at the end of the line.
  wchar_t Peek() const { return rest_.empty() ? L'\0' : rest_.front(); }
  std::wstring_view Rest() const { return rest_; }
  size_t Remaining() const { return rest_.size(); }

 private:
  std::wstring_view rest_;
};

// The leading integer of a field, 0 when it has none.
int64_t FieldValue(std::wstring_view field);

// True when `text` begins with `count` decimal digits.
bool StartsWithDigits(std::wstring_view text, size_t count);

// The header shared by text, barcode and hot-shape records.
struct ObjectHeader {
  wchar_t rotation = L'\0';  // "1" to "4"
  wchar_t kind = L'\0';      // font digit, barcode letter or "X"
  std::wstring_view wide;    // width or wide-bar factor, one character
  std::wstring_view narrow;  // height or narrow-bar factor, one character
  std::wstring_view size;    // three characters
  std::wstring_view row;     // four characters: y
  std::wstring_view column;  // four characters: x
  std::wstring_view rest;    // what follows: text, data or shape fields
};

// Reads the header of `line`; the views point into it.
ObjectHeader ReadObjectHeader(std::wstring_view line);

}  // namespace dpl
