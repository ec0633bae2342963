// Feeds arbitrary bytes to DPL parsers made by one factory, so the shared
// TPLData carries label length, speed, density and copies from input to input
// as it does from job to job on the printer. Every record must come out with
// the positions its kind promises the session, a polygon with all its points.

#include <cstddef>
#include <cstdint>

#include "fuzz/FuzzSupport.h"
#include "intake/Languages.h"
#include "parsers/ParserFactory.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static CParserFactory factory;
  fuzz::TrimLogs(fuzz::UseTempStore("dpl-fuzz-store"), 4096);
  std::unique_ptr<CLanguageParserBase> parser = factory.GetParser(LANGUAGE_DPL);
  constexpr int kDpis[] = {203, 300, 600};
  parser->SetParserDPI(kDpis[size % 3]);
  CommandList out;
  parser->ParseData(reinterpret_cast<const char*>(data), static_cast<int32_t>(size), out);
  fuzz::CheckRecords(out);
  return 0;
}
