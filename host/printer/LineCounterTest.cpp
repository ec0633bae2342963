#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/printer/LineCounter.h"

namespace host {
namespace {

// The place reached after the text, given in pieces (a CR LF may be split
// between two of them, as between two reads of a port).
TEST(LineCounterTest, LinesEndAtEveryKindOfLineBreak) {
  struct Case {
    std::vector<std::string> pieces;
    int32_t line, column;
  };
  const Case cases[] = {
      {{""}, 1, 1},           {{"^XA^FO"}, 1, 7},
      {{"a\nb"}, 2, 2},       {{"a\r\nb"}, 2, 2},  // CR LF is one break
      {{"a\r", "\nb"}, 2, 2},                      // ... even split between reads
      {{"a\rb\rc"}, 3, 2},                         // a CR alone ends a line
      {{"a\n\r\nb"}, 3, 2},                        // LF, then CR LF
      {{"a\n\nb"}, 3, 2},                          // an empty line
      {{"a\r\r\nb"}, 3, 2},                        // CR, then CR LF
      {{"\tx,y"}, 1, 5},                           // a tab is one column, as a byte
      {{"\xc3\xa9"}, 1, 3},                        // columns count bytes
  };
  for (const Case& c : cases) {
    LineCounter counter;
    std::string all;
    for (const std::string& piece : c.pieces) {
      counter.Advance(piece);
      all += piece;
    }
    EXPECT_EQ(counter.place().line, c.line) << all;
    EXPECT_EQ(counter.place().column, c.column) << all;
    EXPECT_EQ(counter.place().offset, static_cast<int64_t>(all.size())) << all;
  }
}

// A counter started where a job began goes on from there.
TEST(LineCounterTest, StartsFromAGivenPlace) {
  LineCounter counter(SourcePlace{100, 7, 4});
  counter.Advance("^FO1");
  EXPECT_EQ(counter.place().offset, 104);
  EXPECT_EQ(counter.place().line, 7);
  EXPECT_EQ(counter.place().column, 8);
  counter.Advance("\n^F");
  EXPECT_EQ(counter.place().line, 8);
  EXPECT_EQ(counter.place().column, 3);
}

}  // namespace
}  // namespace host
