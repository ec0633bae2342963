#pragma once
// How much the store's error logs may take, and the count of the lines one
// job writes. A job may write at most `linesPerJob` lines into any one log;
// the lines past that are counted, and when the job ends the log gets one
// line saying how many were left out. A log that a line would take past
// `bytesPerLog` is first moved aside as its one previous generation
// (ZPL_ERROR_LOG.TXT becomes ZPL_ERROR_LOG.1.TXT, replacing the older one),
// so a printer's logs never hold more than twice that each. 0 lifts a
// limit. Like the store root, the limits are one setting of the process:
// the host sets them before its first job.
//
// CSessionManager holds a JobLogScope around each job it runs; CLogging asks
// the thread's scope before each line. Lines written outside any scope (a
// parser driven directly, intake's own lines) are never capped.

#include <cstdint>
#include <string>
#include <vector>

struct LogLimits {
  int64_t linesPerJob = 1000;
  int64_t bytesPerLog = int64_t{16} << 20;
};

void SetLogLimits(const LogLimits& limits);
LogLimits CurrentLogLimits();

// The name the previous generation of a log takes: "X.1.TXT" for "X.TXT".
std::wstring PreviousLogName(const std::wstring& fileName);

// One job's count of lines per log, on the thread that makes it; scopes
// nest (the innermost counts). Not copyable, and must end on its thread.
class JobLogScope {
 public:
  JobLogScope();
  // Writes the closing line of each log the job wrote too many lines to.
  ~JobLogScope();
  JobLogScope(const JobLogScope&) = delete;
  JobLogScope& operator=(const JobLogScope&) = delete;

  // Counts one line for `fileName` in the calling thread's scope: false when
  // the job has already written its share to that log, and the line must be
  // left out. True on a thread without a scope.
  static bool Admit(const std::wstring& fileName);

  // The closing line of a log that left out `count` lines of a job.
  static std::wstring LeftOutMessage(int64_t count, int64_t cap);

 private:
  struct PerLog {
    std::wstring fileName;
    int64_t written = 0;
    int64_t leftOut = 0;
  };

  JobLogScope* outer_;
  int64_t cap_;
  std::vector<PerLog> logs_;  // a job writes to one or two logs
};
