#pragma once
// The smallest rectangle that holds every inked (non-zero) byte of an 8-bit
// alpha image, such as cairo's A8 surfaces: GlyphRasters keeps only that
// part of each glyph cairo draws for it. It reads whole words, passes blank
// rows at a word a step, and reads of an inked row only the blank bytes
// before its first ink and after its last.

#include <cstdint>

namespace vellum {

struct InkBox {
  int x0 = 0, y0 = 0, x1 = 0, y1 = 0;  // columns x0..x1-1, rows y0..y1-1
  bool empty() const { return x0 >= x1; }
};

// `rows` holds `height` rows of `width` bytes, each `stride` bytes after the
// one before. An empty box ({0, 0, 0, 0}) when no byte is inked.
InkBox FindInk(const uint8_t* rows, int width, int height, int stride);

}  // namespace vellum
