#include "host/printer/LineCounter.h"

#include <limits>

namespace host {

void LineCounter::Advance(std::string_view bytes) {
  constexpr int32_t kMost = std::numeric_limits<int32_t>::max();
  for (const char c : bytes) {
    if (c == '\n' && afterCr_) {
      afterCr_ = false;
    } else if (c == '\n' || c == '\r') {
      if (place_.line < kMost) ++place_.line;
      place_.column = 1;
      afterCr_ = c == '\r';
    } else {
      if (place_.column < kMost) ++place_.column;
      afterCr_ = false;
    }
  }
  place_.offset += static_cast<int64_t>(bytes.size());
}

}  // namespace host
