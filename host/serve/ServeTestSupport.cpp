#include "host/serve/ServeTestSupport.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

namespace host::testing {
namespace fs = std::filesystem;
namespace {

using namespace std::chrono_literals;

// The port announced after `lead`, once its line is written up to `end`
// (the server may be caught halfway through writing it); 0 until then.
int PortAfter(const std::string& text, const std::string& lead, char end) {
  const std::string key = lead + "127.0.0.1:";
  const size_t at = text.find(key);
  if (at == std::string::npos) return 0;
  int port = 0;
  size_t i = at + key.size();
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    port = port * 10 + (text[i] - '0');
    if (port > 65535) return 0;
  }
  return i < text.size() && text[i] == end ? port : 0;
}

// False when the last `option` in `args` is "off".
bool Wanted(const std::vector<std::string>& args, const std::string& option) {
  bool wanted = true;
  for (size_t i = 0; i + 1 < args.size(); ++i) {
    if (args[i] == option) wanted = args[i + 1] != "off";
  }
  return wanted;
}

}  // namespace

ServerProcess::ServerProcess(const ScratchDir& dir, const std::vector<std::string>& args)
    : dir_(dir) {
  std::vector<std::string> argv = {LABELHOST_BINARY, "serve", "--port", "0",   "--http",   "0",
                                   "--store",        "store", "--out",  "out", "--report", "json"};
  argv.insert(argv.end(), args.begin(), args.end());
  pid_ = ::fork();
  if (pid_ == 0) {
    if (::chdir(dir.path().c_str()) != 0) ::_exit(127);
    const int out = ::open("stdout.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int err = ::open("stderr.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ::dup2(out, 1);
    ::dup2(err, 2);
    std::vector<char*> raw;
    for (std::string& a : argv) raw.push_back(a.data());
    raw.push_back(nullptr);
    ::execv(raw[0], raw.data());
    ::_exit(127);
  }
  // The server says where it listens once both listeners are up, one line
  // each; wait for every line asked for, whole.
  const bool wantRaw = Wanted(argv, "--port"), wantHttp = Wanted(argv, "--http");
  for (int i = 0; i < 600 && !((rawPort_ > 0 || !wantRaw) && (httpPort_ > 0 || !wantHttp)); ++i) {
    std::this_thread::sleep_for(50ms);
    const std::string err = Stderr();
    rawPort_ = PortAfter(err, "raw port listening on ", '\n');
    httpPort_ = PortAfter(err, "http://", '/');
  }
}

ServerProcess::~ServerProcess() {
  if (pid_ > 0) Stop();
}

int ServerProcess::Stop() {
  if (pid_ <= 0) return -1;
  ::kill(pid_, SIGTERM);
  int status = 0;
  ::waitpid(pid_, &status, 0);
  pid_ = -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void ServerProcess::Signal() {
  if (pid_ > 0) ::kill(pid_, SIGTERM);
}

int ServerProcess::Wait(int seconds) {
  if (pid_ <= 0) return -1;
  int status = 0;
  for (int i = 0; i < seconds * 100; ++i) {
    if (::waitpid(pid_, &status, WNOHANG) == pid_) {
      pid_ = -1;
      return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::this_thread::sleep_for(10ms);
  }
  return -2;
}

std::string ServerProcess::Stdout() const { return ReadFile(dir_ / "stdout.txt"); }
std::string ServerProcess::Stderr() const { return ReadFile(dir_ / "stderr.txt"); }

bool ServerProcess::WaitForFiles(const std::string& folder, size_t count) const {
  for (int i = 0; i < 1200; ++i) {
    if (fs::exists(dir_ / folder) && FileNames(dir_ / folder).size() >= count) return true;
    std::this_thread::sleep_for(50ms);
  }
  return false;
}

RawClient::RawClient(int port, const std::string& from) {
  fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
  if (fd_ < 0) return;
  if (!from.empty()) {
    sockaddr_in local{};
    local.sin_family = AF_INET;
    if (::inet_pton(AF_INET, from.c_str(), &local.sin_addr) != 1 ||
        ::bind(fd_, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0) {
      Close();
      return;
    }
  }
  timeval timeout{30, 0};
  ::setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
  ::setsockopt(fd_, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
  int one = 1;
  ::setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) Close();
}

RawClient::~RawClient() { Close(); }

bool RawClient::Send(const std::string& bytes) {
  size_t sent = 0;
  while (fd_ >= 0 && sent < bytes.size()) {
    const ssize_t n = ::send(fd_, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) return false;
    sent += static_cast<size_t>(n);
  }
  return fd_ >= 0;
}

void RawClient::FinishSending() {
  if (fd_ >= 0) ::shutdown(fd_, SHUT_WR);
}

bool RawClient::ServerClosed() {
  char buffer[256];
  for (;;) {
    const ssize_t n = ::recv(fd_, buffer, sizeof buffer, 0);
    if (n == 0) return true;
    if (n < 0) return errno == ECONNRESET;
  }
}

std::string RawClient::ReceiveAll() {
  std::string received;
  char buffer[4096];
  ssize_t n = 0;
  while (fd_ >= 0 && (n = ::recv(fd_, buffer, sizeof buffer, 0)) > 0)
    received.append(buffer, static_cast<size_t>(n));
  return received;
}

std::string RawClient::ReceiveUntilQuiet(int quietMs) {
  std::string received;
  char buffer[4096];
  pollfd ready{fd_, POLLIN, 0};
  while (fd_ >= 0 && ::poll(&ready, 1, quietMs) > 0) {
    const ssize_t n = ::recv(fd_, buffer, sizeof buffer, 0);
    if (n <= 0) break;
    received.append(buffer, static_cast<size_t>(n));
  }
  return received;
}

std::string RawClient::ReceiveUntil(const std::string& part, int waitMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
  std::string received;
  char buffer[4096];
  pollfd ready{fd_, POLLIN, 0};
  while (fd_ >= 0 && received.find(part) == std::string::npos) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0 || ::poll(&ready, 1, static_cast<int>(left.count())) <= 0) break;
    const ssize_t n = ::recv(fd_, buffer, sizeof buffer, 0);
    if (n <= 0) break;
    received.append(buffer, static_cast<size_t>(n));
  }
  return received;
}

void RawClient::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

bool SendJob(int port, const std::string& bytes) {
  RawClient client(port);
  if (!client.Send(bytes)) return false;
  client.FinishSending();
  return client.ServerClosed();
}

size_t CountLines(const std::string& text, const std::string& part) {
  size_t count = 0;
  for (const std::string& line : SplitLines(text)) count += line.find(part) != std::string::npos;
  return count;
}

}  // namespace host::testing
