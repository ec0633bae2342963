// labelhost serve: one printer behind a raw port and an HTTP API. Both hand
// their reads to one print queue, which runs the jobs in arrival order and
// prints a report per job on standard output. SIGINT and SIGTERM stop the
// listeners and give connections in the middle of a job up to --grace-ms to
// finish it (a second signal ends the wait); then what open connections hold
// is handed over, every accepted job runs and the command exits 0.
#include "host/serve/ServeCommand.h"

#include <asio.hpp>
#include <chrono>
#include <iostream>
#include <memory>

#include "host/printer/ExitStatus.h"
#include "host/serve/EventHub.h"
#include "host/serve/HttpApi.h"
#include "host/serve/JobJson.h"
#include "host/serve/LabelIndex.h"
#include "host/serve/PrintQueue.h"
#include "host/serve/RawPort.h"

namespace host {
namespace {

// Numbers each printed job's labels and puts the job on the live page's feed.
class Publisher : public PrintObserver {
 public:
  Publisher(LabelIndex& labels, EventHub& events) : labels_(labels), events_(events) {}
  void Printed(PrintedJob& job) override {
    job.labels = labels_.Add(job.report);
    events_.Publish(JobJson(job));
  }

 private:
  LabelIndex& labels_;
  EventHub& events_;
};

// The addresses go to standard error, so that standard output holds reports only.
void Announce(const HostOptions& options, const RawPort* raw, const HttpApi* http) {
  if (raw != nullptr)
    PrintError("raw port listening on " + options.bind + ":" + std::to_string(raw->port()));
  if (http != nullptr)
    PrintError("HTTP listening on http://" + options.bind + ":" + std::to_string(http->port()) +
               "/");
}

// The way out: the first signal drains both faces, and the stop comes when
// every connection has finished, when the grace ends or at a second signal.
class Shutdown {
 public:
  Shutdown(asio::io_context& io, int graceMs, RawPort* raw, HttpApi* http)
      : signals_(io, SIGINT, SIGTERM),
        grace_(io),
        watch_(io),
        graceMs_(graceMs),
        raw_(raw),
        http_(http) {
    signals_.async_wait([this](asio::error_code ec, int) {
      if (!ec) Drain();
    });
  }

 private:
  void Drain() {
    if (raw_) raw_->Drain();
    if (http_) http_->Drain();
    signals_.async_wait([this](asio::error_code ec, int) {
      if (!ec) Stop();
    });
    grace_.expires_after(std::chrono::milliseconds(graceMs_));
    grace_.async_wait([this](asio::error_code ec) {
      if (!ec) Stop();
    });
    Watch();
  }

  void Watch() {
    if ((!raw_ || raw_->open() == 0) && (!http_ || http_->open() == 0)) return Stop();
    watch_.expires_after(std::chrono::milliseconds(20));
    watch_.async_wait([this](asio::error_code ec) {
      if (!ec) Watch();
    });
  }

  void Stop() {
    asio::error_code ignored;
    signals_.cancel(ignored);
    grace_.cancel();
    watch_.cancel();
    if (raw_) raw_->Stop();
    if (http_) http_->Stop();
  }

  asio::signal_set signals_;
  asio::steady_timer grace_, watch_;
  const int graceMs_;
  RawPort* raw_;
  HttpApi* http_;
};

}  // namespace

int RunServe(const HostOptions& options) {
  if (options.rawPort < 0 && options.httpPort < 0) {
    PrintError("serve needs --port or --http");
    return kExitUsage;
  }
  std::unique_ptr<ReportWriter> reports =
      options.quiet ? nullptr : MakeReportWriter(options.report, std::cout);
  LabelIndex labels;
  EventHub events;
  Publisher publisher(labels, events);
  PrintQueue queue(options, reports.get(), &publisher);
  std::string error;
  if (!queue.Open(error)) {
    PrintError(error);
    return kExitFailure;
  }

  asio::io_context io;
  std::unique_ptr<RawPort> raw;
  std::unique_ptr<HttpApi> http;
  if (options.rawPort >= 0) {
    raw = std::make_unique<RawPort>(io, queue, options);
    if (!raw->Listen(error)) return PrintError(error), kExitFailure;
  }
  if (options.httpPort >= 0) {
    http = std::make_unique<HttpApi>(queue, labels, events, options);
    if (!http->Listen(error)) return PrintError(error), kExitFailure;
    http->Start();
  }
  // Signals are caught before the addresses are said: a client may stop the
  // printer as soon as it knows where it is.
  Shutdown shutdown(io, options.graceMs, raw.get(), http.get());
  Announce(options, raw.get(), http.get());

  io.run();  // returns once the port is stopped and its connections are gone
  if (http) http->Stop();
  queue.Finish();
  std::cout.flush();
  return kExitOk;
}

}  // namespace host
