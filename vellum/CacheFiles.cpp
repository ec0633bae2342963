#include "vellum/CacheFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

namespace vellum {

std::string CacheLocation(const char* variable, const char* name) {
  if (const char* path = std::getenv(variable)) return path;
  if (const char* cache = std::getenv("XDG_CACHE_HOME"); cache != nullptr && *cache == '/') {
    return std::string(cache) + "/labelhost/" + name;
  }
  if (const char* home = std::getenv("HOME"); home != nullptr && *home == '/') {
    return std::string(home) + "/.cache/labelhost/" + name;
  }
  return "";
}

namespace {

// Reads the whole of `path` into the memory `place(size)` gives for it.
template <typename Place>
bool ReadWhole(const std::string& path, size_t limit, Place place) {
  // Not blocking on open: a FIFO in the file's place would wait for a writer.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return false;
  struct stat info;
  bool ok = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size >= 0 &&
            static_cast<size_t>(info.st_size) <= limit;
  if (ok) {
    const auto size = static_cast<size_t>(info.st_size);
    uint8_t* to = place(size);
    size_t done = 0;
    while (ok && done < size) {
      const ssize_t got = ::read(fd, to + done, size - done);
      ok = got > 0;
      if (ok) done += static_cast<size_t>(got);
    }
  }
  ::close(fd);
  return ok;
}

}  // namespace

template <typename Bytes>
bool ReadCacheFile(const std::string& path, size_t limit, Bytes& out) {
  return ReadWhole(path, limit, [&out](size_t size) {
    out.resize(size);
    return reinterpret_cast<uint8_t*>(out.data());
  });
}

bool ReadCacheFile(const std::string& path, size_t limit, std::unique_ptr<uint8_t[]>& out,
                   size_t& size) {
  return ReadWhole(path, limit, [&out, &size](size_t bytes) {
    // Left uncleared: the file's bytes are written over it.
    out = std::make_unique_for_overwrite<uint8_t[]>(bytes);
    size = bytes;
    return out.get();
  });
}

template bool ReadCacheFile(const std::string&, size_t, std::string&);
template bool ReadCacheFile(const std::string&, size_t, std::vector<uint8_t>&);

}  // namespace vellum
