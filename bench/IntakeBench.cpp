// Intake throughput: 100 MiB of mixed jobs of all five languages, fed in
// 4 KiB chunks the way a port reader hands them over.

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "intake/ProcessScriptLanguageData.h"

namespace {

std::string MixedJobs(size_t totalBytes) {
  const std::string jobs[] = {
      "^XA^FO50,50^A0N,30,30^FDShip to: Jane Doe^FS^FO50,100^BCN,80^FD123456789^FS^XZ\r\n",
      "STARTTPL 1.0\r\nSTARTLABEL\r\nLABELHEIGHT 1.5\r\nSTARTTEXT\r\nPOSITION 0.1,0.1\r\n"
      "TEXT Price 4.99\r\nENDTEXT\r\nENDLABEL 1\r\nENDTPL\r\n",
      "m m\r\nJ\r\nH 100\r\nS l1;0,0,68,71,100\r\nT 10,10,0,3,pt12;Hello\r\nA 1\r\n",
      "<TPL-DOCUMENT version=\"1.0\"><LABEL height=\"1.5\"><TEXT x=\"0.1\" y=\"0.1\">Hi</TEXT>"
      "</LABEL></TPL-DOCUMENT>\r\n",
      "\x02L\r\nD11\r\n121100000100010Box 12\r\n\x02E\r\n",
  };
  std::string out;
  out.reserve(totalBytes + 512);
  for (size_t i = 0; out.size() < totalBytes; ++i) out += jobs[i % 5];
  return out;
}

class CountingWindow : public platform::HostWindow {
 public:
  void Post(platform::Notification) override { ++posted; }
  int64_t posted = 0;
};

void BM_Intake4KiBChunks(benchmark::State& state) {
  const std::string stream = MixedJobs(100u << 20);
  constexpr size_t kChunk = 4096;
  int64_t jobs = 0;
  for (auto _ : state) {
    CountingWindow window;
    CProcessScriptLanguageData intake(&window, 1);
    for (size_t at = 0; at < stream.size(); at += kChunk) {
      size_t n = std::min(kChunk, stream.size() - at);
      intake.ProcessIncomingData(stream.data() + at, static_cast<int32_t>(n));
    }
    jobs = window.posted;
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * stream.size()));
  state.counters["jobs"] = static_cast<double>(jobs);
}
BENCHMARK(BM_Intake4KiBChunks)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
