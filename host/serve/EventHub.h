#pragma once
// The live page's feed: each printed job becomes one event (a JSON text),
// numbered from 1. The newest events are kept, so a page that opens late
// still shows the recent labels; readers are told of each new one (Listen)
// and take the events after the last one they saw (Since). Close tells them
// for good.
//
// Thread-safe: the print queue publishes, HTTP threads read. A listener is
// called on the publishing thread, outside the hub's lock, and must not block.

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace host {

class EventHub {
 public:
  explicit EventHub(size_t kept = 100) : kept_(kept) {}

  void Publish(std::string event);
  // The kept events numbered above `after`, oldest first.
  std::vector<std::pair<uint64_t, std::string>> Since(uint64_t after) const;
  // `wake` is called after each Publish and at Close, until Unlisten.
  uint64_t Listen(std::function<void()> wake);
  void Unlisten(uint64_t listener);
  void Close();
  bool closed() const;

 private:
  mutable std::mutex mutex_;
  size_t kept_;
  std::deque<std::pair<uint64_t, std::string>> events_;
  uint64_t last_ = 0;
  bool closed_ = false;
  std::map<uint64_t, std::function<void()>> listeners_;
  uint64_t lastListener_ = 0;

  void Wake();
};

}  // namespace host
