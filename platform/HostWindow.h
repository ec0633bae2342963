#pragma once
// The host's window as the engine sees it: something notifications are posted
// to. Posting never blocks and never calls back into the engine; the host
// drains the queue on its own thread. A job (NOTIFY_SCRIPTING_DATA) travels as
// an owning pointer, so it is freed whether or not anybody takes it.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>

struct ScriptingData;

namespace platform {

struct Notification {
  Notification();
  Notification(uint32_t messageId, int32_t code, int64_t value,
               std::unique_ptr<ScriptingData> job = nullptr);
  Notification(Notification&&) noexcept;
  Notification& operator=(Notification&&) noexcept;
  ~Notification();

  uint32_t messageId = 0;
  int32_t code = 0;
  int64_t value = 0;
  std::unique_ptr<ScriptingData> job;  // only with NOTIFY_SCRIPTING_DATA
};

// Where notifications go. Implementations must not block and must not call
// back into the engine from Post.
class HostWindow {
 public:
  virtual ~HostWindow() = default;
  virtual void Post(Notification notification) = 0;
};

// A thread-safe queue of posted notifications: the window the host (and the
// tests) hand to the engine. Post from any thread; take on the host's thread.
class NotificationQueue : public HostWindow {
 public:
  void Post(Notification notification) override;

  // The oldest notification, if any, without waiting.
  std::optional<Notification> TryTake();
  // Waits up to `timeout` for a notification.
  std::optional<Notification> Take(std::chrono::milliseconds timeout);
  size_t Size() const;

 private:
  mutable std::mutex mutex_;
  std::condition_variable ready_;
  std::deque<Notification> queue_;
};

}  // namespace platform
