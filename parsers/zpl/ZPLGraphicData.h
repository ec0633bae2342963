#pragma once
// The bitmap data of ZPL graphics ("^GF", "~DG") as a full ZPL printer reads
// it: ASCII hex with the printer's run-length compression, binary bytes,
// deflated binary, or ":B64:"/":Z64:" text with its CRC. The full dialect's
// graphic commands decode here; sizes are checked before anything is
// allocated, and every malformed input is an error message, never a partial
// picture.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Rows of `bytesPerRow` bytes, most significant bit leftmost, 1 for ink.
struct ZplBitmap {
  int32_t bytesPerRow = 0;
  int32_t rows = 0;
  std::vector<uint8_t> bits;

  int32_t WidthDots() const { return bytesPerRow * 8; }
  bool Ink(int32_t x, int32_t y) const {
    return ((bits[static_cast<size_t>(y) * bytesPerRow + x / 8] >> (7 - x % 8)) & 1) != 0;
  }
};

// A graphic of more bytes, or wider rows, is refused before it is decoded:
// 16 million dots, 20 000 dots wide, are more than any label the engine
// prints at its resolutions.
inline constexpr int64_t kMaxZplGraphicBytes = 2'000'000;
inline constexpr int64_t kMaxZplGraphicRowBytes = 2'500;

// "^GF" compression types: A ASCII hex, B binary, C deflated binary.
enum class ZplGraphicFormat { kAsciiHex, kBinary, kCompressedBinary };

struct ZplGraphicDecode {
  std::optional<ZplBitmap> bitmap;
  std::wstring error;    // why there is no bitmap
  std::wstring warning;  // a bitmap was made, but not of all the data
};

// Decodes `data` (one byte per character) as a graphic of `totalBytes` bytes
// in rows of `bytesPerRow`. `sentBytes` is the count the binary formats
// declare for their data; ASCII hex ignores it. ":B64:" and ":Z64:" data is
// read in any format.
ZplGraphicDecode DecodeZplGraphic(ZplGraphicFormat format, int64_t sentBytes, int64_t totalBytes,
                                  int64_t bytesPerRow, std::wstring_view data);

// The CRC that ":B64:" and ":Z64:" data carries over its encoded text
// (CRC-16/CCITT, polynomial 0x1021, initial value 0).
uint16_t ZplCrc16(std::string_view text);
