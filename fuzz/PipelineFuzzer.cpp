// The whole road of a job: arbitrary bytes go to intake in chunks whose sizes
// come from the input, every posted job runs through the session, and every
// print is rendered by Vellum. Whatever arrives on a port must leave all of
// them running.

#include <cstddef>
#include <cstdint>
#include <memory>

#include "fuzz/FuzzSupport.h"
#include "intake/ProcessScriptLanguageData.h"
#include "session/SessionManager.h"
#include "vellum/VellumEngine.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::TrimLogs(fuzz::UseTempStore("pipeline-fuzz-store"), 1024);
  if (size < 2) return 0;

  vellum::VellumSettings settings;
  settings.dpi = 72;  // smallest rasters: the point is robustness, not looks
  vellum::VellumEngine engine(settings);
  CSessionManager session(&engine);
  platform::NotificationQueue window;
  CProcessScriptLanguageData intake(&window, 1);
  intake.SetHeldDataLimit(1 << 16);

  const size_t chunk = 1 + data[0] * 8;
  for (size_t at = 1; at < size; at += chunk) {
    const size_t n = std::min(chunk, size - at);
    intake.ProcessIncomingData(reinterpret_cast<const char*>(data + at), static_cast<int32_t>(n));
    while (auto posted = window.TryTake()) {
      if (posted->job) session.ProcessData(std::move(posted->job));
    }
  }
  return 0;
}
