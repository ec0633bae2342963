// The object elements: the record each one appends, its messages, and the
// data sources of texts and barcodes.

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "parsers/xtpl/XTPLTestJob.h"

namespace {

class XTPLElementsTest : public XTPLJobTest {
 protected:
  // The records `objects` append inside a label, without the label's own.
  Lines Objects(const std::string& objects) {
    Lines lines;
    for (const std::wstring& line : Show(Parse(InLabel(objects)))) {
      if (!IsLabelRecord(line)) lines.push_back(line);
    }
    return lines;
  }
  static bool IsLabelRecord(const std::wstring& line) {
    for (const wchar_t* kind : {L"START_LABEL", L"LABEL_LENGTH ", L"LABEL_OFFSET ",
                                L"LABEL_ORIENTATION ", L"PRINT_QUANTITY ", L"PRINT_LABEL"}) {
      if (line.starts_with(kind)) return true;
    }
    return false;
  }
  struct Case {
    std::string objects;
    Lines records;
  };
  void Check(std::initializer_list<Case> cases) {
    for (const Case& c : cases) EXPECT_EQ(Objects(c.objects), c.records) << c.objects;
  }
};

constexpr char kAt[] = " POSITION-X=\"0\" POSITION-Y=\"0\"";
std::string Text(const std::string& inside, const std::string& attributes = "") {
  return std::string("<TEXT") + kAt + attributes + ">" + inside + "</TEXT>";
}
std::string Source(const std::string& element) {
  return "<DATASOURCE>" + element + "</DATASOURCE>";
}

TEST_F(XTPLElementsTest, ShapesArrowsLinesAndPictures) {
  Check({
      {"<RECTANGLE POSITION-X=\"0.1\" POSITION-Y=\"0.2\" HEIGHT=\"1\" WIDTH=\"2\"/>",
       {L"SHAPE RECTANGLE|30|60|600|300|24|0|0|NONE|0"}},
      {"<circle position-x=\"1\" position-y=\"1\" height=\"0.5\" width=\"0.5\" rotation=\"90\" "
       "line-thickness=\"4\" fill=\"solid\" rounded-corners=\"2\"/>",
       {L"SHAPE CIRCLE|300|300|150|150|96|0|2|SOLID|90"}},
      {"<STAR/>",
       {L"SCRIPT_ERROR No position-x found in shape command",
        L"SCRIPT_ERROR No position-y found in shape command",
        L"SCRIPT_ERROR No height found in shape command",
        L"SCRIPT_ERROR No width found in shape command", L"SHAPE STAR|0|0|0|0|24|0|0|NONE|0"}},
      // An arrow starts from whatever the element before it left.
      {"<DIAMOND POSITION-X=\"0\" POSITION-Y=\"0\" WIDTH=\"1\" HEIGHT=\"1\" ROTATION=\"45\" "
       "FILL=\"SOLID\"/><ARROW TYPE=\"ANGLED-ARROW-LEFT\" POSITION-X=\"1\" POSITION-Y=\"0\" "
       "HEIGHT=\"0.5\" WIDTH=\"0.5\"/><ARROW TYPE=\"SIDEWAYS\" POSITION-X=\"0\" "
       "POSITION-Y=\"0\" HEIGHT=\"1\" WIDTH=\"1\" ROTATION=\"0\"/><ARROW/>",
       {L"SHAPE DIAMOND|0|0|300|300|24|0|0|SOLID|45",
        L"ARROW ARROW_ANGLED_LEFT|300|0|150|150|45|24|SOLID|0|0|0|0|0",
        L"ARROW ARROW_LEFT|0|0|300|300|0|24|SOLID|0|0|0|0|0",
        L"SCRIPT_ERROR <Arrow> command must have a type specified. Type missing",
        L"SCRIPT_ERROR No position-x found in shape command",
        L"SCRIPT_ERROR No position-y found in shape command",
        L"SCRIPT_ERROR No height found in shape command",
        L"SCRIPT_ERROR No width found in shape command",
        L"ARROW ARROW_LEFT|0|0|300|300|0|24|SOLID|0|0|0|0|0"}},
      {"<LINE START-X=\"0\" START-Y=\"0.5\" END-X=\"2\" END-Y=\"0.5\" "
       "LINE-THICKNESS=\"3\"/><LINE/>",
       {L"LINE 0|150|600|150|3", L"SCRIPT_ERROR No start-x for <line> command",
        L"SCRIPT_ERROR No start-y for <line> command", L"SCRIPT_ERROR No end-x for <line> command",
        L"SCRIPT_ERROR No end-y for <line> command", L"LINE 0|150|600|150|3"}},
      // A picture without a file name places the one before it again.
      {"<GRAPHIC POSITION-X=\"0.1\" POSITION-Y=\"0.1\" HEIGHT=\"1\" WIDTH=\"1\" "
       "FILE-NAME=\"logo.png\"></GRAPHIC><GRAPHIC POSITION-X=\"1\" POSITION-Y=\"1\" HEIGHT=\"1\" "
       "WIDTH=\"2\"/>",
       {L"GRAPHIC LOGO.PNG|30|30|300|300|F", L"SCRIPT_ERROR No file-name found in graphic command",
        L"GRAPHIC LOGO.PNG|300|300|600|300|F"}},
      {"<GRAPHIC/>",
       {L"SCRIPT_ERROR No position-x found in graphic command",
        L"SCRIPT_ERROR No position-y found in graphic command",
        L"SCRIPT_ERROR No height found in graphic command",
        L"SCRIPT_ERROR No width found in graphic command",
        L"SCRIPT_ERROR No file-name found in graphic command", L"GRAPHIC |0|0|0|0|F"}},
  });
}

TEST_F(XTPLElementsTest, Barcodes) {
  const std::string at = " POSITION-X=\"0.5\" POSITION-Y=\"1\" HEIGHT=\"0.25\"";
  Check({
      {"<BARCODE" + at +
           " TYPE=\"Code 128 B\" ROTATION=\"180\" HUMAN-READABLE-LOCATION=\"top\" "
           "HUMAN-READABLE=\"true\" DENSITY=\"10\" CHECK-CHARACTER=\"TRUE\" RATIO=\"3\">" +
           Source("<STATIC-TEXT VALUE=\"Pkg-0042\"/>") + "</BARCODE>",
       {L"BARCODE CODE 128 AUTO|Pkg-0042|150|300|75|180|T|TOP|10|3|T"}},
      {"<BARCODE" + at + " TYPE=\"CODE 39\">" +
           Source("<SEQUENCE START=\"1001\" INCREMENT=\"1\" NUMBER-OF-LABELS=\"20\" "
                  "PREFIX=\"sn-\"/>") +
           "</BARCODE>",
       {L"SEQUENCE_BARCODE CODE 39||150|300|75|0|F|BOTTOM|0|0|F|1001|1|20|sn-|"}},
      {"<BARCODE" + at + " TYPE=\"UPC A\">" +
           Source("<PROMPT-TEXT PROMPT=\"Item?\" DEFAULT=\"01234565\"/>") + "</BARCODE>",
       {L"PROMPT_BARCODE UPCA|01234565|150|300|75|0|F|BOTTOM|0|0|F|Item?"}},
      // A date and time is no barcode source; the type is checked by the session.
      {"<BARCODE>" + Source("<DATE-TIME DATE-TIME-FORMAT=\"5\"/>") + "</BARCODE>",
       {L"SCRIPT_ERROR No position-x found in barcode command",
        L"SCRIPT_ERROR No position-y found in barcode command",
        L"SCRIPT_ERROR No height found in barcode command",
        L"SCRIPT_ERROR No type found in barcode command", L"BARCODE ||0|0|0|0|F|BOTTOM|0|0|F"}},
      // Elements inside a barcode but outside its data source are read as anywhere else.
      {"<BARCODE" + at +
           " TYPE=\"EAN 13\"><LINE START-X=\"0\" START-Y=\"0\" END-X=\"1\" "
           "END-Y=\"0\"/>" +
           Source("<STATIC-TEXT VALUE=\"590123412345\"/>") + "</BARCODE>",
       {L"LINE 0|0|300|0|1", L"BARCODE EAN/JAN-13|590123412345|150|300|75|0|F|BOTTOM|0|0|F"}},
  });
}

// A barcode starts from the one before it: attributes not given are kept.
TEST_F(XTPLElementsTest, ABarcodeKeepsWhatTheOneBeforeGave) {
  Lines records = Objects(
      "<BARCODE POSITION-X=\"1\" POSITION-Y=\"1\" HEIGHT=\"1\" TYPE=\"CODE 39\" "
      "HUMAN-READABLE=\"TRUE\" CHECK-CHARACTER=\"TRUE\" DENSITY=\"9\">" +
      Source("<STATIC-TEXT VALUE=\"A1\"/>") +
      "</BARCODE><BARCODE POSITION-X=\"0\" POSITION-Y=\"0\" HEIGHT=\"1\" TYPE=\"CODE 39\" "
      "CHECK-CHARACTER=\"FALSE\"></BARCODE><BARCODE POSITION-X=\"0\" POSITION-Y=\"0\" "
      "HEIGHT=\"1\" TYPE=\"CODE 39\" HUMAN-READABLE=\"no\"></BARCODE>");
  // TRUE gives "T" and any other value "F"; an absent flag keeps its value.
  EXPECT_EQ(records, Lines({L"BARCODE CODE 39|A1|300|300|300|0|T|BOTTOM|9|0|T",
                            L"BARCODE CODE 39|A1|0|0|300|0|T|BOTTOM|9|0|F",
                            L"BARCODE CODE 39|A1|0|0|300|0|F|BOTTOM|9|0|F"}));
}

TEST_F(XTPLElementsTest, BarcodeTypeNames) {
  const std::pair<const wchar_t*, const wchar_t*> cases[] = {
      {L"CODE 128 B", L"CODE 128 AUTO"},
      {L"CODE 39", L"CODE 39"},
      {L"UPC E", L"UPCA"},
      {L"UPCE", L"UPCA"},
      {L"EAN/UPC EXT5", L"UPCE5"},
      {L"MICRO PDF 417", L"MICRO 417"},
      {L"QR-CODE", L"QRCODE"},
      {L"INTERLEAVED 2 OF 5", L"INTERLEAVED 2-OF-5"},
      {L"Codabar A/F", L"CODABAR A/F"},  // compared exactly: the tag is upper-cased first
      {L"", L""},
  };
  for (const auto& [xtpl, name] : cases) EXPECT_EQ(XTPLParser::MapBarcodeType(xtpl), name) << xtpl;
  EXPECT_EQ(Objects("<BARCODE TYPE=\"qr-code\" POSITION-X=\"0\" POSITION-Y=\"0\" "
                    "HEIGHT=\"1\"></BARCODE>"),
            Lines({L"BARCODE QRCODE||0|0|300|0|F|BOTTOM|0|0|F"}));
}

TEST_F(XTPLElementsTest, Texts) {
  Check({
      {"<TEXT POSITION-X=\"0.25\" POSITION-Y=\"0.5\" ROTATION=\"90\" ALIGN=\"left\" "
       "FONT-NAME=\"Courier New\" ITALIC=\"true\" BOLD=\"TRUE\" UNDERLINE=\"false\" "
       "VERTICAL-TEXT=\"TRUE\" REVERSE-TEXT=\"TRUE\" SHOW-BOUNDING-BOX=\"TRUE\" "
       "BOUNDING-BOX-LINE-THICKNESS=\"3\"><TEXT-SIZING><MANUAL HEIGHT=\"0.5\" WIDTH=\"2\" "
       "FONT-SIZE=\"14\"/></TEXT-SIZING>" +
           Source("<STATIC-TEXT VALUE=\"Hello World\"/>") + "</TEXT>",
       {L"TEXT Hello World|75|150|600|150|COURIER NEW|MANUAL|14|L||90|T|3|T|T|F|T|T"}},
      {Text("", " ALIGN=\"RIGHT\" MIRROR-TEXT=\"TRUE\" REVERSE-TEXT=\"NO\""),
       {L"MIRROR_PRINTING Y", L"TEXT |0|0|0|0|Arial|FREEFORM|0|R||0|F|1|F|F|F|F|F"}},
      {"<TEXT ALIGN=\"middle\"></TEXT>",
       {L"SCRIPT_ERROR No position-x found in shape command",
        L"SCRIPT_ERROR No position-y found in shape command",
        L"SCRIPT_ERROR Incorrect align parameter",
        L"TEXT |0|0|0|0|Arial|FREEFORM|0|C||0|F|1|F|F|F|F|F"}},
      // Every box goes to dots, a free-form one too.
      {Text("<TEXT-SIZING><AUTOSIZE HEIGHT=\"1\" WIDTH=\"3\"/></TEXT-SIZING>") +
           Text("<TEXT-SIZING><FREEFORM HEIGHT=\"0.5\" WIDTH=\"9\"/></TEXT-SIZING>") +
           Text("<TEXT-SIZING><BIG/><MANUAL/></TEXT-SIZING>"),
       {L"TEXT |0|0|900|300|Arial|AUTOSIZE|0|C||0|F|1|F|F|F|F|F",
        L"TEXT |0|0|0|150|Arial|FREEFORM|0|C||0|F|1|F|F|F|F|F",
        L"SCRIPT_ERROR No height found in text command",
        L"SCRIPT_ERROR No width found in text command",
        L"SCRIPT_ERROR No font-size found in text command",
        L"TEXT |0|0|0|0|Arial|MANUAL|0|C||0|F|1|F|F|F|F|F"}},
      // A sizing tag with no text open opens one.
      {"<TEXT-SIZING POSITION-X=\"1\" POSITION-Y=\"1\"></TEXT>",
       {L"TEXT |300|300|0|0|Arial|FREEFORM|0|C||0|F|1|F|F|F|F|F"}},
  });
}

TEST_F(XTPLElementsTest, DataSources) {
  Check({
      // The source carries on to texts that name none.
      {Text(Source("<DATE-TIME DATE-TIME-FORMAT=\"3\"/>")) + Text(""),
       {L"DATE_TIME_TEXT |0|0|0|0|Arial|FREEFORM|0|C||0|F|1|F|F|F|F|F|MM/dd/yyyy",
        L"DATE_TIME_TEXT |0|0|0|0|Arial|FREEFORM|0|C||0|F|1|F|F|F|F|F|MM/dd/yyyy"}},
      {Text(Source("<DATE-TIME DATE-TIME-FORMAT=\"7\"/><DATE-TIME/>")),
       {L"SCRIPT_ERROR No date-time-format found for DataSource",
        L"DATE_TIME_TEXT |0|0|0|0|Arial|FREEFORM|0|C||0|F|1|F|F|F|F|F|dddd, MMMM d, yyyy"}},
      // The default answer keeps its case, whichever attribute comes first.
      {Text(Source("<PROMPT-TEXT PROMPT=\"Weight?\" DEFAULT=\"1 kg\"/>")) +
           Text(Source("<Prompt-Text Default=\"2 kg\" Prompt=\"Weight again?\"/>")) +
           Text(Source("<PROMPT-TEXT/>")),
       {L"PROMPT_TEXT 1 kg|0|0|0|0|Arial|FREEFORM|0|C||0|F|1|F|F|F|F|F|Weight?",
        L"PROMPT_TEXT 2 kg|0|0|0|0|Arial|FREEFORM|0|C||0|F|1|F|F|F|F|F|Weight again?",
        L"SCRIPT_ERROR No Prompt found for DataSource",
        L"PROMPT_TEXT |0|0|0|0|Arial|FREEFORM|0|C||0|F|1|F|F|F|F|F|"}},
      {Text(Source("<SEQUENCE START=\"1\" INCREMENT=\"2\" NUMBER-OF-LABELS=\"10\" "
                   "PREFIX=\"A-\" POSTFIX=\"-z\"/>")) +
           Text(Source("<SEQUENCE/>")),
       {L"SEQUENCE_TEXT |0|0|0|0|Arial|FREEFORM|0|C||0|F|1|F|F|F|F|F|1|2|10|A-|-z",
        L"SCRIPT_ERROR No start Sequence value found for DataSource",
        L"SCRIPT_ERROR No increment Sequence value found for DataSource",
        L"SCRIPT_ERROR No number-of-labels value found for DataSource",
        L"SEQUENCE_TEXT |0|0|0|0|Arial|FREEFORM|0|C||0|F|1|F|F|F|F|F|0|1|1||"}},
      {Text(Source("<STATIC-TEXT VALUE=\"Mixed Case\"/><COUNTER/>")),
       {L"SCRIPT_ERROR No DataSource Found.",
        L"TEXT Mixed Case|0|0|0|0|Arial|FREEFORM|0|C||0|F|1|F|F|F|F|F"}},
  });
}

// Names inside quoted values are text, not elements or attributes.
TEST_F(XTPLElementsTest, ValuesAreNotRecognised) {
  Check({
      {Text(Source("<STATIC-TEXT VALUE=\"Scan barcode\"/>")),
       {L"TEXT Scan barcode|0|0|0|0|Arial|FREEFORM|0|C||0|F|1|F|F|F|F|F"}},
      {Text(Source("<STATIC-TEXT VALUE=\"see .../labels and /TEXT\"/>")) +
           "<LINE START-X=\"0\" START-Y=\"0\" END-X=\"1\" END-Y=\"0\"/>",
       {L"TEXT see .../labels and /TEXT|0|0|0|0|Arial|FREEFORM|0|C||0|F|1|F|F|F|F|F",
        L"LINE 0|0|300|0|1"}},
      {Text(Source("<STATIC-TEXT VALUE=\"<RECTANGLE and <LINE\"/>"),
            " FONT-NAME=\"ROTATION SANS\" ROTATION=\"90\""),
       {L"TEXT <RECTANGLE and <LINE|0|0|0|0|ROTATION SANS|FREEFORM|0|C||90|F|1|F|F|F|F|F"}},
      {"<TEXT POSITION-X=\"0\" POSITION-Y=\"0\">" +
           Source("<PROMPT-TEXT PROMPT=\"Which sequence or DATE-TIME?\"/>") + "</TEXT>",
       {L"PROMPT_TEXT |0|0|0|0|Arial|FREEFORM|0|C||0|F|1|F|F|F|F|F|Which sequence or "
        L"DATE-TIME?"}},
  });
}

// A picture is reversed by nothing before it.
TEST_F(XTPLElementsTest, APictureIsNotReversedByAText) {
  Check({{Text("", " REVERSE-TEXT=\"TRUE\"") +
              "<GRAPHIC POSITION-X=\"0\" POSITION-Y=\"0\" HEIGHT=\"1\" WIDTH=\"1\" "
              "FILE-NAME=\"A.PNG\"/>",
          {L"TEXT |0|0|0|0|Arial|FREEFORM|0|C||0|F|1|F|F|F|T|F", L"GRAPHIC A.PNG|0|0|300|300|F"}}});
}

// The example jobs parse without a single script error.
TEST_F(XTPLElementsTest, ExamplesParseCleanly) {
  const std::filesystem::path folder =
      std::filesystem::path(LABELENGINE_SOURCE_DIR) / "examples" / "xtpl";
  size_t jobs = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.path().extension() != ".xtpl") continue;
    ++jobs;
    std::ifstream file(entry.path(), std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    CommandList commands = Parse(text.str());
    EXPECT_TRUE(Errors(commands).empty()) << entry.path();
    ASSERT_FALSE(commands.empty()) << entry.path();
    EXPECT_EQ(commands.back().kind, PRINT_LABEL) << entry.path();
  }
  EXPECT_GE(jobs, 2u);
}

}  // namespace
