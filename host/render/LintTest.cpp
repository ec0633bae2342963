// End-to-end tests of `labelhost lint`: each warning a label developer
// wants, triggered by the smallest job that shows it, the exit statuses, and
// the bundled examples.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "host/HostTestSupport.h"

namespace host::testing {
namespace {

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

struct LintCase {
  const char* what;
  const char* file;
  std::string job;
  const char* expected;  // what the report says of it ("" for nothing)
  int exitCode;          // without --warnings-as-errors
  std::vector<std::string> options{};
};

const LintCase kCases[] = {
    {"clean", "clean.zpl", "^XA^FO50,50^A0N,40,40^FDHello^FS^XZ", "", 0},
    {"unknown face", "face.tpl",
     "STARTTPL 1.0\nSETUNITS INCHES\nSTARTLABEL\nSTARTTEXT\nTEXT Hello\nPOSITION 0.2,0.2\n"
     "FONTNAME Nosuchface Grotesk\nENDTEXT\nENDLABEL\nENDTPL\n",
     "  warning: Unable to locate font: NOSUCHFACE GROTESK, System Default will be used", 0},
    {"missing picture", "picture.tpl",
     "STARTTPL 1.0\nSETUNITS INCHES\nSTARTLABEL\nSTARTGRAPHICS\nIMAGENAME NOSUCH.PNG\n"
     "POSITION 0.2,0.2\nWIDTH 1\nHEIGHT 1\nENDGRAPHICS\nENDLABEL\nENDTPL\n",
     "picture \"\\SD\\Store\\Graphics\\NOSUCH.PNG\" not drawn", 0},
    {"barcode data refused", "refused.zpl", "^XA^FO20,20^BEN,90,Y,N^FDABC^FS^XZ",
     "  warning: Invalid Data for Barcode EAN13", 0},
    {"check digit cut", "digits.zpl", "^XA^FO20,20^BEN,90,Y,N^FD5901234123457^FS^XZ",
     "  warning: Invalid length for Barcode EAN13, Longer then 12 characters, will be truncated",
     0},
    {"label left open", "open.zpl", "^XA\n^A0N,30,30^FDa^FS\n^XZ",
     "  warning: a label was started and never printed", 3},
    // At 300 dpi a 4 inch label is 1200 dots wide.
    {"partly outside", "edge.zpl", "^XA^FO1100,20^A0N,60,60^FDToo far right^FS^XZ",
     "  warning: object 1: text \"Too far right\" lies partly outside the label: it takes dots "
     "1100 "
     "to ",
     0},
    {"wholly outside", "beyond.zpl", "^XA^FO1300,20^GB50,50,3^FS^XZ",
     "  warning: object 1: shape lies wholly outside the label", 0},
    {"no end", "noend.zpl", "^XA^FO20,20^A0N,30,30^FDa^FS",
     "  warning: input ended inside a ZPL job", 0},
    {"field without origin", "origin.zpl", "^XA\n^A0N,30,30^FDa^FS\n^XZ",
     "origin.zpl:2:11: script error (ZPL_ERROR_LOG.TXT): ERROR CREATING FIELD DATA, NO FIELD "
     "ORIGIN",
     3},
    {"data without its end", "unended.zpl", "^XA\n^FO20,20^A0N,30,30^FDa\n^XZ",
     "unended.zpl:2:19: warning: ^FD without ^FS: its data ends at ^XZ", 0},
    {"data without its end, full dialect",
     "unended-full.zpl",
     "^XA\n^FO20,20^A0N,30,30^FDa\n^FO20,80^FDb^FS\n^XZ",
     "unended-full.zpl:2:19: warning: ^FD without ^FS: its data ends at ^FO",
     0,
     {"--zpl", "full"}},
    // The full dialect skips such a field, and says so where the field ends.
    {"field without origin, full dialect",
     "origin-full.zpl",
     "^XA\n^FO9,9^FDa^FS^FDb^FS\n^XZ",
     "origin-full.zpl:2:18: script error (ZPL_ERROR_LOG.TXT): NO FIELD ORIGIN DEFINED, FIELD "
     "SKIPPED: ^FDb",
     3,
     {"--zpl", "full"}},
    // A word too long for its block breaks into more lines than the block has.
    {"text past its block's lines",
     "block-lines.zpl",
     "^XA^FO20,20^A0N,30,30^FB100,2^FDAVERYLONGUNBREAKABLEWORD^FS^XZ",
     "  warning: object 1: text \"AVERYLONGUNBREAKABLEWORD\" does not fit its block: it takes 5 "
     "lines, the block 2",
     0,
     {"--zpl", "full"}},
    {"text wider than its block",
     "block-width.zpl",
     "^XA^FO20,20^A0N,60,60^FB12,3^FDW^FS^XZ",
     "  warning: object 1: text \"W\" does not fit its block: a line takes ",
     0,
     {"--zpl", "full"}},
    {"text that fits its block",
     "block-fits.zpl",
     "^XA^FO20,20^A0N,30,30^FB400,3^FDshort words wrap^FS^XZ",
     "",
     0,
     {"--zpl", "full"}},
    // A line break at the end leaves an empty line that prints nothing.
    {"text ending in a line break",
     "block-break.zpl",
     "^XA^FO20,20^A0N,30,30^FB400,2^FDone\\&two\\&^FS^XZ",
     "",
     0,
     {"--zpl", "full"}},
    // The full dialect reads only the digits and works the check digit out.
    {"check digit replaced",
     "check.zpl",
     "^XA^FO20,20^BEN,90,Y,N^FD5901234123458^FS^XZ",
     "check.zpl:1:39: warning: EAN/JAN-13 data changed: check digit 8 replaced by 7",
     0,
     {"--zpl", "full"}},
    {"check digit kept",
     "kept.zpl",
     "^XA^FO20,20^BEN,90,Y,N^FD5901234123457^FS^XZ",
     "",
     0,
     {"--zpl", "full"}},
    {"characters dropped",
     "dropped.zpl",
     "^XA^FO20,20^BUN,90,Y,N^FD0-12345-67890^FS^XZ",
     "warning: UPCA data changed: 2 characters that are not digits dropped",
     0,
     {"--zpl", "full"}},
    {"statement error", "bad.tpl", "STARTTPL 1.0\nSTARTLABEL\n  PRINTSPEED 5\nENDLABEL\nENDTPL\n",
     "bad.tpl:3:3: log TPL_ERROR_LOG.TXT:", 3},
};

TEST(LintTest, EachWarningFromTheSmallestJobThatShowsIt) {
  for (const LintCase& c : kCases) {
    SCOPED_TRACE(c.what);
    ScratchDir dir;
    dir.Write(c.file, c.job);
    std::vector<std::string> args = c.options;
    args.push_back(c.file);
    const RunResult run = RunIn(dir, "lint", args);
    EXPECT_EQ(run.exitCode, c.exitCode) << run.out << run.err;
    if (*c.expected == '\0') {
      EXPECT_EQ(SplitLines(run.out).size(), 1u) << run.out;
    } else {
      EXPECT_TRUE(Contains(run.out, c.expected)) << run.out;
    }
    // Nothing is written but the store's logs.
    EXPECT_FALSE(std::filesystem::exists(dir / "out")) << c.file;
    const bool warned = Contains(run.out, "warning: ");
    args.insert(args.begin(), "--warnings-as-errors");
    const RunResult strict = RunIn(dir, "lint", args);
    EXPECT_EQ(strict.exitCode, c.exitCode == 0 && warned ? 1 : c.exitCode) << strict.out;
  }
}

TEST(LintTest, JsonReportListsTheWarnings) {
  ScratchDir dir;
  dir.Write("refused.zpl", "^XA^FO20,20^BEN,90,Y,N^FDABC^FS^XZ");
  const RunResult run = RunIn(dir, "lint", {"--report", "json", "refused.zpl"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_TRUE(Contains(run.out, "\"warnings\":[{")) << run.out;
  EXPECT_TRUE(Contains(run.out,
                       "{\"message\":\"Invalid Data for Barcode EAN13\",\"line\":0,"
                       "\"column\":0,\"offset\":-1,\"length\":0}"))
      << run.out;
}

// Every bundled example, linted as its folder's render.args render it, is
// clean, or what lint says of it is explained here.
TEST(LintTest, BundledExamplesAreCleanOrExplained) {
  struct Known {
    const char* file;
    int errors, warnings;
    const char* why;
  };
  const Known known[] = {
      {"examples/jpl/price-tag.jpl", 1, 0,
       "the device reads the empty line after the last line feed as an unknown command"},
      {"examples/jpl/shipping-label.jpl", 1, 0, "the same"},
      {"examples/tpl/mistakes.tpl", 11, 0, "written to show TPL's script errors"},
      {"examples/tpl/shapes_and_picture.tpl", 0, 1,
       "a ROUNDRECTANGLE shape: the session has no object type for it"},
      {"examples/zpl/with-errors.zpl", 3, 2,
       "written to show ZPL's script errors; its label is never printed, and a hint names the "
       "full dialect"},
  };
  namespace fs = std::filesystem;
  const fs::path examples = ExamplesDir();
  ScratchDir dir;
  fs::create_directories(dir / "store" / "Graphics");
  for (const auto& picture : fs::directory_iterator(examples / "graphics")) {
    fs::copy_file(picture.path(), dir / "store" / "Graphics" / picture.path().filename());
  }
  std::map<std::string, std::pair<int, int>> found;  // file: errors, warnings
  for (const auto& folder : fs::directory_iterator(examples)) {
    if (!folder.is_directory() || folder.path().filename() == "graphics") continue;
    std::vector<std::string> args;
    if (fs::exists(folder.path() / "render.args")) {
      for (const std::string& line : SplitLines(ReadFile(folder.path() / "render.args"))) {
        if (line.empty() || line[0] == '#') continue;
        const size_t space = line.find(' ');
        args.push_back(line.substr(0, space));
        if (space != std::string::npos) args.push_back(line.substr(space + 1));
      }
    }
    const std::string name = "examples/" + folder.path().filename().string() + "/";
    for (const std::string& file : FileNames(folder.path())) {
      if (file.ends_with(".md") || file == "render.args") continue;
      args.push_back((folder.path() / file).string());
    }
    const RunResult run = RunIn(dir, "lint", args);
    std::string source;
    for (const std::string& line : SplitLines(run.out)) {
      const size_t at = line.find(name);
      if (at == std::string::npos && Contains(line, "warning: ")) ++found[source].second;
      if (at == std::string::npos) continue;
      source = "examples/" + line.substr(at + 9, line.find(':', at) - at - 9);
      if (!Contains(line, ": job ")) ++found[source].first;
    }
  }
  for (const Known& k : known) {
    EXPECT_EQ(found[k.file], std::make_pair(k.errors, k.warnings)) << k.file << ": " << k.why;
    found.erase(k.file);
  }
  for (const auto& [file, counts] : found) {
    EXPECT_EQ(counts, std::make_pair(0, 0)) << file << " is not lint-clean";
  }
}

TEST(LintTest, UnreadableFileFailsWithStatusOne) {
  ScratchDir dir;
  const RunResult run = RunIn(dir, "lint", {"missing.zpl"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(Contains(run.err, "missing.zpl")) << run.err;
}

}  // namespace
}  // namespace host::testing
