#pragma once
// Turns the data a barcode prints into the input zint encodes, by the rule of
// the barcode's symbology row. The session checks data when the object is
// made; values taken per label (sequences, prompts) arrive unchecked, so every
// rule here stands on its own. Used by ZintBarcodes.

#include <string>

#include "vellum/BarcodeSymbols.h"

namespace vellum {

struct ZintInput {
  bool ok = false;
  std::string bytes;    // UTF-8 (or GS1 element string) for zint
  int inputMode = 0;    // zint input_mode
  std::wstring text;    // the data as it will read back (human-readable text of rows that want it)
  std::wstring reason;  // why the data cannot be encoded, when !ok
};

ZintInput MapBarcodeData(const SymbologyRow& row, const std::wstring& data);

// The UPC-E form (number system and six digits) of a UPC-A number without its
// check digit (the vocabulary's UPCA digits); empty when the number has none.
std::wstring CompressUpcE(const std::wstring& upcA);

}  // namespace vellum
