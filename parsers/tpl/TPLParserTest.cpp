#include <gtest/gtest.h>

#include "intake/ParserFactory.h"
#include "intake/ScriptingData.h"
#include "parsers/tpl/TPLParser.h"
#include "parsers/tpl/TPLTestJob.h"

namespace {

using Params = std::vector<std::wstring>;
using Messages = std::vector<std::string>;

using TPLReaderTest = TPLJobTest;

TEST_F(TPLReaderTest, TheLastLineNeedsItsBreak) {
  EXPECT_EQ(Kinds(Parse("STARTLABEL\r\nENDLABEL")), std::vector<int32_t>({START_LABEL}));
  EXPECT_TRUE(Parse("STARTLABEL").empty());
}

TEST_F(TPLReaderTest, CommentsTakeWholeLines) {
  CommandList commands = Parse(Job({"// a note", "   \t// indented note", "", "   ", "STARTLABEL",
                                    "STARTTEXT", "TEXT hello // not a note", "ENDTEXT"}));
  EXPECT_EQ(ParamsOf(commands, TEXT)[0], L"hello // not a note");
  EXPECT_TRUE(Logged().empty());
}

TEST_F(TPLReaderTest, KeywordsMatchByPrefixInTableOrder) {
  struct Case {
    const char* statement;
    int32_t kind;  // 0: none
    const wchar_t* param;
    const char* message;
  };
  const Case cases[] = {
      // The long label-level keywords win over the short object ones they contain.
      {"LABELWIDTH 2", LABEL_LENGTH, L"600", nullptr},
      {"LABELHEIGHT 1", LABEL_LENGTH, L"300", nullptr},
      {"SETPRINTDENSITY 100", PRINT_DENSITY, L"100", nullptr},
      {"SETPRINTSPEED 4", PRINT_SPEED, L"4", nullptr},
      {"LABELROTATE 90", PRINT_ROTATION, L"90", nullptr},
      {"LABELORIENTATION landscape", LABEL_ORIENTATION, L"LANDSCAPE", nullptr},
      {"TEARORCUTBETWEENEACHLABEL", CUTTING_OPTION, L"0", nullptr},
      {"TEARORCUTATENDOFJOB", CUTTING_OPTION, L"1", nullptr},
      {"DONTTEARORCUT", CUTTING_OPTION, L"2", nullptr},
      {"LABELMIRROR", MIRROR_PRINTING, L"Y", nullptr},
      {"matchtape tz-231", MATCH_TAPE, L"TZ-231", nullptr},
      {"MatchRibbon R1", MATCH_RIBBON, L"R1", nullptr},
      // Nothing needs to follow a keyword.
      {"LABELHEIGHT1", LABEL_LENGTH, L"300", nullptr},
      {"ENDTPL anything", 0, nullptr, nullptr},
      {"DEFAULTLABELWIDTH 4", 0, nullptr, "Invalid command found:DEFAULTLABELWIDTH 4"},
      {"hello world", 0, nullptr, "Invalid command found:HELLO WORLD"},
      // Object keywords outside their blocks report the keyword they are.
      {"DENSITY 5", 0, nullptr, "No StartBarcode Found. Please check your script"},
      {"WIDTH 2", 0, nullptr, "No StartShape Defined, Cannot create ObjectWidth"},
      {"TEXTCOLOR RED", 0, nullptr, "No StartText Found. Please check your script"},
      {"GETTEXT name", 0, nullptr, "No StartText or StartBarcode Found. Please check your script"},
  };
  for (const Case& c : cases) {
    data_ = TPLData();
    std::filesystem::remove_all(root_);
    CommandList commands = Parse(Job({c.statement}));
    if (c.kind == 0) {
      EXPECT_TRUE(commands.empty()) << c.statement;
    } else {
      ASSERT_EQ(commands.size(), 1u) << c.statement;
      EXPECT_EQ(commands[0].kind, c.kind) << c.statement;
      EXPECT_EQ(commands[0].params, Params({c.param})) << c.statement;
    }
    EXPECT_EQ(Logged(), c.message ? Messages({c.message}) : Messages()) << c.statement;
  }
}

TEST_F(TPLReaderTest, EveryStateMessage) {
  struct Case {
    bool inLabel;
    const char* statement;
    const char* message;
  };
  const char* noLabel = "No StartLabel found, please check your script";
  const char* noText = "No StartText Found. Please check your script";
  const char* noSource = "No StartText or StartBarcode Found. Please check your script";
  const char* noBarcode = "No StartBarcode Found. Please check your script";
  const Case cases[] = {
      {false, "ENDLABEL", "No StartLabel Found, EndLabel not Valid, Please check your script"},
      {false, "STARTSHAPE", noLabel},
      {false, "STARTGRAPHICS", noLabel},
      {false, "STARTLINE", noLabel},
      {false, "STARTARROW", noLabel},
      {false, "STARTBARCODE", noLabel},
      {false, "STARTTEXT", "No StartLabel Found. Please check your script"},
      {true, "STARTPOINT 1,2", "No StartLine Defined, Cannot create StartPoint"},
      {true, "ENDPOINT 1,2", "No StartLine Defined, Cannot create EndPoint"},
      {true, "SHAPETYPE RECTANGLE", "No StartShape Defined, Cannot create Shape Type"},
      {true, "ARROWTYPE ARROW_UP", "No StartShape Defined, Cannot create Arrow Type"},
      {true, "DEGREESOFARC 5", "No StartShape Defined, Cannot create DegreesOfArc"},
      {true, "ARROWHEADLENGTH 5", "No StartShape Defined, Cannot create ArrowHeadLength"},
      {true, "ARROWHEADOVERHANG 5", "No StartShape Defined, Cannot create ArrowHeadOverhang"},
      {true, "ARROWSTEMWIDTH 5", "No StartShape Defined, Cannot create ArrowStemWidth"},
      {true, "POSITION 1,2", "No StartShape Defined, Cannot create object Position"},
      {true, "IMAGENAME A.PNG", "No StartGraphics Defined, Cannot create object Imagename"},
      {true, "WIDTH 1", "No StartShape Defined, Cannot create ObjectWidth"},
      {true, "HEIGHT 1", "No StartShape Defined, Cannot create ObjectHeight"},
      {true, "ROUNDEDCORNERS 1", "No StartShape Defined, Cannot create CornerRoundness"},
      {true, "LINETHICKNESS 1", "No StartShape or StartLine Defined, Cannot create LineThickness"},
      {true, "ROTATION 90", "No StartShape Defined, Cannot create ObjectRotation"},
      {true, "ENDTEXT", noText},
      {true, "GETTEXT x", noSource},
      {true, "GETSERIAL 1,1,1", noSource},
      {true, "GETDATETIME 1", noSource},
      {true, "TEXT x", noText},
      {true, "FONTNAME x", noText},
      {true, "STYLES B", noText},
      {true, "JUSTIFICATION L", noText},
      {true, "FONTTYPE FREEFORM", noText},
      {true, "BOUNDINGBOX T", noText},
      {true, "DATA x", noBarcode},
      {true, "BARCODETYPE Code 39", noBarcode},
      {true, "HUMANREADABLE T,TOP", noBarcode},
      {true, "DENSITY 1", noBarcode},
      {true, "RATIO 2", noBarcode},
      {true, "CHECKCHARACTER T", noBarcode},
  };
  for (const Case& c : cases) {
    std::filesystem::remove_all(root_);
    CommandList commands = Parse(c.inLabel ? Job({"STARTLABEL", c.statement}) : Job({c.statement}));
    EXPECT_EQ(commands.size(), c.inLabel ? 1u : 0u) << c.statement;
    EXPECT_EQ(Logged(), Messages({c.message})) << c.statement;
  }
}

TEST_F(TPLReaderTest, BlockEndsOutsideALabelStillEmit) {
  CommandList commands =
      Parse(Job({"ENDSHAPE", "ENDGRAPHICS", "ENDLINE", "ENDARROW", "ENDBARCODE"}));
  EXPECT_EQ(Kinds(commands), std::vector<int32_t>({LINE, ARROW}));
  const char* noLabel = "No StartLabel found, please check your script";
  EXPECT_EQ(Logged(), Messages({noLabel, noLabel, noLabel, noLabel, noLabel,
                                "Invalid barcode type. Please check your script"}));
}

TEST_F(TPLReaderTest, ValuesKeepTheirCaseOnlyForTextAndDataSources) {
  CommandList commands = Parse(
      Job({"SETUNITS dots", "STARTLABEL", "STARTTEXT", "Text Hello World", "fontname Arial Narrow",
           "GetSerial 1,1,5,Ab-,-cD", "ENDTEXT", "STARTBARCODE", "BARCODETYPE code 128", "DATA abc",
           "GETTEXT Scan the Box", "HUMANREADABLE t,top", "ENDBARCODE"}));
  Params text = ParamsOf(commands, SEQUENCE_TEXT);
  EXPECT_EQ(text[0], L"Hello World");
  EXPECT_EQ(text[5], L"ARIAL NARROW");
  EXPECT_EQ(Params(text.end() - 5, text.end()), Params({L"1", L"1", L"5", L"Ab-", L"-cD"}));
  Params barcode = ParamsOf(commands, PROMPT_BARCODE);
  EXPECT_EQ(barcode[0], L"CODE 128");
  EXPECT_EQ(barcode[1], L"ABC");
  EXPECT_EQ(barcode[6], L"T");
  EXPECT_EQ(barcode[7], L"TOP");
  EXPECT_EQ(barcode[11], L"Scan the Box");
}

TEST_F(TPLReaderTest, VersionCheck) {
  struct Case {
    const char* version;
    bool accepted;
  };
  const Case cases[] = {{"STARTTPL", true},     {"STARTTPL 0.9", true},    {"STARTTPL 1", true},
                        {"STARTTPL 1.0", true}, {"STARTTPL ABC", true},    {"STARTTPL 1.1", false},
                        {"starttpl 2", false},  {"STARTTPL 1.0001", false}};
  for (const Case& c : cases) {
    std::filesystem::remove_all(root_);
    CommandList commands = Parse(Job({"LABELMIRROR", c.version, "STARTLABEL"}));
    std::vector<int32_t> expected = {MIRROR_PRINTING};
    if (c.accepted) expected.push_back(START_LABEL);
    EXPECT_EQ(Kinds(commands), expected) << c.version;
    if (c.accepted) {
      EXPECT_TRUE(Logged().empty()) << c.version;
    } else {
      std::string value = c.version + 9;
      for (char& ch : value) ch = static_cast<char>(toupper(ch));
      EXPECT_EQ(Logged(),
                Messages({"Invalid TPL Version: " + value + " Script will not be processed."}));
    }
  }
}

TEST_F(TPLReaderTest, PassReportsARejectedVersion) {
  TPLParser parser(&data_);
  EXPECT_TRUE(parser.parseCommandList({L"STARTTPL 1.0", L"STARTLABEL"}));
  EXPECT_TRUE(parser.IsState(TPLParser::kDocumentOpen | TPLParser::kLabelOpen));
  TPLParser rejecting(&data_);
  EXPECT_FALSE(rejecting.parseCommandList({L"STARTTPL 3", L"STARTLABEL"}));
  EXPECT_FALSE(rejecting.IsState(TPLParser::kDocumentOpen));
}

TEST_F(TPLReaderTest, LabelLevelStatements) {
  CommandList commands =
      Parse(Job({"STARTTPL", "SETUNITS MM", "LABELOFFSET 10, 20", "LABELOFFSET 0.5",
                 "LABELNEGATIVE", "STARTLABEL", "LABELHEIGHT 25.4", "LABELNEGATIVE", "ENDLABEL 3",
                 "endlabel 3", "SETUNITS INCHES", "LABELWIDTH 1.5"}),
            203);
  ASSERT_EQ(commands.size(), 9u);
  EXPECT_EQ(commands[0].params, Params({L"79", L"159"}));
  EXPECT_EQ(commands[1].params, Params({L"79", L"159"}));  // the old offsets again
  EXPECT_EQ(commands[2].params, Params({L""}));            // no length yet
  EXPECT_EQ(commands[4].params, Params({L"203"}));         // LABEL_LENGTH
  EXPECT_EQ(commands[5].kind, LABEL_NEGATIVE);
  EXPECT_EQ(commands[5].params, Params({L"203"}));
  EXPECT_EQ(commands[6].params, Params({L"3"}));
  EXPECT_EQ(commands[8].params, Params({L"304"}));
  EXPECT_EQ(data_.labelLength, L"1.5");
  EXPECT_EQ(data_.offsetX, L"10");
  EXPECT_EQ(Logged(),
            Messages({"Invalid Syntax for LABELOFFSET command: 0.5",
                      "No StartLabel Found, EndLabel not Valid, Please check your script"}));
}

TEST_F(TPLReaderTest, EndLabelWithoutCountPrintsOnce) {
  CommandList commands = Parse(Job({"STARTLABEL", "ENDLABEL", "STARTLABEL", "STARTLABEL"}));
  EXPECT_EQ(Kinds(commands), std::vector<int32_t>({START_LABEL, PRINT_QUANTITY, PRINT_LABEL,
                                                   START_LABEL, START_LABEL}));
  EXPECT_EQ(commands[1].params, Params({L"1"}));
  EXPECT_TRUE(commands[2].params.empty());
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
  run(Job({"LABELHEIGHT 2", "LABELOFFSET 0.1,0.2", "MATCHTAPE T1", "STARTLABEL", "STARTBARCODE",
           "BARCODETYPE CODE 39", "ENDLABEL"}));
  // A new parser resets the object fields but not the label-level ones.
  CommandList second = run(Job({"LABELNEGATIVE", "LABELOFFSET bad", "STARTLABEL", "ENDBARCODE"}));
  EXPECT_EQ(Kinds(second), std::vector<int32_t>({LABEL_NEGATIVE, LABEL_OFFSET, START_LABEL}));
  EXPECT_EQ(second[0].params, Params({L"600"}));
  EXPECT_EQ(second[1].params, Params({L"30", L"60"}));
  EXPECT_EQ(Logged(), Messages({"Invalid Syntax for LABELOFFSET command: BAD",
                                "Invalid barcode type. Please check your script"}));
}

}  // namespace
