// A batch of 1,000 realistic labels through the path `labelhost render`
// takes: one ZPL file of dense 4 x 6 in carrier labels (text, lines, a
// reversed service box, a Code 128 and a QR code, every label with its own
// data) read by the host's job runner, printed by the session on Vellum and
// written as PNG files to a temporary folder. Reported per label: wall time,
// CPU time of the whole process (every thread), PNG bytes, and the floor
// (bench/DeflateFloor.h) with the CPU time as a multiple of it; the rate is
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

#include "bench/CarrierLabels.h"
#include "bench/DeflateFloor.h"
#include "host/printer/Printer.h"
#include "host/render/RenderCommands.h"

// The program's own error printer lives in its main(); the benchmark is quiet.
namespace host {
void PrintError(const std::string&) {}
}  // namespace host

namespace {

namespace fs = std::filesystem;

constexpr int kLabels = 1000;

fs::path WriteBatch(const fs::path& file, int labels, int dpi) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  for (int n = 0; n < labels; ++n) out << bench::CarrierLabel(n, dpi);
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
  host::HostOptions options = bench::PngRenderOptions(root, dpi);
  options.inputs = {WriteBatch(root / "batch.zpl", kLabels, dpi).string()};
  std::string error;
  std::unique_ptr<host::Printer> printer = host::Printer::Open(options, error);
  if (!printer) {
    state.SkipWithError(error.c_str());
    return;
  }
  options.renderThreads = static_cast<int>(state.range(1));
  double cpu = 0.0, wall = 0.0, floor = 0.0;
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
    floor += bench::DeflateFloorMs(root / "out");
    state.ResumeTiming();
  }
  const double labels = static_cast<double>(state.iterations()) * kLabels;
  state.SetItemsProcessed(static_cast<int64_t>(labels));
  state.counters["cpu_ms_per_label"] = cpu * 1e3 / labels;
  state.counters["ms_per_label"] = wall * 1e3 / labels;
  state.counters["png_bytes_per_label"] = static_cast<double>(pngBytes) / kLabels;
  // The floor: deflating the same labels' rows at libdeflate's fastest level,
  // measured between the rounds; the goal is at most twice it on one core.
  const double floorMs = floor / static_cast<double>(state.iterations());
  state.counters["floor_ms_per_label"] = floorMs;
  state.counters["cpu_over_floor"] = floorMs > 0.0 ? cpu * 1e3 / labels / floorMs : 0.0;
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
