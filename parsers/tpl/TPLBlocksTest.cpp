#include <gtest/gtest.h>

#include "parsers/tpl/TPLParser.h"
#include "parsers/tpl/TPLTestJob.h"

namespace {

using Params = std::vector<std::wstring>;
using Messages = std::vector<std::string>;

using TPLBlocksTest = TPLJobTest;

// Runs the block's statements inside a label and returns the commands after START_LABEL.
#define IN_LABEL(...) Job({"STARTLABEL", __VA_ARGS__})

TEST_F(TPLBlocksTest, EachBlockEndListsItsFields) {
  struct Case {
    std::string job;
    int32_t kind;
    Params params;
  };
  const Case cases[] = {
      {IN_LABEL("STARTTEXT", "TEXT Hello", "POSITION 1,2", "ENDTEXT"),
       TEXT,
       {L"Hello", L"300", L"600", L"0", L"0", L"Arial", L"FREEFORM", L"0", L"C", L"", L"0", L"F",
        L"1", L"F", L"F", L"F", L"F", L"F"}},
      {IN_LABEL("STARTTEXT", "FONTTYPE MANUAL 1,2,12", "STYLES B,I,U,REVERSE,VERTICAL",
                "BOUNDINGBOX T", "ROTATION 90", "JUSTIFICATION R", "GETDATETIME 5", "ENDTEXT"),
       DATE_TIME_TEXT,
       {L"", L"0", L"0", L"600", L"300", L"Arial", L"MANUAL", L"12", L"R", L"", L"90", L"T", L"1",
        L"T", L"T", L"T", L"T", L"T", L"yyyy-MM-dd"}},
      {IN_LABEL("STARTBARCODE", "BARCODETYPE Code 39", "DATA 12ab", "POSITION 0.5,1", "HEIGHT 0.25",
                "ROTATION 180", "HUMANREADABLE T,TOP", "DENSITY 3", "RATIO 2.5", "CHECKCHARACTER T",
                "ENDBARCODE"),
       BARCODE,
       {L"CODE 39", L"12AB", L"150", L"300", L"75", L"180", L"T", L"TOP", L"3", L"2.5", L"T"}},
      {IN_LABEL("STARTBARCODE", "BARCODETYPE EAN13", "GETSERIAL 100,-1,3", "ENDBARCODE"),
       SEQUENCE_BARCODE,
       {L"EAN13", L"", L"0", L"0", L"0", L"0", L"F", L"BOTTOM", L"0", L"0", L"F", L"100", L"-1",
        L"3", L"", L""}},
      {IN_LABEL("STARTSHAPE", "SHAPETYPE ROUNDRECTANGLE", "POSITION 1,1", "WIDTH 2", "HEIGHT 0.5",
                "LINETHICKNESS 3", "ROUNDEDCORNERS 20", "ROTATION 45", "ENDSHAPE"),
       SHAPE,
       {L"ROUNDRECTANGLE", L"300", L"300", L"600", L"150", L"3", L"0", L"20", L"NONE", L"45"}},
      {IN_LABEL("STARTLINE", "STARTPOINT 0,0.5", "ENDPOINT 2 , 0.5", "LINETHICKNESS 4", "ENDLINE"),
       LINE,
       {L"0", L"150", L"600", L"150", L"4"}},
      {IN_LABEL("STARTARROW", "ARROWTYPE arrow_clockwise", "POSITION 1,0", "WIDTH 1", "HEIGHT 1",
                "DEGREESOFARC 270", "ARROWHEADLENGTH 5", "ARROWHEADOVERHANG 6", "ARROWSTEMWIDTH 7",
                "ENDARROW"),
       ARROW,
       {L"ARROW_CLOCKWISE", L"300", L"0", L"300", L"300", L"0", L"1", L"NONE", L"270", L"0", L"5",
        L"6", L"7"}},
      {IN_LABEL("STARTGRAPHICS", "IMAGENAME logo.png", "POSITION 0.1,0.2", "WIDTH 1", "HEIGHT 1",
                "STYLES REVERSE", "ENDGRAPHICS"),
       GRAPHIC,
       {L"LOGO.PNG", L"30", L"60", L"300", L"300", L"T"}},
  };
  for (const Case& c : cases) {
    CommandList commands = Parse(c.job);
    ASSERT_EQ(commands.size(), 2u) << c.job;
    EXPECT_EQ(commands[1].kind, c.kind) << c.job;
    EXPECT_EQ(commands[1].params, c.params) << c.job;
  }
  EXPECT_TRUE(Logged().empty());
}

TEST_F(TPLBlocksTest, BlocksWithoutTheirKeyValueEmitNothing) {
  CommandList commands =
      Parse(IN_LABEL("STARTSHAPE", "SHAPETYPE DIAMOND", "SHAPETYPE POLYGON", "ENDSHAPE",
                     "STARTGRAPHICS", "ENDGRAPHICS", "STARTBARCODE", "ENDBARCODE", "STARTARROW",
                     "ARROWTYPE ARROW_SIDEWAYS", "ENDARROW"));
  EXPECT_EQ(Kinds(commands), std::vector<int32_t>({START_LABEL, ARROW}));
  EXPECT_EQ(commands[1].params[0], L"");
  EXPECT_EQ(Logged(), Messages({"Invalid Shape Type, DIAMOND unsupported",
                                "Invalid Shape Type, POLYGON unsupported",
                                "Invalid barcode type. Please check your script",
                                "Invalid Arrow Type, ARROW_SIDEWAYS unsupported"}));
}

TEST_F(TPLBlocksTest, PictureBlockReusesThePreviousPicture) {
  CommandList commands =
      Parse(IN_LABEL("STARTGRAPHICS", "IMAGENAME A.PNG", "ENDGRAPHICS", "STARTGRAPHICS",
                     "ENDGRAPHICS", "STARTTEXT", "ENDTEXT", "STARTGRAPHICS", "ENDGRAPHICS"));
  EXPECT_EQ(Kinds(commands), std::vector<int32_t>({START_LABEL, GRAPHIC, GRAPHIC, TEXT}));
}

TEST_F(TPLBlocksTest, PairsWithAndWithoutCommas) {
  CommandList commands =
      Parse(Job({"SETUNITS DOTS", "STARTLABEL", "STARTTEXT", "POSITION 5,6", "POSITION 7",
                 "ENDTEXT", "STARTLINE", "STARTPOINT 1", "ENDPOINT 2", "ENDLINE", "STARTBARCODE",
                 "BARCODETYPE X", "HUMANREADABLE T", "ENDBARCODE"}));
  EXPECT_EQ(ParamsOf(commands, TEXT)[1], L"5");
  EXPECT_EQ(ParamsOf(commands, LINE), Params({L"0", L"0", L"0", L"0", L"1"}));
  EXPECT_EQ(ParamsOf(commands, BARCODE)[6], L"F");
  EXPECT_EQ(Logged(), Messages({"Invalid Syntax for POSITION command: 7",
                                "Invalid Syntax for STARTPOINT command: 1",
                                "Invalid Syntax for ENDPOINT command: 2",
                                "Invalid Syntax for HUMAN READABLE command: T"}));
}

TEST_F(TPLBlocksTest, FontTypes) {
  // Bound boxes (AUTOSIZE, MANUAL) go to dots; the FREEFORM sizes pass unchanged.
  struct Case {
    const char* statement;
    Params typeSizeWidthHeight;
    Messages messages;
  };
  const std::string defaulted = "Style defaulted to FreeForm with 1/2 inch font size";
  const Case cases[] = {
      {"FONTTYPE AUTOSIZE 1,2", {L"AUTOSIZE", L"0", L"600", L"300"}, {}},
      {"FONTTYPE FREEFORM 12", {L"FREEFORM", L"12", L"75", L"75"}, {}},
      {"FONTTYPE FREEFORM", {L"FREEFORM", L"", L"75", L"75"}, {}},
      {"FONTTYPE MANUAL 1,2,12", {L"MANUAL", L"12", L"600", L"300"}, {}},
      {"fonttype manual 0.3 , 0.4 , 5", {L"MANUAL", L"5", L"120", L"90"}, {}},
      {"FONTTYPE SMALL",
       {L"FREEFORM", L"36", L"75", L"75"},
       {"Invalid FontStyle: SMALL" + defaulted}},
      {"FONTTYPE AUTOSIZE 1",
       {L"FREEFORM", L"36", L"75", L"75"},
       {"Invalid Syntax for AUTOSIZE command: 1", "Invalid FontStyle: AUTOSIZE 1" + defaulted}},
      {"FONTTYPE MANUAL 1,2",
       {L"FREEFORM", L"36", L"75", L"75"},
       {"Invalid Syntax for AUTOSIZE command: 2", "Invalid FontStyle: MANUAL 1,2" + defaulted}},
      {"FONTTYPE", {L"FREEFORM", L"36", L"75", L"75"}, {"Invalid FontStyle: " + defaulted}},
  };
  for (const Case& c : cases) {
    std::filesystem::remove_all(root_);
    Params p = ParamsOf(Parse(IN_LABEL("STARTTEXT", c.statement, "ENDTEXT")), TEXT);
    ASSERT_EQ(p.size(), 18u);
    EXPECT_EQ(Params({p[6], p[7], p[3], p[4]}), c.typeSizeWidthHeight) << c.statement;
    EXPECT_EQ(Logged(), c.messages) << c.statement;
  }
}

TEST_F(TPLBlocksTest, StylesJustificationAndFontName) {
  CommandList commands = Parse(IN_LABEL("STARTTEXT", "STYLES B,,U", "STYLES", "STYLES BOLD",
                                        "JUSTIFICATION L", "JUSTIFICATION", "JUSTIFICATION LEFT",
                                        "FONTNAME", "ENDTEXT", "STARTTEXT", "ENDTEXT"));
  ASSERT_EQ(commands.size(), 3u);
  const Params& styled = commands[1].params;
  EXPECT_EQ(Params({styled[13], styled[14], styled[15], styled[16], styled[17]}),
            Params({L"T", L"F", L"T", L"F", L"F"}));
  EXPECT_EQ(styled[8], L"L");
  EXPECT_EQ(styled[5], L"Arial");
  EXPECT_EQ(commands[2].params[13], L"F");  // STARTTEXT switches styles off
  EXPECT_EQ(
      Logged(),
      Messages({"Invalid parameter for Font Style: ", "Invalid parameter for Font Style: BOLD",
                "Invalid Text Justification Parameter:LEFT Justification will be set to "
                "default value",
                "Not Font Name defined, Font name will be set to SystemDefault"}));
}

TEST_F(TPLBlocksTest, GetSerialValidation) {
  struct Case {
    const char* value;
    Params serial;  // start, increment, count, prefix, suffix
    const char* message;
  };
  const Params reset = {L"0", L"1", L"1", L"", L""};
  const Case cases[] = {
      {"1,1,10,A-,-Z", {L"1", L"1", L"10", L"A-", L"-Z"}, nullptr},
      {" -5 , 2 , 3 ", {L"-5", L"2", L"3", L"", L""}, nullptr},
      {"1,1,1,p,s,extra", {L"1", L"1", L"1", L"p", L"s"}, nullptr},
      {"-,1,1", {L"-", L"1", L"1", L"", L""}, nullptr},
      {"1,X,10", reset, "Invalid parameter(s) for GetSerial command: 1,X,10"},
      {"1,1-,10", reset, "Invalid parameter(s) for GetSerial command: 1,1-,10"},
      {"1,,10", reset, "Invalid parameter(s) for GetSerial command: 1,,10"},
      {"+1,1,10", reset, "Invalid parameter(s) for GetSerial command: +1,1,10"},
      {"1,1", reset, "Invalid Syntax for GetSerial command: 1,1"},
      {"", reset, "Invalid Syntax for GetSerial command: "},
  };
  for (const Case& c : cases) {
    std::filesystem::remove_all(root_);
    std::string statement = std::string("GETSERIAL ") + c.value;
    Params p = ParamsOf(Parse(IN_LABEL("STARTTEXT", statement.c_str(), "ENDTEXT")), SEQUENCE_TEXT);
    ASSERT_EQ(p.size(), 23u);
    EXPECT_EQ(Params(p.begin() + 18, p.end()), c.serial) << c.value;
    EXPECT_EQ(Logged(), c.message ? Messages({c.message}) : Messages()) << c.value;
  }
}

TEST_F(TPLBlocksTest, DataSourcesAndTheirWarning) {
  const std::string warning =
      "Warning: GetText, GetSerial, and GetDateTime cannot be used simultaneously.";
  struct Case {
    std::string job;
    int32_t kind;
    size_t paramCount;
    Messages messages;
  };
  const Case cases[] = {
      {IN_LABEL("STARTTEXT", "GETTEXT Name?", "ENDTEXT"), PROMPT_TEXT, 19, {}},
      {IN_LABEL("STARTTEXT", "GETDATETIME", "ENDTEXT"), DATE_TIME_TEXT, 19, {}},
      {IN_LABEL("STARTTEXT", "GETTEXT a", "GETSERIAL 1,1,1", "ENDTEXT"),
       SEQUENCE_TEXT,
       23,
       {warning}},
      {IN_LABEL("STARTTEXT", "GETSERIAL 1,1", "GETDATETIME 3", "GETTEXT b", "ENDTEXT"),
       PROMPT_TEXT,
       19,
       {"Invalid Syntax for GetSerial command: 1,1", warning, warning}},
      {IN_LABEL("STARTTEXT", "GETTEXT a", "GETTEXT b", "ENDTEXT"), PROMPT_TEXT, 19, {}},
      {IN_LABEL("STARTBARCODE", "BARCODETYPE UPC-A", "GETTEXT Scan", "ENDBARCODE"),
       PROMPT_BARCODE,
       12,
       {}},
      {IN_LABEL("STARTBARCODE", "BARCODETYPE UPC-A", "GETDATETIME 1", "ENDBARCODE"),
       BARCODE,
       11,
       {"No StartText or StartBarcode Found. Please check your script"}},
      // Sources end with their block: the next text is static again.
      {IN_LABEL("STARTTEXT", "GETTEXT a", "ENDTEXT", "STARTTEXT", "ENDTEXT"), TEXT, 18, {}},
  };
  for (const Case& c : cases) {
    std::filesystem::remove_all(root_);
    CommandList commands = Parse(c.job);
    EXPECT_EQ(commands.back().kind, c.kind) << c.job;
    EXPECT_EQ(commands.back().params.size(), c.paramCount) << c.job;
    EXPECT_EQ(Logged(), c.messages) << c.job;
  }
}

TEST(TPLDateTimeTest, PicturesByCode) {
  const std::pair<const wchar_t*, const wchar_t*> cases[] = {
      {L"0", L"M/d/yyyy"},
      {L"7", L"dddd, MMMM d, yyyy"},
      {L"15", L"MM/dd/yy' 'h:mm tt"},
      {L"19", L"hh:mm tt"},
      // Codes compare as exact text: anything else is the default.
      {L"20", L"MM/dd/yyyy"},
      {L"07", L"MM/dd/yyyy"},
      {L" 7", L"MM/dd/yyyy"},
      {L"-1", L"MM/dd/yyyy"},
      {L"", L"MM/dd/yyyy"},
      {L"x", L"MM/dd/yyyy"},
  };
  for (const auto& [code, picture] : cases) {
    EXPECT_EQ(TPLParser::GetDateTimeFormat(code), picture) << code;
  }
}

TEST(TPLSignedIntegerTest, Forms) {
  for (const wchar_t* yes : {L"0", L"12", L"-12", L"-", L"007"}) {
    EXPECT_TRUE(TPLParser::IsSignedInteger(yes)) << yes;
  }
  for (const wchar_t* no : {L"", L"+1", L"1-", L"--1", L"1.5", L" 1", L"x"}) {
    EXPECT_FALSE(TPLParser::IsSignedInteger(no)) << no;
  }
}

}  // namespace
