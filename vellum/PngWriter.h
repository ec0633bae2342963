#pragma once
// Encodes a MonoBitmap as a 1-bit greyscale PNG (black ink on white) with the
// printer's resolution recorded in the pHYs chunk, so viewers and printers
// reproduce the label at its true size. Used by the output sinks.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "vellum/MonoRaster.h"

namespace vellum {

// Replaces `out` with the PNG file's bytes. False (and `out` empty) when the
// encoder fails.
bool EncodeMonoPng(const MonoBitmap& bitmap, int dpi, std::vector<uint8_t>& out);

// Fills the dots of a label's rows as the PNG holds them: (width + 7) / 8
// bytes a row, rows `stride` bytes apart, most significant bit first, ink 0.
using FillPngRows = std::function<void(uint8_t* bits, size_t stride)>;

// The same for a label whose rows `fill` writes straight into the encoder's
// buffer (a raster thresholded there, with no bitmap between).
bool EncodeMonoPng(int width, int height, int dpi, const FillPngRows& fill,
                   std::vector<uint8_t>& out);

}  // namespace vellum
