// Feeds arbitrary bytes to the caret-and-tilde parser through the factory, so
// that the shared keyword table carries settings from one input to the next as
// it does between jobs, and checks that every object record has the positions
// the session reads.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <string>

#include "intake/Languages.h"
#include "parsers/ParserFactory.h"
#include "platform/StorageCard.h"

namespace {

const std::filesystem::path& FuzzStore() {
  static const std::filesystem::path store = [] {
    auto dir = std::filesystem::temp_directory_path() / "zpl-fuzz-store";
    platform::SetStoreRoot(dir);
    return dir;
  }();
  return store;
}

size_t ExpectedParameters(int32_t kind) {
  switch (kind) {
    case TEXT:
      return 18;
    case BARCODE:
      return 11;
    case SHAPE:
      return 10;
    case LINE:
      return 5;
    case GRAPHIC:
      return 6;
    case SCRIPT_ERROR:
      return 1;
    default:
      return 0;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::filesystem::path& store = FuzzStore();
  static CParserFactory factory;
  static unsigned runs = 0;

  auto parser = factory.GetParser(LANGUAGE_ZPL);
  if (!parser) __builtin_trap();
  parser->SetParserDPI(203);
  CommandList records;
  const size_t length = size < std::numeric_limits<int32_t>::max() ? size : 0;
  parser->ParseData(reinterpret_cast<const char*>(data), static_cast<int32_t>(length), records);
  for (const LabelCommand& record : records) {
    size_t expected = ExpectedParameters(record.kind);
    if (expected != 0 && record.params.size() != expected) __builtin_trap();
  }

  // The error log only ever grows; keep it from filling the disk.
  if (++runs % 256 == 0) {
    std::error_code ec;
    std::filesystem::remove(store / "Logging" / "ZPL_ERROR_LOG.TXT", ec);
  }
  return 0;
}
