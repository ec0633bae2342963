#pragma once
// One field of the full dialect as its commands gather it, from "^FO" or
// "^FT" to "^FS". A full ZPL printer sets a field when it is separated, so
// the commands of a field may come in any order; ZPLFullParser keeps one of
// these per format and writes the field's records at "^FS" (or at "^XZ", or
// when a new origin begins another field).

#include <cstdint>
#include <string>

struct ZPLFullField {
  enum class Origin { kTop, kBaseline, kFollow };

  bool hasOrigin = false;
  int64_t x = 0;  // dots, label home and shifts applied
  int64_t y = 0;
  Origin origin = Origin::kTop;
  int32_t justification = -1;  // "^FO"/"^FT" third parameter; -1: the "^FW" default

  bool hasFont = false;  // "^A" given for this field
  std::wstring font;     // "0", "A" ... a "^CW" letter, or "@" with fontFile
  std::wstring fontFile;
  wchar_t orientation = 0;  // 0: the "^FW" default
  std::wstring height;      // dots as written; empty: not given
  std::wstring width;
  bool symbol = false;  // "^GS": letters A to C print as registered, copyright, trade mark

  bool block = false;  // "^FB"
  int64_t blockWidth = 0;
  int64_t blockLines = 1;
  int64_t blockSpacing = 0;
  wchar_t blockJustify = L'L';
  int64_t hangingIndent = 0;

  bool hex = false;  // "^FH"
  wchar_t hexIndicator = L'_';
  bool reverse = false;  // "^FR"

  bool hasData = false;  // "^FD" or "^FV"
  std::wstring data;     // bytes as read, one per character

  bool serial = false;  // "^SN"
  std::wstring serialStart;
  int64_t serialIncrement = 1;
  bool serialLeadingZeros = false;

  bool objectCommand = false;  // a barcode or graphic command claimed the field
  int64_t fieldNumber = 0;     // "^FN": filled by, or fills, a stored format's field
};
