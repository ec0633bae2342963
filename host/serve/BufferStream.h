#pragma once
// One whole request, already read by the HTTP front, as the HTTP library's
// stream: the library parses it and routes it as if from a socket, and its
// answer is gathered here for the front to write. Reading never blocks, so
// no worker waits on a client. An interim "100 Continue" the library writes
// is dropped: the front has answered that itself while the body arrived.

#include <httplib.h>

#include <string>
#include <string_view>

namespace host {

class BufferStream : public httplib::Stream {
 public:
  struct Peer {
    std::string ip;
    int port = 0;
  };
  BufferStream(std::string_view request, Peer remote, Peer local)
      : request_(request), remote_(std::move(remote)), local_(std::move(local)) {}

  bool is_readable() const override { return at_ < request_.size(); }
  bool is_writable() const override { return true; }
  ssize_t read(char* ptr, size_t size) override;
  ssize_t write(const char* ptr, size_t size) override;
  void get_remote_ip_and_port(std::string& ip, int& port) const override;
  void get_local_ip_and_port(std::string& ip, int& port) const override;
  socket_t socket() const override { return INVALID_SOCKET; }

  // The answer's bytes, head and body.
  std::string& answer() { return answer_; }

 private:
  std::string_view request_;
  size_t at_ = 0;
  Peer remote_, local_;
  std::string answer_;
};

}  // namespace host
