// Feeds arbitrary bytes to JPL parsers made by one factory, so the shared
// keyword table carries barcode density and ratio from input to input as it
// does from job to job. Every record must come out with the parameters its
// kind promises the session, and every job must end by printing.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <limits>

#include "intake/Languages.h"
#include "parsers/ParserFactory.h"
#include "platform/StorageCard.h"

namespace {

const std::filesystem::path& Store() {
  static const std::filesystem::path store = [] {
    auto path = std::filesystem::temp_directory_path() / "jpl-fuzz-store";
    platform::SetStoreRoot(path);
    return path;
  }();
  return store;
}

// The parameters each kind is written with.
size_t ParamsOf(int32_t kind) {
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
    case LABEL_OFFSET:
      return 2;
    case LABEL_LENGTH:
    case PRINT_ROTATION:
    case PRINT_QUANTITY:
      return 1;
    default:
      return 0;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static CParserFactory factory;
  static unsigned runs = 0;
  const std::filesystem::path& store = Store();
  // The log only grows; keep it from filling the disk over a long run.
  if (++runs % 4096 == 0) {
    std::error_code ec;
    std::filesystem::remove_all(store / "Logging", ec);
  }
  std::unique_ptr<CLanguageParserBase> parser = factory.GetParser(LANGUAGE_JPL);
  if (!parser) __builtin_trap();
  constexpr int kDpis[] = {203, 300, 600};
  parser->SetParserDPI(kDpis[size % 3]);
  const size_t length = size < std::numeric_limits<int32_t>::max() ? size : 0;
  CommandList out;
  parser->ParseData(reinterpret_cast<const char*>(data), static_cast<int32_t>(length), out);
  if (out.empty() || out.front().kind != START_LABEL || out.back().kind != PRINT_LABEL) {
    __builtin_trap();
  }
  for (const LabelCommand& command : out) {
    if (command.params.size() != ParamsOf(command.kind)) __builtin_trap();
  }
  return 0;
}
