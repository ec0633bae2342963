#pragma once
// Turns rows of 8-bit coverage into one bit per dot, most significant bit
// first: a dot is ink when its coverage is at least one half. The coverage
// read is cleared as it goes: labels are mostly blank, so only the few inked
// blocks are written twice, and the next label starts on a clean surface.
// Bits come out as a MonoBitmap holds them (ink 1) or as a 1-bit grey PNG
// does (ink 0, white 1), so a label that is only wanted as a PNG goes
// straight into the encoder's rows. The widest instructions the processor has
// are chosen once; the narrower ways stay callable for tests.

#include <cstddef>
#include <cstdint>

namespace vellum {

enum class InkBit { kOne, kZero };

// `height` rows of `width` dots from `coverage` (rows `coverageStride` bytes
// apart) to `bits` (rows `bitsStride` bytes apart, (width + 7) / 8 bytes each
// written; the dots past the last of a row count as paper).
void ThresholdRows(uint8_t* coverage, size_t coverageStride, int width, int height, uint8_t* bits,
                   size_t bitsStride, InkBit ink);

// The ways of stepping through a row, narrowest first.
enum class ThresholdWay { kEightDots, kSse2, kAvx2 };

// The same by a given way, for tests. False when this processor lacks it.
bool ThresholdRowsBy(ThresholdWay way, uint8_t* coverage, size_t coverageStride, int width,
                     int height, uint8_t* bits, size_t bitsStride, InkBit ink);

}  // namespace vellum
