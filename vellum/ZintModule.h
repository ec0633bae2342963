#pragma once
// How zint holds a symbol's modules once encoded: a bit per module, rows of
// bytes, the first module of a byte in its lowest bit.

#include <zint.h>

namespace vellum {

inline bool ZintModuleDark(const zint_symbol& symbol, int row, int column) {
  return (symbol.encoded_data[row][column >> 3] >> (column & 7)) & 1;
}

}  // namespace vellum
