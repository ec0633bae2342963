// Feeds arbitrary bytes to TPL parsers made by one factory, so the shared
// TPLData carries label-level values from input to input as it does from job
// to job on the printer. Every record must come out with the parameters its
// kind promises the session.

#include <cstddef>
#include <cstdint>
#include <filesystem>

#include "intake/Languages.h"
#include "parsers/ParserFactory.h"
#include "platform/StorageCard.h"

namespace {

const std::filesystem::path& Store() {
  static const std::filesystem::path store = [] {
    auto path = std::filesystem::temp_directory_path() / "tpl-fuzz-store";
    platform::SetStoreRoot(path);
    return path;
  }();
  return store;
}

// The fewest parameters each object kind is read with.
size_t FewestParams(int32_t kind) {
  switch (kind) {
    case TEXT:
      return 18;
    case PROMPT_TEXT:
    case DATE_TIME_TEXT:
      return 19;
    case SEQUENCE_TEXT:
      return 23;
    case BARCODE:
      return 11;
    case PROMPT_BARCODE:
      return 12;
    case SEQUENCE_BARCODE:
      return 16;
    case SHAPE:
      return 10;
    case LINE:
      return 5;
    case ARROW:
      return 13;
    case GRAPHIC:
      return 6;
    case LABEL_OFFSET:
      return 2;
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
  std::unique_ptr<CLanguageParserBase> parser = factory.GetParser(LANGUAGE_TPL);
  constexpr int kDpis[] = {203, 300, 600};
  parser->SetParserDPI(kDpis[size % 3]);
  CommandList out;
  parser->ParseData(reinterpret_cast<const char*>(data), static_cast<int32_t>(size), out);
  for (const LabelCommand& command : out) {
    if (command.params.size() < FewestParams(command.kind)) __builtin_trap();
  }
  return 0;
}
