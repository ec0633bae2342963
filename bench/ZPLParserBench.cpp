// Parsing speed of caret-and-tilde jobs of 1 KiB, 1 MiB and 16 MiB, made by
// repeating a shipping label, a product label with a small bitmap and a layout
// of boxes and lines. Bytes per second should hold steady as the job grows:
// the parser is linear in the job's size.

#include <benchmark/benchmark.h>

#include <string>

#include "bench/ParserBenchSupport.h"
#include "intake/Languages.h"

namespace {

constexpr char kShippingLabel[] =
    "^XA\r\n"
    "^CF0,30\r\n"
    "^FO50,40^A0N,40,30^FDHarbour Freight Ltd.^FS\r\n"
    "^FO50,90^ADN,24,12^FDDock 4, Harbour Street 12^FS\r\n"
    "^FO50,130^ADN,24,12^FD4711 Portside^FS\r\n"
    "^FO40,180^GB700,3,3^FS\r\n"
    "^BY3,3,120\r\n"
    "^FO80,210^BCN,120,Y,N,N^FDPKG0004711^FS\r\n"
    "^FO50,380^A0N,28,20^FDWeight: 12.5 kg, Parcel 1 of 3^FS\r\n"
    "^PQ1,0,1,Y\r\n"
    "^XZ\r\n";

constexpr char kProductLabel[] =
    "^XA^LL400^PMN\r\n"
    "^FO20,20^GFA,32,32,4,FFFF0000FFFF0000FFFF0000FFFF0000FFFF0000FFFF0000FFFF0000FFFF0000^FS\r\n"
    "^FO120,20^ABN,30,15^FDOrganic Oat Drink 1 l^FS\r\n"
    "^FO120,60^AAN,20,10^FDBest before: see top^FS\r\n"
    "^FO20,110^BEN,80,Y,N^FD590123412345^FS\r\n"
    "^FO350,110^BQN,2,5^FDQA,https://example.invalid/p/4711^FS\r\n"
    "^FO20,250^GD300,60,2,B,L^FS\r\n"
    "^XZ\r\n";

constexpr char kBoxLayout[] =
    "^XA^FWN\r\n"
    "^FO10,10^GB780,580,4,B,2^FS\r\n"
    "^FO10,200^GB780,0,2^FS\r\n"
    "^FO400,10^GB0,190,2^FS\r\n"
    "^FO30,30^GC120,3,B^FS\r\n"
    "^FO450,40^GE200,100,3^FS\r\n"
    "^FO30,230^ACR,40,20^FDFRAGILE^FS\r\n"
    "^FO200,230^B3N,N,80,Y,N^FDBOX-0815^FS\r\n"
    "^XZ\r\n";

std::string MakeJob(size_t bytes) {
  const std::string labels[] = {kShippingLabel, kProductLabel, kBoxLayout};
  std::string job;
  job.reserve(bytes + sizeof(kShippingLabel));
  for (size_t i = 0; job.size() < bytes; ++i) job += labels[i % 3];
  return job;
}

void BM_ParseZPLJob(benchmark::State& state) {
  bench::ParseJobLoop(state, LANGUAGE_ZPL, 203, MakeJob(static_cast<size_t>(state.range(0))));
}

BENCHMARK(BM_ParseZPLJob)->Arg(1 << 10)->Arg(1 << 20)->Arg(16 << 20)->Unit(benchmark::kMicrosecond);

}  // namespace
