#include "vellum/PngWriter.h"

#include <libdeflate.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>

#include "vellum/PageBuffer.h"

namespace vellum {
namespace {

// libdeflate's level 2: on 4 x 6 in labels its files are as small as the
// lazy levels' within a few per cent, at the speed of level 1.
constexpr int kDeflateLevel = 2;

struct CompressorDeleter {
  void operator()(libdeflate_compressor* c) const { libdeflate_free_compressor(c); }
};

// One compressor and one buffer of filtered rows per thread, reused from
// label to label: labels are encoded on several threads at once.
struct Scratch {
  std::unique_ptr<libdeflate_compressor, CompressorDeleter> compressor{
      libdeflate_alloc_compressor(kDeflateLevel)};
  // The rows as deflate reads them; memory that comes faulted in, since the
  // first label of a run otherwise takes a page fault every 4 KB here.
  PageBuffer rows;
  size_t rowBytes = 0;
  // The deflated rows. Left uncleared: the bound is the raster's size and
  // the file a small part of it, so clearing it faulted in pages (some 65 for
  // a 4 x 6 in label at 300 dpi) that nothing but the clearing touched.
  std::unique_ptr<uint8_t[]> packed;
  size_t packedBytes = 0;
};

Scratch& ThreadScratch() {
  thread_local Scratch scratch;
  return scratch;
}

void PutU32(std::vector<uint8_t>& out, uint32_t value) {
  const uint8_t bytes[4] = {static_cast<uint8_t>(value >> 24), static_cast<uint8_t>(value >> 16),
                            static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value)};
  out.insert(out.end(), bytes, bytes + 4);
}

// Appends a chunk whose data is already at the end of `out`, after its
// length and type: only the CRC is missing.
void CloseChunk(std::vector<uint8_t>& out, size_t typeAt) {
  PutU32(out, libdeflate_crc32(0, out.data() + typeAt, out.size() - typeAt));
}

void OpenChunk(std::vector<uint8_t>& out, uint32_t length, const char type[4]) {
  PutU32(out, length);
  out.insert(out.end(), type, type + 4);
}

// Rows are left unfiltered: a label's rows mostly repeat the row above, and
// deflate takes a repeated row as one match a row back. The Up filter, which
// turns such rows into zeros, made label files 10-15% larger, since the rows
// that change become bytes that match nothing earlier.
// False when there is no memory for them.
bool FillRows(int width, int height, const FillPngRows& fill, Scratch& scratch) {
  const size_t bytes = static_cast<size_t>(width + 7) / 8;  // of a PNG row
  scratch.rowBytes = (bytes + 1) * static_cast<size_t>(height);
  if (scratch.rows.size() < scratch.rowBytes) scratch.rows = PageBuffer(scratch.rowBytes);
  if (scratch.rows.data() == nullptr) return false;
  uint8_t* rows = scratch.rows.data();
  for (int y = 0; y < height; ++y) rows[static_cast<size_t>(y) * (bytes + 1)] = 0;  // filter None
  fill(rows + 1, bytes + 1);
  return true;
}

// PNG grey 0 is black, and a bitmap's set bit is ink, so every byte is inverted.
void InvertInto(const MonoBitmap& bitmap, uint8_t* bits, size_t stride) {
  const size_t bytes = static_cast<size_t>(bitmap.width + 7) / 8;
  for (int y = 0; y < bitmap.height; ++y) {
    const uint8_t* row = bitmap.bits.data() + static_cast<size_t>(y) * bitmap.stride;
    uint8_t* dst = bits + static_cast<size_t>(y) * stride;
    size_t i = 0;
    for (; i + 8 <= bytes; i += 8) {  // a word at a time: this loop reads the whole raster
      uint64_t word;
      std::memcpy(&word, row + i, sizeof word);
      word = ~word;
      std::memcpy(dst + i, &word, sizeof word);
    }
    for (; i < bytes; ++i) dst[i] = static_cast<uint8_t>(~row[i]);
  }
}

}  // namespace

bool EncodeMonoPng(const MonoBitmap& bitmap, int dpi, std::vector<uint8_t>& out) {
  out.clear();
  if (bitmap.width <= 0 || bitmap.height <= 0 || bitmap.stride < (bitmap.width + 7) / 8 ||
      bitmap.bits.size() < static_cast<size_t>(bitmap.stride) * bitmap.height) {
    return false;
  }
  return EncodeMonoPng(
      bitmap.width, bitmap.height, dpi,
      [&bitmap](uint8_t* bits, size_t stride) { InvertInto(bitmap, bits, stride); }, out);
}

bool EncodeMonoPng(int width, int height, int dpi, const FillPngRows& fill,
                   std::vector<uint8_t>& out) {
  out.clear();
  if (width <= 0 || height <= 0 || dpi <= 0) return false;
  Scratch& scratch = ThreadScratch();
  if (!scratch.compressor) return false;
  if (!FillRows(width, height, fill, scratch)) return false;
  // Deflated into the thread's buffer: the bound is the raster's size, the
  // file a small part of it.
  const size_t bound = libdeflate_zlib_compress_bound(scratch.compressor.get(), scratch.rowBytes);
  if (scratch.packedBytes < bound) {
    scratch.packed.reset(new uint8_t[bound]);
    scratch.packedBytes = bound;
  }
  const size_t packed = libdeflate_zlib_compress(scratch.compressor.get(), scratch.rows.data(),
                                                 scratch.rowBytes, scratch.packed.get(), bound);
  if (packed == 0 || packed > UINT32_MAX / 2) return false;
  out.reserve(8 + 25 + 21 + 12 + packed + 12);

  static const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
  out.insert(out.end(), kSignature, kSignature + 8);
  OpenChunk(out, 13, "IHDR");
  PutU32(out, static_cast<uint32_t>(width));
  PutU32(out, static_cast<uint32_t>(height));
  const uint8_t depthEtc[5] = {1, 0, 0, 0, 0};  // 1-bit grey, deflate, adaptive, no interlace
  out.insert(out.end(), depthEtc, depthEtc + 5);
  CloseChunk(out, 12);

  const auto dotsPerMetre = static_cast<uint32_t>(std::lround(dpi / 0.0254));
  size_t typeAt = out.size() + 4;
  OpenChunk(out, 9, "pHYs");
  PutU32(out, dotsPerMetre);
  PutU32(out, dotsPerMetre);
  out.push_back(1);  // per metre
  CloseChunk(out, typeAt);

  typeAt = out.size() + 4;
  OpenChunk(out, static_cast<uint32_t>(packed), "IDAT");
  out.insert(out.end(), scratch.packed.get(), scratch.packed.get() + packed);
  CloseChunk(out, typeAt);

  typeAt = out.size() + 4;
  OpenChunk(out, 0, "IEND");
  CloseChunk(out, typeAt);
  return true;
}

}  // namespace vellum
