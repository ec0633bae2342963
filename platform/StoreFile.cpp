#include "platform/StoreFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdint>

namespace platform {
namespace {

thread_local StoreWriteObserver threadObserver;

// A descriptor closed when it goes out of scope.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }
  // Closes now, reporting what close says (a deferred write error).
  int Close() {
    const int result = ::close(fd_);
    fd_ = -1;
    return result;
  }

 private:
  int fd_;
};

// Opens `file` for reading without blocking (a FIFO with no writer would
// block in open) and keeps the descriptor only when it is a regular file;
// reads then block as usual. `size` receives its size.
int OpenRegular(const std::filesystem::path& file, off_t& size) {
  const int fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return -1;
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) ||
      ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
    ::close(fd);
    return -1;
  }
  size = info.st_size;
  return fd;
}

// Reads up to `count` bytes from the start; nothing on a read error.
std::optional<std::string> ReadUpTo(int fd, size_t count) {
  std::string bytes(count, '\0');
  size_t got = 0;
  while (got < count) {
    const ssize_t n = ::read(fd, bytes.data() + got, count - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return std::nullopt;
    if (n == 0) break;
    got += static_cast<size_t>(n);
  }
  bytes.resize(got);
  return bytes;
}

int WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return errno;
    if (n == 0) return ENOSPC;
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return 0;
}

// A name no other writer (thread or process) uses at the same time.
std::filesystem::path TemporaryBeside(const std::filesystem::path& target) {
  static std::atomic<unsigned> counter{0};
  std::filesystem::path part = target;
  part += ".part" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
  return part;
}

// Writes beside the target, checks the size written, renames: 0 or the errno.
int WriteWhole(const std::filesystem::path& target, std::string_view bytes) {
  const std::filesystem::path part = TemporaryBeside(target);
  FileDescriptor fd(::open(part.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644));
  if (fd.get() < 0) return errno;
  int error = WriteAll(fd.get(), bytes);
  struct stat info {};
  if (error == 0 && ::fstat(fd.get(), &info) != 0) error = errno;
  if (error == 0 && static_cast<uint64_t>(info.st_size) != bytes.size()) error = EIO;
  if (fd.Close() != 0 && error == 0) error = errno;
  if (error == 0 && ::rename(part.c_str(), target.c_str()) != 0) error = errno;
  if (error != 0) ::unlink(part.c_str());
  return error;
}

}  // namespace

bool IsRegularStoreFile(const std::filesystem::path& file) {
  off_t size = 0;
  FileDescriptor fd(OpenRegular(file, size));
  return fd.get() >= 0;
}

std::optional<std::string> ReadStoreFile(const std::filesystem::path& file, size_t mostBytes) {
  off_t size = 0;
  FileDescriptor fd(OpenRegular(file, size));
  if (fd.get() < 0 || static_cast<uint64_t>(size) > mostBytes) return std::nullopt;
  // One byte more than the size tells a file that grew past the limit.
  auto bytes = ReadUpTo(fd.get(), std::min(mostBytes, static_cast<size_t>(size)) + 1);
  if (!bytes || bytes->size() > mostBytes) return std::nullopt;
  return bytes;
}

std::optional<std::string> ReadStoreFileHead(const std::filesystem::path& file, size_t count) {
  off_t size = 0;
  FileDescriptor fd(OpenRegular(file, size));
  if (fd.get() < 0) return std::nullopt;
  return ReadUpTo(fd.get(), count);
}

StoreWriteObserver SetThreadStoreWriteObserver(StoreWriteObserver observer) {
  StoreWriteObserver previous = std::move(threadObserver);
  threadObserver = std::move(observer);
  return previous;
}

int WriteStoreFileWhole(const std::filesystem::path& target, std::string_view bytes) {
  const int error = WriteWhole(target, bytes);
  if (error != 0 && threadObserver) threadObserver(target, error);
  return error;
}

}  // namespace platform
