// The reader, the dispatcher and the parameter machinery.

#include <tuple>

#include "parsers/zpl/ZPLCommand.h"
#include "parsers/zpl/ZPLParser.h"
#include "parsers/zpl/ZPLReader.h"
#include "parsers/zpl/ZPLTestSupport.h"

namespace {

using zpltest::ZPLParserTestBase;
using Lines = std::vector<std::wstring>;

TEST(ZPLCutTest, CommandsRunFromPrefixToPrefix) {
  const std::pair<std::wstring, Lines> cases[] = {
      {L"", {}},
      {L"no prefix at all", {}},
      {L"ignored text ^XA^FO10,20~TA015^XZ", {L"^XA", L"^FO10,20", L"~TA015", L"^XZ"}},
      {L"^XA^XZ~WC", {L"^XA", L"^XZ", L"~WC"}},
      {L"^F\r\nO10,20", {L"^FO10,20"}},
      {L"^FDline one\r\nline two\n^FS\r\n", {L"^FDline oneline two", L"^FS"}},
      {L"^FDprice ~5 ^FS", {L"^FDprice ", L"~5 ", L"^FS"}},
      {L"^~^", {L"^", L"~", L"^"}},
  };
  for (const auto& [text, commands] : cases) {
    EXPECT_EQ(CutZplCommands(std::wstring_view(text), kDeviceReading), commands)
        << platform::WideToUtf8(text);
  }
}

TEST(ZPLParametersTest, SplitTrimsEveryPieceAndKeepsEmptyOnes) {
  const std::pair<std::wstring, Lines> cases[] = {
      {L"", {L""}},       {L"a,,b", {L"a", L"", L"b"}},         {L" a ,\tb ", {L"a", L"b"}},
      {L",", {L"", L""}}, {L"0N,30,20", {L"0N", L"30", L"20"}},
  };
  for (const auto& [text, expected] : cases) {
    Lines params = {L"stale"};
    zpl::SplitParameters(text, params);
    EXPECT_EQ(params, expected) << platform::WideToUtf8(text);
  }
}

TEST(ZPLParametersTest, NumericAllowsOneLeadingSignAndOptionallyOnePoint) {
  const std::tuple<const wchar_t*, bool, bool> cases[] = {
      // value, integer, decimal
      {L"", true, true},        {L"123", true, true},   {L"-3", true, true},
      {L"-", true, true},       {L"3-", false, false},  {L"--3", false, false},
      {L"1.5", false, true},    {L".5", false, true},   {L"-.5", false, true},
      {L"1.2.3", false, false}, {L"+1", false, false},  {L" 1", false, false},
      {L"1e3", false, false},   {L"12a", false, false},
  };
  for (const auto& [value, integer, decimal] : cases) {
    EXPECT_EQ(zpl::IsNumeric(value, false), integer) << platform::WideToUtf8(value);
    EXPECT_EQ(zpl::IsNumeric(value, true), decimal) << platform::WideToUtf8(value);
  }
}

using ZPLDispatchTest = ZPLParserTestBase;

// Dispatch is case-sensitive and whole-keyword; line breaks are gone before the report.
TEST_F(ZPLDispatchTest, UnknownAndLowerCaseCommandsAreReportedAndThePassGoesOn) {
  const std::vector<std::string> unsupported = {"^xa", "^CW1,E:X.FNT", "^BD2",  "^B1N",
                                                "^",   "~JR",          "^LH0,0"};
  Lines expected;
  std::vector<std::string> logged;
  for (const std::string& command : unsupported) {
    expected.push_back(L"SCRIPT_ERROR Unsupported command: " + platform::BytesToWide(command));
    logged.push_back("Unsupported command: " + command);
  }
  expected.push_back(L"START_LABEL");
  EXPECT_EQ(ParseAndDescribe("^xa^CW1,E:X.FNT^B\r\nD2^B1N^~JR^LH0,0^XA"), expected);
  EXPECT_EQ(LogMessages(), logged);
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
  // A text field after a finished one needs its own origin; nothing after it runs.
  EXPECT_EQ(ParseAndDescribe("^XA^FO1,1^A0^FDa^FS^A0^FDb^FS^PQ2^XZ"),
            (Lines{L"START_LABEL", L"TEXT a|1|1|5|9|Arial|FREEFORM|2|L||0|F|1|F|F|F|F|F",
                   L"SCRIPT_ERROR ERROR CREATING FIELD DATA, NO FIELD ORIGIN DEFINED"}));
}

}  // namespace
