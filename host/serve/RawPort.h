#pragma once
// The raw printer port: a TCP listener whose every connection is a stream of
// jobs. A connection's bytes go to the print queue as one read when the
// client closes, or when it pauses for the idle gap while keeping the socket
// open; TCP segment boundaries never cut a read. The port does not frame jobs:
// the queue cuts each connection's reads, in order, into whole jobs (its
// SourceIntake), so a marker split across segments still closes its job and
// jobs sent back to back each print.
//
// The host's status queries ("~HS", "! U1 getvar" and the like) are taken out
// of the bytes as they arrive and answered at once on the same connection,
// which stays open; the bytes around them go on to the queue in order. A
// connection that only asks hands the queue nothing.
//
// A read larger than the per-connection cap ends the connection (its bytes
// are dropped and the drop is logged). A client that stays silent, or that
// trickles one read for longer than the timeout, is dropped after its bytes
// are handed over. While the queue holds too many bytes, reading pauses, so
// memory stays bounded however fast clients send.
//
// Runs on the caller's io_context (one thread). Drain closes the listener
// and ends the connections that have sent no job bytes; the others go on
// until their clients close. Stop closes the listener and hands every open
// connection's bytes over. The queue must outlive the port.

#include <asio.hpp>
#include <atomic>
#include <cstdint>
#include <memory>
#include <set>
#include <string>

#include "host/printer/Options.h"
#include "host/serve/HostAnswers.h"
#include "host/serve/PrintQueue.h"

namespace host {

class RawConnection;

class RawPort {
 public:
  RawPort(asio::io_context& io, PrintQueue& queue, const HostOptions& options);
  ~RawPort();

  // Listens on `options.bind` and `options.rawPort`; false, with `error`.
  bool Listen(std::string& error);
  int port() const { return port_; }
  // Stops accepting; ends the connections that are not in a job.
  void Drain();
  size_t open() const { return open_.size(); }
  // Stops accepting and ends every connection (their bytes are printed).
  void Stop();

 private:
  friend class RawConnection;

  void Accept();
  void Closed(const std::shared_ptr<RawConnection>& connection);

  asio::io_context& io_;
  PrintQueue& queue_;
  const HostOptions& options_;
  const HostAnswers answers_;
  asio::ip::tcp::acceptor acceptor_;
  asio::steady_timer retry_;
  int port_ = 0;
  uint64_t connections_ = 0;
  bool stopped_ = false;
  std::set<std::shared_ptr<RawConnection>> open_;
};

}  // namespace host
