// The line reader, the dispatch, the STX and label-format commands, units,
// and what carries over from job to job in the shared record.

#include <gtest/gtest.h>

#include "parsers/ParserFactory.h"
#include "intake/Languages.h"
#include "parsers/dpl/DPLTestJob.h"
#include "platform/Text.h"

namespace {

using DPLReaderTest = DPLJobTest;

TEST_F(DPLReaderTest, LinesSplitAtAnyBreakAndTheLastNeedsNone) {
  const std::pair<std::string, KindList> cases[] = {
      {Job("<STX>L;1911000010001001;E"), {START_LABEL, TEXT, PRINT_LABEL}},
      {"\x02L\n1911000010001001\rE\n", {START_LABEL, TEXT, PRINT_LABEL}},
      // A job ending in "E" without a line break still prints.
      {"\x02L\r\n1911000010001001\r\nE", {START_LABEL, TEXT, PRINT_LABEL}},
      {"\x02L\r\nE  \t", {START_LABEL, PRINT_LABEL}},
      {"\x02L", {START_LABEL}},
      // Blank lines, white space around lines, SOH lines and noise make nothing.
      {Job("  <STX>L  ;;\t;<SOH>#;\x7f\xff\x80;0000;5911;E"), {START_LABEL, PRINT_LABEL}},
      {std::string("\x02L\r\n\0\0\r\nE\r\n", 11), {START_LABEL, PRINT_LABEL}},
      {"", {}},
  };
  for (const auto& [job, kinds] : cases) EXPECT_EQ(Kinds(Parse(job)), kinds) << job;
  EXPECT_TRUE(Logged().empty());
}

TEST_F(DPLReaderTest, UnsupportedCommandsAreLoggedAndSkipped) {
  const std::pair<const char*, const char*> cases[] = {
      {"<STX>A", "Unsupported Command <STX>A"}, {"<STX>KI7", "Unsupported Command <STX>K"},
      {"<STX>e", "Unsupported Command <STX>e"}, {"<STX>z", "Unsupported Command <STX>z"},
      {"D11", "Unsupported Command D"},         {"^01", "Unsupported Command ^"},
      {"+01", "Unsupported Command +"},         {"z", "Unsupported Command z"},
      {"T", "Unsupported Command T"},           {"pX", "Unsupported Command p"},
  };
  for (const auto& [line, message] : cases) {
    EXPECT_TRUE(Parse(Job(line)).empty()) << line;
    EXPECT_EQ(Logged(), Messages{message});
  }
}

// Unknown STX commands are script errors for the session to count, not log lines.
TEST_F(DPLReaderTest, UnknownStxCommandsBecomeScriptErrors) {
  for (const std::string line : {"\x02I", "\x02h", "\x02",
                                 "\x02"
                                 "1",
                                 "\x02\x02L"}) {
    const CommandList commands = Parse(line + "\r\n");
    ASSERT_EQ(Kinds(commands), KindList{SCRIPT_ERROR}) << line;
    EXPECT_EQ(commands[0].params, Lines{L"Unknown command " + platform::BytesToWide(line)});
  }
  EXPECT_TRUE(Logged().empty());
}

TEST_F(DPLReaderTest, LabelFormatCommands) {
  const std::wstring badQuantity =
      L"Incorrect length in Paramer for Q command, length must be 4 characters";
  const std::string badSpeed =
      "Invalid Parameter for P (Set Print Speed Command. Only Values of A, C, E, G are valid";
  const std::string badAttribute =
      "A command (Set Format Attribute) only supports the value 2,  Transparent Mode";
  const struct {
    const char* job;
    Lines fields;  // of every record; SCRIPT_ERROR records hold their message
    Messages logged;
  } cases[] = {
      {"Q0005;Q5;Q00001", {L"0005", badQuantity, L"1", badQuantity, L"1"}, {}},
      {"PA;PC;PE;PG", {L"1000", L"2000", L"3000", L"4000"}, {}},
      // A bad speed keeps the one before.
      {"PE;PB;Pe;P", {L"3000", L"3000", L"3000", L"3000"}, {badSpeed, badSpeed, badSpeed}},
      {"H20;H10;H0;H;H-4;H99999999999", {L"115", L"97", L"80", L"80", L"73", L"3758096462"}, {}},
      {"A2;A1;A;A22", {}, {badAttribute, badAttribute, badAttribute}},
      {"Exyz;E", {L"()", L"()"}, {}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Fields(Parse(Job(c.job))), c.fields) << c.job;
    EXPECT_EQ(Logged(), c.logged) << c.job;
  }
}

// Lengths are hundredths of an inch, or tenths of a millimetre after STX m;
// they keep their fraction on the way to dots.
TEST_F(DPLReaderTest, LabelLengthInEitherUnit) {
  const std::wstring error =
      L"Incorrect length in Paramer for <Stx>c command, length must be 4 characters";
  const struct {
    const char* job;
    int dpi;
    Lines fields;  // a SCRIPT_ERROR record holds its message
  } cases[] = {
      {"<STX>c0400", 203, {L"812"}},
      {"<STX>c0350", 300, {L"1050"}},
      {"<STX>c0001", 300, {L"3"}},
      {"<STX>c0000", 300, {}},
      {"<STX>m;<STX>c0250", 300, {L"295"}},  // 25 mm
      {"<STX>m;<STX>n;<STX>c0100", 300, {L"300"}},
      // A length of the wrong size keeps the one before.
      {"<STX>c0200;<STX>c12;<STX>c;<STX>c00000",
       300,
       {L"600", error, L"600", error, L"600", error, L"600"}},
  };
  for (const auto& c : cases) {
    const CommandList commands = Parse(Job(c.job), c.dpi);
    EXPECT_EQ(Fields(commands), c.fields) << c.job;
    for (const LabelCommand& command : commands) {
      EXPECT_TRUE(command.kind == LABEL_LENGTH || command.kind == SCRIPT_ERROR);
    }
  }
}

// Each label of the job starts from a length that follows its content, so
// the last STX c length is given to every label after it.
TEST_F(DPLReaderTest, EveryLabelGetsTheJobsLabelLength) {
  const std::pair<const char*, KindList> cases[] = {
      {"<STX>c0400;<STX>L;E;<STX>L;E",
       {LABEL_LENGTH, START_LABEL, LABEL_LENGTH, PRINT_LABEL, START_LABEL, LABEL_LENGTH,
        PRINT_LABEL}},
      {"<STX>L;<STX>c0400;E;<STX>L;E",
       {START_LABEL, LABEL_LENGTH, PRINT_LABEL, START_LABEL, LABEL_LENGTH, PRINT_LABEL}},
      {"<STX>c0400;<STX>c0000;<STX>L;E", {LABEL_LENGTH, START_LABEL, PRINT_LABEL}},
  };
  for (const auto& [job, kinds] : cases) {
    const CommandList commands = Parse(Job(job));
    EXPECT_EQ(Kinds(commands), kinds) << job;
    for (const LabelCommand& c : commands) {
      if (c.kind == LABEL_LENGTH) {
        EXPECT_EQ(c.params, Lines{L"1200"}) << job;
      }
    }
  }
  // A later job starts without one.
  EXPECT_EQ(Kinds(ParseAgain(Job("<STX>L;E"))), (KindList{START_LABEL, PRINT_LABEL}));
}

TEST_F(DPLReaderTest, ObjectPositionsFollowTheUnitMode) {
  const struct {
    const char* job;
    int dpi;
    const wchar_t *x, *y;
  } cases[] = {
      {"1911000005002501", 300, L"750", L"150"},
      {"1911000005002501", 203, L"507", L"101"},
      {"<STX>m;1911000005002501", 300, L"295", L"59"},  // 25.0 and 5.0 mm
      {"<STX>m;<STX>n;1911000005002501", 300, L"750", L"150"},
  };
  for (const auto& c : cases) {
    const LabelCommand text = Only(Parse(Job(c.job), c.dpi), TEXT);
    ASSERT_EQ(text.params.size(), 18u) << c.job;
    EXPECT_EQ(text.params[1], c.x) << c.job;
    EXPECT_EQ(text.params[2], c.y) << c.job;
  }
}

// Speed, density, copies and length live in the record the factory shares
// between DPL, TPL and XTPL jobs.
TEST_F(DPLReaderTest, SettingsCarryOverBetweenJobs) {
  CParserFactory factory;
  auto run = [&](int32_t language, const std::string& job) {
    std::unique_ptr<CLanguageParserBase> parser = factory.GetParser(language);
    parser->SetParserDPI(300);
    CommandList out;
    parser->ParseData(job.data(), static_cast<int32_t>(job.size()), out);
    return Fields(out);
  };
  run(LANGUAGE_DPL, Job("PE;<STX>c0400"));
  EXPECT_EQ(run(LANGUAGE_DPL, Job("PB;<STX>c04")).back(), L"1200");
  EXPECT_EQ(run(LANGUAGE_DPL, Job("PX")), Lines{L"3000"});
  run(LANGUAGE_TPL, "SETPRINTSPEED 2000\r\n");
  EXPECT_EQ(run(LANGUAGE_DPL, Job("PX")), Lines{L"2000"});
}

}  // namespace
