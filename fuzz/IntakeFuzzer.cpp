// Feeds arbitrary bytes to intake in chunks whose sizes come from the input
// itself. A second byte picks the held-data limit (16 bytes to 4 KiB) and how
// often the rest of the input is fed again, so jobs larger than the limit,
// and the discard path they take, turn up under the fuzzer as well. No job
// posted may hold more than the limit.

#include <cstddef>
#include <cstdint>

#include "fuzz/FuzzSupport.h"
#include "intake/ProcessScriptLanguageData.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::TrimLogs(fuzz::UseTempStore("intake-fuzz-store"), 4096);
  if (size < 2) return 0;
  const size_t chunk = 1 + data[0] % 64;
  const size_t limit = size_t{16} << (data[1] % 9);
  const int rounds = 1 + (data[1] >> 4);  // 1 to 16 passes over the bytes
  platform::NotificationQueue window;
  CProcessScriptLanguageData intake(&window, 7);
  intake.SetHeldDataLimit(limit);
  for (int round = 0; round < rounds; ++round) {
    for (size_t at = 2; at < size; at += chunk) {
      const size_t n = std::min(chunk, size - at);
      intake.ProcessIncomingData(reinterpret_cast<const char*>(data + at), static_cast<int32_t>(n));
      if (intake.HeldLength() > limit) __builtin_trap();
      while (auto posted = window.TryTake()) {
        if (posted->job && static_cast<size_t>(posted->job->length()) > limit) __builtin_trap();
      }
    }
  }
  return 0;
}
