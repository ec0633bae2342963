// Barcode records: the letters, check characters, and the conversions to
// dots and mils.

#include <gtest/gtest.h>

#include "parsers/dpl/DPLTestJob.h"

namespace {

using DPLBarcodesTest = DPLJobTest;

TEST_F(DPLBarcodesTest, BarcodeLettersAndTheHumanReadableLine) {
  const struct {
    char letter;
    const wchar_t* type;
    bool readable;       // the upper-case letter keeps the human-readable line
    const char* notice;  // logged for the upper-case letter
  } cases[] = {
      {'A', L"Code 39", true, nullptr},
      {'B', L"UPCA", true, nullptr},
      {'C', L"UPCA", true, nullptr},
      {'D', L"Interleaved 2-of-5", true, nullptr},
      {'E', L"Code 128 Auto", true, nullptr},
      {'F', L"EAN/JAN-13", true, nullptr},
      {'G', L"EAN/JAN-8", true, nullptr},
      {'H', L"HIBC", true, nullptr},
      {'I', L"Codabar", true, nullptr},
      {'J', L"Interleaved 2-of-5", true, nullptr},
      {'K', L"MSI Plessey", true, nullptr},
      {'O', L"Code 93", true, nullptr},
      {'P', L"Postnet", false, "Postnet does not support Human Readabel Font."},
      {'Q', L"UCC128", true, nullptr},
      {'U', L"Maxicode", false, "MAXICODE does not support Human Readabel Font."},
      {'W', L"Datamatrix", false, nullptr},
      {'Z', L"PDF 417", false, "PDF-417 does not support Human Readabel Font."},
  };
  for (const auto& c : cases) {
    const LabelCommand upper = Only(Parse(Job(Record(c.letter, "32", "100", "1234"))), BARCODE);
    EXPECT_EQ(Logged(), c.notice ? Messages{c.notice} : Messages{}) << c.letter;
    ASSERT_EQ(upper.params.size(), 11u) << c.letter;
    EXPECT_EQ(upper.params[0], c.type) << c.letter;
    EXPECT_EQ(upper.params[6], c.readable ? L"T" : L"F") << c.letter;
    EXPECT_EQ(upper.params[7], L"BOTTOM");

    const char lower = static_cast<char>(c.letter - 'A' + 'a');
    const CommandList commands = Parse(Job(Record(lower, "32", "100", "1234")));
    EXPECT_TRUE(Logged().empty()) << lower;
    if (c.letter == 'W') {
      EXPECT_TRUE(commands.empty());
      continue;
    }
    const LabelCommand quiet = Only(commands, BARCODE);
    EXPECT_EQ(quiet.params.at(0), c.type) << lower;
    EXPECT_EQ(quiet.params.at(6), L"F") << lower;
  }
  for (char letter : std::string("LMNRSTVYlmnrstvy")) {
    EXPECT_TRUE(Parse(Job(Record(letter, "32", "100", "1234"))).empty()) << letter;
  }
}

// Position and bar height are lengths like any other object's; the narrow
// bar in dots gives the density in mils and, "0" counting as 2, the ratio.
TEST_F(DPLBarcodesTest, BarcodeGeometryDensityAndRatio) {
  const struct {
    std::string job;
    int dpi;
    std::wstring expected;  // type|data|x|y|height|rotation|readable|where|density|ratio|check
  } cases[] = {
      {"1a3210001000100DATA", 300, L"Code 39|DATA|300|300|300|0|F|BOTTOM|7|2:1|F"},
      {"2A3300001000100X", 300, L"Code 39|X|300|300|90|90|T|BOTTOM|10|3:1|F"},
      {"1A3000001000100X", 300, L"Code 39|X|300|300|90|0|T|BOTTOM|0|2:1|F"},
      {"1A4215000500050X", 203, L"Code 39|X|101|101|304|0|T|BOTTOM|10|2:1|F"},
      {"1AAX10000500050X", 300, L"Code 39|X|150|150|300|0|T|BOTTOM|0|X:1|F"},
      {Job("<STX>m;1A3310000500050X"), 300, L"Code 39|X|59|59|118|0|T|BOTTOM|10|3:1|F"},
      {"1A", 300, L"Code 39||0|0|0|0|T|BOTTOM|0|:1|F"},
  };
  for (const auto& c : cases) {
    const std::string job = c.job.find('\n') == std::string::npos ? Job(c.job) : c.job;
    EXPECT_EQ(Joined(Only(Parse(job, c.dpi), BARCODE).params), c.expected) << c.job;
  }
}

TEST_F(DPLBarcodesTest, CheckCharactersFollowTheData) {
  const struct {
    char letter;
    const char* data;
    const wchar_t* sent;  // the data as sent
    const wchar_t* check;
  } cases[] = {
      {'B', "01234567890", L"01234567890", L"T"},
      {'B', "012345678905", L"012345678905", L"F"},
      {'F', "590123412345", L"590123412345", L"T"},
      {'F', "5901234123457", L"5901234123457", L"F"},
      {'G', "9638507", L"9638507", L"T"},
      {'G', "96385074", L"96385074", L"F"},
      {'J', "1234", L"1234", L"T"},
      {'D', "1234", L"1234", L"F"},
      {'E', "B123", L"123", L"F"},
      {'E', "Cabc", L"abc", L"F"},
      {'E', "x12", L"x12", L"F"},
      {'E', "", L"", L"F"},
      {'K', "1234+", L"1234", L"T"},
      {'K', "1234", L"123", L"F"},
      {'K', "", L"", L"F"},
      {'P', "12345", L"12345", L"T"},
      {'A', "ABC", L"ABC", L"F"},
      {'Z', "ABC", L"ABC", L"F"},
  };
  for (const auto& c : cases) {
    const LabelCommand barcode = Only(Parse(Job(Record(c.letter, "32", "100", c.data))), BARCODE);
    ASSERT_EQ(barcode.params.size(), 11u);
    EXPECT_EQ(barcode.params[1], c.sent) << c.letter << c.data;
    EXPECT_EQ(barcode.params[10], c.check) << c.letter << c.data;
  }
}

}  // namespace
