#include "intake/LogLimits.h"

#include <atomic>

#include "intake/Logging.h"

namespace {

std::atomic<int64_t> linesPerJob{LogLimits{}.linesPerJob};
std::atomic<int64_t> bytesPerLog{LogLimits{}.bytesPerLog};

thread_local JobLogScope* innermost = nullptr;

}  // namespace

void SetLogLimits(const LogLimits& limits) {
  linesPerJob = limits.linesPerJob;
  bytesPerLog = limits.bytesPerLog;
}

LogLimits CurrentLogLimits() { return LogLimits{linesPerJob, bytesPerLog}; }

std::wstring PreviousLogName(const std::wstring& fileName) {
  const size_t dot = fileName.rfind(L'.');
  if (dot == std::wstring::npos) return fileName + L".1";
  return fileName.substr(0, dot) + L".1" + fileName.substr(dot);
}

JobLogScope::JobLogScope() : outer_(innermost), cap_(linesPerJob) { innermost = this; }

// The closing lines go through ordinary loggers once the scope is no longer
// the thread's, so they are written (and observed) like any other line.
JobLogScope::~JobLogScope() {
  innermost = outer_;
  for (const PerLog& log : logs_) {
    if (log.leftOut == 0) continue;
    CLogging(log.fileName).Write(LeftOutMessage(log.leftOut, cap_));
  }
}

bool JobLogScope::Admit(const std::wstring& fileName) {
  JobLogScope* scope = innermost;
  if (scope == nullptr || scope->cap_ <= 0) return true;
  PerLog* log = nullptr;
  for (PerLog& each : scope->logs_) {
    if (each.fileName == fileName) log = &each;
  }
  if (log == nullptr) log = &scope->logs_.emplace_back(PerLog{fileName});
  if (log->written < scope->cap_) {
    ++log->written;
    return true;
  }
  ++log->leftOut;
  return false;
}

std::wstring JobLogScope::LeftOutMessage(int64_t count, int64_t cap) {
  return std::to_wstring(count) + (count == 1 ? L" more line" : L" more lines") +
         L" of this job not logged (a job logs at most " + std::to_wstring(cap) + L" lines here)";
}
