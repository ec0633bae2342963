#include "host/render/FileWatcher.h"

#include <poll.h>
#include <signal.h>
#include <sys/inotify.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace host {
namespace {

// How long the folders must stay quiet before a save is handed on.
constexpr int kQuietMs = 150;

constexpr uint32_t kSaveEvents = IN_CLOSE_WRITE | IN_MOVED_TO;

std::string FolderOf(const std::string& file) {
  const std::filesystem::path parent = std::filesystem::path(file).parent_path();
  return parent.empty() ? "." : parent.string();
}

}  // namespace

FileWatcher::FileWatcher() {
  sigset_t stop;
  sigemptyset(&stop);
  sigaddset(&stop, SIGINT);
  sigaddset(&stop, SIGTERM);
  if (pthread_sigmask(SIG_BLOCK, &stop, nullptr) != 0 ||
      (signals_ = ::signalfd(-1, &stop, SFD_CLOEXEC)) < 0) {
    setupError_ = std::string("cannot wait for signals: ") + std::strerror(errno);
    return;
  }
  inotify_ = ::inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
  if (inotify_ < 0) setupError_ = std::string("cannot watch files: ") + std::strerror(errno);
}

FileWatcher::~FileWatcher() {
  if (inotify_ >= 0) ::close(inotify_);
  if (signals_ >= 0) ::close(signals_);
}

bool FileWatcher::ok(std::string& error) const {
  error = setupError_;
  return setupError_.empty();
}

bool FileWatcher::Add(const std::string& file, std::string& error) {
  const std::string folder = FolderOf(file);
  const int watch = ::inotify_add_watch(inotify_, folder.c_str(), kSaveEvents | IN_ONLYDIR);
  if (watch < 0) {
    error = "cannot watch '" + folder + "': " + std::strerror(errno);
    return false;
  }
  folders_[watch] = folder;
  files_.push_back({{watch, std::filesystem::path(file).filename().string()}, file});
  saved_.push_back(false);
  return true;
}

// 1: inotify has events, 0: timed out, -1: a stop signal (or poll failed).
int FileWatcher::WaitReadable(int timeoutMs) const {
  pollfd fds[2] = {{inotify_, POLLIN, 0}, {signals_, POLLIN, 0}};
  for (;;) {
    const int n = ::poll(fds, 2, timeoutMs);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 || (fds[1].revents & POLLIN)) return -1;
    return n == 0 ? 0 : 1;
  }
}

bool FileWatcher::Drain(std::string& error) {
  alignas(inotify_event) char buffer[16 * 1024];
  for (;;) {
    const ssize_t got = ::read(inotify_, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;  // EAGAIN: drained
    for (size_t at = 0; at + sizeof(inotify_event) <= static_cast<size_t>(got);) {
      const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
      const size_t size = sizeof(inotify_event) + event->len;
      if (at + size > static_cast<size_t>(got)) break;
      at += size;
      if (event->mask & IN_Q_OVERFLOW) {  // events were lost: take every file as saved
        saved_.assign(saved_.size(), true);
        continue;
      }
      if (event->mask & IN_IGNORED) {
        folders_.erase(event->wd);
        continue;
      }
      const std::string name =
          event->len > 0 ? std::string(event->name, strnlen(event->name, event->len)) : "";
      for (size_t i = 0; i < files_.size(); ++i) {
        if (files_[i].first.first == event->wd && files_[i].first.second == name) saved_[i] = true;
      }
    }
  }
  if (folders_.empty()) {
    error = "no folder left to watch";
    return false;
  }
  return true;
}

std::vector<std::string> FileWatcher::Wait(std::string& error) {
  error.clear();
  for (;;) {
    if (WaitReadable(-1) < 0 || !Drain(error)) return {};
    // Gather the rest of this save (and any others made meanwhile).
    for (int ready; (ready = WaitReadable(kQuietMs)) != 0;) {
      if (ready < 0 || !Drain(error)) return {};
    }
    std::vector<std::string> saved;
    for (size_t i = 0; i < files_.size(); ++i) {
      if (saved_[i]) saved.push_back(files_[i].second);
    }
    saved_.assign(saved_.size(), false);
    if (!saved.empty()) return saved;
  }
}

}  // namespace host
