#include "host/serve/RawPort.h"

#include <array>
#include <chrono>
#include <string_view>
#include <vector>

#include "host/printer/ExitStatus.h"

namespace host {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// Reading pauses while the queue holds more than this.
constexpr size_t kQueueBudget = 256u * 1024u * 1024u;
constexpr milliseconds kBackoff{20};

}  // namespace

// One client. Owned by the port's open set and by its pending operations.
class RawConnection : public std::enable_shared_from_this<RawConnection> {
 public:
  RawConnection(RawPort& port, asio::ip::tcp::socket socket, std::string source)
      : port_(port),
        socket_(std::move(socket)),
        idle_(port.io_),
        deadline_(port.io_),
        source_(std::move(source)) {}

  void Start() {
    ArmDeadline();
    Read();
  }

  // Hands over what is held and closes; the port forgets the connection.
  // A client that stopped sending still gets the answers being written.
  void End(const std::string& why) {
    if (ended_) return;
    ended_ = true;
    if (!why.empty()) PrintError(source_ + ": " + why);
    queries_.Finish(held_);
    Hand(true);
    idle_.cancel();
    deadline_.cancel();
    if (!writing_ || !why.empty()) Close();
  }

  // A connection that has sent no job bytes is not in a job.
  bool InJob() const { return handedAny_ || !held_.empty(); }

 private:
  void Read() {
    if (ended_) return;
    if (port_.queue_.PendingBytes() > kQueueBudget) {  // let the printer catch up
      idle_.expires_after(kBackoff);
      idle_.async_wait([self = shared_from_this()](asio::error_code) { self->Read(); });
      return;
    }
    socket_.async_read_some(
        asio::buffer(chunk_),
        [self = shared_from_this()](asio::error_code ec, size_t n) { self->OnRead(ec, n); });
  }

  void OnRead(asio::error_code ec, size_t n) {
    if (ended_) return;
    if (ec) return End(ec == asio::error::eof ? "" : "connection lost: " + ec.message());
    if (held_.empty()) readStart_ = Clock::now();  // a new read: its time runs from here
    if (held_.size() + n > port_.options_.maxJobBytes) return Oversized();
    std::vector<HostQuery> queries;
    queries_.Add(std::string_view(chunk_.data(), n), held_, queries);
    for (const HostQuery& query : queries) Reply(port_.answers_.Answer(query));
    ArmIdle();
    ArmDeadline();
    Read();
  }

  // Answers go out in the order asked, one write at a time.
  void Reply(const std::string& answer) {
    outbox_ += answer;
    if (!writing_) WriteNext();
  }

  void WriteNext() {
    writing_ = !outbox_.empty();
    if (!writing_) {
      if (ended_) Close();
      return;
    }
    sending_.swap(outbox_);
    outbox_.clear();
    asio::async_write(socket_, asio::buffer(sending_),
                      [self = shared_from_this()](asio::error_code ec, size_t) {
                        if (!ec) return self->WriteNext();
                        self->writing_ = false;  // the client is gone; its reads end it
                        if (self->ended_) self->Close();
                      });
  }

  void Close() {
    if (closed_) return;
    closed_ = true;
    asio::error_code ignored;
    socket_.shutdown(asio::ip::tcp::socket::shutdown_both, ignored);
    socket_.close(ignored);
    port_.Closed(shared_from_this());
  }

  void Oversized() {
    const size_t cap = port_.options_.maxJobBytes;
    held_.clear();
    End("more than " + std::to_string(cap) + " bytes without a pause; connection closed");
  }

  void ArmIdle() {
    const uint64_t generation = ++idleGeneration_;
    idle_.expires_after(milliseconds(port_.options_.idleMs));
    idle_.async_wait([self = shared_from_this(), generation](asio::error_code ec) {
      if (ec || generation != self->idleGeneration_ || self->ended_) return;
      self->Hand(false);
      self->ArmDeadline();
    });
  }

  // Silent clients time out from their last byte; trickling ones from the
  // first byte of the read they never pause after.
  void ArmDeadline() {
    const uint64_t generation = ++deadlineGeneration_;
    const milliseconds timeout(port_.options_.timeoutMs);
    deadline_.expires_at(held_.empty() ? Clock::now() + timeout : readStart_ + timeout);
    deadline_.async_wait([self = shared_from_this(), generation](asio::error_code ec) {
      if (ec || generation != self->deadlineGeneration_ || self->ended_) return;
      self->End(self->held_.empty() ? "silent too long; connection closed"
                                    : "sending too slowly; connection closed");
    });
  }

  void Hand(bool last) {
    if (held_.empty() && !last) return;
    if (held_.empty() && !handedAny_) return;  // connected and left: nothing to report
    handedAny_ = true;
    PrintRead read;
    read.source = source_;
    read.bytes.swap(held_);
    read.last = last;
    read.setup = port_.queue_.DefaultSetup();
    port_.queue_.Submit(std::move(read));
  }

  RawPort& port_;
  asio::ip::tcp::socket socket_;
  asio::steady_timer idle_;
  asio::steady_timer deadline_;
  std::string source_;
  std::array<char, 65536> chunk_;
  std::vector<char> held_;
  HostQueryFilter queries_;
  std::string outbox_;   // answers not yet being written
  std::string sending_;  // the answers being written
  bool writing_ = false;
  bool closed_ = false;
  Clock::time_point readStart_;
  uint64_t idleGeneration_ = 0;
  uint64_t deadlineGeneration_ = 0;
  bool handedAny_ = false;
  bool ended_ = false;
};

RawPort::RawPort(asio::io_context& io, PrintQueue& queue, const HostOptions& options)
    : io_(io), queue_(queue), options_(options), answers_(options), acceptor_(io), retry_(io) {}

RawPort::~RawPort() = default;

bool RawPort::Listen(std::string& error) {
  asio::error_code ec;
  const asio::ip::address address = asio::ip::make_address(options_.bind, ec);
  if (ec) {
    error = "cannot listen on '" + options_.bind + "': not an address";
    return false;
  }
  const asio::ip::tcp::endpoint endpoint(address, static_cast<uint16_t>(options_.rawPort));
  acceptor_.open(endpoint.protocol(), ec);
  if (!ec) acceptor_.set_option(asio::socket_base::reuse_address(true), ec);
  if (!ec) acceptor_.bind(endpoint, ec);
  if (!ec) acceptor_.listen(asio::socket_base::max_listen_connections, ec);
  if (ec) {
    error = "cannot listen on " + options_.bind + ":" + std::to_string(options_.rawPort) + ": " +
            ec.message();
    return false;
  }
  port_ = acceptor_.local_endpoint().port();
  Accept();
  return true;
}

void RawPort::Accept() {
  acceptor_.async_accept([this](asio::error_code ec, asio::ip::tcp::socket socket) {
    if (stopped_) return;
    if (!ec) {
      auto connection = std::make_shared<RawConnection>(*this, std::move(socket),
                                                        "tcp-" + std::to_string(++connections_));
      open_.insert(connection);
      connection->Start();
    }
    if (!ec) return Accept();
    // Out of descriptors: wait a little instead of spinning; the port stays open.
    retry_.expires_after(kBackoff);
    retry_.async_wait([this](asio::error_code) {
      if (!stopped_) Accept();
    });
  });
}

void RawPort::Closed(const std::shared_ptr<RawConnection>& connection) { open_.erase(connection); }

void RawPort::Drain() {
  stopped_ = true;
  asio::error_code ignored;
  acceptor_.close(ignored);
  retry_.cancel();
  const std::set<std::shared_ptr<RawConnection>> open = open_;
  for (const auto& connection : open) {
    if (!connection->InJob()) connection->End("");
  }
}

void RawPort::Stop() {
  stopped_ = true;
  asio::error_code ignored;
  acceptor_.close(ignored);
  retry_.cancel();
  // End erases from the set: walk a copy.
  const std::set<std::shared_ptr<RawConnection>> open = open_;
  for (const auto& connection : open) connection->End("");
}

}  // namespace host
