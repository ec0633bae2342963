// The editor page's round trip: from the request the page sends after a
// keystroke (POST to the render interface, Accept: application/json, the
// whole job as the body) to the answer holding the new picture, for each
// bundled example, at 8 dpmm on 4 x 6 in media. The server runs in this
// process on an ephemeral port of 127.0.0.1; nothing is printed.
#include <benchmark/benchmark.h>
#include <httplib.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "host/serve/EventHub.h"
#include "host/serve/HttpApi.h"
#include "host/serve/LabelIndex.h"
#include "host/serve/PrintQueue.h"

// The program's own error printer lives in its main(); the benchmark is quiet.
namespace host {
void PrintError(const std::string&) {}
}  // namespace host

namespace {

namespace fs = std::filesystem;

constexpr char kPath[] = "/v1/printers/8dpmm/labels/4x6/0/?dialect=full";

struct Server {
  Server() : queue(options, nullptr, nullptr) {
    folder = fs::temp_directory_path() / ("labelhost-editor-bench-" + std::to_string(::getpid()));
    fs::create_directories(folder / "store/Graphics");
    for (const auto& picture : fs::directory_iterator(fs::path(EXAMPLES_DIR) / "graphics"))
      fs::copy(picture.path(), folder / "store/Graphics" / picture.path().filename());
    options.outDir = (folder / "out").string();
    options.store = (folder / "store").string();
    options.httpPort = 0;
    std::string error;
    if (!queue.Open(error)) std::abort();
    http = std::make_unique<host::HttpApi>(queue, labels, events, options);
    if (!http->Listen(error)) std::abort();
    http->Start();
  }
  ~Server() {
    http->Stop();
    queue.Finish();
    fs::remove_all(folder);
  }

  host::HostOptions options;
  host::LabelIndex labels;
  host::EventHub events;
  host::PrintQueue queue;
  std::unique_ptr<host::HttpApi> http;
  fs::path folder;
};

Server& TheServer() {
  static Server server;
  return server;
}

void RoundTrip(benchmark::State& state, const std::string& job) {
  httplib::Client client("127.0.0.1", TheServer().http->port());
  const httplib::Headers headers = {{"Accept", "application/json"}, {"X-Rotation", "0"}};
  for (auto _ : state) {
    auto answer = client.Post(kPath, headers, job, "text/plain");
    if (!answer || answer->status != 200 || answer->body.find("\"png\":") == std::string::npos) {
      state.SkipWithError("no picture in the answer");
      return;
    }
  }
}

void RegisterExamples() {
  std::vector<fs::path> jobs;
  for (const auto& folder : fs::directory_iterator(EXAMPLES_DIR)) {
    if (folder.path().filename() == "graphics" || !folder.is_directory()) continue;
    for (const auto& file : fs::directory_iterator(folder.path())) {
      const std::string ext = file.path().extension().string();
      if (ext != ".args" && ext != ".md") jobs.push_back(file.path());
    }
  }
  std::sort(jobs.begin(), jobs.end());
  for (const fs::path& file : jobs) {
    std::ifstream in(file, std::ios::binary);
    std::string job{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const std::string name = "EditorRoundTrip/" + file.parent_path().filename().string() + "/" +
                             file.filename().string();
    benchmark::RegisterBenchmark(name.c_str(), RoundTrip, job)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
  }
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RegisterExamples();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
