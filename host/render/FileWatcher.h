#pragma once
// Tells labelhost watch when files are saved. Editors save in different ways
// (writing the file in place, or writing a new file and renaming it over the
// old one), so the folders holding the files are watched, not the files
// themselves: a file closed after writing, or moved in, under a watched name
// counts as saved. Changes are gathered until the folders have been quiet for
// a moment, so one save gives one change. Stops when SIGINT or SIGTERM
// arrives.
//
// Uses inotify. The constructor blocks SIGINT and SIGTERM for the calling
// thread (and the threads it starts afterwards) so they can be waited for;
// make the watcher before any thread is started. Not thread-safe.

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace host {

class FileWatcher {
 public:
  FileWatcher();
  ~FileWatcher();
  FileWatcher(const FileWatcher&) = delete;
  FileWatcher& operator=(const FileWatcher&) = delete;

  // False, with `error` set, when the watcher could not be made.
  bool ok(std::string& error) const;

  // Watches `file` (its folder must exist). False, with `error` set, when the
  // folder cannot be watched.
  bool Add(const std::string& file, std::string& error);

  // Waits for saves. Returns the watched files saved since the last call, in
  // the order they were added, or nothing when told to stop (a signal, or
  // every folder gone; `error` says which went wrong, if anything did).
  std::vector<std::string> Wait(std::string& error);

 private:
  // Reads the events waiting; marks saved files. False when nothing is left to watch.
  bool Drain(std::string& error);
  int WaitReadable(int timeoutMs) const;

  int inotify_ = -1;
  int signals_ = -1;
  std::string setupError_;
  std::map<int, std::string> folders_;  // watch descriptor -> folder
  // (folder watch, file name) of each watched file, in order, and whether it was saved.
  std::vector<std::pair<std::pair<int, std::string>, std::string>> files_;
  std::vector<bool> saved_;
};

}  // namespace host
