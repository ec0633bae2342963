#pragma once
// What every fuzz target shares: a store of its own under the temporary
// folder, logs kept from filling the disk over a long run, and the checks the
// records of any parser must pass, taken from the record definition
// (intake/CommandRecord.h). A failed check traps, so libFuzzer keeps the input.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <string>

#include "intake/CommandRecord.h"
#include "intake/LabelCommand.h"
#include "platform/StorageCard.h"
#include "platform/Text.h"

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
