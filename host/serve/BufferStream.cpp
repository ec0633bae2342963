#include "host/serve/BufferStream.h"

#include <algorithm>
#include <cstring>

namespace host {

ssize_t BufferStream::read(char* ptr, size_t size) {
  size = std::min(size, request_.size() - at_);
  std::memcpy(ptr, request_.data() + at_, size);
  at_ += size;
  return static_cast<ssize_t>(size);
}

ssize_t BufferStream::write(const char* ptr, size_t size) {
  const std::string_view part(ptr, size);
  if (answer_.empty() && part.rfind("HTTP/1.1 100 ", 0) == 0) return static_cast<ssize_t>(size);
  answer_.append(part);
  return static_cast<ssize_t>(size);
}

void BufferStream::get_remote_ip_and_port(std::string& ip, int& port) const {
  ip = remote_.ip;
  port = remote_.port;
}

void BufferStream::get_local_ip_and_port(std::string& ip, int& port) const {
  ip = local_.ip;
  port = local_.port;
}

}  // namespace host
