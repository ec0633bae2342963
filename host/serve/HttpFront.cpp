#include "host/serve/HttpFront.h"

#include <httplib.h>

#include <array>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <optional>

namespace host {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;
using tcp = asio::ip::tcp;

constexpr milliseconds kBackoff{20};
constexpr milliseconds kHeartbeat{10000};    // a stream with nothing new says it is alive
constexpr milliseconds kLinger{1000};        // a refused client's bytes are read this long
constexpr size_t kStreamBacklog = 1u << 20;  // a stream whose reader is this far behind ends
// Requests under way pause reading while all of them hold more than this.
constexpr size_t kBufferBudget = 256u << 20;

std::string Chunk(const std::string& text) {
  char size[24];
  std::snprintf(size, sizeof size, "%zx\r\n", text.size());
  return size + text + "\r\n";
}

// True when an answer's head says the connection closes after it.
bool ClosesAfter(std::string_view answer) {
  std::string value = HeaderValue(answer.substr(0, answer.find("\r\n\r\n")), "Connection");
  for (char& c : value) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return value == "close";
}

}  // namespace

// One client. Owned by the front's open set and by its pending operations.
// Reads until a request is whole, hands it to a worker and reads nothing
// more until its answer is written, so answers go out in request order.
class HttpConnection : public std::enable_shared_from_this<HttpConnection> {
 public:
  HttpConnection(HttpFront& front, tcp::socket socket, std::string address)
      : front_(front),
        socket_(std::move(socket)),
        deadline_(front.io_),
        pause_(front.io_),
        address_(std::move(address)) {
    asio::error_code ignored;
    endpoints_.remote = socket_.remote_endpoint(ignored);
    endpoints_.local = socket_.local_endpoint(ignored);
  }

  const std::string& address() const { return address_; }

  void Start() {
    Arm(front_.limits_.keepAlive, 0, "");
    Read();
  }

  // Answers `status` and closes, reading what the client still sends for a
  // moment so that it sees the answer rather than a reset.
  // `target` is the request's path when its head was read, else "".
  void Refuse(int status, const std::string& why, std::string_view target = {}) {
    state_ = State::kClosing;
    after_ = After::kLinger;
    Send(front_.refuser_(status, why, target));
  }

  void Drain() {
    if (state_ == State::kStreaming) return EndStream();
    if (state_ == State::kReading && Pending() == 0) return Close();
  }

  // Writes the events published since the last one sent; a heartbeat says
  // the stream is alive when there are none.
  void Pump(bool heartbeat) {
    if (state_ != State::kStreaming) return;
    if (front_.events_.closed()) return EndStream();
    std::string text;
    for (const auto& [id, event] : front_.events_.Since(lastEvent_)) {
      text += "id: " + std::to_string(id) + "\ndata: " + event + "\n\n";
      lastEvent_ = id;
    }
    if (text.empty() && heartbeat) text = ": still here\n\n";
    if (!text.empty()) Send(Chunk(text));
  }

  void Close() {
    if (closed_) return;
    closed_ = true;
    if (state_ != State::kWorking) Answered();  // else once the worker is done
    if (counted_) --front_.streams_;
    state_ = State::kClosing;
    asio::error_code ignored;
    deadline_.cancel();
    pause_.cancel();
    front_.buffered_ -= in_.size();
    in_.clear();
    socket_.shutdown(tcp::socket::shutdown_both, ignored);
    socket_.close(ignored);
    front_.Forget(shared_from_this());
  }

 private:
  enum class State { kReading, kWorking, kStreaming, kClosing };
  enum class After { kNothing, kNext, kClose, kLinger };

  // Bytes of a request begun and not yet whole.
  size_t Pending() const {
    size_t start = 0;
    while (start < in_.size() && (in_[start] == '\r' || in_[start] == '\n')) ++start;
    return in_.size() - start;
  }

  void Read() {
    if (reading_ || closed_) return;
    if (front_.buffered_ > kBufferBudget && Pending() > 0) {  // let workers catch up
      reading_ = true;
      pause_.expires_after(kBackoff);
      pause_.async_wait([self = shared_from_this()](asio::error_code) {
        self->reading_ = false;
        self->Read();
      });
      return;
    }
    reading_ = true;
    socket_.async_read_some(asio::buffer(chunk_),
                            [self = shared_from_this()](asio::error_code ec, size_t n) {
                              self->reading_ = false;
                              self->OnRead(ec, n);
                            });
  }

  void OnRead(asio::error_code ec, size_t n) {
    if (closed_) return;
    if (ec) {
      peerDone_ = true;
      if (state_ == State::kReading) return Next();
      if (state_ != State::kWorking) Close();
      return;
    }
    if (state_ == State::kStreaming || state_ == State::kClosing) return Read();  // not heard
    if (Pending() == 0) requestStart_ = Clock::now();
    in_.append(chunk_.data(), n);
    front_.buffered_ += n;
    if (state_ == State::kReading) Next();
  }

  // Takes the next request out of what has been read, or reads on.
  void Next() {
    const RequestFrame frame =
        FrameRequest(in_, front_.limits_.frame, framed_ ? &*framed_ : nullptr);
    framed_.reset();
    if (frame.state == RequestFrame::State::kPartial) framed_ = frame;
    if (frame.state == RequestFrame::State::kRefused)
      return Refuse(frame.status, frame.why, frame.target);
    if (frame.state == RequestFrame::State::kPartial) {
      if (peerDone_ || (front_.draining_ && Pending() == 0)) return Close();
      if (Pending() == 0) {
        Arm(front_.limits_.keepAlive, 0, "");
      } else if (!frame.headDone) {
        ArmAt(requestStart_ + front_.limits_.headTime, 1,
              "the request's head did not arrive within " +
                  std::to_string(front_.limits_.headTime.count()) + " ms");
      } else {
        if (phase_ != 2) bodyStart_ = Clock::now();
        ArmAt(bodyStart_ + front_.limits_.bodyTime, 2,
              "the body did not arrive within " + std::to_string(front_.limits_.bodyTime.count()) +
                  " ms");
        if (frame.expectContinue && !continued_) {
          continued_ = true;
          Send("HTTP/1.1 100 Continue\r\n\r\n");
        }
      }
      return Read();
    }
    std::string request = in_.substr(frame.start, frame.end - frame.start);
    in_.erase(0, frame.end);
    front_.buffered_ -= frame.end - request.size();  // the request's own stay counted
    inWork_ = request.size();
    continued_ = false;
    phase_ = -1;
    deadline_.cancel();
    const std::string path = frame.target.substr(0, frame.target.find('?'));
    if (frame.method == "GET" && path == front_.streamPath_) {
      Answered();
      return StartStream(request);
    }
    Work(std::move(request));
  }

  // The request handed to a worker is answered: its bytes leave the budget.
  void Answered() {
    front_.buffered_ -= inWork_;
    inWork_ = 0;
  }

  void Work(std::string request) {
    state_ = State::kWorking;
    bool close = front_.draining_;
    auto self = shared_from_this();
    front_.workers_->enqueue([self, request = std::move(request), close]() mutable {
      std::string answer;
      try {
        answer = self->front_.handler_(request, self->endpoints_, close);
      } catch (const std::exception&) {
        answer = self->front_.refuser_(500, "the request could not be answered", {});
        close = true;
      }
      asio::post(self->front_.io_, [self, answer = std::move(answer), close]() mutable {
        self->Answer(std::move(answer), close);
      });
    });
  }

  void Answer(std::string answer, bool close) {
    Answered();
    if (closed_) return;
    close = close || front_.draining_ || ClosesAfter(answer);
    after_ = close ? After::kClose : After::kNext;
    ArmAt(Clock::now() + front_.limits_.bodyTime, 3, "");  // a client that does not read
    Send(std::move(answer));
  }

  void StartStream(const std::string& request) {
    if (front_.streams_ >= front_.limits_.streams)
      return Refuse(503, "too many event streams open (" + std::to_string(front_.limits_.streams) +
                             "): try again later");
    ++front_.streams_;
    counted_ = true;
    state_ = State::kStreaming;
    lastEvent_ = std::strtoull(HeaderValue(request, "Last-Event-ID").c_str(), nullptr, 10);
    Send(
        "HTTP/1.1 200 OK\r\nContent-Type: text/event-stream\r\nCache-Control: no-cache\r\n"
        "Transfer-Encoding: chunked\r\n\r\n");
    Pump(false);
    Read();  // only to see the client go
  }

  void EndStream() {
    if (state_ != State::kStreaming) return;
    state_ = State::kClosing;  // nothing more is written after the last chunk
    after_ = After::kClose;
    Send("0\r\n\r\n");
  }

  void Send(std::string bytes) {
    if (closed_) return;
    outbox_ += bytes;
    if (state_ == State::kStreaming && outbox_.size() > kStreamBacklog) return Close();
    if (!writing_) WriteNext();
  }

  void WriteNext() {
    writing_ = !outbox_.empty();
    if (!writing_) return Written();
    sending_.swap(outbox_);
    outbox_.clear();
    asio::async_write(socket_, asio::buffer(sending_),
                      [self = shared_from_this()](asio::error_code ec, size_t) {
                        if (ec) {
                          self->writing_ = false;
                          return self->Close();
                        }
                        self->WriteNext();
                      });
  }

  // Everything sent: go on as the last answer said.
  void Written() {
    const After after = after_;
    after_ = After::kNothing;
    switch (after) {
      case After::kNothing:
        return;
      case After::kClose:
        return Close();
      case After::kLinger: {
        asio::error_code ignored;
        socket_.shutdown(tcp::socket::shutdown_send, ignored);
        Arm(kLinger, 4, "");
        return Read();
      }
      case After::kNext:
        state_ = State::kReading;
        if (Pending() > 0) requestStart_ = Clock::now();
        return Next();
    }
  }

  void Arm(milliseconds after, int phase, std::string why) {
    ArmAt(Clock::now() + after, phase, std::move(why));
  }

  // One deadline at a time; `phase` says which (keep-alive 0, head 1, body 2,
  // answer 3, linger 4), so re-arming the same phase keeps its time.
  void ArmAt(Clock::time_point at, int phase, std::string why) {
    if (phase == phase_ && phase != 0) return;
    phase_ = phase;
    const uint64_t generation = ++generation_;
    deadline_.expires_at(at);
    deadline_.async_wait([self = shared_from_this(), generation, why](asio::error_code ec) {
      if (ec || generation != self->generation_ || self->closed_) return;
      if (why.empty() || self->writing_) return self->Close();
      self->Refuse(408, why);
    });
  }

  HttpFront& front_;
  tcp::socket socket_;
  asio::steady_timer deadline_;
  asio::steady_timer pause_;
  std::string address_;
  HttpFront::Endpoints endpoints_;
  std::array<char, 65536> chunk_;
  std::string in_;
  std::optional<RequestFrame> framed_;  // how far the request in `in_` is framed
  std::string outbox_;
  std::string sending_;
  State state_ = State::kReading;
  After after_ = After::kNothing;
  Clock::time_point requestStart_, bodyStart_;
  uint64_t generation_ = 0;
  uint64_t lastEvent_ = 0;
  size_t inWork_ = 0;  // bytes of the request a worker has
  int phase_ = -1;
  bool reading_ = false;
  bool writing_ = false;
  bool continued_ = false;
  bool peerDone_ = false;
  bool counted_ = false;  // among the front's streams
  bool closed_ = false;
};

HttpFront::HttpFront(HttpLimits limits, Handler handler, Refuser refuser, EventHub& events,
                     std::string streamPath)
    : limits_(std::move(limits)),
      handler_(std::move(handler)),
      refuser_(std::move(refuser)),
      events_(events),
      streamPath_(std::move(streamPath)),
      work_(asio::make_work_guard(io_)),
      acceptor_(io_),
      retry_(io_),
      heartbeat_(io_) {}

HttpFront::~HttpFront() { Stop(); }

bool HttpFront::Listen(const std::string& address, int port, std::string& error) {
  asio::error_code ec;
  asio::ip::address ip = asio::ip::make_address(address, ec);
  if (ec) {  // a host name, such as localhost
    tcp::resolver resolver(io_);
    const auto found = resolver.resolve(address, std::to_string(port), ec);
    if (!ec && !found.empty()) ip = found.begin()->endpoint().address();
  }
  if (!ec) {
    const tcp::endpoint endpoint(ip, static_cast<uint16_t>(port));
    acceptor_.open(endpoint.protocol(), ec);
    if (!ec) acceptor_.set_option(asio::socket_base::reuse_address(true), ec);
    if (!ec) acceptor_.bind(endpoint, ec);
    if (!ec) acceptor_.listen(asio::socket_base::max_listen_connections, ec);
  }
  if (ec) {
    error = "cannot listen for HTTP on " + address + ":" + std::to_string(port);
    return false;
  }
  port_ = acceptor_.local_endpoint().port();
  return true;
}

void HttpFront::Start() {
  workers_ = std::make_unique<httplib::ThreadPool>(limits_.workers);
  listener_ = events_.Listen([this] { asio::post(io_, [this] { PumpStreams(false); }); });
  Accept();
  Heartbeat();
  thread_ = std::thread([this] { io_.run(); });
}

void HttpFront::Accept() {
  acceptor_.async_accept([this](asio::error_code ec, tcp::socket socket) {
    if (draining_ || !acceptor_.is_open()) return;
    if (!ec) {
      Admit(std::move(socket));
      return Accept();
    }
    // Out of descriptors: wait a little instead of spinning.
    retry_.expires_after(kBackoff);
    retry_.async_wait([this](asio::error_code) {
      if (!draining_) Accept();
    });
  });
}

void HttpFront::Admit(tcp::socket socket) {
  asio::error_code ec;
  const std::string address = socket.remote_endpoint(ec).address().to_string();
  if (ec) return;
  auto connection = std::make_shared<HttpConnection>(*this, std::move(socket), address);
  const size_t fromAddress = perAddress_[address]++;
  const size_t all = open_.size();
  open_.insert(connection);
  openCount_ = open_.size();
  if (all >= limits_.connections)
    return connection->Refuse(
        503, "too many connections (" + std::to_string(limits_.connections) + "): try again later");
  if (fromAddress >= limits_.perAddress)
    return connection->Refuse(503, "too many connections from " + address + " (" +
                                       std::to_string(limits_.perAddress) +
                                       ", --http-per-address)");
  connection->Start();
}

void HttpFront::Forget(const std::shared_ptr<HttpConnection>& connection) {
  if (open_.erase(connection) == 0) return;
  openCount_ = open_.size();
  auto count = perAddress_.find(connection->address());
  if (count != perAddress_.end() && --count->second == 0) perAddress_.erase(count);
}

void HttpFront::PumpStreams(bool heartbeat) {
  const std::set<std::shared_ptr<HttpConnection>> open = open_;  // Pump may close one
  for (const auto& connection : open) connection->Pump(heartbeat);
}

void HttpFront::Heartbeat() {
  heartbeat_.expires_after(kHeartbeat);
  heartbeat_.async_wait([this](asio::error_code ec) {
    if (ec) return;
    PumpStreams(true);
    Heartbeat();
  });
}

void HttpFront::Drain() {
  asio::post(io_, [this] {
    draining_ = true;
    asio::error_code ignored;
    acceptor_.close(ignored);
    retry_.cancel();
    const std::set<std::shared_ptr<HttpConnection>> open = open_;
    for (const auto& connection : open) connection->Drain();
  });
}

void HttpFront::Stop() {
  if (thread_.joinable()) {
    if (listener_ != 0) events_.Unlisten(listener_);
    asio::post(io_, [this] {
      draining_ = true;
      asio::error_code ignored;
      acceptor_.close(ignored);
      retry_.cancel();
      heartbeat_.cancel();
      const std::set<std::shared_ptr<HttpConnection>> open = open_;
      for (const auto& connection : open) connection->Close();
      work_.reset();
    });
    thread_.join();
  }
  if (workers_) workers_->shutdown();
  workers_.reset();
  open_.clear();
}

}  // namespace host
