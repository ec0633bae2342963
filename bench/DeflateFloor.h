#pragma once
// The floor of a label's cost: deflating its 1-bit rows with libdeflate's
// fastest level, the least any PNG writer must do. Measured on the very PNG
// files a batch wrote, in the same run, so a benchmark can report its cost
// per label as a multiple of the floor whatever the machine's speed that hour.

#include <libdeflate.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace bench {

// The rows (filter bytes included) of a PNG written by Vellum; empty when the
// file is not one.
inline std::vector<uint8_t> PngRows(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  const std::string png((std::istreambuf_iterator<char>(in)), {});
  auto u32 = [&png](size_t at) {
    return static_cast<uint32_t>(static_cast<uint8_t>(png[at])) << 24 |
           static_cast<uint32_t>(static_cast<uint8_t>(png[at + 1])) << 16 |
           static_cast<uint32_t>(static_cast<uint8_t>(png[at + 2])) << 8 |
           static_cast<uint32_t>(static_cast<uint8_t>(png[at + 3]));
  };
  uint32_t width = 0, height = 0;
  std::string packed;
  for (size_t at = 8; at + 12 <= png.size();) {
    const uint32_t length = u32(at);
    if (length > png.size() - at - 12) break;
    const std::string type = png.substr(at + 4, 4);
    if (type == "IHDR" && length >= 8) width = u32(at + 8), height = u32(at + 12);
    if (type == "IDAT") packed += png.substr(at + 8, length);
    at += 12 + static_cast<size_t>(length);
  }
  std::vector<uint8_t> rows((static_cast<size_t>(width) + 7) / 8 * height + height);
  libdeflate_decompressor* d = libdeflate_alloc_decompressor();
  size_t got = 0;
  const bool ok = d != nullptr && !rows.empty() &&
                  libdeflate_zlib_decompress(d, packed.data(), packed.size(), rows.data(),
                                             rows.size(), &got) == LIBDEFLATE_SUCCESS &&
                  got == rows.size();
  libdeflate_free_decompressor(d);
  return ok ? rows : std::vector<uint8_t>{};
}

// Milliseconds per label to deflate the rows of every PNG in `folder` at
// libdeflate's level 1: the fastest of three rounds.
inline double DeflateFloorMs(const std::filesystem::path& folder) {
  std::vector<std::vector<uint8_t>> labels;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.path().extension() != ".png") continue;
    std::vector<uint8_t> rows = PngRows(entry.path());
    if (!rows.empty()) labels.push_back(std::move(rows));
  }
  if (labels.empty()) return 0.0;
  libdeflate_compressor* c = libdeflate_alloc_compressor(1);
  if (c == nullptr) return 0.0;
  std::vector<uint8_t> out;
  double best = 1e300;
  for (int round = 0; round < 3; ++round) {
    const auto start = std::chrono::steady_clock::now();
    for (const auto& rows : labels) {
      out.resize(libdeflate_zlib_compress_bound(c, rows.size()));
      libdeflate_zlib_compress(c, rows.data(), rows.size(), out.data(), out.size());
    }
    best = std::min(
        best, std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                  .count());
  }
  libdeflate_free_compressor(c);
  return best / static_cast<double>(labels.size());
}

}  // namespace bench
