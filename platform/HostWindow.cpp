#include "platform/HostWindow.h"

#include "platform/ScriptingData.h"

namespace platform {

Notification::Notification() = default;
Notification::Notification(uint32_t messageId, int32_t code, int64_t value,
                           std::unique_ptr<ScriptingData> job)
    : messageId(messageId), code(code), value(value), job(std::move(job)) {}
Notification::Notification(Notification&&) noexcept = default;
Notification& Notification::operator=(Notification&&) noexcept = default;
Notification::~Notification() = default;

void NotificationQueue::Post(Notification notification) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    queue_.push_back(std::move(notification));
  }
  ready_.notify_one();
}

std::optional<Notification> NotificationQueue::TryTake() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (queue_.empty()) return std::nullopt;
  Notification n = std::move(queue_.front());
  queue_.pop_front();
  return n;
}

std::optional<Notification> NotificationQueue::Take(std::chrono::milliseconds timeout) {
  std::unique_lock<std::mutex> lock(mutex_);
  if (!ready_.wait_for(lock, timeout, [this] { return !queue_.empty(); })) return std::nullopt;
  Notification n = std::move(queue_.front());
  queue_.pop_front();
  return n;
}

size_t NotificationQueue::Size() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return queue_.size();
}

}  // namespace platform
