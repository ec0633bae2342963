// Feeds arbitrary bytes to the caret-and-tilde parser in the full dialect,
// through the factory so that lasting settings (label home, encoding, fonts,
// aliases, stored graphics and formats) carry from one input to the next as
// they do between jobs, and checks that every record has the positions the
// session reads: text records all the typeset positions, with a cell height;
// shapes, diagonals and graphics their ink.

#include <cstddef>
#include <cstdint>
#include <filesystem>

#include "fuzz/FuzzSupport.h"
#include "intake/Languages.h"

namespace {

void CheckTypeset(const CommandList& records) {
  for (const LabelCommand& record : records) {
    if (record.kind != TEXT && record.kind != SEQUENCE_TEXT) continue;
    if (record.params.size() != record::TextParam::kTypeset) __builtin_trap();
    if (record.params[record::TextParam::kCellHeight].empty()) __builtin_trap();
  }
}

// The full dialect's shapes, diagonals (four-point polygons) and graphics
// carry their ink after the positions every writer supplies.
void CheckInk(const CommandList& records) {
  for (const LabelCommand& record : records) {
    const size_t n = record.params.size();
    if (record.kind == SHAPE && n != record::ShapeParam::kWithInk) __builtin_trap();
    if (record.kind == GRAPHIC && n != record::GraphicParam::kWithInk) __builtin_trap();
    if (record.kind == POLYGON && n != record::PolygonParam::Ink(4) + 1) __builtin_trap();
  }
}

// Graphics and stored formats only grow, like the logs.
void TrimStored(const std::filesystem::path& store, unsigned period) {
  static unsigned runs = 0;
  if (++runs % period != 0) return;
  std::error_code ec;
  std::filesystem::remove_all(store / "Graphics", ec);
  std::filesystem::remove_all(store / "Formats", ec);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static CParserFactory factory;
  factory.SetZplDialect(ZplDialect::kFull);
  const fuzz::ParserTarget target{LANGUAGE_ZPL, "zpl-full-fuzz-store", 256, 203};
  TrimStored(fuzz::UseTempStore(target.storeName), 256);
  const CommandList records = fuzz::ParseInput(factory, target, data, size);
  fuzz::CheckExactCounts(records, {LINE, SCRIPT_ERROR});
  fuzz::CheckZplBarcodeCounts(records);
  CheckTypeset(records);
  CheckInk(records);
  return 0;
}
