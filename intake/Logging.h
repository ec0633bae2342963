#pragma once
// One error-log file on the storage card ("\SD\Store\Logging\<name>"). Each
// parser and the session own one. Every Write appends one time-stamped line
// ("[MM/DD/YYYY, hh:mm:ss] message\r\n", UTF-8). The file stays open for
// appending between lines; it is found and opened again when it was removed
// (the card formatted) or the store root changed. A folder or file that
// cannot be made costs only the line; callers are never told, but the
// thread's log observer, if any, is.
//
// Lines are whole: each is appended in one write (under a lock that every
// writer of the file, in any process, takes for its line), a line the disk
// had no room for is taken back, and a file left ending inside a line (by a
// crash, or a writer that could not take its line back) gets a line break
// before the next line, so that no two lines are ever glued together.
// What a log may take, and how many lines of one job, is in LogLimits.h.

#include <sys/stat.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>

class CLogging {
 public:
  // Makes sure the card and its Logging folder exist and creates the file
  // (never truncating it).
  explicit CLogging(const std::wstring& fileName);
  // A logger without a file: writes do nothing.
  CLogging();
  virtual ~CLogging();

  CLogging(const CLogging&) = delete;
  CLogging& operator=(const CLogging&) = delete;

  void Write(std::wstring message);

  // The card path of the file ("" for a logger without a file).
  const std::wstring& Path() const { return path_; }

 private:
  int AppendLine(const std::string& line);
  int Open();  // (again): 0 or the errno
  void Close();
  bool StillNamed(const struct stat& held) const;
  void MoveAside();

  std::wstring path_;
  std::wstring fileName_;
  bool hasFile_ = false;
  std::mutex mutex_;  // guards the descriptor
  int fd_ = -1;
  std::filesystem::path host_;   // where fd_ was opened
  uint64_t rootGeneration_ = 0;  // of the store root fd_ was opened in
};

// Formats one log line (prefix, message, CR LF) with the current local time.
std::wstring FormatLogLine(const std::wstring& message);

// The card folder that holds every error log.
inline constexpr wchar_t kLoggingFolder[] = L"\\SD\\Store\\Logging";
// The session's log, which intake writes to as well (a discarded job).
inline constexpr wchar_t kSessionLogName[] = L"SESSIONMANAGER_ERROR_LOG.TXT";

// What became of one line a logger was asked to write.
struct LogWrite {
  std::wstring fileName;  // e.g. L"ZPL_ERROR_LOG.TXT"
  std::wstring message;   // as given to Write
  std::string line;       // as written: UTF-8, without its line end
  int error = 0;          // 0 when the line was written whole, else the errno
};

// Hears about every line the loggers of the calling thread write, or fail to:
// the host runs each job on one thread and reports the lines that job wrote,
// whatever other threads or processes add to the same files. Returns the
// observer it replaces; an empty function observes nothing.
using LogObserver = std::function<void(const LogWrite&)>;
LogObserver SetThreadLogObserver(LogObserver observer);
