#pragma once
// The progress line of long runs, on standard error: which file of how many,
// how many jobs and labels so far. Drawn in place (carriage return) on a
// terminal, one line per file otherwise (when asked for with --progress).
// Disabled, every call does nothing. Safe to call from any thread.

#include <cstdio>
#include <mutex>
#include <string>

namespace host {

class Progress {
 public:
  // `out` must outlive the object; `inPlace` redraws one line (a terminal).
  Progress(bool enabled, bool inPlace, size_t sourceCount, std::FILE* out = stderr);
  ~Progress();

  void Source(size_t number, const std::string& name);  // 1-based
  void Job(const std::string& source);
  void Labels(int count);
  // Takes the line off the screen before other output, and puts it back.
  void Clear();
  void Redraw();

 private:
  void Draw(bool newLine);

  std::mutex mutex_;
  bool enabled_;
  bool inPlace_;
  size_t sourceCount_;
  std::FILE* out_;
  size_t source_ = 0;
  std::string name_;
  long jobs_ = 0;
  long labels_ = 0;
  bool shown_ = false;
};

}  // namespace host
