// Object blocks: the record each block end makes, and the values inside them.

#include <gtest/gtest.h>

#include <tuple>

#include "parsers/tpl/TPLParser.h"
#include "parsers/tpl/TPLTestJob.h"

namespace {

using TPLBlocksTest = TPLJobTest;

TEST_F(TPLBlocksTest, EachBlockEndListsItsFields) {
  const std::tuple<std::string, int32_t, const wchar_t*> cases[] = {
      {InLabel("STARTTEXT;TEXT Hello;POSITION 1,2;ENDTEXT"), TEXT,
       L"Hello|300|600|0|0|Arial|FREEFORM|0|C||0|F|1|F|F|F|F|F"},
      {InLabel("STARTTEXT;FONTTYPE MANUAL 1,2,12;STYLES B,I,U,REVERSE,VERTICAL;"
               "BOUNDINGBOX T;ROTATION 90;JUSTIFICATION R;GETDATETIME 5;ENDTEXT"),
       DATE_TIME_TEXT, L"|0|0|600|300|Arial|MANUAL|12|R||90|T|1|T|T|T|T|T|yyyy-MM-dd"},
      {InLabel("STARTBARCODE;BARCODETYPE Code 39;DATA 12ab;POSITION 0.5,1;HEIGHT 0.25;"
               "ROTATION 180;HUMANREADABLE T,TOP;DENSITY 3;RATIO 2.5;CHECKCHARACTER T;ENDBARCODE"),
       BARCODE, L"CODE 39|12AB|150|300|75|180|T|TOP|3|2.5|T"},
      {InLabel("STARTBARCODE;BARCODETYPE EAN13;GETSERIAL 100,-1,3;ENDBARCODE"), SEQUENCE_BARCODE,
       L"EAN13||0|0|0|0|F|BOTTOM|0|0|F|100|-1|3||"},
      {InLabel("STARTSHAPE;SHAPETYPE ROUNDRECTANGLE;POSITION 1,1;WIDTH 2;HEIGHT 0.5;"
               "LINETHICKNESS 3;ROUNDEDCORNERS 20;ROTATION 45;ENDSHAPE"),
       SHAPE, L"ROUNDRECTANGLE|300|300|600|150|72|0|20|NONE|45"},
      {InLabel("STARTLINE;STARTPOINT 0,0.5;ENDPOINT 2 , 0.5;LINETHICKNESS 4;ENDLINE"), LINE,
       L"0|150|600|150|4"},
      {InLabel("STARTARROW;ARROWTYPE arrow_clockwise;POSITION 1,0;WIDTH 1;HEIGHT 1;"
               "DEGREESOFARC 270;ARROWHEADLENGTH 5;ARROWHEADOVERHANG 6;ARROWSTEMWIDTH 7;ENDARROW"),
       ARROW, L"ARROW_CLOCKWISE|300|0|300|300|0|24|NONE|270|0|5|6|7"},
      {InLabel("STARTGRAPHICS;IMAGENAME logo.png;POSITION 0.1,0.2;WIDTH 1;HEIGHT 1;"
               "STYLES REVERSE;ENDGRAPHICS"),
       GRAPHIC, L"LOGO.PNG|30|60|300|300|T"},
  };
  for (const auto& [job, kind, fields] : cases) {
    CommandList commands = Parse(job);
    EXPECT_EQ(KindsOf(commands), Named({START_LABEL, kind})) << job;
    EXPECT_EQ(RecordParams(commands).back(), fields) << job;
    EXPECT_TRUE(Logged().empty()) << job;
  }
}

// LINETHICKNESS is dots in every block: a line keeps it, while shapes and
// arrows carry it as a pen in hundredths of a point at the printer's DPI.
// Passed on as written, a 4-dot frame printed a hair line.
TEST_F(TPLBlocksTest, LineThicknessIsDotsForEveryBlock) {
  constexpr size_t kShape = record::ShapeParam::kThickness;
  constexpr size_t kArrow = record::ArrowParam::kThickness;
  constexpr size_t kLine = record::LineParam::kThickness;
  const struct {
    const char* block;
    int dpi;
    size_t position;
    const wchar_t* written;
  } cases[] = {
      {"STARTSHAPE;SHAPETYPE RECTANGLE;LINETHICKNESS 4;ENDSHAPE", 300, kShape, L"96"},
      {"STARTSHAPE;SHAPETYPE RECTANGLE;LINETHICKNESS 4;ENDSHAPE", 203, kShape, L"142"},
      {"STARTSHAPE;SHAPETYPE RECTANGLE;LINETHICKNESS 0;ENDSHAPE", 300, kShape, L"0"},
      {"STARTSHAPE;SHAPETYPE RECTANGLE;ENDSHAPE", 600, kShape, L"12"},
      {"STARTARROW;ARROWTYPE ARROW_UP;LINETHICKNESS 10;ENDARROW", 600, kArrow, L"120"},
      {"STARTARROW;ARROWTYPE ARROW_UP;ENDARROW", 300, kArrow, L"24"},
      {"STARTLINE;LINETHICKNESS 4;ENDLINE", 203, kLine, L"4"},
  };
  for (const auto& c : cases) {
    const LabelCommand last = Parse(InLabel(c.block), c.dpi).back();
    EXPECT_EQ(last.params.at(c.position), c.written) << c.block << " at " << c.dpi;
  }
}

// A shape, arrow or barcode needs its type; a picture block reuses the last picture.
TEST_F(TPLBlocksTest, BlocksWithoutTheirKeyValue) {
  CommandList commands = Parse(
      InLabel("STARTSHAPE;SHAPETYPE DIAMOND;SHAPETYPE POLYGON;ENDSHAPE;STARTGRAPHICS;ENDGRAPHICS;"
              "STARTBARCODE;ENDBARCODE;STARTARROW;ARROWTYPE ARROW_SIDEWAYS;ENDARROW;"
              "STARTGRAPHICS;IMAGENAME A.PNG;ENDGRAPHICS;STARTGRAPHICS;ENDGRAPHICS;"
              "STARTTEXT;ENDTEXT;STARTGRAPHICS;ENDGRAPHICS"));
  EXPECT_EQ(KindsOf(commands), Named({START_LABEL, ARROW, GRAPHIC, GRAPHIC, TEXT}));
  EXPECT_EQ(commands[1].params[0], L"");
  EXPECT_EQ(commands[3].params[0], L"A.PNG");
  EXPECT_EQ(Logged(), Messages({"Invalid Shape Type, DIAMOND unsupported",
                                "Invalid Shape Type, POLYGON unsupported",
                                "Invalid barcode type. Please check your script",
                                "Invalid Arrow Type, ARROW_SIDEWAYS unsupported"}));
}

// Pairs need their comma; a bad value logs and keeps the default.
TEST_F(TPLBlocksTest, ValueSyntax) {
  CommandList commands =
      Parse(Job("SETUNITS DOTS;STARTLABEL;STARTTEXT;POSITION 5,6;POSITION 7;STYLES B,,U;STYLES;"
                "STYLES BOLD;JUSTIFICATION L;JUSTIFICATION;JUSTIFICATION LEFT;FONTNAME;ENDTEXT;"
                "STARTTEXT;ENDTEXT;STARTLINE;STARTPOINT 1;ENDPOINT 2;ENDLINE;"
                "STARTBARCODE;BARCODETYPE X;HUMANREADABLE T;ENDBARCODE"));
  EXPECT_EQ(RecordParams(commands),
            std::vector<std::wstring>({L"()", L"|5|6|0|0|Arial|FREEFORM|0|L||0|F|1|T|F|T|F|F",
                                       L"|0|0|0|0|Arial|FREEFORM|0|C||0|F|1|F|F|F|F|F",
                                       L"0|0|0|0|1", L"X||0|0|0|0|F|BOTTOM|0|0|F"}));
  EXPECT_EQ(
      Logged(),
      Messages({"Invalid Syntax for POSITION command: 7",
                "Invalid parameter for Font Style: ", "Invalid parameter for Font Style: BOLD",
                "Invalid Text Justification Parameter:LEFT Justification will be "
                "set to default value",
                "Not Font Name defined, Font name will be set to SystemDefault",
                "Invalid Syntax for STARTPOINT command: 1",
                "Invalid Syntax for ENDPOINT command: 2",
                "Invalid Syntax for HUMAN READABLE command: T"}));
}

// Bound boxes (AUTOSIZE, MANUAL) go to dots; the FREEFORM sizes pass unchanged.
TEST_F(TPLBlocksTest, FontTypes) {
  const std::string defaulted = "Style defaulted to FreeForm with 1/2 inch font size";
  const std::tuple<const char*, const wchar_t*, Messages> cases[] = {
      // type|size|width|height
      {"FONTTYPE AUTOSIZE 1,2", L"AUTOSIZE|0|600|300", {}},
      {"FONTTYPE FREEFORM 12", L"FREEFORM|12|75|75", {}},
      {"FONTTYPE FREEFORM", L"FREEFORM||75|75", {}},
      {"fonttype manual 0.3 , 0.4 , 5", L"MANUAL|5|120|90", {}},
      {"FONTTYPE AUTOSIZE 1",
       L"FREEFORM|36|75|75",
       {"Invalid Syntax for AUTOSIZE command: 1", "Invalid FontStyle: AUTOSIZE 1" + defaulted}},
      {"FONTTYPE MANUAL 1,2",
       L"FREEFORM|36|75|75",
       {"Invalid Syntax for AUTOSIZE command: 2", "Invalid FontStyle: MANUAL 1,2" + defaulted}},
      {"FONTTYPE", L"FREEFORM|36|75|75", {"Invalid FontStyle: " + defaulted}},
  };
  for (const auto& [statement, fields, messages] : cases) {
    Params p = Parse(InLabel("STARTTEXT;" + std::string(statement) + ";ENDTEXT")).back().params;
    using T = record::TextParam;
    ASSERT_EQ(p.size(), T::kRequired);
    EXPECT_EQ(JoinedParams({p[T::kSizing], p[T::kFontSize], p[T::kWidth], p[T::kHeight]}), fields)
        << statement;
    EXPECT_EQ(Logged(), messages) << statement;
  }
}

TEST_F(TPLBlocksTest, GetSerialValidation) {
  const std::string badParameters = "Invalid parameter(s) for GetSerial command: ";
  const std::string badSyntax = "Invalid Syntax for GetSerial command: ";
  // Value, then start|increment|count|prefix|suffix and the message.
  const std::tuple<std::string, const wchar_t*, std::string> cases[] = {
      {"1,1,10,A-,-Z", L"1|1|10|A-|-Z", ""},
      {" -5 , 2 , 3 ", L"-5|2|3||", ""},
      {"1,1,1,p,s,extra", L"1|1|1|p|s", ""},
      {"-,1,1", L"-|1|1||", ""},
      {"1,X,10", L"0|1|1||", badParameters + "1,X,10"},
      {"1,1-,10", L"0|1|1||", badParameters + "1,1-,10"},
      {"1,,10", L"0|1|1||", badParameters + "1,,10"},
      {"+1,1,10", L"0|1|1||", badParameters + "+1,1,10"},
      {"--1,1,10", L"0|1|1||", badParameters + "--1,1,10"},
      {"1,1.5,10", L"0|1|1||", badParameters + "1,1.5,10"},
      {"1,1", L"0|1|1||", badSyntax + "1,1"},
      {"", L"0|1|1||", badSyntax}};
  for (const auto& [value, serial, message] : cases) {
    CommandList commands = Parse(InLabel("STARTTEXT;GETSERIAL " + value + ";ENDTEXT"));
    ASSERT_EQ(KindsOf(commands), Named({START_LABEL, SEQUENCE_TEXT})) << value;
    const Params& p = commands[1].params;
    EXPECT_EQ(JoinedParams(Params(p.begin() + record::TextParam::kSourceText, p.end())), serial)
        << value;
    EXPECT_EQ(Logged(), message.empty() ? Messages() : Messages({message})) << value;
  }
}

TEST_F(TPLBlocksTest, DataSourcesAndTheirWarning) {
  const std::string warning =
      "Warning: GetText, GetSerial, and GetDateTime cannot be used simultaneously.";
  // Statements inside a label, then the last record's kind and size, and the messages.
  const std::tuple<const char*, int32_t, size_t, Messages> cases[] = {
      {"STARTTEXT;GETTEXT Name?;ENDTEXT", PROMPT_TEXT, 19, {}},
      {"STARTTEXT;GETDATETIME;ENDTEXT", DATE_TIME_TEXT, 19, {}},
      {"STARTTEXT;GETTEXT a;GETSERIAL 1,1,1;ENDTEXT", SEQUENCE_TEXT, 23, {warning}},
      {"STARTTEXT;GETSERIAL 1,1;GETDATETIME 3;GETTEXT b;ENDTEXT",
       PROMPT_TEXT,
       19,
       {"Invalid Syntax for GetSerial command: 1,1", warning, warning}},
      {"STARTTEXT;GETTEXT a;GETTEXT b;ENDTEXT", PROMPT_TEXT, 19, {}},
      {"STARTBARCODE;BARCODETYPE UPC-A;GETTEXT Scan;ENDBARCODE", PROMPT_BARCODE, 12, {}},
      {"STARTBARCODE;BARCODETYPE UPC-A;GETDATETIME 1;ENDBARCODE",
       BARCODE,
       11,
       {"No StartText or StartBarcode Found. Please check your script"}},
      // Sources end with their block: the next text is static again.
      {"STARTTEXT;GETTEXT a;ENDTEXT;STARTTEXT;ENDTEXT", TEXT, 18, {}},
  };
  for (const auto& [statements, kind, size, messages] : cases) {
    CommandList commands = Parse(InLabel(statements));
    EXPECT_EQ(record::KindName(commands.back().kind), record::KindName(kind)) << statements;
    EXPECT_EQ(commands.back().params.size(), size) << statements;
    EXPECT_EQ(Logged(), messages) << statements;
  }
}

// Codes compare as exact text: anything but "0" to "19" is the default.
TEST(TPLDateTimeTest, PicturesByCode) {
  const std::pair<const wchar_t*, const wchar_t*> cases[] = {
      {L"0", L"M/d/yyyy"},    {L"7", L"dddd, MMMM d, yyyy"}, {L"15", L"MM/dd/yy' 'h:mm tt"},
      {L"19", L"hh:mm tt"},   {L"20", L"MM/dd/yyyy"},        {L"07", L"MM/dd/yyyy"},
      {L" 7", L"MM/dd/yyyy"}, {L"-1", L"MM/dd/yyyy"},        {L"", L"MM/dd/yyyy"},
      {L"x", L"MM/dd/yyyy"}};
  for (const auto& [code, picture] : cases) {
    EXPECT_EQ(TPLParser::GetDateTimeFormat(code), picture) << code;
  }
}

}  // namespace
