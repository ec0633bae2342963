// Parsing speed of DPL jobs of 1 KiB, 1 MiB and 16 MiB, made by repeating a
// shipping label and a metric price tag. Bytes per second should hold steady
// as the job grows: the parser is linear in the job's size.

#include <benchmark/benchmark.h>

#include <string>

#include "bench/ParserBenchSupport.h"
#include "intake/Languages.h"

namespace {

constexpr char kShippingLabel[] =
    "\x02n\r\n"
    "\x02"
    "c0600\r\n"
    "\x02L\r\n"
    "H15\r\n"
    "PC\r\n"
    "191100000300025P014Ship to: Harbour Street 12, Dock 4\r\n"
    "1E3310001000025PKG0004711\r\n"
    "1X1100000100010b0380058000200020\r\n"
    "1X1100002200010L380003\r\n"
    "Q0001\r\n"
    "E\r\n";

constexpr char kPriceTag[] =
    "\x02m\r\n"
    "\x02L\r\n"
    "191100000500050P010Apples, per kg 2.49\r\n"
    "1F3310001500050590123412345\r\n"
    "1X1100000050005C00100000040\r\n"
    "1X1100000100010P0010000010002000200020002000100\r\n"
    "Q0020\r\n"
    "E\r\n"
    "\x02n\r\n";

std::string MakeJob(size_t bytes) {
  std::string job;
  while (job.size() < bytes) {
    job += kShippingLabel;
    job += kPriceTag;
  }
  // Cut at a line break so that every line is whole.
  job.resize(job.rfind("\r\n", bytes - 2) + 2);
  return job;
}

void BM_ParseDPL(benchmark::State& state) {
  bench::ParseJobLoop(state, LANGUAGE_DPL, 300, MakeJob(static_cast<size_t>(state.range(0))));
}

BENCHMARK(BM_ParseDPL)->Arg(1 << 10)->Arg(1 << 20)->Arg(16 << 20)->Unit(benchmark::kMillisecond);

// One line as long as the job, a polygon with a point every eight bytes: a
// single long line is read in one pass too.
void BM_ParseDPLLongLine(benchmark::State& state) {
  const size_t bytes = static_cast<size_t>(state.range(0));
  std::string polygon = "\x02L\r\n1X1100001000100P0010000";
  while (polygon.size() < bytes) polygon += "01000200";
  polygon += "\r\nE\r\n";
  bench::ParseJobLoop(state, LANGUAGE_DPL, 300, polygon);
}

BENCHMARK(BM_ParseDPLLongLine)
    ->Arg(1 << 10)
    ->Arg(1 << 20)
    ->Arg(16 << 20)
    ->Unit(benchmark::kMillisecond);

}  // namespace
