// Feeds arbitrary bytes to DPL parsers made by one factory, so the shared
// TPLData carries label length, speed, density and copies from input to input
// as it does from job to job on the printer. Every record must come out with
// the positions its kind promises the session, and a polygon with exactly the
// points its count announces.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <limits>

#include "intake/CommandRecord.h"
#include "intake/Languages.h"
#include "parsers/ParserFactory.h"
#include "platform/StorageCard.h"
#include "platform/Text.h"

namespace {

const std::filesystem::path& Store() {
  static const std::filesystem::path store = [] {
    auto path = std::filesystem::temp_directory_path() / "dpl-fuzz-store";
    platform::SetStoreRoot(path);
    return path;
  }();
  return store;
}

bool WellFormed(const LabelCommand& command) {
  const record::KindDefinition* kind = record::FindKind(command.kind);
  if (kind == nullptr || command.params.size() < kind->required) return false;
  if (command.kind != POLYGON) return true;
  const int32_t points = platform::LeadingInt(command.params[record::PolygonParam::kCount]);
  return points >= 1 &&
         command.params.size() == record::PolygonParam::Size(static_cast<size_t>(points));
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
  std::unique_ptr<CLanguageParserBase> parser = factory.GetParser(LANGUAGE_DPL);
  if (!parser) __builtin_trap();
  constexpr int kDpis[] = {203, 300, 600};
  parser->SetParserDPI(kDpis[size % 3]);
  const size_t length = size < std::numeric_limits<int32_t>::max() ? size : 0;
  CommandList out;
  parser->ParseData(reinterpret_cast<const char*>(data), static_cast<int32_t>(length), out);
  for (const LabelCommand& command : out) {
    if (!WellFormed(command)) __builtin_trap();
  }
  return 0;
}
