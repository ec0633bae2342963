// A batch of 1,000 realistic labels through the path `labelhost render`
// takes: one ZPL file of dense 4 x 6 in carrier labels (text, lines, a
// reversed service box, a Code 128 and a QR code, every label with its own
// data) read by the host's job runner, printed by the session on Vellum and
// written as PNG files to a temporary folder. Reported per label: wall time,
// CPU time of the whole process (every thread) and PNG bytes; the rate is
// labels per second of wall time.
//
// `BatchRenderBench --write-zpl FILE LABELS DPI` writes such a file and
// exits, for measuring labelhost itself (peak memory, one-label runs; render
// it with `--zpl full`).
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "host/Printer.h"

// The program's own error printer lives in its main(); the benchmark is quiet.
namespace host {
void PrintError(const std::string&) {}
}  // namespace host

namespace {

namespace fs = std::filesystem;

constexpr int kLabels = 1000;

const char* const kNames[] = {"Jana Novak",  "Lukas Meyer", "Sofia Rossi", "Emil Larsen",
                              "Mia Schmidt", "Noah Dubois", "Lea Wagner",  "Finn Berg"};
const char* const kStreets[] = {"Lindenallee 7",  "Hauptstrasse 112", "Am Markt 3",
                                "Bahnhofweg 45a", "Rosengasse 19",    "Industriering 260"};
const char* const kCities[] = {"80331 Muenchen", "10115 Berlin",    "50667 Koeln",
                               "01067 Dresden",  "70173 Stuttgart", "28195 Bremen"};

// One label designed in 203-dpi dots, every coordinate scaled to `dpi`.
std::string CarrierLabel(int n, int dpi) {
  auto d = [dpi](int dots203) { return std::to_string((dots203 * dpi + 101) / 203); };
  auto at = [&](int x, int y) { return "^FO" + d(x) + "," + d(y); };
  auto font = [&](int h, int w) { return "^A0N," + d(h) + "," + d(w); };
  auto rule = [&](int y) { return at(20, y) + "^GB" + d(772) + "," + d(3) + "," + d(3) + "^FS\n"; };
  char tracking[32], route[16];
  std::snprintf(tracking, sizeof tracking, "JJD%013d", 4711000 + n * 37);
  std::snprintf(route, sizeof route, "%02d-%03d", n % 89 + 10, n % 997);
  std::string z = "^XA\n^PW" + d(812) + "^LL" + d(1218) + "\n";
  z += at(20, 20) + "^GB" + d(772) + "," + d(1178) + "," + d(3) + "^FS\n";
  z += at(40, 40) + font(28, 24) + "^FDFROM: Nordkai Versand GmbH^FS\n";
  z += at(40, 75) + font(28, 24) + "^FDHafenstrasse 12, 20457 Hamburg DE^FS\n";
  z += at(40, 110) + font(28, 24) + "^FDTel +49 40 1234567  Account 88120^FS\n";
  z += rule(150);
  z += at(40, 170) + font(32, 28) + "^FDSHIP TO:^FS\n";
  z += at(60, 210) + font(44, 40) + "^FD" + kNames[n % 8] + "^FS\n";
  z += at(60, 262) + font(36, 32) + "^FD" + kStreets[n % 6] + "^FS\n";
  z += at(60, 302) + font(36, 32) + "^FD" + kCities[(n / 6) % 6] + "^FS\n";
  z += at(60, 342) + font(36, 32) + "^FDGERMANY^FS\n";
  z += rule(390);
  z += at(20, 393) + "^GB" + d(250) + "," + d(165) + "," + d(165) + "^FS\n";
  z += at(45, 420) + "^FR" + font(110, 90) + "^FDP" + std::to_string(n % 3 + 1) + "^FS\n";
  z += at(300, 410) + font(44, 40) + "^FDEXPRESS 12:00^FS\n";
  z += at(300, 465) + font(36, 30) + "^FDROUTE " + route + "^FS\n";
  z += at(300, 510) + font(28, 24) + "^FDSORT HUB HAM-2^FS\n";
  z += rule(560);
  z += "^BY" + d(3) + ",3," + d(200) + "\n";
  z += at(60, 590) + "^BCN," + d(200) + ",Y,N,N^FD" + tracking + "^FS\n";
  z += rule(850);
  z += at(40, 875) + "^BQN,2," + d(6) + "^FDQA,https://track.example/" + tracking + "^FS\n";
  z += at(330, 880) + font(28, 24) + "^FDREF: ORDER " + std::to_string(400000 + n) + "^FS\n";
  z += at(330, 920) + font(28, 24) + "^FDWEIGHT: " + std::to_string(n % 30 + 1) + ".4 KG^FS\n";
  z += at(330, 960) + font(28, 24) + "^FDPIECES: 1/1^FS\n";
  z += at(330, 1000) + font(28, 24) + "^FDDIMS: 40 x 30 x 20 cm^FS\n";
  z += at(330, 1040) + "^ADN," + d(18) + "," + d(10) + "^FDShipped 2026-12-07 08:15^FS\n";
  z += rule(1120);
  z += at(40, 1140) + font(24, 20) + "^FDDelivered under the carrier's general terms.^FS\n";
  z += at(40, 1170) + font(24, 20) + "^FDPlease leave the parcel with a neighbour.^FS\n";
  return z + "^XZ\n";
}

fs::path WriteBatch(const fs::path& file, int labels, int dpi) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  for (int n = 0; n < labels; ++n) out << CarrierLabel(n, dpi);
  return file;
}

double ProcessCpuSeconds() {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

uintmax_t FolderBytes(const fs::path& folder, const char* extension) {
  uintmax_t bytes = 0;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.path().extension() == extension) bytes += entry.file_size();
  }
  return bytes;
}

// Args: dpi, render threads (0: one per core).
void BatchRender(benchmark::State& state) {
  const int dpi = static_cast<int>(state.range(0));
  const fs::path root = fs::temp_directory_path() / ("labelengine-batch-" + std::to_string(dpi));
  fs::remove_all(root);
  fs::create_directories(root / "out");
  host::HostOptions options;
  options.command = "render";
  options.dpi = dpi;
  options.zpl = ZplDialect::kFull;  // carriers' systems write for full ZPL printers
  options.store = (root / "store").string();
  options.outDir = (root / "out").string();
  options.formats.png = true;
  options.quiet = true;
  options.inputs = {WriteBatch(root / "batch.zpl", kLabels, dpi).string()};
  std::string error;
  std::unique_ptr<host::Printer> printer = host::Printer::Open(options, error);
  if (!printer) {
    state.SkipWithError(error.c_str());
    return;
  }
  options.renderThreads = static_cast<int>(state.range(1));
  double cpu = 0.0, wall = 0.0;
  uintmax_t pngBytes = 0;
  for (auto _ : state) {
    state.PauseTiming();
    fs::remove_all(root / "out");
    fs::create_directories(root / "out");
    state.ResumeTiming();
    const double before = ProcessCpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    if (host::RenderFiles(*printer, options.inputs, nullptr, false) != 0) {
      state.SkipWithError("the batch did not render cleanly");
      break;
    }
    wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    cpu += ProcessCpuSeconds() - before;
    state.PauseTiming();
    pngBytes = FolderBytes(root / "out", ".png");
    state.ResumeTiming();
  }
  const double labels = static_cast<double>(state.iterations()) * kLabels;
  state.SetItemsProcessed(static_cast<int64_t>(labels));
  state.counters["cpu_ms_per_label"] = cpu * 1e3 / labels;
  state.counters["ms_per_label"] = wall * 1e3 / labels;
  state.counters["png_bytes_per_label"] = static_cast<double>(pngBytes) / kLabels;
  printer.reset();
  fs::remove_all(root);
}

BENCHMARK(BatchRender)
    ->ArgsProduct({{203, 300}, {1, 2}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  if (argc == 5 && std::string(argv[1]) == "--write-zpl") {
    WriteBatch(argv[2], std::atoi(argv[3]), std::atoi(argv[4]));
    return 0;
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
