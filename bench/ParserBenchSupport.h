#pragma once
// The loop every parser benchmark runs: a fresh parser of one language per
// pass over the same job, made by one factory (so the shared attribute record
// lives on, as between jobs on the printer), logging into a store of the
// benchmark's own. Reports bytes per second and the records of the last pass.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include "parsers/ParserFactory.h"
#include "platform/StorageCard.h"
#include "record/LabelCommand.h"

namespace bench {

inline void ParseJobLoop(benchmark::State& state, int32_t language, int dpi,
                         const std::string& job) {
  const auto store = std::filesystem::temp_directory_path() / "parser-bench-store";
  platform::SetStoreRoot(store);
  CParserFactory factory;
  size_t records = 0;
  for (auto _ : state) {
    auto parser = factory.GetParser(language);
    parser->SetParserDPI(dpi);
    CommandList out;
    parser->ParseData(job.data(), static_cast<int32_t>(job.size()), out);
    records = out.size();
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(job.size()));
  state.counters["records"] = static_cast<double>(records);
  std::error_code ec;
  std::filesystem::remove_all(store, ec);
}

}  // namespace bench
