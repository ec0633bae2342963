// Renders a small ZPL job to a PNG in memory through the installed library and
// checks what came out: one label, 4 in by 2 in at 203 dpi. Exits 0 when it
// did, 1 (with a line on standard error) when not.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "intake/ProcessScriptLanguageData.h"
#include "platform/StorageCard.h"
#include "session/SessionManager.h"
#include "vellum/OutputSink.h"
#include "vellum/VellumEngine.h"

namespace {

constexpr char kJob[] =
    "^XA^PW812^LL406\n"
    "^FO40,40^A0N,50,50^FDHello from labelengine^FS\n"
    "^FO40,120^GB732,4,4^FS\n"
    "^FO40,160^BY2^BCN,100,Y,N,N^FD12345678^FS\n"
    "^XZ\n";

// A PNG's width and height, from its header chunk.
bool PngSize(const std::vector<uint8_t>& png, uint32_t& width, uint32_t& height) {
  static const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (png.size() < 24 || !std::equal(kSignature, kSignature + 8, png.begin())) return false;
  auto be32 = [&png](size_t at) {
    return uint32_t{png[at]} << 24 | uint32_t{png[at + 1]} << 16 | uint32_t{png[at + 2]} << 8 |
           uint32_t{png[at + 3]};
  };
  width = be32(16);
  height = be32(20);
  return true;
}

}  // namespace

int main() {
  // Error logs go to the store; keep them out of the working folder.
  platform::SetStoreRoot(std::filesystem::temp_directory_path() / "labelengine-consumer-store");

  vellum::MemorySink sink;
  vellum::VellumSettings settings;
  settings.dpi = 203;
  settings.sink = &sink;
  vellum::VellumEngine engine(settings);
  CSessionManager session(&engine);

  // Intake cuts jobs out of a port's bytes and posts them to a window; the
  // session runs each one.
  platform::NotificationQueue window;
  CProcessScriptLanguageData intake(&window, 1);
  intake.ProcessIncomingData(kJob, static_cast<int32_t>(sizeof kJob - 1));
  while (auto posted = window.TryTake()) {
    if (posted->job) session.ProcessData(std::move(posted->job));
  }

  if (sink.entries().size() != 1) {
    std::fprintf(stderr, "render_zpl: %zu labels printed, expected 1\n", sink.entries().size());
    return 1;
  }
  uint32_t width = 0, height = 0;
  if (!PngSize(sink.entries()[0].png, width, height) || width != 812 || height != 406) {
    std::fprintf(stderr, "render_zpl: PNG of %u x %u dots, expected 812 x 406\n", width, height);
    return 1;
  }
  std::printf("render_zpl: one label, %zu PNG bytes, %u x %u dots\n", sink.entries()[0].png.size(),
              width, height);
  return 0;
}
