#include "host/serve/EventHub.h"

namespace host {

void EventHub::Publish(std::string event) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    events_.emplace_back(++last_, std::move(event));
    while (events_.size() > kept_) events_.pop_front();
  }
  Wake();
}

std::vector<std::pair<uint64_t, std::string>> EventHub::Since(uint64_t after) const {
  std::lock_guard<std::mutex> lock(mutex_);
  std::vector<std::pair<uint64_t, std::string>> out;
  for (const auto& event : events_) {
    if (event.first > after) out.push_back(event);
  }
  return out;
}

uint64_t EventHub::Listen(std::function<void()> wake) {
  std::lock_guard<std::mutex> lock(mutex_);
  listeners_[++lastListener_] = std::move(wake);
  return lastListener_;
}

void EventHub::Unlisten(uint64_t listener) {
  std::lock_guard<std::mutex> lock(mutex_);
  listeners_.erase(listener);
}

void EventHub::Wake() {
  std::vector<std::function<void()>> wake;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    for (const auto& [id, listener] : listeners_) wake.push_back(listener);
  }
  for (const auto& listener : wake) listener();
}

void EventHub::Close() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    closed_ = true;
  }
  Wake();
}

bool EventHub::closed() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return closed_;
}

}  // namespace host
