// Job cutter throughput: streams of small and of larger jobs of every
// language with an end, fed in the 64 KiB blocks labelhost reads. Time per
// byte should not grow with the stream or with the number of jobs in a block.

#include <benchmark/benchmark.h>

#include <string>

#include "host/printer/JobCutter.h"

namespace {

std::string Stream(size_t totalBytes, size_t jobBytes) {
  const std::string padding(jobBytes, 'x');
  const std::string jobs[] = {
      "^XA^FO50,50^FD" + padding + "^FS^XZ\r\n",
      "STARTTPL 1.0\r\nTEXT " + padding + "\r\nENDTPL\r\n",
      "<TPL-DOCUMENT><TEXT>" + padding + "</TEXT></TPL-DOCUMENT>\r\n",
      "\x02L\r\n1911A10001000100" + padding + "\r\nE\r\n",
  };
  std::string out;
  out.reserve(totalBytes + 4 * jobBytes + 256);
  for (size_t i = 0; out.size() < totalBytes; ++i) out += jobs[i % 4];
  return out;
}

void BM_CutStream(benchmark::State& state) {
  const std::string stream =
      Stream(static_cast<size_t>(state.range(0)), static_cast<size_t>(state.range(1)));
  constexpr size_t kBlock = 64 * 1024;
  int64_t pieces = 0;
  for (auto _ : state) {
    host::JobCutter cutter(64u << 20, [&](std::string_view) { ++pieces; });
    for (size_t at = 0; at < stream.size(); at += kBlock) {
      cutter.Add(std::string_view(stream).substr(at, kBlock));
    }
    cutter.Finish();
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(stream.size()));
  state.counters["jobs"] =
      benchmark::Counter(static_cast<double>(pieces) / static_cast<double>(state.iterations()));
}
// Stream size, then bytes of text per job: many tiny jobs, and fewer larger ones.
BENCHMARK(BM_CutStream)
    ->Args({1 << 20, 0})
    ->Args({16 << 20, 0})
    ->Args({1 << 20, 1000})
    ->Args({16 << 20, 1000})
    ->Args({16 << 20, 1 << 20})
    ->Unit(benchmark::kMillisecond);

}  // namespace
