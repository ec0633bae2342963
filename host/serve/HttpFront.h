#pragma once
// The HTTP API's accepting front: it owns the listening socket and every
// connection, on one thread of its own, and reads each request whole before
// a worker sees it. So no client holds a worker by being slow or idle: a
// request's head must arrive within `headTime` of its first byte and its
// body within `bodyTime` of the head (whole times, not per byte), or the
// client is answered 408 and dropped; a body over the job limit is refused
// with 413 from its head, unread. A client address may hold `perAddress`
// connections and the front `connections` in all; more are answered 503.
// While the requests being read hold too many bytes in all, those clients
// wait (TCP holds them back) and new requests still come in.
//
// Requests on one connection, pipelined or not, are answered one at a time
// in the order sent. A whole request goes to `Handler` on one of `workers`
// threads (HttpApi routes it). GET of the stream path is served here, off
// the workers: the hub's kept events, then each new one as it is published,
// as server-sent events; at most `streams` at once, more are answered 503.
//
// Drain stops accepting, closes idle connections and streams, and lets a
// connection in the middle of a request finish it and get its answer; Stop
// closes everything at once. Callers: HttpApi, on any thread.

#include <asio.hpp>
#include <atomic>
#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <thread>

#include "host/serve/EventHub.h"
#include "host/serve/HttpRequestFrame.h"

namespace httplib {
class ThreadPool;
}

namespace host {

class HttpConnection;

struct HttpLimits {
  FrameLimits frame;
  std::chrono::milliseconds headTime{10000};
  std::chrono::milliseconds bodyTime{30000};
  std::chrono::milliseconds keepAlive{5000};  // an idle connection closes after this
  size_t perAddress = 32;
  size_t connections = 1024;
  size_t streams = 256;
  size_t workers = 16;
};

class HttpFront {
 public:
  struct Endpoints {
    asio::ip::tcp::endpoint remote, local;
  };
  // Answers one whole request: the answer's bytes. Sets `close` when the
  // connection must close after it (it comes in set while draining).
  using Handler =
      std::function<std::string(std::string_view request, const Endpoints& endpoints, bool& close)>;
  // A whole answer refusing a request with `status`, saying `why`.
  using Refuser =
      std::function<std::string(int status, const std::string& why, std::string_view target)>;

  HttpFront(HttpLimits limits, Handler handler, Refuser refuser, EventHub& events,
            std::string streamPath);
  ~HttpFront();
  HttpFront(const HttpFront&) = delete;
  HttpFront& operator=(const HttpFront&) = delete;

  // Listens on `address`:`port` (0: any free port); false, with `error`.
  bool Listen(const std::string& address, int port, std::string& error);
  int port() const { return port_; }
  void Start();
  void Drain();
  // Connections still open.
  size_t open() const { return openCount_; }
  void Stop();

 private:
  friend class HttpConnection;

  void Accept();
  void Admit(asio::ip::tcp::socket socket);
  void Forget(const std::shared_ptr<HttpConnection>& connection);
  void PumpStreams(bool heartbeat);
  void Heartbeat();

  const HttpLimits limits_;
  const Handler handler_;
  const Refuser refuser_;
  EventHub& events_;
  const std::string streamPath_;

  asio::io_context io_;
  asio::executor_work_guard<asio::io_context::executor_type> work_;
  asio::ip::tcp::acceptor acceptor_;
  asio::steady_timer retry_;
  asio::steady_timer heartbeat_;
  std::unique_ptr<httplib::ThreadPool> workers_;
  std::thread thread_;
  int port_ = 0;
  uint64_t listener_ = 0;

  // The front's thread only.
  std::set<std::shared_ptr<HttpConnection>> open_;
  std::map<std::string, size_t> perAddress_;
  size_t streams_ = 0;
  size_t buffered_ = 0;  // bytes read of requests not yet whole
  bool draining_ = false;
  std::atomic<size_t> openCount_{0};
};

}  // namespace host
