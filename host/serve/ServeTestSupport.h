#pragma once
// Helpers for the network printer's tests: the built labelhost running
// `serve` in a scratch folder on ephemeral ports of 127.0.0.1, and a plain
// TCP client for its raw port.

#include <sys/types.h>

#include <string>
#include <vector>

#include "host/HostTestSupport.h"

namespace host::testing {

class ServerProcess {
 public:
  // Starts `labelhost serve --port 0 --http 0` plus `args` inside `dir`
  // (store "store", output "out", reports as JSON lines in "stdout.txt").
  ServerProcess(const ScratchDir& dir, const std::vector<std::string>& args);
  ~ServerProcess();

  bool started() const { return rawPort_ > 0 || httpPort_ > 0; }
  int rawPort() const { return rawPort_; }
  int httpPort() const { return httpPort_; }
  // Sends SIGTERM and waits; the exit status, or -1 after a signal.
  int Stop();
  // Sends SIGTERM and returns at once.
  void Signal();
  // Waits up to `seconds` for the exit: the exit status, -1 after a signal,
  // -2 while it still runs.
  int Wait(int seconds = 120);
  std::string Stdout() const;
  std::string Stderr() const;
  // Waits (up to about a minute) until `folder` holds `count` files.
  bool WaitForFiles(const std::string& folder, size_t count) const;

 private:
  const ScratchDir& dir_;
  pid_t pid_ = -1;
  int rawPort_ = 0;
  int httpPort_ = 0;
};

// A client of the raw port. Every call is bounded by a generous receive and
// send timeout, so a server that never answers fails the test, not hangs it.
class RawClient {
 public:
  // Connects from `from` (another address of the loopback network, so one
  // test can be several clients), or from any address when empty.
  explicit RawClient(int port, const std::string& from = "");
  ~RawClient();
  bool connected() const { return fd_ >= 0; }
  bool Send(const std::string& bytes);
  // Half-closes: the server sees the end of the stream.
  void FinishSending();
  // True once the server has closed the connection (reads until it does).
  bool ServerClosed();
  // Everything the server sends until it closes.
  std::string ReceiveAll();
  // What the server sends until it has been quiet for `quietMs` (or closes).
  std::string ReceiveUntilQuiet(int quietMs);
  // What the server sends until it has sent `part` (or closes, or `waitMs`
  // pass).
  std::string ReceiveUntil(const std::string& part, int waitMs);
  void Close();

 private:
  int fd_ = -1;
};

// Sends `bytes` on one connection and closes it.
bool SendJob(int port, const std::string& bytes);

size_t CountLines(const std::string& text, const std::string& part);

}  // namespace host::testing
