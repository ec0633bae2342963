// The reader: lines, fields, sample fields, the dispatcher and its log, the
// label-level lines, and how labels open and print within a job.

#include "parsers/jpl/JPLTestSupport.h"

namespace {

using jpltest::JPLParserTestBase;
using jpltest::Lines;

TEST(JPLCutLinesTest, LinesEndAtLineFeedsAndCommentsAreDropped) {
  const std::pair<std::string, Lines> cases[] = {
      {"", {L"", L"JZ"}},
      {"a\nb", {L"a", L"b", L"JZ"}},
      {"a\r\nb\r\n", {L"a", L"b", L"", L"JZ"}},  // the final feed starts an empty line
      {"a\n\nb", {L"a", L"", L"b", L"JZ"}},
      {"\nabc", {L"abc", L"JZ"}},  // a feed as first character starts no line of its own
      {"//c\n;x\n  //y\nb", {L"  //y", L"b", L"JZ"}},
      {"T\r1\r", {L"T1", L"JZ"}},
      {"\xe9t\xe9", {L"\u00e9t\u00e9", L"JZ"}},
  };
  for (const auto& [text, lines] : cases) EXPECT_EQ(CJPLParser::CutLines(text), lines) << text;
}

TEST(JPLSplitFieldsTest, SeparatorsBracketsAndColons) {
  const std::pair<std::wstring, Lines> cases[] = {
      {L"", {}},
      {L"J", {L"J"}},
      {L"JZ", {L"J", L"Z"}},
      {L"S l1;0,0,68,71,100", {L"S", L"l1", L"0", L"0", L"68", L"71", L"100"}},
      {L"T 1,,2;;3,", {L"T", L"1", L"2", L"3"}},
      {L"T 1, ,2", {L"T", L"1", L"", L"2"}},
      {L"T:name;1,2", {L"T", L":name", L"1", L"2"}},
      {L"G 1,2,0;R:10,5", {L"G", L"1", L"2", L"0", L"R", L":10", L"5"}},
      {L"T a[b,c;d:]e", {L"T", L"a", L"[b,c;d:]", L"e"}},
      {L"T [FIRST NAME] x", {L"T", L"", L"Alex", L"x"}},
      {L"T [I]", {L"T", L"", L""}},
      {L"T x [open, no end", {L"T", L"x", L"[open, no end"}},
      {L";;", {L";"}},
      {L"B,x", {L"B", L"x"}},
  };
  for (const auto& [line, fields] : cases) {
    Lines out = {L"stale"};
    EXPECT_EQ(CJPLParser::SplitFields(line, out), fields.size()) << platform::WideToUtf8(line);
    EXPECT_EQ(out, fields) << platform::WideToUtf8(line);
  }
}

TEST(JPLSampleFieldTest, FirstKeyFoundReplacesTheWholeField) {
  const std::pair<std::wstring, std::wstring> cases[] = {
      {L"[FIRST NAME]", L"Alex"},
      {L"[LAST NAME]", L"Morgan"},
      {L"[LAST NAME, FIRST NAME]", L"Alex"},
      {L"[CITYSTATE]", L"Portmouth"},
      {L"[ESTATE]", L"ME"},
      {L"[ZIP CODE]", L"04123"},
      {L"[I]", L""},
      {L"[FNAME]", L"Alex"},
      {L"[STREET]", L"12 Quay Street"},
      {L"[first name]", L"[first name]"},
      {L"[price]", L"[price]"},
  };
  for (const auto& [field, value] : cases) {
    std::wstring text = field;
    CJPLParser::ReplaceSampleField(text);
    EXPECT_EQ(text, value) << platform::WideToUtf8(field);
  }
}

using JPLDispatchTest = JPLParserTestBase;

TEST_F(JPLDispatchTest, RejectedAndUnknownLettersAreLoggedAndThePassGoesOn) {
  EXPECT_EQ(ParseAndDescribe("J\nH 100\nM x\nz\nC 1\nX\nt 1,2\n\n  ;x\nA 2"),
            (Lines{L"1", L"14 2", L"2", L"5"}));
  EXPECT_EQ(Logged(),
            (std::vector<std::string>{"Unsupported command: H 100", "Unsupported command: M x",
                                      "Unsupported command: z", "Unsupported command: C 1",
                                      "Unsupported command: X", "Unsupported command: t 1,2",
                                      "Unsupported command: ", "Unsupported command: ;x"}));
}

TEST_F(JPLDispatchTest, CommentsAndIgnoredBlocksMakeNothing) {
  EXPECT_EQ(ParseAndDescribe("J\n  // note\n<ABC>\nA 5\nH\n// </ABC> still inside\n"
                             "x </ABC> y\nA 2\n<ABC></ABC>\nA 3"),
            (Lines{L"1", L"14 2", L"5"}));  // the open block swallows the closing "JZ"
  EXPECT_TRUE(Logged().empty());
}

// An empty job still starts a label of its own before it prints.
TEST_F(JPLDispatchTest, EmptyJobPrintsAFreshLabelAndLogsItsEmptyLine) {
  EXPECT_EQ(ParseAndDescribe(""), (Lines{L"1", L"2", L"5"}));
  EXPECT_EQ(Logged(), std::vector<std::string>{"Unsupported command: "});
}

using JPLLabelCommandTest = JPLParserTestBase;

// Millimetres at 300 dpi unless the job says otherwise: 1 mm is 11 dots.
TEST_F(JPLLabelCommandTest, LabelLevelLines) {
  const std::pair<std::string, Lines> cases[] = {
      {"m m\nJ\nA 2", {L"1", L"14 2", L"2", L"5"}},
      {"J\nS l1;0,0,68,71,100", {L"1", L"16 1181", L"30 0|0", L"2", L"5"}},
      {"J\nS e;1,2,68,71,100", {L"1", L"16 1181", L"30 11|23", L"2", L"5"}},
      {"J\nS 1,2,68,71,100", {L"1", L"16 1181", L"30 11|23", L"2", L"5"}},
      {"J\nS L1;1,2,68,71,100", {L"1", L"16 838", L"30 0|11", L"2", L"5"}},
      {"J\nS l1;0,0,68\nS 1,2", {L"1", L"2", L"5"}},
      {"m i\nJ\nS l1;0,0,2,3,4.5", {L"1", L"16 1350", L"30 0|0", L"2", L"5"}},
      {"m d\nJ\nS l1;0.5,0,2,3,4.5", {L"1", L"16 4.5", L"30 0.5|0", L"2", L"5"}},
      {"m\nJ\nD 1,2", {L"1", L"30 11|23", L"2", L"5"}},
      {"J\nD 1", {L"1", L"2", L"5"}},
      {"J\nO R,P", {L"1", L"32 180", L"2", L"5"}},
      {"J\nO P,Rot,R\nO", {L"1", L"32 180", L"32 180", L"2", L"5"}},
      {"J\nA", {L"1", L"2", L"5"}},
      {"J\nA x7", {L"1", L"14 x7", L"2", L"5"}},
      {"J Z", {L"1", L"2", L"2", L"5"}},
      {"J label one", {L"1", L"2", L"5"}},
  };
  for (const auto& [job, records] : cases) EXPECT_EQ(ParseAndDescribe(job), records) << job;
}

TEST_F(JPLLabelCommandTest, OffsetAndQuantityAreKeptInTheKeywordTable) {
  Parse("J\nD 1.5,2\nA 3");
  EXPECT_EQ(data_.offsetX, L"1.5");
  EXPECT_EQ(data_.offsetY, L"2");
  EXPECT_EQ(data_.copies, L"3");
}

TEST_F(JPLLabelCommandTest, EveryJobStartsInMillimetres) {
  EXPECT_EQ(ParseAndDescribe("m i\nJ\nD 1,1"), (Lines{L"1", L"30 300|300", L"2", L"5"}));
  EXPECT_EQ(ParseAndDescribe("J\nD 1,1"), (Lines{L"1", L"30 11|11", L"2", L"5"}));
}

// A label that holds objects prints before the next "J" opens another; a job
// without "J" opens its own label rather than drawing on the last job's.
TEST_F(JPLLabelCommandTest, EveryLabelOfAJobPrintsOnALabelOfItsOwn) {
  const std::string text = "T 1,5,0,3,pt10;a\n";
  const std::wstring record = L"19 a|11|30|300|10|Arial|FREEFORM|10|L||0|F|1|F|F|F|F|F";
  const std::pair<std::string, Lines> cases[] = {
      {"J\n" + text + "A 2\nJ\n" + text + "A 1",
       {L"1", record, L"14 2", L"2", L"5", L"1", record, L"14 1", L"2", L"5"}},
      {"J\n" + text + "J Z\nJ\n" + text,
       {L"1", record, L"2", L"2", L"5", L"1", record, L"2", L"5"}},
      {"J\nA 2\nJ\n" + text, {L"1", L"14 2", L"1", record, L"2", L"5"}},
      {text + "A 2", {L"1", record, L"14 2", L"2", L"5"}},
      {"S l1;0,0,68,71,10\nJ\n" + text, {L"1", L"16 118", L"30 0|0", L"1", record, L"2", L"5"}},
  };
  for (const auto& [job, records] : cases) EXPECT_EQ(ParseAndDescribe(job), records) << job;
}

}  // namespace
