#pragma once
// Sizes an Aztec symbol for a least share of error correction. A job may ask
// that at least some percent of the symbol's codewords be check codewords;
// the barcode library offers four fixed levels or a fixed size. So the data
// is encoded at each size in turn, smallest side first, and the number of
// data codewords is read back from the symbol's mode message (the ring
// around the bullseye that tells a reader the layers and data codewords):
// the first size whose check codewords reach the share is the one printed.
// Called by EncodeSymbol (ZintSymbol.cpp) on symbols it has just encoded.

#include <zint.h>

#include <optional>
#include <vector>

namespace vellum {

// The library's Aztec sizes (option_2: 1-4 compact with 1-4 layers, 5-36
// full range with 1-32 layers), smallest side first; at equal sides the
// compact symbol, which holds more.
const std::vector<int>& AztecSizesBySide();

// Codewords, data and check together, of a symbol of library size `size`.
int AztecCodewords(int size);

// What the mode message of an encoded Aztec symbol says.
struct AztecModeMessage {
  bool compact = false;
  int layers = 0;
  int dataCodewords = 0;
};

// Nothing when `encoded` is not an Aztec symbol whose mode message agrees
// with its side.
std::optional<AztecModeMessage> ReadAztecModeMessage(const zint_symbol& encoded);

// True when at least `percent` of the codewords of `encoded` are check
// codewords.
bool AztecMeetsCheckShare(const zint_symbol& encoded, int percent);

}  // namespace vellum
