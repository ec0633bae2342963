#include <gtest/gtest.h>

#include "host/printer/ReportText.h"

namespace host {
namespace {

TEST(ReportTextTest, JobTextIsEscapedForTerminalsAndJson) {
  struct Case {
    std::string in;
    std::string terminal;
    std::string json;
  } cases[] = {
      {"plain ^CI28", "plain ^CI28", "plain ^CI28"},
      {"\x1b[31mred\x1b[0m", "\\x1b[31mred\\x1b[0m", "\\u001b[31mred\\u001b[0m"},
      {"bell\x07 del\x7f tab\t", "bell\\x07 del\\x7f tab\\x09",
       "bell\\u0007 del\\u007f tab\\u0009"},
      {"a\r\nb", "a\\x0d\\x0ab", "a\\u000d\\u000ab"},
      // C1 controls (U+009B is a one-character CSI) and a Latin-1 byte that is not UTF-8.
      {"\xc2\x9b"
       "2J",
       "\\u009b2J", "\\u009b2J"},
      {"caf\xe9", "caf\\xe9", "caf\\ufffd"},
      {"caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x93\xa6", "caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x93\xa6",
       "caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x93\xa6"},
      // Overlong, surrogate and cut-short sequences are not UTF-8.
      {"\xc0\xaf", "\\xc0\\xaf", "\\ufffd\\ufffd"},
      {"\xed\xa0\x80", "\\xed\\xa0\\x80", "\\ufffd\\ufffd\\ufffd"},
      {"\xe2\x82", "\\xe2\\x82", "\\ufffd\\ufffd"},
      {"quote \" back \\", "quote \" back \\", "quote \\\" back \\\\"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.in);
    EXPECT_EQ(EscapeForTerminal(c.in), c.terminal);
    EXPECT_EQ(EscapeForJson(c.in), c.json);
  }
}

TEST(ReportTextTest, LongValuesAreCutOnCharactersAndSayHowLongTheyWere) {
  struct Case {
    std::string in;
    size_t limit;
    std::string out;
  } cases[] = {
      {"abcdef", 6, "abcdef"},
      {"abcdefg", 6, "abcdef... (7 characters in all)"},
      {"\xc3\xa9\xc3\xa9\xc3\xa9", 2, "\xc3\xa9\xc3\xa9... (3 characters in all)"},
      {std::string(1 << 20, 'A'), 3, "AAA... (1048576 characters in all)"},
      {"", 0, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(Shorten(c.in, c.limit), c.out);
}

}  // namespace
}  // namespace host
