// Feeds arbitrary bytes to the caret-and-tilde parser through the factory, so
// that the shared keyword table carries settings from one input to the next as
// it does between jobs, and checks that every record has the positions the
// session reads; the object records and errors have exactly those.

#include <cstddef>
#include <cstdint>
#include <limits>

#include "fuzz/FuzzSupport.h"
#include "intake/Languages.h"
#include "parsers/ParserFactory.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static CParserFactory factory;
  fuzz::TrimLogs(fuzz::UseTempStore("zpl-fuzz-store"), 256);
  auto parser = factory.GetParser(LANGUAGE_ZPL);
  if (!parser) __builtin_trap();
  parser->SetParserDPI(203);
  CommandList records;
  const size_t length = size < std::numeric_limits<int32_t>::max() ? size : 0;
  parser->ParseData(reinterpret_cast<const char*>(data), static_cast<int32_t>(length), records);
  fuzz::CheckRecords(records);
  fuzz::CheckExactCounts(records, {TEXT, SHAPE, LINE, GRAPHIC, SCRIPT_ERROR});
  fuzz::CheckZplBarcodeCounts(records);
  return 0;
}
