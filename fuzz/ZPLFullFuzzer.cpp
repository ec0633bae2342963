// Feeds arbitrary bytes to the caret-and-tilde parser in the full dialect,
// through the factory so that lasting settings (label home, encoding, fonts,
// aliases) carry from one input to the next as they do between jobs, and
// checks that every record has the positions the session reads: text records
// all the typeset positions, with a cell height.

#include <cstddef>
#include <cstdint>
#include <limits>

#include "fuzz/FuzzSupport.h"
#include "intake/Languages.h"
#include "parsers/ParserFactory.h"

namespace {

void CheckTypeset(const CommandList& records) {
  for (const LabelCommand& record : records) {
    if (record.kind != TEXT && record.kind != SEQUENCE_TEXT) continue;
    if (record.params.size() != record::TextParam::kTypeset) __builtin_trap();
    if (record.params[record::TextParam::kCellHeight].empty()) __builtin_trap();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static CParserFactory factory;
  fuzz::TrimLogs(fuzz::UseTempStore("zpl-full-fuzz-store"), 256);
  factory.SetZplDialect(ZplDialect::kFull);
  auto parser = factory.GetParser(LANGUAGE_ZPL);
  if (!parser) __builtin_trap();
  parser->SetParserDPI(203);
  CommandList records;
  const size_t length = size < std::numeric_limits<int32_t>::max() ? size : 0;
  parser->ParseData(reinterpret_cast<const char*>(data), static_cast<int32_t>(length), records);
  fuzz::CheckRecords(records);
  fuzz::CheckExactCounts(records, {BARCODE, SHAPE, LINE, SCRIPT_ERROR});
  CheckTypeset(records);
  return 0;
}
