#pragma once
// Encodes a MonoBitmap as a 1-bit greyscale PNG (black ink on white) with the
// printer's resolution recorded in the pHYs chunk, so viewers and printers
// reproduce the label at its true size. Used by the output sinks.

#include <cstdint>
#include <vector>

#include "vellum/MonoRaster.h"

namespace vellum {

// Replaces `out` with the PNG file's bytes. False (and `out` empty) when the
// encoder fails.
bool EncodeMonoPng(const MonoBitmap& bitmap, int dpi, std::vector<uint8_t>& out);

}  // namespace vellum
