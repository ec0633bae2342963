#pragma once
// The network printer's HTTP face: POST /print hands the body to the print
// queue as one read, which cuts it into jobs like any raw-port read and runs
// them in its order, and answers with the report of every job of the body as
// JSON, or with the label itself for "Accept: image/png" (one job, one label);
// GET /labels/N.png|.pdf|.json serves a printed label by number; GET /
// serves the live page and GET /events its feed of printed jobs. The render
// interface (RenderApi) previews jobs without printing them.
//
// No request path names a file: label numbers are looked up in the label
// index. POST /print takes a body of any Content-Type, or none, up to the
// per-job cap (413 above it, naming the cap); a multipart form's parts are
// the job, in order. A known path asked with the wrong method answers 405
// with Allow.
//
// Its HttpFront reads every request whole and serves GET /events; the
// routes below answer the rest on the front's workers, between Start and
// Stop. Drain lets requests under way finish. The queue, index, feed and
// options must outlive it.

#include <httplib.h>

#include <atomic>
#include <memory>
#include <string>
#include <string_view>

#include "host/printer/Options.h"
#include "host/serve/EventHub.h"
#include "host/serve/HttpFront.h"
#include "host/serve/LabelIndex.h"
#include "host/serve/PrintQueue.h"
#include "host/serve/RenderApi.h"

namespace host {

// The routes, run on a request the front has read whole.
class HttpRouter : public httplib::Server {
 public:
  using httplib::Server::process_request;
};

class HttpApi {
 public:
  HttpApi(PrintQueue& queue, const LabelIndex& labels, EventHub& events,
          const HostOptions& options);
  ~HttpApi();

  // Binds `options.bind` and `options.httpPort`; false, with `error`.
  bool Listen(std::string& error);
  int port() const { return port_; }
  void Start();
  // Stops accepting; requests under way are answered (see HttpFront).
  void Drain();
  // Connections still open.
  size_t open() const { return front_->open(); }
  void Stop();

 private:
  void Routes();
  std::string Answer(std::string_view request, const HttpFront::Endpoints& endpoints, bool& close);
  void Print(const httplib::Request& request, httplib::Response& response,
             const httplib::ContentReader& reader);
  // Answers 405 for the methods other than `allowed` on `pattern`.
  void OnlyAllow(const std::string& pattern, const std::string& allowed);
  void Label(const httplib::Request& request, httplib::Response& response);
  void Events(const httplib::Request& request, httplib::Response& response);

  PrintQueue& queue_;
  const LabelIndex& labels_;
  EventHub& events_;
  const HostOptions& options_;
  RenderApi render_;
  HttpRouter server_;
  std::unique_ptr<HttpFront> front_;
  int port_ = 0;
  std::atomic<uint64_t> requests_{0};
};

}  // namespace host
