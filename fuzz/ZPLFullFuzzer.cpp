// Feeds arbitrary bytes to the caret-and-tilde parser in the full dialect,
// through the factory so that lasting settings (label home, encoding, fonts,
// aliases) carry from one input to the next as they do between jobs, and
// checks that every record has the positions the session reads: text records
// all the typeset positions, shapes and diagonals their ink.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <limits>

#include "intake/CommandRecord.h"
#include "intake/Languages.h"
#include "parsers/ParserFactory.h"
#include "platform/StorageCard.h"

namespace {

const std::filesystem::path& FuzzStore() {
  static const std::filesystem::path store = [] {
    auto dir = std::filesystem::temp_directory_path() / "zpl-full-fuzz-store";
    platform::SetStoreRoot(dir);
    return dir;
  }();
  return store;
}

bool WellFormed(const LabelCommand& record) {
  switch (record.kind) {
    case TEXT:
    case SEQUENCE_TEXT:
      return record.params.size() == record::TextParam::kTypeset &&
             !record.params[record::TextParam::kCellHeight].empty();
    case BARCODE:
      return record.params.size() == record::BarcodeParam::kRequired;
    case SHAPE:
      return record.params.size() == record::ShapeParam::kWithInk;
    case GRAPHIC:
      return record.params.size() == record::GraphicParam::kWithInk;
    case POLYGON:
      return record.params.size() == record::PolygonParam::Ink(4) + 1;
    case LINE:
      return record.params.size() == record::LineParam::kRequired;
    case LABEL_LENGTH:
      return record.params.size() == 2;
    case SCRIPT_ERROR:
      return record.params.size() == 1;
    default:
      return true;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::filesystem::path& store = FuzzStore();
  static CParserFactory factory;
  static unsigned runs = 0;

  factory.SetZplDialect(ZplDialect::kFull);
  auto parser = factory.GetParser(LANGUAGE_ZPL);
  if (!parser) __builtin_trap();
  parser->SetParserDPI(203);
  CommandList records;
  const size_t length = size < std::numeric_limits<int32_t>::max() ? size : 0;
  parser->ParseData(reinterpret_cast<const char*>(data), static_cast<int32_t>(length), records);
  for (const LabelCommand& record : records) {
    if (!WellFormed(record)) __builtin_trap();
  }

  if (++runs % 256 == 0) {
    std::error_code ec;
    std::filesystem::remove(store / "Logging" / "ZPL_ERROR_LOG.TXT", ec);
    // Graphics and stored formats only grow too.
    std::filesystem::remove_all(store / "Graphics", ec);
    std::filesystem::remove_all(store / "Formats", ec);
  }
  return 0;
}
