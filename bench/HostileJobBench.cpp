// Jobs a hostile or careless sender can send, through the path `labelhost
// render` takes (job runner, parser, session, Vellum, report): 1 MiB of
// commands no language knows, in each language; one label carrying n script
// errors; one label carrying n boxes; n deflated "^GF" graphics; 1 MiB of
// blank JPL lines. Time per job must grow linearly with n (the goals: 1 MiB
// of unknown commands within 2 s and 128 MiB, 100,000 boxes within 1 s, 200
// graphics within 256 MiB; log_bytes tells what the job left in the logs).
// peak_rss_mib is the process's peak so far: run one row alone
// (--benchmark_filter) to read a row's own peak.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "bench/CarrierLabels.h"
#include "host/printer/Printer.h"
#include "host/render/RenderCommands.h"
#include "parsers/zpl/ZPLGraphicTestSupport.h"

// The program's own error printer lives in its main(); the benchmark is quiet.
namespace host {
void PrintError(const std::string&) {}
}  // namespace host

namespace {

namespace fs = std::filesystem;

constexpr size_t kMiB = size_t{1} << 20;

// `head`, then `unit` repeated while the job stays within `bytes`, then `tail`.
std::string Repeated(const std::string& head, const std::string& unit, const std::string& tail,
                     size_t bytes) {
  std::string job = head;
  while (job.size() + unit.size() + tail.size() <= bytes) job += unit;
  return job + tail;
}

std::string Times(const std::string& head, const std::string& unit, const std::string& tail,
                  int64_t n) {
  std::string job = head;
  for (int64_t i = 0; i < n; ++i) job += unit;
  return job + tail;
}

// The bytes of the store's error logs, as a run left them.
double LogBytes(const fs::path& store) {
  std::error_code ec;
  uintmax_t bytes = 0;
  for (const auto& entry : fs::directory_iterator(store / "Logging", ec)) {
    bytes += entry.file_size(ec);
  }
  return static_cast<double>(bytes);
}

// Renders `job` once per round as `name` and reports its time per job.
void RenderJob(benchmark::State& state, const std::string& name, const std::string& job,
               ZplDialect dialect = ZplDialect::kDevice) {
  const fs::path root = fs::temp_directory_path() / "labelengine-hostile";
  host::HostOptions options = bench::PngRenderOptions(root, 203);
  options.zpl = dialect;
  options.inputs = {(root / name).string()};
  std::ofstream(options.inputs[0], std::ios::binary | std::ios::trunc) << job;
  std::string error;
  std::unique_ptr<host::Printer> printer = host::Printer::Open(options, error);
  if (!printer) {
    state.SkipWithError(error.c_str());
    return;
  }
  for (auto _ : state) {
    state.PauseTiming();
    fs::remove_all(root / "store" / "Logging");  // a log of its own each round
    state.ResumeTiming();
    host::RenderFiles(*printer, options.inputs, nullptr, false);
  }
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  state.counters["peak_rss_mib"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
  state.counters["log_bytes"] = LogBytes(root / "store");
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * job.size()));
  printer.reset();
  fs::remove_all(root);
}

// 1 MiB of one command the language does not know, in a job of its own.
void UnknownCommands(benchmark::State& state) {
  struct Language {
    const char* file;
    const char* head;
    const char* unit;
    const char* tail;
  };
  static const Language kLanguages[] = {
      {"unknown.zpl", "^XA", "^QQ", "^XZ"},
      {"unknown.dpl", "\x02L\r\n", "ZZ\r\n", "E\r\n"},
      {"unknown.jpl", "m i\nJ\nL1;\n", "QQ\n", "A 1\n"},
      {"unknown.tpl", "STARTTPL 1.0\nSTARTLABEL\n", "QQ\n", "ENDLABEL\nENDTPL\n"},
      {"unknown.xtpl", "<?xml version=\"1.0\"?>\n<TPL-DOCUMENT><LABELS><LABEL HEIGHT=\"30\">",
       "<QQ/>", "</LABEL></LABELS></TPL-DOCUMENT>\n"},
  };
  const Language& language = kLanguages[state.range(0)];
  state.SetLabel(language.file);
  RenderJob(state, language.file, Repeated(language.head, language.unit, language.tail, kMiB));
}

// One label of n unknown commands: n script errors, each also a log line.
void ScriptErrorsOnOneLabel(benchmark::State& state) {
  RenderJob(state, "errors.zpl", Times("^XA", "^QQ", "^XZ", state.range(0)));
}

// One label of n boxes.
void BoxesOnOneLabel(benchmark::State& state) {
  RenderJob(state, "boxes.zpl", Times("^XA", "^FO10,10^GB5,5,1^FS", "^XZ", state.range(0)));
}

// n "^GF" fields of one 2,000,000-byte graphic, deflated (":Z64:"), on one
// label: a job of n x 2.7 KB that decodes to n x 16 million dots. The goal:
// 200 fields within 256 MiB, in both dialects.
std::string DeflatedGraphicField() {
  const std::string zeros(2'000'000, '\0');
  return "^FO10,10^GFA,2000000,2000000,250," + zplgfx::Encoded(zeros, true) + "^FS";
}

void GraphicFields(benchmark::State& state) {
  const bool full = state.range(1) != 0;
  state.SetLabel(full ? "full" : "device");
  RenderJob(state, "graphics.zpl", Times("^XA", DeflatedGraphicField(), "^XZ", state.range(0)),
            full ? ZplDialect::kFull : ZplDialect::kDevice);
}

// 1 MiB of blank lines in a JPL job: a log line each, of which the log takes
// its share (log_bytes stays small).
void BlankJplLines(benchmark::State& state) {
  RenderJob(state, "blank.jpl", Repeated("m i\nJ\nL1;\n", "\n", "A 1\n", kMiB));
}

BENCHMARK(UnknownCommands)->DenseRange(0, 4)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ScriptErrorsOnOneLabel)
    ->Arg(50000)
    ->Arg(100000)
    ->Arg(200000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(GraphicFields)
    ->Args({100, 0})
    ->Args({200, 0})
    ->Args({100, 1})
    ->Args({200, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BlankJplLines)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BoxesOnOneLabel)
    ->Arg(25000)
    ->Arg(50000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
