#include "intake/Logging.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cwchar>

#include "intake/LogLimits.h"
#include "platform/Clock.h"
#include "platform/StorageCard.h"
#include "platform/Text.h"

namespace {

thread_local LogObserver threadObserver;

// True when the file (of `size` bytes) is empty or its last byte ends a line.
bool EndsWithLineEnd(int fd, off_t size) {
  if (size == 0) return true;
  char last = 0;
  return ::pread(fd, &last, 1, size - 1) != 1 || last == '\n';
}

// Appends `bytes` in one write. On a short write (a full disk, a file size
// limit) the part that did get written is cut off again, unless another
// writer has appended since. Returns 0 or the errno.
int AppendWhole(int fd, const std::string& bytes) {
  const ssize_t wrote = ::write(fd, bytes.data(), bytes.size());
  if (wrote == static_cast<ssize_t>(bytes.size())) return 0;
  int error = errno;
  if (wrote >= 0) {
    // Ask again for the rest, only to learn why it does not fit.
    const ssize_t rest =
        ::write(fd, bytes.data() + wrote, bytes.size() - static_cast<size_t>(wrote));
    error = rest < 0 ? errno : ENOSPC;
    const off_t end = ::lseek(fd, 0, SEEK_CUR);
    struct stat info {};
    const off_t ours = wrote + (rest > 0 ? rest : 0);
    if (end >= ours && ::fstat(fd, &info) == 0 && info.st_size == end) {
      if (::ftruncate(fd, end - ours) != 0) error = errno;
    }
  }
  return error == 0 ? EIO : error;
}

// Opens the log for appending, without blocking on something that is no
// regular file (a FIFO put in its place), and keeps it only when it is one.
// Returns the descriptor or minus the errno.
int OpenLog(const std::filesystem::path& host) {
  const int fd = ::open(host.c_str(), O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0644);
  if (fd < 0) return -errno;
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    return -EINVAL;
  }
  return fd;
}

// Holds an exclusive lock on the whole file while it lives.
class FileLock {
 public:
  explicit FileLock(int fd) : fd_(fd) {
    while (::flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
    }
  }
  ~FileLock() { ::flock(fd_, LOCK_UN); }
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

 private:
  int fd_;
};

}  // namespace

CLogging::CLogging() = default;

CLogging::CLogging(const std::wstring& fileName) : fileName_(fileName) {
  platform::EnsureCardFolder(platform::kCardRoot);
  platform::EnsureCardFolder(kLoggingFolder);
  path_ = std::wstring(kLoggingFolder) + L"\\" + fileName;
  hasFile_ = true;
  Open();  // creates the file now, never truncating it
}

CLogging::~CLogging() { Close(); }

int CLogging::Open() {
  Close();
  auto host = platform::CardPathToHost(path_);
  if (!host) return EACCES;  // the path leaves the card
  // The card may have been removed or formatted since the logger was made.
  std::error_code ec;
  std::filesystem::create_directories(host->parent_path(), ec);
  rootGeneration_ = platform::StoreRootGeneration();
  const int fd = OpenLog(*host);
  if (fd < 0) return -fd;
  fd_ = fd;
  host_ = *host;
  return 0;
}

// True when the log's name still leads to the file fd_ holds: another
// writer may have moved it aside (or the card been formatted) since.
bool CLogging::StillNamed(const struct stat& held) const {
  struct stat named {};
  return held.st_nlink > 0 && ::stat(host_.c_str(), &named) == 0 && named.st_dev == held.st_dev &&
         named.st_ino == held.st_ino;
}

// Moves the full log aside as its previous generation, replacing the older
// one; the caller holds the file's lock, so no writer appends meanwhile.
void CLogging::MoveAside() {
  std::filesystem::path previous = host_;
  previous.replace_filename(platform::WideToUtf8(PreviousLogName(fileName_)));
  std::error_code ec;
  std::filesystem::rename(host_, previous, ec);
}

void CLogging::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

// Other writers (threads with their own loggers, other processes) append to
// the same log. The look at the file's end, the append and taking a short
// line back are one step under an exclusive lock: a writer that looked while
// another's line was only partly in the file (a line crossing a page boundary
// shows up page by page) would add a line break of its own, which then stood
// as an empty line.
//
// A log that the line would take past its size is moved aside first, under
// the same lock; a writer that waited for that lock then finds the name
// leading to another file and opens it again.
int CLogging::AppendLine(const std::string& line) {
  std::lock_guard<std::mutex> guard(mutex_);
  const int64_t most = CurrentLogLimits().bytesPerLog;
  for (int attempt = 0; attempt < 3; ++attempt) {
    if (fd_ < 0 || rootGeneration_ != platform::StoreRootGeneration() || attempt > 0) {
      if (const int error = Open(); error != 0) return error;
    }
    FileLock lock(fd_);
    struct stat info {};
    if (::fstat(fd_, &info) != 0) return errno;
    if (!StillNamed(info) && attempt < 2) continue;  // moved or removed since: opened again
    if (most > 0 && info.st_size > 0 && info.st_size + static_cast<int64_t>(line.size()) > most &&
        attempt < 2) {
      MoveAside();
      continue;
    }
    return AppendWhole(fd_, EndsWithLineEnd(fd_, info.st_size) ? line : "\r\n" + line);
  }
  return ENOENT;
}

std::wstring FormatLogLine(const std::wstring& message) {
  platform::LocalTime t = platform::Now();
  wchar_t prefix[64];
  std::swprintf(prefix, sizeof(prefix) / sizeof(prefix[0]), L"[%02i/%02i/%4i, %02i:%02i:%02i] ",
                t.month, t.day, t.year, t.hour, t.minute, t.second);
  return prefix + message + L"\r\n";
}

void CLogging::Write(std::wstring message) {
  if (!hasFile_ || !JobLogScope::Admit(fileName_)) return;
  const std::string line = platform::WideToUtf8(FormatLogLine(message));
  const int error = AppendLine(line);
  if (!threadObserver) return;
  threadObserver(LogWrite{fileName_, std::move(message), line.substr(0, line.size() - 2), error});
}

LogObserver SetThreadLogObserver(LogObserver observer) {
  LogObserver previous = std::move(threadObserver);
  threadObserver = std::move(observer);
  return previous;
}
