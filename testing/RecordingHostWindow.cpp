#include "testing/RecordingHostWindow.h"

#include "intake/ScriptingData.h"

void RecordingHostWindow::Post(platform::Notification notification) {
  std::lock_guard<std::mutex> lock(mutex_);
  posted_.push_back(std::move(notification));
}

std::vector<int32_t> RecordingHostWindow::Codes() const {
  std::lock_guard<std::mutex> lock(mutex_);
  std::vector<int32_t> codes;
  for (const auto& n : posted_) codes.push_back(n.code);
  return codes;
}

std::vector<int64_t> RecordingHostWindow::ValuesOf(int32_t code) const {
  std::lock_guard<std::mutex> lock(mutex_);
  std::vector<int64_t> values;
  for (const auto& n : posted_) {
    if (n.code == code) values.push_back(n.value);
  }
  return values;
}

std::vector<uint32_t> RecordingHostWindow::MessageIds() const {
  std::lock_guard<std::mutex> lock(mutex_);
  std::vector<uint32_t> ids;
  for (const auto& n : posted_) ids.push_back(n.messageId);
  return ids;
}

size_t RecordingHostWindow::Size() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return posted_.size();
}

void RecordingHostWindow::Clear() {
  std::lock_guard<std::mutex> lock(mutex_);
  posted_.clear();
}
