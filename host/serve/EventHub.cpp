#include "host/serve/EventHub.h"

namespace host {

void EventHub::Publish(std::string event) {
  std::lock_guard<std::mutex> lock(mutex_);
  events_.emplace_back(++last_, std::move(event));
  while (events_.size() > kept_) events_.pop_front();
  changed_.notify_all();
}

std::vector<std::pair<uint64_t, std::string>> EventHub::After(uint64_t after,
                                                              std::chrono::milliseconds wait) {
  std::unique_lock<std::mutex> lock(mutex_);
  changed_.wait_for(lock, wait, [&] { return closed_ || last_ > after; });
  std::vector<std::pair<uint64_t, std::string>> out;
  if (closed_) return out;
  for (const auto& event : events_) {
    if (event.first > after) out.push_back(event);
  }
  return out;
}

void EventHub::Close() {
  std::lock_guard<std::mutex> lock(mutex_);
  closed_ = true;
  changed_.notify_all();
}

bool EventHub::closed() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return closed_;
}

}  // namespace host
