// The network printer under load: jobs per second through the raw port and
// through the HTTP API, with eight clients at once, and the process's peak
// resident memory; and the live page's latency while event streams and
// clients that never finish their requests hold connections. The printer, port and HTTP API run in
// this process on ephemeral ports of 127.0.0.1; labels go to a temporary folder as PNG.
#include <benchmark/benchmark.h>
#include <httplib.h>
#include <sys/resource.h>
#include <unistd.h>

#include <asio.hpp>
#include <atomic>
#include <condition_variable>
#include <filesystem>
#include <thread>

#include "host/serve/EventHub.h"
#include "host/serve/HttpApi.h"
#include "host/serve/JobJson.h"
#include "host/serve/LabelIndex.h"
#include "host/serve/PrintQueue.h"
#include "host/serve/RawPort.h"

// The program's own error printer lives in its main(); the benchmark is quiet.
namespace host {
void PrintError(const std::string&) {}
}  // namespace host

namespace {

namespace fs = std::filesystem;

const std::string kJob =
    "^XA^FO50,50^A0N,40,40^FDShip to: Bench^FS^FO50,120^BCN,80^FD12345678^FS^XZ";
constexpr int kClients = 8;
constexpr int kJobsPerClient = 25;

// Counts printed jobs so a run can wait for all of them.
class Counter : public host::PrintObserver {
 public:
  explicit Counter(host::LabelIndex& labels) : labels_(labels) {}
  void Printed(host::PrintedJob& job) override {
    job.labels = labels_.Add(job.report);
    std::lock_guard<std::mutex> lock(mutex_);
    ++printed_;
    changed_.notify_all();
  }
  void WaitFor(int64_t count) {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [&] { return printed_ >= count; });
  }
  int64_t printed() {
    std::lock_guard<std::mutex> lock(mutex_);
    return printed_;
  }

 private:
  host::LabelIndex& labels_;
  std::mutex mutex_;
  std::condition_variable changed_;
  int64_t printed_ = 0;
};

// One printer with both faces, for the whole benchmark run.
struct Server {
  Server() : counter(labels), queue(options, nullptr, &counter) {
    folder = fs::temp_directory_path() / ("labelhost-bench-" + std::to_string(::getpid()));
    options.outDir = (folder / "out").string();
    options.store = (folder / "store").string();
    options.dpi = 203;
    options.formats.png = true;
    options.rawPort = 0;
    options.httpPort = 0;
    options.httpPerAddress = 1024;  // every client here is 127.0.0.1
    options.headerMs = 3600000;     // the held clients stay for the whole run
    std::string error;
    if (!queue.Open(error)) std::abort();
    raw = std::make_unique<host::RawPort>(io, queue, options);
    http = std::make_unique<host::HttpApi>(queue, labels, events, options);
    if (!raw->Listen(error) || !http->Listen(error)) std::abort();
    http->Start();
    ioThread = std::thread([this] { io.run(); });
  }
  ~Server() {
    asio::post(io, [this] { raw->Stop(); });
    ioThread.join();
    http->Stop();
    queue.Finish();
    fs::remove_all(folder);
  }

  host::HostOptions options;
  host::LabelIndex labels;
  host::EventHub events;
  Counter counter;
  host::PrintQueue queue;
  asio::io_context io;
  std::unique_ptr<host::RawPort> raw;
  std::unique_ptr<host::HttpApi> http;
  std::thread ioThread;
  fs::path folder;
};

Server& TheServer() {
  static Server server;
  return server;
}

void SendRaw(int port) {
  asio::io_context io;
  asio::ip::tcp::socket socket(io);
  socket.connect({asio::ip::make_address("127.0.0.1"), static_cast<uint16_t>(port)});
  asio::write(socket, asio::buffer(kJob));
  socket.shutdown(asio::ip::tcp::socket::shutdown_send);
  char ignored[16];
  asio::error_code ec;
  while (!ec) socket.read_some(asio::buffer(ignored), ec);  // until the server closes
}

void RunClients(const std::function<void()>& oneJob) {
  std::vector<std::thread> clients;
  for (int c = 0; c < kClients; ++c) {
    clients.emplace_back([&] {
      for (int j = 0; j < kJobsPerClient; ++j) oneJob();
    });
  }
  for (std::thread& client : clients) client.join();
}

void Report(benchmark::State& state, int64_t jobs) {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  state.counters["jobs_per_s"] =
      benchmark::Counter(static_cast<double>(jobs), benchmark::Counter::kIsRate);
  state.counters["peak_rss_MiB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void BM_RawPortJobs(benchmark::State& state) {
  Server& server = TheServer();
  int64_t jobs = 0;
  for (auto _ : state) {
    const int64_t before = server.counter.printed();
    RunClients([&] { SendRaw(server.raw->port()); });
    server.counter.WaitFor(before + kClients * kJobsPerClient);
    jobs += kClients * kJobsPerClient;
  }
  Report(state, jobs);
}
BENCHMARK(BM_RawPortJobs)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_HttpJobs(benchmark::State& state) {
  Server& server = TheServer();
  int64_t jobs = 0;
  for (auto _ : state) {
    RunClients([&] {
      httplib::Client client("127.0.0.1", server.http->port());
      auto answer = client.Post("/print", kJob, "text/plain");
      if (!answer || answer->status != 200) std::abort();
    });
    jobs += kClients * kJobsPerClient;
  }
  Report(state, jobs);
}
BENCHMARK(BM_HttpJobs)->Unit(benchmark::kMillisecond)->UseRealTime();

// GET / while 200 event streams and 50 clients stuck in their heads are open.
void BM_HttpPageWhileHeld(benchmark::State& state) {
  constexpr int kStreams = 200, kStuck = 50;
  Server& server = TheServer();
  asio::io_context io;
  const asio::ip::tcp::endpoint endpoint(asio::ip::make_address("127.0.0.1"),
                                         static_cast<uint16_t>(server.http->port()));
  std::vector<asio::ip::tcp::socket> held;
  for (int i = 0; i < kStreams + kStuck; ++i) {
    held.emplace_back(io);
    held.back().connect(endpoint);
    const std::string sent = i < kStreams ? "GET /events HTTP/1.1\r\nHost: b\r\n\r\n"
                                          : "GET / HTTP/1.1\r\nHost: b\r\nX-Stuck: a";
    asio::write(held.back(), asio::buffer(sent));
  }
  for (auto _ : state) {
    httplib::Client client("127.0.0.1", server.http->port());
    auto answer = client.Get("/");
    if (!answer || answer->status != 200) std::abort();
  }
  state.counters["held"] = kStreams + kStuck;
}
BENCHMARK(BM_HttpPageWhileHeld)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
