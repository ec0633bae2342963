#pragma once
// Where an encoded symbol's marks fall, in whole printer dots. The narrow
// element (one module) is the density in thousandths of an inch, rounded to
// whole dots and never less than one; a wide element of the symbologies that
// have them is the narrow one times the ratio, rounded. Bars are laid out
// from (0, 0), the symbol's top-left corner, without quiet zones. Used by
// ZintBarcodes.

#include <vector>

#include "engine/VInterface.h"
#include "vellum/ZintSymbol.h"

namespace vellum {

struct ModuleMetrics {
  int narrow = 1;     // dots
  int wide = 3;       // dots
  int barHeight = 1;  // dots
  int rowHeight = 0;  // stacked symbols: dots per row; 0: the rows share the height
  int fitHeight = 0;  // matrix symbols: the module is this height over the rows; 0: narrow
};

// Density 1..1000 mils, ratio 2..3 and height up to 20 in are honoured;
// values outside are brought into range. A height of 0 (or none) is half an inch.
// A module given in dots (ZPL) is taken exactly, whatever the resolution.
ModuleMetrics MetricsFor(const VBarcodeFormat& format, int dpi);

struct BarRect {
  int x, y, width, height;
};

struct SymbolMarks {
  int width = 0;  // dots
  int height = 0;
  std::vector<BarRect> bars;
  double vectorScale = 0.0;  // MaxiCode: dots per zint vector unit
};

SymbolMarks LayOutSymbol(const SymbologyRow& row, const EncodedSymbol& symbol,
                         const ModuleMetrics& metrics, int dpi);

// MaxiCode's nominal width, inches.
inline constexpr double kMaxiCodeWidthInches = 1.108;

}  // namespace vellum
