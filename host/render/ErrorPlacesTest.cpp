// Script errors are placed in their files: every language's parser says
// which command an error came from, and the report turns that into the
// file's line and column, for a job anywhere in its file and with either
// line ending.
#include <gtest/gtest.h>

#include "host/HostTestSupport.h"

namespace host::testing {
namespace {

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// Text with every LF made CR LF, as a file saved on Windows holds it.
std::string WithCrLf(const std::string& text) {
  std::string out;
  for (const char c : text) out += c == '\n' ? std::string("\r\n") : std::string(1, c);
  return out;
}

struct PlacedCase {
  const char* file;
  std::string job;
  std::vector<std::string> options;
  // "line:column: " and the start of what the report says there.
  std::vector<std::string> places;
};

const PlacedCase kCases[] = {
    {"first.zpl",
     "^XA\n^FO10,10^FDa^FS\n  ^CI28\n^XZ\n",
     {},
     {"3:3: script error (ZPL_ERROR_LOG.TXT): Unsupported command: ^CI28"}},
    // The second and third jobs of a file, one on the line the first ends on.
    {"later.zpl",
     "^XA^XZ^XA^CI28^XZ\n^XA\n^FO1,1^FDa^FS\n  ^QQ1\n^XZ\n",
     {},
     {"1:10: script error (ZPL_ERROR_LOG.TXT): Unsupported command: ^CI28",
      "4:3: script error (ZPL_ERROR_LOG.TXT): Unsupported command: ^QQ1"}},
    {"origin.zpl",
     "^XA\n^FO50,100,7^A0N,30,25^FDlost^FS\n^XZ\n",
     {},
     {"2:1: script error (ZPL_ERROR_LOG.TXT): Incorrect Number of Parameters for FIELD ORIGIN",
      "2:22: script error (ZPL_ERROR_LOG.TXT): ERROR CREATING FIELD DATA, NO FIELD ORIGIN"}},
    {"full.zpl",
     "^XA^XZ\n^XA\n^FO1,1^FDa^FS\n  ^QQ1\n^XZ\n",
     {"--zpl", "full"},
     {"4:3: script error (ZPL_ERROR_LOG.TXT): Unsupported command: ^QQ1"}},
    // A stored graphic or format that is not in the store.
    {"graphic.zpl",
     "^XA\n^FO10,10^XGE:NOSUCH.GRF,1,1^FS\n^XZ\n",
     {"--zpl", "full"},
     {"2:9: script error (ZPL_ERROR_LOG.TXT): Stored graphic not found: NOSUCH.GRF"}},
    {"label.dpl",
     "\x02L\nD11\n  T oops\nE\n",
     {},
     {"2:1: log DPL_ERROR_LOG.TXT:", "3:3: log DPL_ERROR_LOG.TXT:"}},
    {"label.jpl", "m i\nJ\nS l1;0,0,2,2.1,2\n  M bad\nA 1", {}, {"4:3: log JPL_ERROR_LOG.TXT:"}},
    {"label.tpl",
     "STARTTPL 1.0\nSTARTLABEL\n  PRINTSPEED 5\nENDLABEL\nENDTPL\n",
     {},
     {"3:3: log TPL_ERROR_LOG.TXT:"}},
    {"second.tpl",
     "STARTTPL 1.0\nSTARTLABEL\nENDLABEL\nENDTPL\nSTARTTPL 1.0\nSTARTLABEL\n PRINTSPEED "
     "5\nENDLABEL\n"
     "ENDTPL\n",
     {},
     {"7:2: log TPL_ERROR_LOG.TXT:"}},
    {"label.xtpl",
     "<TPL-DOCUMENT>\n <LABELS>\n  <LABEL>\n  </DEFAULTS>\n  </LABEL>\n "
     "</LABELS>\n</TPL-DOCUMENT>\n",
     {},
     {"4:3: script error (XTPL_ERROR_LOG.TXT): XML TPL </defaults> command encountered at "
      "incorrect point."}},
};

TEST(ErrorPlacesTest, EachLanguagePlacesItsErrorsByLineAndColumn) {
  for (const bool crlf : {false, true}) {
    for (const PlacedCase& c : kCases) {
      SCOPED_TRACE(std::string(c.file) + (crlf ? " with CR LF" : " with LF"));
      ScratchDir dir;
      dir.Write(c.file, crlf ? WithCrLf(c.job) : c.job);
      std::vector<std::string> args = c.options;
      args.push_back(c.file);
      const RunResult run = RunIn(dir, "render", args);
      ASSERT_EQ(run.exitCode, 0) << run.err;
      // Each located line starts with the place, the way compilers print.
      std::vector<std::string> placed;
      for (const std::string& line : SplitLines(run.out)) {
        if (line.rfind(std::string(c.file) + ":", 0) == 0 && !Contains(line, ": job ")) {
          placed.push_back(line.substr(std::string(c.file).size() + 1));
        }
      }
      ASSERT_EQ(placed.size(), c.places.size()) << run.out;
      for (size_t i = 0; i < placed.size(); ++i) {
        EXPECT_EQ(placed[i].rfind(c.places[i], 0), 0u) << placed[i];
      }
    }
  }
}

// The JSON report gives the place and the command's bytes in the file, and
// a log line its place beside its text.
TEST(ErrorPlacesTest, JsonReportGivesLineColumnOffsetAndLength) {
  ScratchDir dir;
  dir.Write("later.zpl", "^XA^XZ^XA^CI28^XZ\r\n^XA\r\n  ^QQ1\r\n^XZ\r\n");
  dir.Write("label.tpl", "STARTTPL 1.0\nSTARTLABEL\n  PRINTSPEED 5\nENDLABEL\nENDTPL\n");
  const RunResult run = RunIn(dir, "render", {"--report", "json", "later.zpl", "label.tpl"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_TRUE(Contains(run.out,
                       "\"message\":\"Unsupported command: ^CI28\","
                       "\"log\":\"ZPL_ERROR_LOG.TXT\",\"line\":1,\"column\":10,"
                       "\"offset\":9,\"length\":5}"))
      << run.out;
  EXPECT_TRUE(Contains(run.out, "\"line\":3,\"column\":3,\"offset\":26,\"length\":4}")) << run.out;
  EXPECT_TRUE(Contains(run.out, "\"at\":{\"line\":3,\"column\":3,\"offset\":26,\"length\":12}"))
      << run.out;
  // A job without errors has none to place.
  EXPECT_TRUE(Contains(run.out, "\"job\":1,\"language\":\"ZPL\"")) << run.out;
}

}  // namespace
}  // namespace host::testing
