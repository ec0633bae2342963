// The statement reader, keyword lookup, state messages and label-level statements.

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "intake/Languages.h"
#include "parsers/ParserFactory.h"
#include "parsers/tpl/TPLParser.h"
#include "parsers/tpl/TPLStatements.h"
#include "parsers/tpl/TPLTestJob.h"
#include "platform/Text.h"

namespace {

using Lines = std::vector<std::wstring>;
using TPLReaderTest = TPLJobTest;

TEST(StatementReaderTest, AnyLineEndingEndsAStatementAndTheTailIsDropped) {
  const std::pair<std::string_view, Lines> cases[] = {
      {"A 1\r\nB 2\r\n", {L"A 1", L"B 2"}},
      {"A 1\nB 2\n", {L"A 1", L"B 2"}},
      {"A 1\rB 2\r", {L"A 1", L"B 2"}},
      // Mixed endings: no statement swallows the next one.
      {"A\nB\r\nC\rD\n", {L"A", L"B", L"C", L"D"}},
      {"A\n\rB\n", {L"A", L"", L"B"}},
      // The tail after the last break is not a statement.
      {"A\r\nENDLABEL", {L"A"}},
      {"STARTTPL", {}},
      {"  \tA  B \t\r\n\r\n", {L"A  B", L""}},
      {std::string_view("A\0B\xFF\r\n", 6), {std::wstring(L"A\0B\xFF", 4)}},
  };
  for (const auto& [job, expected] : cases) {
    tpl::StatementReader reader(job);
    Lines statements;
    for (std::wstring statement; reader.Next(statement);) statements.push_back(statement);
    EXPECT_EQ(statements, expected) << job;
  }
}

// The long label-level keywords win over the short object ones they contain.
TEST_F(TPLReaderTest, KeywordsMatchByPrefixInTableOrder) {
  CommandList commands =
      Parse(Job("LABELWIDTH 2;LABELHEIGHT1;SETPRINTDENSITY 100;SETPRINTSPEED 4;LABELROTATE 90;"
                "LABELORIENTATION landscape;TEARORCUTBETWEENEACHLABEL;TEARORCUTATENDOFJOB;"
                "DONTTEARORCUT;LABELMIRROR;matchtape tz-231;MatchRibbon R1"));
  EXPECT_EQ(KindsOf(commands),
            Named({LABEL_LENGTH, LABEL_LENGTH, PRINT_DENSITY, PRINT_SPEED, PRINT_ROTATION,
                   LABEL_ORIENTATION, CUTTING_OPTION, CUTTING_OPTION, CUTTING_OPTION,
                   MIRROR_PRINTING, MATCH_TAPE, MATCH_RIBBON}));
  EXPECT_EQ(RecordParams(commands), Lines({L"600", L"300", L"100", L"4", L"90", L"LANDSCAPE", L"0",
                                           L"1", L"2", L"Y", L"TZ-231", L"R1"}));
  EXPECT_TRUE(Logged().empty());
}

TEST_F(TPLReaderTest, StatementsInTheWrongPlaceLogTheirMessage) {
  const std::string noShape = "No StartShape Defined, Cannot create ";
  const std::pair<std::string, const char*> cases[] = {
      // Each statement alone inside a label.
      {"No StartLine Defined, Cannot create StartPoint", "STARTPOINT 1,2"},
      {"No StartLine Defined, Cannot create EndPoint", "ENDPOINT 1,2"},
      {noShape + "Shape Type", "SHAPETYPE RECTANGLE"},
      {noShape + "Arrow Type", "ARROWTYPE ARROW_UP"},
      {noShape + "DegreesOfArc", "DEGREESOFARC 5"},
      {noShape + "ArrowHeadLength", "ARROWHEADLENGTH 5"},
      {noShape + "ArrowHeadOverhang", "ARROWHEADOVERHANG 5"},
      {noShape + "ArrowStemWidth", "ARROWSTEMWIDTH 5"},
      {noShape + "object Position", "POSITION 1,2"},
      {"No StartGraphics Defined, Cannot create object Imagename", "IMAGENAME A.PNG"},
      {noShape + "ObjectWidth", "WIDTH 1"},
      {noShape + "ObjectHeight", "HEIGHT 1"},
      {noShape + "CornerRoundness", "ROUNDEDCORNERS 1"},
      {"No StartShape or StartLine Defined, Cannot create LineThickness", "LINETHICKNESS 1"},
      {noShape + "ObjectRotation", "ROTATION 90"},
      {"No StartText Found. Please check your script",
       "ENDTEXT;TEXT x;TEXTCOLOR RED;FONTNAME x;STYLES B;JUSTIFICATION L;FONTTYPE FREEFORM;"
       "BOUNDINGBOX T"},
      {"No StartText or StartBarcode Found. Please check your script",
       "GETTEXT x;GETSERIAL 1,1,1;GETDATETIME 1"},
      {"No StartBarcode Found. Please check your script",
       "DATA x;BARCODETYPE Code 39;HUMANREADABLE T,TOP;DENSITY 1;RATIO 2;CHECKCHARACTER T"},
      {"Invalid command found:DEFAULTLABELWIDTH 4", "defaultlabelwidth 4"},
      {"", "ENDTPL anything"},
  };
  for (const auto& [message, statements] : cases) {
    for (const std::string& statement : Split(statements)) {
      EXPECT_EQ(KindsOf(Parse(InLabel(statement))), Named({START_LABEL})) << statement;
      EXPECT_EQ(Logged(), message.empty() ? Messages() : Messages({message})) << statement;
    }
  }
}

// Block starts are refused outside a label; block ends still run, and lines and arrows emit.
TEST_F(TPLReaderTest, BlocksOutsideALabel) {
  CommandList commands =
      Parse(Job("ENDLABEL;STARTSHAPE;STARTGRAPHICS;STARTLINE;STARTARROW;STARTBARCODE;STARTTEXT;"
                "ENDSHAPE;ENDGRAPHICS;ENDLINE;ENDARROW;ENDBARCODE"));
  EXPECT_EQ(KindsOf(commands), Named({LINE, ARROW}));
  const std::string noLabel = "No StartLabel found, please check your script";
  EXPECT_EQ(Logged(),
            Messages({"No StartLabel Found, EndLabel not Valid, Please check your script", noLabel,
                      noLabel, noLabel, noLabel, noLabel,
                      "No StartLabel Found. Please check your script", noLabel, noLabel, noLabel,
                      noLabel, noLabel, "Invalid barcode type. Please check your script"}));
}

// Comments take whole lines; values keep their case only for text and data sources.
TEST_F(TPLReaderTest, CommentsAndCase) {
  CommandList commands =
      Parse(Job("// a note;   \t// indented note;;   ;SETUNITS dots;STARTLABEL;STARTTEXT;"
                "Text Hello // not a note;fontname Arial Narrow;GetSerial 1,1,5,Ab-,-cD;ENDTEXT;"
                "STARTBARCODE;BARCODETYPE code 128;DATA abc;GETTEXT Scan the Box;"
                "HUMANREADABLE t,top;ENDBARCODE"));
  EXPECT_EQ(RecordParams(commands),
            Lines({L"()",
                   L"Hello // not a note|0|0|0|0|ARIAL NARROW|FREEFORM|0|C||0|F|1|F|F|F|F|F|"
                   L"1|1|5|Ab-|-cD",
                   L"CODE 128|ABC|0|0|0|0|T|TOP|0|0|F|Scan the Box"}));
  EXPECT_TRUE(Logged().empty());
}

TEST_F(TPLReaderTest, OnlyVersionOneIsAccepted) {
  const std::pair<const char*, const char*> cases[] = {
      // statement, the rejected value logged
      {"STARTTPL", nullptr},     {"STARTTPL 0.9", nullptr},    {"STARTTPL 1", nullptr},
      {"STARTTPL 1.0", nullptr}, {"STARTTPL ABC", nullptr},    {"STARTTPL 1.1", "1.1"},
      {"starttpl 2", "2"},       {"STARTTPL 1.0001", "1.0001"}};
  for (const auto& [statement, rejected] : cases) {
    const KindNames expected =
        rejected ? Named({MIRROR_PRINTING}) : Named({MIRROR_PRINTING, START_LABEL});
    EXPECT_EQ(KindsOf(Parse(Job(std::string("LABELMIRROR;") + statement + ";STARTLABEL"))),
              expected)
        << statement;
    EXPECT_EQ(Logged(), rejected ? Messages({std::string("Invalid TPL Version: ") + rejected +
                                             " Script will not be processed."})
                                 : Messages())
        << statement;
    // A caller checking a statement list learns the result from the pass.
    TPLParser parser(&data_);
    EXPECT_EQ(parser.parseCommandList({platform::BytesToWide(statement), L"STARTLABEL"}),
              !rejected);
    EXPECT_EQ(parser.IsState(TPLParser::kDocumentOpen | TPLParser::kLabelOpen), !rejected);
  }
}

TEST_F(TPLReaderTest, LabelLevelStatements) {
  CommandList commands =
      Parse(Job("STARTTPL;SETUNITS MM;LABELOFFSET 10, 20;LABELOFFSET 0.5;LABELNEGATIVE;"
                "STARTLABEL;LABELHEIGHT 25.4;LABELNEGATIVE;ENDLABEL 3;endlabel 3;"
                "SETUNITS INCHES;LABELWIDTH 1.5;STARTLABEL;STARTLABEL;ENDLABEL"),
            203);
  EXPECT_EQ(KindsOf(commands),
            Named({LABEL_OFFSET, LABEL_OFFSET, LABEL_NEGATIVE, START_LABEL, LABEL_LENGTH,
                   LABEL_NEGATIVE, PRINT_QUANTITY, PRINT_LABEL, LABEL_LENGTH, START_LABEL,
                   START_LABEL, PRINT_QUANTITY, PRINT_LABEL}));
  // The bad offset repeats the old ones; a negative before any length has none;
  // ENDLABEL without a count prints once.
  EXPECT_EQ(RecordParams(commands), Lines({L"79|159", L"79|159", L"", L"()", L"203", L"203", L"3",
                                           L"()", L"304", L"()", L"()", L"1", L"()"}));
  EXPECT_EQ(Logged(),
            Messages({"Invalid Syntax for LABELOFFSET command: 0.5",
                      "No StartLabel Found, EndLabel not Valid, Please check your script"}));
}

TEST_F(TPLReaderTest, LabelLevelValuesCarryToTheNextJobThroughTheFactory) {
  CParserFactory factory;
  auto run = [&factory](const std::string& job) {
    std::unique_ptr<CLanguageParserBase> parser = factory.GetParser(LANGUAGE_TPL);
    EXPECT_NE(dynamic_cast<TPLParser*>(parser.get()), nullptr);
    parser->SetParserDPI(300);
    CommandList out;
    parser->ParseData(job.data(), static_cast<int32_t>(job.size()), out);
    return out;
  };
  run(
      Job("LABELHEIGHT 2;LABELOFFSET 0.1,0.2;MATCHTAPE T1;STARTLABEL;STARTBARCODE;"
          "BARCODETYPE CODE 39;ENDLABEL"));
  // A new parser resets the object fields but not the label-level ones.
  CommandList second = run(Job("LABELNEGATIVE;LABELOFFSET bad;STARTLABEL;ENDBARCODE"));
  EXPECT_EQ(KindsOf(second), Named({LABEL_NEGATIVE, LABEL_OFFSET, START_LABEL}));
  EXPECT_EQ(RecordParams(second), Lines({L"600", L"30|60", L"()"}));
  EXPECT_EQ(Logged(), Messages({"Invalid Syntax for LABELOFFSET command: BAD",
                                "Invalid barcode type. Please check your script"}));
}

// The example jobs a user starts from must parse as their comments promise:
// the clean ones log nothing, and the one with mistakes logs exactly the
// quoted messages of its comments, in order.
std::string ReadExample(const char* name) {
  std::ifstream file(std::filesystem::path(LABELENGINE_SOURCE_DIR) / "examples" / "tpl" / name,
                     std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

TEST_F(TPLReaderTest, CleanJobsPrintWithoutComplaint) {
  for (const char* name : {"shipping_label.tpl", "price_tag.tpl", "shapes_and_picture.tpl"}) {
    const KindNames kinds = KindsOf(Parse(ReadExample(name)));
    ASSERT_FALSE(kinds.empty()) << name;
    EXPECT_EQ(std::count(kinds.begin(), kinds.end(), "START_LABEL"), 1) << name;
    EXPECT_EQ(kinds.back(), "PRINT_LABEL") << name;
    EXPECT_TRUE(Logged().empty()) << name;
  }
}

TEST_F(TPLReaderTest, MistakesAreExplainedInTheLog) {
  std::string job = ReadExample("mistakes.tpl");
  ASSERT_FALSE(job.empty());
  Messages quoted;  // the double-quoted texts of the comment lines
  std::istringstream lines(job);
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind("//", 0) != 0) continue;
    for (size_t open = line.find('"'), close;
         open != std::string::npos && (close = line.find('"', open + 1)) != std::string::npos;
         open = line.find('"', close + 1)) {
      quoted.push_back(line.substr(open + 1, close - open - 1));
    }
  }
  EXPECT_EQ(KindsOf(Parse(job)).back(), "PRINT_LABEL");
  EXPECT_EQ(Logged(), quoted);
}

}  // namespace
