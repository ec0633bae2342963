// Feeds arbitrary bytes to JPL parsers made by one factory, so the shared
// keyword table carries barcode density and ratio from input to input as it
// does from job to job. Every job must end by printing.
#include <cstddef>
#include <cstdint>

#include "fuzz/FuzzSupport.h"
#include "intake/Languages.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static CParserFactory factory;
  const CommandList out = fuzz::ParseInput(factory, {LANGUAGE_JPL, "jpl-fuzz-store"}, data, size);
  // Every job ends by printing the label it opened.
  if (out.empty() || out.front().kind != START_LABEL || out.back().kind != PRINT_LABEL) {
    __builtin_trap();
  }
  return 0;
}
