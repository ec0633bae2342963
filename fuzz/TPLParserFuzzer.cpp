// Feeds arbitrary bytes to TPL parsers made by one factory, so the shared
// TPLData carries label-level values from input to input as it does from job
// to job on the printer. Every record must come out with the parameters its
// kind promises the session.

#include <cstddef>
#include <cstdint>

#include "fuzz/FuzzSupport.h"
#include "intake/Languages.h"
#include "parsers/ParserFactory.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static CParserFactory factory;
  fuzz::TrimLogs(fuzz::UseTempStore("tpl-fuzz-store"), 4096);
  std::unique_ptr<CLanguageParserBase> parser = factory.GetParser(LANGUAGE_TPL);
  constexpr int kDpis[] = {203, 300, 600};
  parser->SetParserDPI(kDpis[size % 3]);
  CommandList out;
  parser->ParseData(reinterpret_cast<const char*>(data), static_cast<int32_t>(size), out);
  fuzz::CheckRecords(out);
  return 0;
}
