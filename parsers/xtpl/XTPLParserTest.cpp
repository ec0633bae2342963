// The document's structure, the printer defaults, the label element, and what
// carries from job to job.

#include <gtest/gtest.h>

#include <memory>

#include "intake/Languages.h"
#include "parsers/ParserFactory.h"
#include "parsers/tpl/TPLParser.h"
#include "parsers/xtpl/XTPLTestJob.h"

namespace {

using XTPLDocumentTest = XTPLJobTest;

constexpr wchar_t kNoClose[] =
    L"SCRIPT_ERROR No > (End XML Line) for corresponding < (Start XML Line). Please check your "
    L"script";
constexpr wchar_t kNoOpen[] =
    L"SCRIPT_ERROR No < (Start XML Line) for corresponding > (End XML Line). Please check your "
    L"script";

// An element inside a label that nothing reads is said, and logged; closing
// tags, comments and anything outside the labels pass quietly.
TEST_F(XTPLDocumentTest, ElementsNotKnownWhereTheyStandAreScriptErrors) {
  const std::wstring kIgnored = L"Element ignored, not known here: ";
  const struct {
    std::string objects;
    Lines errors;
  } cases[] = {
      {"<QQ/>", {kIgnored + L"QQ"}},
      {"<Foo A=\"1\"><BAR>", {kIgnored + L"FOO", kIgnored + L"BAR"}},
      {"<RECTANGLE POSITION-X=\"1\" POSITION-Y=\"1\" HEIGHT=\"1\" WIDTH=\"1\"></RECTANGLE>"
       "</LINE></QQ><!-- <QQ> --><?pi?>",
       {}},
      {"<MANUAL HEIGHT=\"1\"/>", {kIgnored + L"MANUAL"}},  // a text's part, outside a text
      {"<" + std::string(100, 'W') + ">", {kIgnored + std::wstring(40, L'W')}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.objects);
    EXPECT_EQ(Errors(Parse(InLabel(c.objects))), c.errors);
    std::vector<std::string> logged;
    for (const std::wstring& error : c.errors) logged.push_back(platform::WideToUtf8(error));
    EXPECT_EQ(Logged(), logged);
  }
  // Outside a label nothing is read, so nothing is said.
  EXPECT_TRUE(Errors(Parse(Document("<QQ/>"))).empty());
}

TEST_F(XTPLDocumentTest, StructureAndItsMessages) {
  const struct {
    std::string job;
    Lines records;
  } cases[] = {
      {"no tags, no records", {}},
      {"<TPL-DOCUMENT><LABELS><LABEL></LABEL></LABELS></TPL-DOCUMENT>",
       {L"START_LABEL", L"LABEL_LENGTH ", L"LABEL_OFFSET 0|0", L"LABEL_ORIENTATION ",
        L"PRINT_QUANTITY 1", L"PRINT_LABEL"}},
      // Out of place: every structural tag says so and does nothing else. A
      // closing "/LABELS" while none are open reads as an opening one.
      {"<LABELS><LABEL HEIGHT=\"1\"></LABEL></LABELS></TPL-DOCUMENT><DEFAULTS></DEFAULTS>",
       {L"SCRIPT_ERROR XMl TPL labels command encountered at incorrect point.",
        L"SCRIPT_ERROR XMl TPL label command encountered at incorrect point.",
        L"SCRIPT_ERROR XMl TPL /label command encountered at incorrect point.",
        L"SCRIPT_ERROR XMl TPL labels command encountered at incorrect point.",
        L"SCRIPT_ERROR XMl TPL /document command encountered at incorrect point.",
        L"SCRIPT_ERROR XML TPL <defaults> command encountered at incorrect point.",
        L"SCRIPT_ERROR XML TPL </defaults> command encountered at incorrect point."}},
      // Comments are skipped whatever they hold; objects outside a label are not read.
      {"<TPL-DOCUMENT><!-- <LABEL> --><LABELS><RECTANGLE WIDTH=\"1\"/></LABELS>", {}},
      // Labels need an open document, a label needs its labels open.
      {"<TPL-DOCUMENT></TPL-DOCUMENT><LABELS><LABEL><TPL-DOCUMENT><LABELS></LABELS></LABELS>",
       {L"SCRIPT_ERROR XMl TPL labels command encountered at incorrect point.",
        L"SCRIPT_ERROR XMl TPL label command encountered at incorrect point."}},
      // A job whose tags do not close yields its one message, whatever came before.
      {InLabel("<RECTANGLE WIDTH=\"1\"/>") + "<LABEL", {kNoClose}},
      {InLabel("") + "x > y", {kNoOpen}},
  };
  for (const auto& c : cases) EXPECT_EQ(Show(Parse(c.job)), c.records) << c.job;
}

// Every script error goes to the log as well, the tag reader's two as the
// element pass's.
TEST_F(XTPLDocumentTest, ScriptErrorsAreLoggedAndUnclosedTagsUndoTheirJob) {
  Parse("<TPL-DOCUMENT><LABELS></LABEL></LABELS>");
  EXPECT_EQ(Logged(),
            std::vector<std::string>({"XMl TPL /label command encountered at incorrect point."}));
  CommandList out = Parse(Document("<LABEL HEIGHT=\"3\" COPIES=\"2\">") + "<");
  EXPECT_EQ(Show(out), Lines({kNoClose}));
  EXPECT_EQ(Logged(), std::vector<std::string>({"No > (End XML Line) for corresponding < (Start "
                                                "XML Line). Please check your script"}));
  EXPECT_EQ(data_.labelLength, L"");  // the label tag before the fault left nothing behind
  EXPECT_EQ(data_.copies, L"");
}

TEST_F(XTPLDocumentTest, PrinterDefaults) {
  const struct {
    std::string printer;
    Lines records;
  } cases[] = {
      {"<PRINTER MATCH-MEDIA=\"Tape-100\" MATCH-RIBBON=\"r2\" SPEED=\"3\" HEAT=\"4\" "
       "TEAR-OR-CUT-BETWEEN=\"never\"/>",
       {L"MATCH_TAPE TAPE-100", L"MATCH_RIBBON R2", L"PRINT_SPEED 3000", L"PRINT_DENSITY 104",
        L"CUTTING_OPTION 2"}},
      {"<PRINTER HEAT=\"0\" TEAR-OR-CUT-BETWEEN=\"AFTER-JOB\"/>",
       {L"PRINT_DENSITY 100", L"CUTTING_OPTION 1"}},
      {"<PRINTER HEAT=\"2\" TEAR-OR-CUT-BETWEEN=\"between-labels\"/>",
       {L"PRINT_DENSITY 100", L"CUTTING_OPTION 0"}},
      {"<PRINTER SPEED=\"fast\" HEAT=\"-4\" TEAR-OR-CUT-BETWEEN=\"sometimes\"/>",
       {L"PRINT_SPEED 0", L"PRINT_DENSITY 90",
        L"SCRIPT_ERROR Invalid Value for TEAR-OR-CUT-BETWEEN Parameter", L"CUTTING_OPTION 1"}},
      {"<PRINTER/>", {}},
  };
  for (const auto& c : cases) {
    const std::string job = Document("", "<DEFAULTS>" + c.printer + "</DEFAULTS>");
    EXPECT_EQ(Show(Parse(job)), c.records) << c.printer;
  }
  EXPECT_EQ(data_.matchTape, L"");  // the last case set nothing
  Parse(Document("", "<DEFAULTS><PRINTER SPEED=\"2\" MATCH-MEDIA=\"T1\"/></DEFAULTS>"));
  EXPECT_EQ(data_.printSpeed, L"2000");
  EXPECT_EQ(data_.matchTape, L"T1");
  // A printer tag outside the defaults block is not read.
  EXPECT_TRUE(Show(Parse(Document("", "<PRINTER SPEED=\"2\"/>"))).empty());
}

TEST_F(XTPLDocumentTest, LabelElement) {
  const struct {
    std::string defaults;
    std::string attributes;
    Lines records;  // between START_LABEL and PRINT_LABEL
  } cases[] = {
      {"",
       " HEIGHT=\"2\" OFFSET-X=\"0.1\" OFFSET-Y=\"-0.2\" ORIENTATION=\"landscape\" COPIES=\"3\"",
       {L"LABEL_LENGTH 600", L"LABEL_OFFSET 30|-60", L"LABEL_ORIENTATION LANDSCAPE",
        L"PRINT_QUANTITY 3"}},
      {"<DEFAULTS><DOCUMENT UNITS=\"mm\"/></DEFAULTS>",
       " HEIGHT=\"25.4\" LABEL-NEGATIVE=\"true\" LABEL-MIRROR=\"t\" TEAR-BAR-ADJUSTMENT=\"2.54\"",
       {L"LABEL_LENGTH 300", L"LABEL_OFFSET 0|0", L"LABEL_ORIENTATION ", L"LABEL_NEGATIVE 300",
        L"MIRROR_PRINTING Y", L"TEAROFF_POSITION 30", L"PRINT_QUANTITY 1"}},
      {"<DEFAULTS><DOCUMENT UNITS=\"dots\"/></DEFAULTS>",
       " HEIGHT=\"812\" LABEL-NEGATIVE=\"false\" LABEL-MIRROR=\"no\"",
       {L"LABEL_LENGTH 812", L"LABEL_OFFSET 0|0", L"LABEL_ORIENTATION ", L"PRINT_QUANTITY 1"}},
      // A document tag outside the defaults block sets no units: inches stay.
      {"<DOCUMENT UNITS=\"mm\"/>",
       " HEIGHT=\"1\"",
       {L"LABEL_LENGTH 300", L"LABEL_OFFSET 0|0", L"LABEL_ORIENTATION ", L"PRINT_QUANTITY 1"}},
  };
  for (const auto& c : cases) {
    Lines records = Show(Parse(Document("<LABEL" + c.attributes + "></LABEL>", c.defaults)));
    ASSERT_GE(records.size(), 2u) << c.attributes;
    EXPECT_EQ(records.front(), L"START_LABEL");
    EXPECT_EQ(records.back(), L"PRINT_LABEL");
    EXPECT_EQ(Lines(records.begin() + 1, records.end() - 1), c.records) << c.attributes;
  }
}

// A label without attributes repeats the stored length and orientation as
// they are, not converted again; offsets and copies start over.
TEST_F(XTPLDocumentTest, ALabelWithoutAttributesKeepsTheLabelLevelValues) {
  CommandList out = Parse(Document(
      "<LABEL HEIGHT=\"1.5\" OFFSET-X=\"1\" ORIENTATION=\"PORTRAIT\" FONT-NAME=\"Courier\" "
      "FONT-SIZE=\"12\" COPIES=\"4\"></LABEL><LABEL></LABEL>"));
  Lines records = Show(out);
  ASSERT_EQ(records.size(), 12u);
  EXPECT_EQ(Lines(records.begin() + 6, records.end()),
            Lines({L"START_LABEL", L"LABEL_LENGTH 450", L"LABEL_OFFSET 0|0",
                   L"LABEL_ORIENTATION PORTRAIT", L"PRINT_QUANTITY 1", L"PRINT_LABEL"}));
  EXPECT_EQ(data_.labelHeight, L"450");
  EXPECT_EQ(data_.fontName, L"COURIER");
  EXPECT_EQ(data_.fontSize, L"12");
}

// Jobs of XTPL and TPL share one TPLData through the factory: label-level
// values carry over in dots, object values and the data source do not.
TEST_F(XTPLDocumentTest, JobsThroughOneFactory) {
  CParserFactory factory;
  auto run = [&factory](int32_t language, const std::string& job) {
    std::unique_ptr<CLanguageParserBase> parser = factory.GetParser(language);
    EXPECT_NE(parser, nullptr);
    parser->SetParserDPI(300);
    CommandList out;
    parser->ParseData(job.data(), static_cast<int32_t>(job.size()), out);
    return Show(out);
  };
  EXPECT_NE(dynamic_cast<XTPLParser*>(factory.GetParser(LANGUAGE_XTPL).get()), nullptr);

  run(LANGUAGE_XTPL,
      InLabel("<BARCODE TYPE=\"CODE 39\" HUMAN-READABLE=\"TRUE\" DENSITY=\"7\"><DATASOURCE>"
              "<PROMPT-TEXT PROMPT=\"Part?\"/></DATASOURCE></BARCODE>",
              " HEIGHT=\"2\" OFFSET-X=\"0.5\""));
  EXPECT_EQ(run(LANGUAGE_TPL, "STARTTPL\r\nLABELNEGATIVE\r\nLABELOFFSET BAD\r\n"),
            Lines({L"LABEL_NEGATIVE 600", L"LABEL_OFFSET 150|0"}));
  Lines next = run(LANGUAGE_XTPL,
                   InLabel("<BARCODE POSITION-X=\"0\" POSITION-Y=\"0\" HEIGHT=\"1\" TYPE=\"CODE "
                           "39\"></BARCODE><TEXT POSITION-X=\"0\" POSITION-Y=\"0\"></TEXT>"));
  ASSERT_EQ(next.size(), 8u);
  EXPECT_EQ(next[1], L"LABEL_LENGTH 600");
  EXPECT_EQ(next[5], L"BARCODE CODE 39||0|0|300|0|F|BOTTOM|0|0|F");
  EXPECT_EQ(next[6], L"TEXT |0|0|0|0|Arial|FREEFORM|0|C||0|F|1|F|F|F|F|F");

  run(LANGUAGE_TPL, "STARTTPL\r\nSETUNITS MM\r\nLABELHEIGHT 25.4\r\n");
  EXPECT_EQ(run(LANGUAGE_XTPL, InLabel(""))[1], L"LABEL_LENGTH 300");
}

// The element pass over tags already cut, and the wide-text entry point.
TEST_F(XTPLDocumentTest, OtherEntryPoints) {
  XTPLParser parser(&data_);
  parser.SetParserDPI(300);
  EXPECT_TRUE(parser.parseCommandList({L"<TPL-DOCUMENT>", L"  <labels>", L"", L"<LABEL>"}));
  EXPECT_TRUE(
      parser.IsState(XTPLParser::kDocumentOpen | XTPLParser::kLabelsOpen | XTPLParser::kLabelOpen));
  CommandList out;
  const std::wstring job = L"</LABEL><LABEL HEIGHT=\"1\"> ignored: </LABEL>";
  EXPECT_TRUE(parser.ParseData(job, static_cast<int32_t>(job.find(L" ignored")), out));
  EXPECT_EQ(Show(out), Lines({L"PRINT_LABEL", L"START_LABEL", L"LABEL_LENGTH 300",
                              L"LABEL_OFFSET 0|0", L"LABEL_ORIENTATION ", L"PRINT_QUANTITY 1"}));
  out.clear();
  EXPECT_TRUE(parser.ParseData(nullptr, 5, out));
  EXPECT_TRUE(parser.ParseData(job, -1, out));
  EXPECT_TRUE(out.empty());
}

}  // namespace
