#pragma once
// Counts lines and columns over text read front to back, so that a byte
// offset can be told as a place a person finds in an editor. A line ends at
// LF, at CR LF, or at a CR alone (the line breaks the statement languages
// accept); a column counts bytes, both 1-based. SourceIntake follows each
// source with one to know where its jobs begin, and JobRecorder places each
// script error within its job from there. Work is linear in the bytes
// passed; a CR at the end of one Advance and an LF at the start of the next
// are one line break.

#include <cstdint>
#include <string_view>

namespace host {

struct SourcePlace {
  int64_t offset = 0;
  int32_t line = 1;
  int32_t column = 1;
};

class LineCounter {
 public:
  explicit LineCounter(SourcePlace start = {}) : place_(start) {}

  // Moves over `bytes`, the text that follows the place reached.
  void Advance(std::string_view bytes);
  // The place of the next byte.
  const SourcePlace& place() const { return place_; }

 private:
  SourcePlace place_;
  bool afterCr_ = false;  // the last byte was a CR: an LF now ends no line
};

}  // namespace host
