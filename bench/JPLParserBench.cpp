// Parsing speed of JPL jobs of 1 KiB, 1 MiB and 16 MiB, made by repeating a
// shipping label, a price tag whose texts quote a named price, and a layout of
// graphics. Bytes per second should hold steady as the job grows: the parser
// is linear in the job's size.

#include <benchmark/benchmark.h>

#include <string>

#include "bench/ParserBenchSupport.h"
#include "intake/Languages.h"

namespace {

constexpr char kShippingLabel[] =
    "m m\r\n"
    "J\r\n"
    "S l1;0,0,150,153,150\r\n"
    "T 6,9,0,3,pt9;FROM Harbour Supplies - 12 Quay Street - Portmouth\r\n"
    "T 12,39,0,3,pt18,b;Mrs. Ada Fielding\r\n"
    "T 12,47,0,3,pt14;48 Orchard Lane\r\n"
    "B 10,70,0,CODE128,25,0.25,3;PKG-2025-000815\r\n"
    "I:PARCEL.PNG;68,118,0,25,25\r\n"
    "A 1\r\n";

constexpr char kPriceTag[] =
    "m i\r\n"
    "J\r\n"
    "S l1;0,0,2,2.1,2\r\n"
    "T:price;0.15,0.95,0,3,pt40,b;24.95\r\n"
    "T 0.15,1.25,0,3,pt9,i;Now only [price] instead of 29.95 - [FIRST NAME]\r\n"
    "B 0.3,1.35,0,EAN13,0.3,0.02,2;401234567890\r\n"
    "B 2.75,0.2,0,QRCODE;example.invalid/p/4711\r\n"
    "// a comment line\r\n"
    "A 2\r\n";

constexpr char kGraphics[] =
    "m d\r\n"
    "J\r\n"
    "G 10,10,0;R:780,580,4\r\n"
    "G 10,200,0;L:780,2\r\n"
    "G 200,400,0;C:100,60,3\r\n"
    "O R,P\r\n"
    "<ABC>\r\n"
    "H ignored\r\n"
    "</ABC>\r\n";

std::string MakeJob(size_t bytes) {
  const std::string labels[] = {kShippingLabel, kPriceTag, kGraphics};
  std::string job;
  job.reserve(bytes + sizeof(kShippingLabel));
  for (size_t i = 0; job.size() < bytes; ++i) job += labels[i % 3];
  return job;
}

void BM_ParseJPLJob(benchmark::State& state) {
  bench::ParseJobLoop(state, LANGUAGE_JPL, 203, MakeJob(static_cast<size_t>(state.range(0))));
}

BENCHMARK(BM_ParseJPLJob)->Arg(1 << 10)->Arg(1 << 20)->Arg(16 << 20)->Unit(benchmark::kMicrosecond);

}  // namespace
