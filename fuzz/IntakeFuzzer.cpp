// Feeds arbitrary bytes to intake in chunks whose sizes come from the input
// itself, with a small held-data limit so the discard path is exercised too.

#include <cstddef>
#include <cstdint>
#include <filesystem>

#include "intake/ProcessScriptLanguageData.h"
#include "platform/StorageCard.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool once = [] {
    platform::SetStoreRoot(std::filesystem::temp_directory_path() / "intake-fuzz-store");
    return true;
  }();
  (void)once;
  if (size == 0) return 0;
  platform::NotificationQueue window;
  CProcessScriptLanguageData intake(&window, 7);
  intake.SetHeldDataLimit(4096);
  size_t chunk = 1 + data[0] % 64;
  for (size_t at = 1; at < size; at += chunk) {
    size_t n = std::min(chunk, size - at);
    intake.ProcessIncomingData(reinterpret_cast<const char*>(data + at), static_cast<int32_t>(n));
    while (auto posted = window.TryTake()) {
      if (posted->job && posted->job->length() > 4096) __builtin_trap();
    }
  }
  return 0;
}
