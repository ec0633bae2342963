#pragma once
// One barcode symbol as zint encodes it, copied out of zint's record into
// plain data: the module rows as runs, zint's human-readable text, and for
// MaxiCode the hexagons and rings of its vector form. Encoding is the only
// place zint is called; the symbol is immutable afterwards and may be shared.

#include <memory>
#include <string>
#include <vector>

#include "vellum/BarcodeData.h"
#include "vellum/BarcodeSymbols.h"

namespace vellum {

// One row of modules: run lengths in modules, alternating, the first a space
// (0 when the row starts with a bar).
struct ModuleRow {
  std::vector<int> runs;
  double weight = 1.0;  // zint's row height, for rows of unequal height
};

struct Hexagon {
  double x, y, diameter;  // centre and corner-to-corner size, zint's vector units
};

struct Ring {
  double x, y, diameter, width;  // centre, diameter of the ring's middle line, thickness
};

struct EncodedSymbol {
  int widthModules = 0;
  std::vector<ModuleRow> rows;
  std::wstring text;  // human-readable text
  // MaxiCode only.
  double vectorWidth = 0.0;
  double vectorHeight = 0.0;
  std::vector<Hexagon> hexagons;
  std::vector<Ring> rings;
};

struct EncodeResult {
  std::shared_ptr<const EncodedSymbol> symbol;  // null when zint refused the data
  std::wstring reason;                          // zint's (or the data rule's) reason
};

// How one symbol is encoded beyond its row: the optional check character and
// the details a ZPL job gives (VBarcodeFormat's symbol fields).
struct SymbolOptions {
  bool check = false;          // the optional check character, where the row has one
  bool symbologyRule = false;  // the data is the symbology's own (no row rule but zint's)
  int errorLevel = -1;         // zint option_1 (QR, PDF417, Aztec level; MaxiCode mode)
  int symbolSize = 0;          // zint option_2 (QR version, columns, Aztec or Data Matrix size)
  int rows = 0;                // zint option_3 for PDF417
  std::wstring mode;           // "GS1", "SUBSET B", "RUNE", "TRUNCATED", "RECTANGLE", ...
  std::wstring primary;        // MaxiCode modes 2 and 3

  auto operator<=>(const SymbolOptions&) const = default;
};

// Encodes `data` as `row` and `options` say.
EncodeResult EncodeSymbol(const SymbologyRow& row, const std::wstring& data,
                          const SymbolOptions& options);
inline EncodeResult EncodeSymbol(const SymbologyRow& row, const std::wstring& data, bool check) {
  SymbolOptions options;
  options.check = check;
  return EncodeSymbol(row, data, options);
}

// True when module `column` of zint row `r` is dark, for comparing with zint.
bool ModuleIsDark(const ModuleRow& row, int column);

}  // namespace vellum
