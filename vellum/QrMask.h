#pragma once
// Chooses a QR code's mask the way the barcode library does, in a fraction of
// its time. The library scores all eight masks on byte grids, which is nine
// tenths of encoding a QR code (about 90 us of 100 for a parcel label's link):
// here the symbol is encoded once with a given mask, the other seven are
// derived from it (data modules flip with the masks, the format information
// is rewritten, everything else stays) and scored a row or column at a time
// as bit sets, with the library's own rules: runs of five and more, 2 x 2
// blocks, 1:1:3:1:1 patterns with four light modules on either side (the edge
// counting as light), and the share of dark modules. Ties go to the lower
// mask. The symbol is then encoded with the mask chosen, so every module
// still comes from the library. Tests check the choice against the library's
// own for many symbols of every size handled.

#include <zint.h>

#include <optional>

namespace vellum {

// The library's mask for the QR code `encoded`, which was encoded with mask
// `usedMask` (0-7) forced. Nothing for symbols larger than version 10
// (57 modules): the library chooses those itself.
std::optional<int> ChooseQrMask(const zint_symbol& encoded, int usedMask);

// QR code masks are forced through option_3 as the mask plus one, shifted.
constexpr int QrMaskOption(int mask) { return (mask + 1) << 8; }
constexpr int kQrMaskOptionBits = 0x0F00;

}  // namespace vellum
