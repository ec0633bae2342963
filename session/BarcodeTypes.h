#pragma once
// The session's barcode type table: for each row of the barcode vocabulary
// (engine/BarcodeVocabulary.h) the data check, whether the check-character
// flag counts and the messages for data that fails. Name, engine symbology
// and fixed length are the vocabulary's and are read from it. CSessionManager's
// one barcode builder is driven by these rows; the rules themselves (character
// sets, the UPC/EAN length rule, density and ratio) are free functions here so
// that they can be used and tested without an engine. The table is static and
// immutable, one row per BarcodeId in its order; rows stay valid for the life
// of the program.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "engine/BarcodeVocabulary.h"

// What a type's data must consist of.
enum class BarcodeCheck : int32_t {
  kSetA,    // letters, digits and "-.$/+% "
  kSetB,    // set A plus "!'"
  kSetC,    // set B with a colon
  kDigits,  // "0123456789"
  kNone,    // anything goes
};

struct BarcodeType {
  BarcodeId id;
  BarcodeCheck check;
  bool checkCharacterAllowed;            // false: the check-character flag is ignored
  std::wstring_view invalidDataMessage;  // logged when the data fails the check
  std::wstring_view lengthName;          // names the type in length messages

  // As scripts spell it (any case) and the engine gets it.
  std::wstring_view Name() const { return BarcodeName(id); }
  // A VSymbology.
  int32_t Symbology() const { return GetBarcodeVocabularyRow(id).symbology; }
  // UPC/EAN: data padded or cut to this length; 0: kept as it is.
  int32_t FixedLength() const { return GetBarcodeVocabularyRow(id).DataDigits(); }
};

// Every row, in BarcodeId order.
std::span<const BarcodeType> BarcodeTypes();
const BarcodeType& GetBarcodeType(BarcodeId id);
// The row of the vocabulary name equal to `name` without regard to case; null
// when none is.
const BarcodeType* FindBarcodeType(std::wstring_view name);

// The characters a check admits; empty for kNone.
std::wstring_view BarcodeCharacterSet(BarcodeCheck check);

// True when every character of `data`, upper-cased, occurs in `characterSet`.
// Empty data passes.
bool ValidateBarCode(std::wstring_view data, std::wstring_view characterSet);

// Outcome of a type's data check. The data may have been padded or cut on the
// way (UPC/EAN); `lengthMessage` then says how, for the session log.
struct BarcodeDataCheck {
  bool valid = true;
  std::wstring lengthMessage;
};

// Fits `data` to the type's fixed length (zeros in front, or cut at the end),
// then checks its characters.
BarcodeDataCheck CheckBarcodeData(const BarcodeType& type, std::wstring& data);

// The density as written back into the command: the leading number, truncated
// and rounded to the nearest ten ("24" -> 20, "25" -> 30).
int32_t RoundBarcodeDensity(std::wstring_view density);
// Narrow bar width in mils for a rounded density: 10, 30 .. 80 are kept,
// anything else becomes 20.
int32_t BarcodeDensityMils(int32_t roundedDensity);

// Wide-to-narrow ratio: "2.0", "2:1", "2" give 2.0; "2.5", "2.5:1" give 2.5;
// anything else 3.0.
float BarcodeRatio(std::wstring_view ratio);

// Human-readable placement code: 0 hidden, 1 above the bars, 2 below.
int32_t HumanReadableCode(bool shown, bool onTop);
