// The reader, the dispatcher and the parameter machinery.

#include "parsers/zpl/ZPLParser.h"
#include "parsers/zpl/ZPLTestSupport.h"

namespace {

using zpltest::ZPLParserTestBase;
using Lines = std::vector<std::wstring>;

TEST(ZPLCutTest, CommandsRunFromPrefixToPrefix) {
  struct Case {
    std::wstring text;
    Lines commands;
  } cases[] = {
      {L"", {}},
      {L"no prefix at all", {}},
      {L"ignored text ^XA^FO10,20~TA015^XZ", {L"^XA", L"^FO10,20", L"~TA015", L"^XZ"}},
      {L"^XA^XZ~WC", {L"^XA", L"^XZ", L"~WC"}},
      {L"^F\r\nO10,20", {L"^FO10,20"}},
      {L"^FDline one\r\nline two\n^FS\r\n", {L"^FDline oneline two", L"^FS"}},
      {L"^FDprice ~5 ^FS", {L"^FDprice ", L"~5 ", L"^FS"}},
      {L"^~^", {L"^", L"~", L"^"}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CZPLParser::CutCommands(c.text), c.commands) << platform::WideToUtf8(c.text);
  }
}

TEST(ZPLParametersTest, SplitTrimsEveryPieceAndKeepsEmptyOnes) {
  struct Case {
    std::wstring text;
    Lines params;
  } cases[] = {
      {L"", {L""}},       {L"a,,b", {L"a", L"", L"b"}},         {L" a ,\tb ", {L"a", L"b"}},
      {L",", {L"", L""}}, {L"0N,30,20", {L"0N", L"30", L"20"}},
  };
  for (const Case& c : cases) {
    Lines params = {L"stale"};
    CZPLParser::SplitParameters(c.text, params);
    EXPECT_EQ(params, c.params) << platform::WideToUtf8(c.text);
  }
}

TEST(ZPLParametersTest, NumericAllowsOneLeadingSignAndOptionallyOnePoint) {
  struct Case {
    const wchar_t* value;
    bool integer;
    bool decimal;
  } cases[] = {
      {L"", true, true},        {L"123", true, true},   {L"-3", true, true},
      {L"-", true, true},       {L"3-", false, false},  {L"--3", false, false},
      {L"1.5", false, true},    {L".5", false, true},   {L"-.5", false, true},
      {L"1.2.3", false, false}, {L"+1", false, false},  {L" 1", false, false},
      {L"1e3", false, false},   {L"12a", false, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CZPLParser::IsNumeric(c.value, false), c.integer) << platform::WideToUtf8(c.value);
    EXPECT_EQ(CZPLParser::IsNumeric(c.value, true), c.decimal) << platform::WideToUtf8(c.value);
  }
}

using ZPLDispatchTest = ZPLParserTestBase;

TEST_F(ZPLDispatchTest, UnknownAndLowerCaseCommandsAreReportedAndThePassGoesOn) {
  EXPECT_EQ(ParseAndDescribe("^xa^CW1,E:X.FNT^BD2^B1N^~JR^LH0,0^XA"),
            (Lines{L"37 Unsupported command: ^xa", L"37 Unsupported command: ^CW1,E:X.FNT",
                   L"37 Unsupported command: ^BD2", L"37 Unsupported command: ^B1N",
                   L"37 Unsupported command: ^", L"37 Unsupported command: ~JR",
                   L"37 Unsupported command: ^LH0,0", L"1"}));
  EXPECT_EQ(LogMessages(),
            (std::vector<std::string>{
                "Unsupported command: ^xa", "Unsupported command: ^CW1,E:X.FNT",
                "Unsupported command: ^BD2", "Unsupported command: ^B1N", "Unsupported command: ^",
                "Unsupported command: ~JR", "Unsupported command: ^LH0,0"}));
}

TEST_F(ZPLDispatchTest, LineBreaksAreRemovedBeforeTheCommandIsReported) {
  EXPECT_EQ(ParseAndDescribe("^Q\r\nQ1"), (Lines{L"37 Unsupported command: ^QQ1"}));
}

TEST_F(ZPLDispatchTest, EveryCommandBeginningWithCaretAIsTheFont) {
  for (const char* font : {"^A", "^A0N,20,10", "^AZZZ", "^A@N,20,20,E:FONT.TTF"}) {
    CommandList records = Parse(std::string("^FO1,1") + font + "^FDx");
    ASSERT_FALSE(records.empty()) << font;
    EXPECT_EQ(records.back().kind, TEXT) << font;
  }
}

TEST_F(ZPLDispatchTest, AJobWithoutPrefixesOrBytesYieldsNothing) {
  EXPECT_TRUE(Parse("just some text").empty());
  CZPLParser parser(&data_);
  CommandList records;
  EXPECT_TRUE(parser.ParseData(nullptr, 10, records));
  EXPECT_TRUE(parser.ParseData("^XA", -1, records));
  EXPECT_TRUE(records.empty());
}

TEST_F(ZPLDispatchTest, AMissingOriginEndsThePassAndKeepsEarlierRecords) {
  CZPLParser parser(&data_);
  EXPECT_FALSE(parser.parseCommandList(
      {L"^XA", L"^FO1,1", L"^A0", L"^FDa", L"^FS", L"^A0", L"^FDb", L"^FS", L"^XZ"}));

  EXPECT_EQ(ParseAndDescribe("^XA^FO1,1^A0^FDa^FS^A0^FDb^FS^PQ2^XZ"),
            (Lines{L"1", L"19 a|1|1|5|9|Arial|FREEFORM|2|L||0|F|1|F|F|F|F|F",
                   L"37 ERROR CREATING FIELD DATA, NO FIELD ORIGIN DEFINED"}));
}

}  // namespace
