#include "host/serve/Forwarder.h"

#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace host {
namespace {

using Clock = std::chrono::steady_clock;

int Remaining(Clock::time_point deadline) {
  const auto left =
      std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return left > 0 ? static_cast<int>(left) : 0;
}

// Waits for `events` on `fd` until the deadline; false on timeout.
bool Wait(int fd, short events, Clock::time_point deadline) {
  pollfd ready{fd, events, 0};
  int n = 0;
  do {
    n = ::poll(&ready, 1, Remaining(deadline));
  } while (n < 0 && errno == EINTR);
  return n > 0;
}

// A connected non-blocking socket, or -1 with `error`.
int Connect(const addrinfo* address, Clock::time_point deadline, std::string& error) {
  const int fd = ::socket(address->ai_family, address->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC,
                          address->ai_protocol);
  if (fd < 0) return (error = std::strerror(errno)), -1;
  if (::connect(fd, address->ai_addr, address->ai_addrlen) != 0 && errno != EINPROGRESS) {
    error = std::strerror(errno);
    ::close(fd);
    return -1;
  }
  int failure = 0;
  socklen_t size = sizeof failure;
  if (!Wait(fd, POLLOUT, deadline)) {
    failure = ETIMEDOUT;
  } else if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &failure, &size) != 0) {
    failure = errno;
  }
  if (failure != 0) {
    error = std::strerror(failure);
    ::close(fd);
    return -1;
  }
  return fd;
}

}  // namespace

Forwarder::Forwarder(std::string target, std::chrono::milliseconds timeout)
    : target_(std::move(target)), timeout_(timeout) {
  const size_t colon = target_.rfind(':');
  host_ = target_.substr(0, colon);
  port_ = target_.substr(colon + 1);
  if (host_.size() > 2 && host_.front() == '[' && host_.back() == ']')
    host_ = host_.substr(1, host_.size() - 2);
}

std::string Forwarder::Send(const std::vector<char>& bytes) const {
  const Clock::time_point deadline = Clock::now() + timeout_;
  addrinfo hints{};
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  if (const int status = ::getaddrinfo(host_.c_str(), port_.c_str(), &hints, &found); status != 0)
    return ::gai_strerror(status);
  std::string error = "no address";
  int fd = -1;
  for (const addrinfo* a = found; a != nullptr && fd < 0; a = a->ai_next)
    fd = Connect(a, deadline, error);
  ::freeaddrinfo(found);
  if (fd < 0) return error;

  size_t sent = 0;
  while (sent < bytes.size()) {
    const ssize_t n = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (n > 0) {
      sent += static_cast<size_t>(n);
    } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) {
      if (!Wait(fd, POLLOUT, deadline)) {
        error = "timed out after " + std::to_string(sent) + " of " + std::to_string(bytes.size()) +
                " bytes";
        break;
      }
    } else {
      error = std::strerror(errno);
      break;
    }
  }
  // The printer may have answered: read that, so the close ends the
  // connection cleanly instead of resetting it.
  ::shutdown(fd, SHUT_WR);
  char drain[4096];
  while (::recv(fd, drain, sizeof drain, 0) > 0) {
  }
  ::close(fd);
  return sent == bytes.size() ? "" : error;
}

}  // namespace host
