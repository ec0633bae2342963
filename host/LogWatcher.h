#pragma once
// Finds the lines a job added to the store's error logs. The engine only ever
// appends to the files in <store>/Logging, so the watcher remembers each
// file's size before a job and reads what lies beyond it afterwards. A file
// that shrank (replaced by hand) is read from its start. One watcher per
// store; the job runner calls Mark before and Collect after every job.

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "host/Report.h"

namespace host {

class LogWatcher {
 public:
  explicit LogWatcher(std::filesystem::path loggingFolder);

  // Remembers where every log file ends now.
  void Mark();
  // The complete lines appended since the last Mark, file by file in name
  // order, without line ends. Marks again.
  std::vector<LogLine> Collect();

 private:
  std::map<std::string, uintmax_t> Sizes() const;

  std::filesystem::path folder_;
  std::map<std::string, uintmax_t> marks_;
};

}  // namespace host
