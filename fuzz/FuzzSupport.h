#pragma once
// What every fuzz target shares: a store of its own under the temporary
// folder, logs kept from filling the disk over a long run, and the checks the
// records of any parser must pass, taken from the record definition
// (record/CommandRecord.h). A failed check traps, so libFuzzer keeps the input.

#include <climits>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <memory>
#include <string>

#include "parsers/ParserFactory.h"
#include "platform/StorageCard.h"
#include "platform/Text.h"
#include "record/CommandRecord.h"
#include "record/LabelCommand.h"

namespace fuzz {

// Points the storage card at <temp>/`name` on the first call; the folder.
inline const std::filesystem::path& UseTempStore(const std::string& name) {
  static const std::filesystem::path store = [&] {
    auto path = std::filesystem::temp_directory_path() / name;
    platform::SetStoreRoot(path);
    return path;
  }();
  return store;
}

// Call once per input: every `period` inputs the store's logs, which only
// grow, are removed.
inline void TrimLogs(const std::filesystem::path& store, unsigned period = 1024) {
  static unsigned runs = 0;
  if (++runs % period != 0) return;
  std::error_code ec;
  std::filesystem::remove_all(store / "Logging", ec);
}

// Every record is of a defined kind (no parser writes reserved or unknown
// ones) and carries at least the positions every writer supplies for its
// kind, a polygon all the points its count promises, its fill and its pen.
inline void CheckRecords(const CommandList& records) {
  for (const LabelCommand& record : records) {
    const record::KindDefinition* definition = record::FindKind(record.kind);
    if (definition == nullptr) __builtin_trap();
    if (record.params.size() < definition->written) __builtin_trap();
    if (record.kind == POLYGON) {
      const int32_t count = platform::LeadingInt(record.params[record::PolygonParam::kCount]);
      const size_t points = count > 0 ? static_cast<size_t>(count) : 0;
      if (record.params.size() < record::PolygonParam::Size(points)) __builtin_trap();
    }
  }
}

// One parser target: which language, where its store lives and how often its
// logs are trimmed, and the printer resolution (0: 203, 300 or 600 dpi, picked
// by the input's size).
struct ParserTarget {
  int32_t language;
  const char* storeName;
  unsigned trimPeriod = 4096;
  int dpi = 0;
};

// Parses one input with a parser of `factory`, which lives across inputs so
// that the language's shared attribute record carries settings from one input
// to the next as it does between jobs. Every record must pass CheckRecords.
inline CommandList ParseInput(CParserFactory& factory, const ParserTarget& target,
                              const uint8_t* data, size_t size) {
  TrimLogs(UseTempStore(target.storeName), target.trimPeriod);
  std::unique_ptr<CLanguageParserBase> parser = factory.GetParser(target.language);
  if (!parser) __builtin_trap();
  constexpr int kDpis[] = {203, 300, 600};
  parser->SetParserDPI(target.dpi != 0 ? target.dpi : kDpis[size % 3]);
  CommandList records;
  const size_t length = size < static_cast<size_t>(INT32_MAX) ? size : 0;
  parser->ParseData(reinterpret_cast<const char*>(data), static_cast<int32_t>(length), records);
  CheckRecords(records);
  return records;
}

// Records of `kinds` carry exactly the positions every writer supplies, for a
// language that writes nothing beyond them.
inline void CheckExactCounts(const CommandList& records, std::initializer_list<int32_t> kinds) {
  for (const LabelCommand& record : records) {
    for (int32_t kind : kinds) {
      if (record.kind != kind) continue;
      if (record.params.size() != record::FindKind(kind)->written) __builtin_trap();
    }
  }
}

// ZPL barcode records: the shared positions, with the "^BY" module, or with
// every symbol position of the full dialect.
inline void CheckZplBarcodeCounts(const CommandList& records) {
  using P = record::BarcodeParam;
  for (const LabelCommand& record : records) {
    if (record.kind != BARCODE) continue;
    const size_t n = record.params.size();
    if (n != P::kRequired && n != P::kWithModule && n != P::kSymbol) __builtin_trap();
  }
}

}  // namespace fuzz
