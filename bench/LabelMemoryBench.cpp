// Memory per label in a many-label run, for the three shapes a printer meets:
// one job holding many different labels (a raw connection's whole batch), one
// label printed many times ("^PQ"), and many small jobs (a file of labels,
// cut job by job). Each run goes the way labelhost's render command goes:
// intake, the job runner, the session, Vellum and PNG files in a temporary
// folder. Reported per shape: the peak of the bytes held through operator
// new, the peak resident set, and bytes per label: the growth of the heap
// peak from a tenth of the labels to all of them, per added label, which
// stays near 0 when memory does not grow with the labels of a run.
//
// `LabelMemoryBench --run SHAPE LABELS [DPI]` (SHAPE: one-job, quantity,
// many-jobs) runs one shape once and prints its figures, for measuring it
// with /usr/bin/time -v or heaptrack.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "bench/CarrierLabels.h"
#include "bench/HeapCounter.h"
#include "host/printer/Printer.h"
#include "host/render/JobRunner.h"
#include "intake/ProcessScriptLanguageData.h"

// The program's own error printer lives in its main(); the benchmark is quiet.
namespace host {
void PrintError(const std::string&) {}
}  // namespace host

namespace {

namespace fs = std::filesystem;

enum Shape { kOneJob, kQuantity, kManyJobs };
const char* const kShapeNames[] = {"one-job", "quantity", "many-jobs"};

// What one run held at its peak.
struct Figures {
  size_t heapPeak = 0;  // above the heap in use before the run
  size_t rssPeak = 0;
};

// The reads intake gets for `labels` labels of `shape`.
std::vector<std::string> Reads(Shape shape, int labels, int dpi) {
  std::vector<std::string> reads;
  if (shape == kQuantity) {
    std::string label = bench::CarrierLabel(0, dpi);
    label.insert(label.rfind("^XZ"), "^PQ" + std::to_string(labels) + "\n");
    reads.push_back(std::move(label));
  } else if (shape == kOneJob) {
    reads.emplace_back();
    for (int n = 0; n < labels; ++n) reads.back() += bench::CarrierLabel(n, dpi);
  } else {
    for (int n = 0; n < labels; ++n) reads.push_back(bench::CarrierLabel(n, dpi));
  }
  return reads;
}

// Prints the reads through a fresh printer writing PNG files under `root`.
bool Print(const std::vector<std::string>& reads, int dpi, const fs::path& root) {
  host::HostOptions options = bench::PngRenderOptions(root, dpi);
  options.maxJobInput = size_t{1} << 30;
  std::string error;
  std::unique_ptr<host::Printer> printer = host::Printer::Open(options, error);
  if (!printer) return false;
  host::Progress progress(false, false, 1);
  host::JobRunner runner(*printer, nullptr, progress, options.renderThreads);
  runner.BeginSource("memory");
  CProcessScriptLanguageData intake(runner.window(), host::kHostMessageId);
  intake.SetHeldDataLimit(options.maxJobInput);
  for (const std::string& read : reads) {
    runner.WaitForRoom();
    intake.ProcessIncomingData(read.data(), static_cast<int32_t>(read.size()));
  }
  runner.EndSource("");
  runner.Finish();
  return !runner.failed();
}

// The reads are made before the counts start: they stand for the port's
// bytes, which are not the printer's to hold.
bool Measure(Shape shape, int labels, int dpi, Figures& figures) {
  const fs::path root = fs::temp_directory_path() / "labelengine-memory";
  const std::vector<std::string> reads = Reads(shape, labels, dpi);
  const size_t before = bench::HeapBytesInUse();
  bench::ResetHeapPeak();
  bench::ResetPeakRss();
  const bool printed = Print(reads, dpi, root);
  figures.heapPeak = bench::HeapPeakBytes() - before;
  figures.rssPeak = bench::PeakRssBytes();
  fs::remove_all(root);
  return printed;
}

// Args: shape, labels, dpi.
void LabelMemory(benchmark::State& state) {
  const Shape shape = static_cast<Shape>(state.range(0));
  const int labels = static_cast<int>(state.range(1));
  const int dpi = static_cast<int>(state.range(2));
  Figures few, all;
  for (auto _ : state) {
    if (!Measure(shape, labels / 10, dpi, few) || !Measure(shape, labels, dpi, all)) {
      state.SkipWithError("the labels did not print");
      return;
    }
  }
  state.SetLabel(kShapeNames[shape]);
  const double added = labels - labels / 10;
  state.counters["heap_peak_MiB"] = static_cast<double>(all.heapPeak) / (1 << 20);
  state.counters["rss_peak_MiB"] = static_cast<double>(all.rssPeak) / (1 << 20);
  state.counters["bytes_per_label"] =
      (static_cast<double>(all.heapPeak) - static_cast<double>(few.heapPeak)) / added;
}

BENCHMARK(LabelMemory)
    ->ArgsProduct({{kOneJob, kQuantity, kManyJobs}, {2000}, {203}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

int RunOnce(const std::string& name, int labels, int dpi) {
  for (int shape = kOneJob; shape <= kManyJobs; ++shape) {
    if (name != kShapeNames[shape]) continue;
    Figures figures;
    if (!Measure(static_cast<Shape>(shape), labels, dpi, figures)) return 1;
    std::printf(
        "%s %d labels at %d dpi: heap peak %.1f MiB (%.0f bytes per label), rss peak %.1f MiB\n",
        name.c_str(), labels, dpi, static_cast<double>(figures.heapPeak) / (1 << 20),
        static_cast<double>(figures.heapPeak) / labels,
        static_cast<double>(figures.rssPeak) / (1 << 20));
    return 0;
  }
  std::fprintf(stderr, "unknown shape '%s' (one-job, quantity, many-jobs)\n", name.c_str());
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if ((argc == 4 || argc == 5) && std::string(argv[1]) == "--run") {
    return RunOnce(argv[2], std::atoi(argv[3]), argc == 5 ? std::atoi(argv[4]) : 203);
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
