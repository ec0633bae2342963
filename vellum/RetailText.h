#pragma once
// The human-readable line of EAN and UPC symbols as ZPL printers set it: the
// digits in groups between the guard bars, which reach down beside them, and
// the number system (and UPC-A's check digit) outside the bars. Used by
// ZintBarcodes for barcodes that follow the symbology's own rules.

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "vellum/BarcodeSymbols.h"

namespace vellum {

struct RetailDigit {
  wchar_t digit;
  double centre;  // modules from the symbol's left edge; negative: left of the bars
  bool outside;   // printed smaller, outside the bars
};

struct RetailLayout {
  std::vector<std::pair<int, int>> guards;  // module ranges [first, last) whose bars reach down
  std::vector<RetailDigit> digits;
};

// The layout for `row`'s symbol reading `text` (zint's human-readable text);
// empty for other symbologies or text of an unexpected length.
std::optional<RetailLayout> RetailLayoutFor(const SymbologyRow& row, const std::wstring& text);

// How far the guards reach below the other bars, and the band the digits
// take below the bars, in modules.
inline constexpr double kRetailGuardModules = 5.0;
inline constexpr double kRetailBandModules = 8.0;
inline constexpr double kRetailDigitModules = 5.5;  // height of a digit

}  // namespace vellum
