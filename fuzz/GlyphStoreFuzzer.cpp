// Reads arbitrary bytes as a strike file of the glyph store. The store's
// folder is one anyone with the user's rights may write into, so a strike must
// be refused or read within its bounds whatever it holds; every glyph it
// yields is read to its last dot, so that a size the file lies about is found.
// The checksum every strike ends with is made here, so that inputs reach the
// parser behind it.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "vellum/GlyphRasters.h"
#include "vellum/GlyphStore.h"

namespace {

const std::string& Folder() {
  static const std::string folder = [] {
    auto path =
        std::filesystem::temp_directory_path() / ("glyph-store-fuzz-" + std::to_string(::getpid()));
    std::filesystem::create_directories(path);
    return path.string();
  }();
  return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string key = "fuzzed strike";
  std::string file(reinterpret_cast<const char*>(data), size);
  const uint64_t sum = vellum::GlyphStore::Checksum(file.data(), file.size());
  file.append(reinterpret_cast<const char*>(&sum), sizeof sum);
  std::ofstream(Folder() + "/" + vellum::GlyphStore::FileName(key),
                std::ios::binary | std::ios::trunc)
      << file;
  vellum::GlyphStore store(Folder());
  std::shared_ptr<vellum::GlyphStore::Strike> strike = store.Open(key);
  if (strike == nullptr) return 0;
  // The indices a small file can name, and the input's own first words.
  unsigned long indices[8] = {0, 1, 2, 3, 36, 255, 256, 65535};
  for (size_t i = 0; i + 2 <= size && i < 8; i += 2) indices[i] = data[i] | (data[i + 1] << 8);
  vellum::GlyphRaster raster;
  for (unsigned long index : indices) {
    if (!store.Find(*strike, index, raster) || raster.empty) continue;
    const size_t needed = static_cast<size_t>(raster.stride) * static_cast<size_t>(raster.height);
    if (raster.width < 0 || raster.height < 0 || raster.stride < raster.width ||
        raster.dots.size() < needed) {
      __builtin_trap();
    }
    volatile uint8_t ink = 0;
    for (size_t at = 0; at < needed; ++at) ink = ink | raster.dots[at];
  }
  return 0;
}
