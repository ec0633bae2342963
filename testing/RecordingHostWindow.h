#pragma once
// A host window for tests: keeps every posted notification, in order, and
// lets a test read them back as often as it likes. Posting may come from any
// thread.

#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

#include "platform/HostWindow.h"

class RecordingHostWindow : public platform::HostWindow {
 public:
  void Post(platform::Notification notification) override;

  // The codes posted so far, in order.
  std::vector<int32_t> Codes() const;
  // The values posted with `code`, in order.
  std::vector<int64_t> ValuesOf(int32_t code) const;
  // The message ids of every notification, in order.
  std::vector<uint32_t> MessageIds() const;
  size_t Size() const;
  void Clear();

  // When set, called with each notification as it is posted, so that a test
  // can see what else had happened by then. Set it before posting starts.
  std::function<void(const platform::Notification&)> onPost;

 private:
  mutable std::mutex mutex_;
  std::vector<platform::Notification> posted_;
};
