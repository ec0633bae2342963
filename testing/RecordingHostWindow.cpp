#include "testing/RecordingHostWindow.h"

#include <optional>

#include "platform/ScriptingData.h"

namespace {

// `field` of every notification kept (only those with `code`, when given).
template <typename T>
std::vector<T> Collect(std::mutex& mutex, const std::vector<platform::Notification>& posted,
                       T platform::Notification::*field, std::optional<int32_t> code = {}) {
  std::lock_guard<std::mutex> lock(mutex);
  std::vector<T> values;
  for (const auto& n : posted) {
    if (!code || n.code == *code) values.push_back(n.*field);
  }
  return values;
}

}  // namespace

void RecordingHostWindow::Post(platform::Notification notification) {
  if (onPost) onPost(notification);
  std::lock_guard<std::mutex> lock(mutex_);
  posted_.push_back(std::move(notification));
}

std::vector<int32_t> RecordingHostWindow::Codes() const {
  return Collect(mutex_, posted_, &platform::Notification::code);
}

std::vector<int64_t> RecordingHostWindow::ValuesOf(int32_t code) const {
  return Collect(mutex_, posted_, &platform::Notification::value, code);
}

std::vector<uint32_t> RecordingHostWindow::MessageIds() const {
  return Collect(mutex_, posted_, &platform::Notification::messageId);
}

size_t RecordingHostWindow::Size() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return posted_.size();
}

void RecordingHostWindow::Clear() {
  std::lock_guard<std::mutex> lock(mutex_);
  posted_.clear();
}
