#pragma once
// The symbology table: how each barcode type of the vocabulary
// (engine/BarcodeVocabulary.h) is made by zint, drawn and fed. One row per
// BarcodeId, in its order; name, engine symbology and digit counts are the
// vocabulary's and are read from it. The renderer, the data mapping and the
// layout read their behaviour from the row instead of switching on the
// symbology.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "engine/BarcodeVocabulary.h"

namespace vellum {

// How a symbol's modules become printed marks.
enum class SymbolShape {
  kLinear,    // one row of bars, as tall as the barcode's height
  kStacked,   // rows of bars sharing the height (PDF417)
  kBound,     // stacked rows with one-module bars above, between and below (Code 16K, 49)
  kPostal,    // bars of several heights in zint's row proportions (Postnet, 4-state)
  kMatrix,    // square modules; the height is not used
  kMaxiCode,  // zint's hexagons and bullseye rings at the symbol's fixed size
};

// How the label's data is turned into zint's input.
enum class DataRule {
  kAsGiven,
  kUpperCase,  // the symbology has no lower case; letters are read case-blind
  kDigits,     // exactly the vocabulary's digits, zeros added in front of shorter data
  kUpcE,       // a UPC-A number written in its UPC-E form, then the add-on
  kCodabar,    // upper case, framed by start/stop letters A..D ("A" and "B" added if absent)
  kGs1,        // GS1 element string: FNC1 first, the leading two digits read as the AI
};

struct SymbologyRow {
  BarcodeId id;
  int zintSymbology;  // a zint BARCODE_ value
  SymbolShape shape;
  bool wideElements;  // bars and spaces are narrow or wide: wide = narrow x ratio
  int checkOption;    // zint option_2 adding the optional check character; 0: none
  DataRule rule;
  bool textFromData;  // human-readable text is the data, not zint's text

  const BarcodeVocabularyRow& Vocabulary() const { return GetBarcodeVocabularyRow(id); }
  // As the label's barcode format names the type.
  std::wstring_view TypeName() const { return Vocabulary().name; }
};

// The row for `typeName` (compared without regard to case); else the first
// row with engine symbology `code`; null when neither is known.
const SymbologyRow* FindSymbology(std::wstring_view typeName, int32_t code);

// Every row, in BarcodeId order.
std::span<const SymbologyRow> SymbologyRows();

}  // namespace vellum
