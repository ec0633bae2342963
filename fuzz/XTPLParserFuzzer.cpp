// Feeds arbitrary bytes to XTPL parsers made by one factory, so the shared
// TPLData carries its attribute values from input to input as it does from
// job to job on the printer.
#include <cstddef>
#include <cstdint>

#include "fuzz/FuzzSupport.h"
#include "intake/Languages.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static CParserFactory factory;
  fuzz::ParseInput(factory, {LANGUAGE_XTPL, "xtpl-fuzz-store"}, data, size);
  return 0;
}
