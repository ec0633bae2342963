// Feeds arbitrary bytes to XTPL parsers made by one factory, so the shared
// TPLData carries label-level values from input to input as it does from job
// to job on the printer. Every record must come out with the parameters its
// kind and data source promise the session, and a SCRIPT_ERROR with its message.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <limits>

#include "intake/CommandRecord.h"
#include "intake/Languages.h"
#include "parsers/ParserFactory.h"
#include "platform/StorageCard.h"

namespace {

const std::filesystem::path& Store() {
  static const std::filesystem::path store = [] {
    auto path = std::filesystem::temp_directory_path() / "xtpl-fuzz-store";
    platform::SetStoreRoot(path);
    return path;
  }();
  return store;
}

// The fewest parameters a record of `kind` may carry.
size_t FewestParams(int32_t kind) {
  using record::BarcodeParam;
  using record::TextParam;
  switch (kind) {
    case PROMPT_TEXT:
    case DATE_TIME_TEXT:
      return TextParam::kWithSource;
    case SEQUENCE_TEXT:
      return TextParam::kWithSequence;
    case PROMPT_BARCODE:
      return BarcodeParam::kWithPrompt;
    case SEQUENCE_BARCODE:
      return BarcodeParam::kWithSequence;
    case SCRIPT_ERROR:
      return 1;
    default: {
      const record::KindDefinition* definition = record::FindKind(kind);
      return definition ? definition->required : 0;
    }
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
  std::unique_ptr<CLanguageParserBase> parser = factory.GetParser(LANGUAGE_XTPL);
  if (!parser) __builtin_trap();
  constexpr int kDpis[] = {203, 300, 600};
  parser->SetParserDPI(kDpis[size % 3]);
  const size_t length = size < std::numeric_limits<int32_t>::max() ? size : 0;
  CommandList out;
  parser->ParseData(reinterpret_cast<const char*>(data), static_cast<int32_t>(length), out);
  for (const LabelCommand& command : out) {
    if (record::FindKind(command.kind) == nullptr) __builtin_trap();
    if (command.params.size() < FewestParams(command.kind)) __builtin_trap();
  }
  return 0;
}
