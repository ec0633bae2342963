// Feeds arbitrary bytes to the caret-and-tilde parser through the factory, so
// that the shared keyword table carries settings from one input to the next as
// it does between jobs; the object records and errors have exactly the
// positions the session reads.
#include <cstddef>
#include <cstdint>

#include "fuzz/FuzzSupport.h"
#include "intake/Languages.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static CParserFactory factory;
  const CommandList records =
      fuzz::ParseInput(factory, {LANGUAGE_ZPL, "zpl-fuzz-store", 256, 203}, data, size);
  fuzz::CheckExactCounts(records, {TEXT, SHAPE, LINE, GRAPHIC, SCRIPT_ERROR});
  fuzz::CheckZplBarcodeCounts(records);
  return 0;
}
