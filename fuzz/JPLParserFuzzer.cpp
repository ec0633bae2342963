// Feeds arbitrary bytes to JPL parsers made by one factory, so the shared
// keyword table carries barcode density and ratio from input to input as it
// does from job to job. Every record must come out with the parameters its
// kind promises the session, and every job must end by printing.

#include <cstddef>
#include <cstdint>

#include "fuzz/FuzzSupport.h"
#include "intake/Languages.h"
#include "parsers/ParserFactory.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static CParserFactory factory;
  fuzz::TrimLogs(fuzz::UseTempStore("jpl-fuzz-store"), 4096);
  std::unique_ptr<CLanguageParserBase> parser = factory.GetParser(LANGUAGE_JPL);
  constexpr int kDpis[] = {203, 300, 600};
  parser->SetParserDPI(kDpis[size % 3]);
  CommandList out;
  parser->ParseData(reinterpret_cast<const char*>(data), static_cast<int32_t>(size), out);
  fuzz::CheckRecords(out);
  // Every job ends by printing the label it opened.
  if (out.empty() || out.front().kind != START_LABEL || out.back().kind != PRINT_LABEL) {
    __builtin_trap();
  }
  return 0;
}
