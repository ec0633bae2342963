// labelhost serve: one printer behind a raw port and an HTTP API. Both hand
// their reads to one print queue, which runs the jobs in arrival order and
// prints a report per job on standard output. SIGINT and SIGTERM stop the
// listeners, hand over what open connections hold, run every accepted job
// and exit 0.
#include "host/serve/ServeCommand.h"

#include <asio.hpp>
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
  Announce(options, raw.get(), http.get());

  asio::signal_set signals(io, SIGINT, SIGTERM);
  signals.async_wait([&](asio::error_code, int) {
    if (raw) raw->Stop();
    if (http) http->Stop();
  });
  io.run();  // returns once the port is stopped and its connections are gone
  if (http) http->Stop();
  queue.Finish();
  std::cout.flush();
  return kExitOk;
}

}  // namespace host
