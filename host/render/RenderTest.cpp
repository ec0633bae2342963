// End-to-end tests of `labelhost render`: the built program runs on small jobs
// in a scratch folder, and the tests look at what a user would: exit status,
// messages, reports and the files.
#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <sstream>

#include "host/HostTestSupport.h"

namespace host::testing {
namespace {

namespace fs = std::filesystem;

const std::string kHello = "^XA^FO50,50^A0N,40,40^FDHello^FS^XZ";  // 35 bytes

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// The value after `option` in `args`, or `otherwise`.
std::string OptionValue(const std::vector<std::string>& args, const std::string& option,
                        const std::string& otherwise) {
  for (size_t i = 0; i + 1 < args.size(); ++i) {
    if (args[i] == option) return args[i + 1];
  }
  return otherwise;
}

// A written label: a 1-bit grey PNG with ink, at the resolution and width
// asked for; a PDF; or a JSON description that names the resolution.
void ExpectLabelFile(const fs::path& file, int dpi, uint32_t width) {
  SCOPED_TRACE(file.filename().string());
  if (file.extension() == ".pdf") {
    EXPECT_EQ(ReadFile(file).rfind("%PDF", 0), 0u);
  } else if (file.extension() == ".json") {
    EXPECT_TRUE(Contains(ReadFile(file), "\"dpi\":" + std::to_string(dpi)));
  } else {
    const PngInfo png = ReadPng(file);
    ASSERT_TRUE(png.valid);
    EXPECT_EQ(png.bitDepth, 1);
    EXPECT_EQ(png.colourType, 0);
    EXPECT_EQ(png.width, width);
    EXPECT_EQ(png.dpiX, dpi);
    EXPECT_EQ(png.dpiY, dpi);
    EXPECT_GT(png.inkDots, 0u);
  }
}

class RenderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_.Write("hello.zpl", kHello);
    dir_.Write("two.zpl", kHello + "\n" + kHello);
    dir_.Write("job.zpl", kHello + kHello);
    // One job of two labels (each job of a file is a job of its own).
    dir_.Write("copies.zpl", "^XA^FO50,50^A0N,40,40^FDHello^FS^PQ2^XZ");
    dir_.Write("cut.zpl", "^XA^FO50,50^FDno end");
    // An unsupported command is a script error; the field still prints.
    dir_.Write("script.zpl", "^XA^CI28^FO50,50^A0N,40,40^FDStill here^FS^XZ");
    dir_.Write("nobox.zpl", "^XA^GB100,100,3^FS^FO50,50^A0N,40,40^FDAfter the box^FS^XZ");
    dir_.Write("tape.tpl",
               "STARTTPL\nSTARTLABEL\nMATCHTAPE TAPE-A\nSTARTTEXT\nGETTEXT Customer\n"
               "TEXT Default name\nPOSITION 0.2,0.2\nENDTEXT\nENDLABEL\nENDTPL\n");
  }
  // Runs render in the scratch folder, from an empty output folder.
  RunResult Render(const std::vector<std::string>& args, const RunSettings& settings = {}) {
    fs::remove_all(dir_ / "out");
    return RunIn(dir_, "render", args, settings);
  }

  ScratchDir dir_;
};

// The store, and so its logs, lives on from one case to the next.
TEST_F(RenderTest, EachRunReportsWhatItPrintedAndWritesItsFiles) {
  struct Case {
    std::vector<std::string> args;
    std::vector<std::string> said;   // parts of the report
    std::vector<std::string> files;  // the output folder afterwards
    std::string inFile = "";         // part of the first file
  };
  const std::vector<std::string> kTwo = {"two-zpl-0001.png", "two-zpl-0002.png"};
  const std::vector<std::string> kJob = {"job-zpl-0001.png", "job-zpl-0002.png"};
  const std::string kPrinted =
      "\"prints_requested\":1,\"prints_refused\":0,\"refusals\":[],\"labels\":1,";
  const auto refused = [](const std::string& why) {
    return "\"prints_requested\":1,\"prints_refused\":1,\"refusals\":[\"" + why +
           "\"],\"labels\":0,";
  };
  const std::string withErrors = (ExamplesDir() / "zpl" / "with-errors.zpl").string();
  const std::string kThreeErrors =
      "with-errors.zpl: job 1, ZPL, 0 labels, 0 files, 0 log lines, 3 script errors,";
  const Case cases[] = {
      // Formats, resolution and width.
      {{"--format", "png", "--dpi", "600", "--width", "1.5", "hello.zpl"},
       {},
       {"hello-zpl-0001.png"}},
      {{"--format", "png,pdf,json", "--dpi", "203", "--width", "2", "hello.zpl"},
       {},
       {"hello-zpl-0001.json", "hello-zpl-0001.pdf", "hello-zpl-0001.png"}},
      {{"--format", "pdf", "hello.zpl"}, {}, {"hello-zpl-0001.pdf"}},
      // A file is cut after each job's end marker: each job is a read of its own.
      {{"two.zpl"},
       {"two.zpl: job 1, ZPL, 1 label, 1 file, 0 log lines, ", "\n  wrote out/two-zpl-0001.png\n",
        "two.zpl: job 2, ZPL, 1 label, 1 file, 0 log lines, ", "\n  wrote out/two-zpl-0002.png\n"},
       kTwo},
      {{"--report", "json", "two.zpl"},
       {"{\"source\":\"two.zpl\",\"job\":1,\"language\":\"ZPL\",",
        "\"labels\":1,\"files\":[\"out/two-zpl-0001.png\"]",
        "{\"source\":\"two.zpl\",\"job\":2,\"language\":\"ZPL\","},
       kTwo},
      // A chunk size gives reads of that size instead: what each read, and so
      // intake, sees. One read that holds both labels is one job.
      {{"--chunk", "4096", "job.zpl"}, {"job.zpl: job 1, ZPL, 2 labels,"}, kJob},
      {{"--chunk", "35", "job.zpl"},  // one read per label: each its own job
       {"job.zpl: job 1, ZPL, 1 label,", "job.zpl: job 2, ZPL, 1 label,"},
       kJob},
      {{"--chunk", "12", "job.zpl"},  // the second start marker is split across reads
       {"job.zpl: job 1, ZPL, 1 label,"},
       {"job-zpl-0001.png"}},
      {{"--chunk", "1", "job.zpl"}, {"job.zpl: no job\n  note: no job found"}, {}},
      {{"-"}, {"-: job 1, ZPL, 1 label,"}, {"stdin-0001.png"}},  // standard input: hello.zpl
      {{"cut.zpl"}, {"cut.zpl: no job\n", "input ended inside a ZPL job"}, {}},
      // Reports hold the log lines of their job only, however long the log grows.
      {{withErrors},
       {kThreeErrors,
        "\n" + withErrors + ":4:1: script error (ZPL_ERROR_LOG.TXT): Unsupported command: ^CI28\n"},
       {}},
      {{withErrors}, {kThreeErrors}, {}},
      // A script error logged in other words is listed beside its log line; the
      // error ends the label, which the report says.
      {{"nobox.zpl"},
       {"nobox.zpl: job 1, ZPL, 0 labels, 0 files, 1 log line, 1 script error, 0 diagnostics\n",
        "\nnobox.zpl:1:4: script error: ERROR CREATING FIELD DATA, NO FIELD ORIGIN DEFINED\n",
        "\nnobox.zpl:1:4: log ZPL_ERROR_LOG.TXT: [",
        "] ERROR CREATING RECTANGLE, NO FIELD ORIGIN DEFINED\n",
        "\n  note: a label was started and never printed (the job ended before its end)\n"},
       {}},
      // The answers to the print callbacks.
      {{"--report", "json", "script.zpl"},
       {kPrinted,
        "\"script_errors\":[{\"message\":\"Unsupported command: ^CI28\",\"log\":\"ZPL_ERROR_"
        "LOG.TXT\",\"line\":1,\"column\":4,\"offset\":3,\"length\":5}],\"log\":[],"
        "\"diagnostics\""},
       {"script-zpl-0001.png"}},
      {{"--on-script-error", "print", "--report", "json", "script.zpl"},
       {kPrinted},
       {"script-zpl-0001.png"}},
      {{"--on-script-error", "skip", "--report", "json", "script.zpl"},
       {refused("script errors")},
       {}},
      {{"--tape", "tape-a", "--on-tape-mismatch", "skip", "--report", "json",
        "tape.tpl"},  // any case
       {kPrinted},
       {"tape-tpl-0001.png"}},
      {{"--tape", "TAPE-B", "--report", "json", "tape.tpl"}, {kPrinted}, {"tape-tpl-0001.png"}},
      {{"--tape", "TAPE-B", "--on-tape-mismatch", "skip", "--report", "json", "tape.tpl"},
       {refused("tape mismatch")},
       {}},
      {{"--tape", "TAPE-B", "--on-ribbon-mismatch", "skip", "--report", "json", "tape.tpl"},
       {kPrinted},
       {"tape-tpl-0001.png"}},
      // Prompt answers reach the printed label; a prompt without one, and an
      // answer without a prompt, are noted.
      {{"--format", "json", "tape.tpl"},
       {"\n  note: prompt \"Customer\" has no --answer; its default printed\n"},
       {"tape-tpl-0001.json"},
       "\"value\":\"Default name\""},
      {{"--answer", "Customer=ACME Ltd", "--format", "json", "tape.tpl"},
       {"0 diagnostics\n  wrote out/tape-tpl-0001.json\n"},  // and nothing after
       {"tape-tpl-0001.json"},
       "\"value\":\"ACME Ltd\""},
      {{"--answer", "Other=x", "--format", "json", "tape.tpl"},
       {"note: prompt \"Customer\" has no --answer",
        "note: --answer \"Other\" matches no prompt of this job"},
       {"tape-tpl-0001.json"},
       "\"value\":\"Default name\""},
      // One PDF per job, a page per label, named after its first label.
      {{"--format", "png,pdf", "copies.zpl"},
       {"copies.zpl: job 1, ZPL, 2 labels, 3 files,", "wrote out/copies-zpl-0001.pdf"},
       {"copies-zpl-0001.pdf", "copies-zpl-0001.png", "copies-zpl-0002.png"}},
      // A PDF per job: two jobs, two documents.
      {{"--format", "pdf", "two.zpl"}, {}, {"two-zpl-0001.pdf", "two-zpl-0002.pdf"}},
  };
  RunSettings settings;
  settings.stdinFile = (dir_ / "hello.zpl").string();
  for (const Case& c : cases) {
    std::string trace;
    for (const std::string& arg : c.args) trace += arg + " ";
    SCOPED_TRACE(trace);
    const RunResult r = Render(c.args, settings);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");  // no progress line unless asked for
    for (const std::string& part : c.said) {
      EXPECT_TRUE(Contains(r.out, part)) << part << " in\n" << r.out;
    }
    ASSERT_EQ(FileNames(dir_ / "out"), c.files);
    EXPECT_TRUE(c.files.empty() || Contains(ReadFile(dir_ / "out" / c.files[0]), c.inFile));
    const int dpi = std::stoi(OptionValue(c.args, "--dpi", "300"));
    const double inches = std::stod(OptionValue(c.args, "--width", "4"));
    for (const std::string& name : c.files) {
      ExpectLabelFile(dir_ / "out" / name, dpi, static_cast<uint32_t>(std::lround(dpi * inches)));
    }
  }
}

// The page a label prints on: the media's size, the job's own length, or the
// content and a margin below it that leaves a symbol its quiet zone.
TEST_F(RenderTest, MediaOptionsSizeThePage) {
  dir_.Write("ll.zpl", "^XA^LL100^FO50,50^A0N,40,40^FDHi^FS^XZ");
  dir_.Write("dm.zpl", "^XA^BY10^FO50,50^BXN,10,200^FDLOT-4711^FS^XZ");  // 30 mils: 9 dots
  const struct {
    std::vector<std::string> args;
    uint32_t width, height;  // 0: follows the content
    int dpi;
    int marginBelow = 0;  // dots of paper below the ink, at least
  } cases[] = {
      {{"--dpmm", "8", "--media", "4x6in", "hello.zpl"}, 812, 1218, 203},
      {{"--media", "100x150mm", "hello.zpl"}, 1181, 1772, 300},
      {{"--width", "2", "--length", "1", "hello.zpl"}, 600, 300, 300},
      {{"--dpmm", "8", "--media", "2x1in", "ll.zpl"}, 406, 100, 203},  // the job's length wins
      {{"--dpmm", "24", "hello.zpl"}, 2400, 0, 600, 60},               // 0.1 in
      {{"dm.zpl"}, 1200, 0, 300, 36},  // four modules, more than 0.1 in
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args.front() + " " + c.args.back());
    ASSERT_EQ(Render(c.args).exitCode, 0);
    const std::vector<std::string> files = FileNames(dir_ / "out");
    ASSERT_EQ(files.size(), 1u);
    const PngInfo png = ReadPng(dir_ / "out" / files[0]);
    EXPECT_EQ(png.dpiX, c.dpi);
    EXPECT_EQ(png.width, c.width);
    if (c.height > 0) {
      EXPECT_EQ(png.height, c.height);
    }
    if (c.marginBelow > 0) {
      EXPECT_GE(static_cast<int>(png.height) - 1 - png.inkBottom, c.marginBelow);
      EXPECT_LE(static_cast<int>(png.height) - 1 - png.inkBottom, c.marginBelow + 30);
    }
  }
}

TEST_F(RenderTest, APdfPerJobWithAPageOfItsSizePerLabel) {
  ASSERT_EQ(Render({"--format", "pdf", "--dpmm", "8", "--media", "2x1in", "copies.zpl"}).exitCode,
            0);
  const std::string pdf = ReadFile(dir_ / "out" / "copies-zpl-0001.pdf");
  EXPECT_EQ(pdf.rfind("%PDF", 0), 0u);
  std::vector<std::string> pages;  // "/MediaBox [ 0 0 W H ]" per page
  const std::string key = "/MediaBox [";
  for (size_t at = pdf.find(key); at != std::string::npos; at = pdf.find(key, at + 1)) {
    std::istringstream numbers(pdf.substr(at + key.size(), 64));
    std::string x0, y0, width, height;
    numbers >> x0 >> y0 >> width >> height;
    pages.push_back(width + "x" + height);
  }
  EXPECT_EQ(pages, (std::vector<std::string>{"144x72", "144x72"}));  // points
}

TEST_F(RenderTest, FontSubstitutionIsReportedOncePerRunAndCommonFacesNever) {
  const std::string job =
      "STARTTPL\nSTARTLABEL\nSTARTTEXT\nTEXT One\nPOSITION 0.2,0.2\nFONTNAME Imaginary "
      "Face\nENDTEXT\nSTARTTEXT\nTEXT Two\nPOSITION 0.2,0.6\nFONTNAME Imaginary Face\nENDTEXT\n"
      "STARTTEXT\nTEXT Three\nPOSITION 0.2,1.0\nFONTNAME Arial\nENDTEXT\nENDLABEL\nENDTPL\n";
  dir_.Write("a.tpl", job);
  dir_.Write("b.tpl", job);
  // A face the printer has (--font) but this machine lacks reaches the engine.
  const RunResult r = Render({"--font", "Imaginary Face", "a.tpl", "b.tpl"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const std::vector<std::string> lines = SplitLines(r.out);
  std::vector<std::string> engine;
  for (const std::string& line : lines) {
    if (line.rfind("  engine: ", 0) == 0) engine.push_back(line);
  }
  ASSERT_EQ(engine.size(), 1u) << r.out;
  EXPECT_NE(engine[0].find("is not installed; DejaVu Sans used instead"), std::string::npos);
  EXPECT_TRUE(Contains(
      r.out, "a.tpl: job 1, TPL, 1 label, 1 file, 0 log lines, 0 script errors, 1 diagnostic\n"));
  EXPECT_TRUE(Contains(
      r.out, "b.tpl: job 1, TPL, 1 label, 1 file, 0 log lines, 0 script errors, 0 diagnostics\n"));
}

TEST_F(RenderTest, LabelOffsetsMoveTheInk) {
  ASSERT_EQ(Render({"hello.zpl"}).exitCode, 0);
  const PngInfo plain = ReadPng(dir_ / "out" / "hello-zpl-0001.png");
  ASSERT_EQ(Render({"--x-offset", "0.5", "--y-offset", "0.25", "hello.zpl"}).exitCode, 0);
  const PngInfo moved = ReadPng(dir_ / "out" / "hello-zpl-0001.png");
  ASSERT_GT(plain.inkDots, 0u);
  EXPECT_EQ(moved.inkDots, plain.inkDots);
  EXPECT_NEAR(moved.inkLeft - plain.inkLeft, 150, 2);  // 0.5 inch at 300 dpi
  EXPECT_NEAR(moved.inkTop - plain.inkTop, 75, 2);
}

TEST_F(RenderTest, BadInputGivesOneClearErrorAndFailure) {
  dir_.Write("afile", "not a folder");
  fs::create_directories(dir_ / "store");
  struct Case {
    std::vector<std::string> args;  // after those that name the store and output folders
    int exitCode;
    std::string message;
    long fileSizeLimit = 0;
  };
  // The mistakes of each option are named by the option tests; here only how a run ends.
  const Case cases[] = {
      {{"--out", "afile/out", "hello.zpl"}, 1, "cannot create output folder 'afile/out'"},
      {{"--out", "afile", "hello.zpl"}, 1, "output folder 'afile' is not a folder"},
      {{"--store", "afile", "hello.zpl"}, 1, "store 'afile' is not a folder"},
      {{"store"}, 1, "cannot read 'store'"},
      {{"--format", "pdf", "hello.zpl"},
       1,
       "cannot write out/hello-zpl-0001.pdf: File too large",
       1},
      // A missing file does not stop the others.
      {{"missing.zpl", "hello.zpl"}, 1, "cannot open 'missing.zpl': No such file or directory"},
      {{"--dpi", "0", "hello.zpl"}, 2, "invalid value '0' for --dpi"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    RunSettings settings;
    settings.fileSizeLimitBlocks = c.fileSizeLimit;
    const RunResult r = RunIn(dir_, "render", c.args, settings);
    EXPECT_EQ(r.exitCode, c.exitCode) << r.err;
    const auto errors = SplitLines(r.err);
    ASSERT_FALSE(errors.empty());
    EXPECT_EQ(errors[0].rfind("labelhost: " + c.message, 0), 0u) << errors[0];
    EXPECT_EQ(errors.size(), c.exitCode == 2 ? 2u : 1u) << r.err;  // usage errors add a hint
  }
  // Nothing half-written is left behind; the file after the missing one printed.
  EXPECT_EQ(FileNames(dir_ / "out"), std::vector<std::string>{"hello-zpl-0001.png"});
}

TEST_F(RenderTest, ProgressLineOnlyWhenAsked) {
  EXPECT_EQ(Render({"--progress", "hello.zpl"}).err,
            "labelhost: file 1/1, 0 jobs, 0 labels: hello.zpl\n");
}

TEST(LabelhostTest, HelpVersionAndNoCommand) {
  const struct {
    std::vector<std::string> args;
    int exitCode;
    std::string out;  // its start
    std::string alsoSaid = "";
  } cases[] = {
      {{"--help"}, 0, "Usage: labelhost COMMAND", "Times New Roman"},  // the font note
      {{"help"}, 0, "Usage: labelhost COMMAND", "  watch FILE..."},
      {{"help", "watch"}, 0, "Usage: labelhost watch [OPTION]... FILE...", "Ctrl-C"},
      {{"config-label", "--help"}, 0, "Usage: labelhost config-label [OPTION]...", "--media WxL"},
      {{"help", "nope"}, 2, ""},
      {{}, 2, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args.empty() ? "(none)" : c.args.back());
    const RunResult r = RunHost(c.args);
    EXPECT_EQ(r.exitCode, c.exitCode);
    EXPECT_EQ(r.out.rfind(c.out, 0), 0u) << r.out;
    EXPECT_TRUE(Contains(r.out, c.alsoSaid));
    EXPECT_EQ(r.err.empty(), c.exitCode == 0) << r.err;
  }
  EXPECT_EQ(RunHost({"help", "nope"}).err.rfind("labelhost: unknown command 'nope'\n", 0), 0u);
  EXPECT_EQ(RunHost({}).err.rfind("labelhost: no command given\n", 0), 0u);

  // The version, and the run-time versions of the libraries that make the labels.
  const RunResult version = RunHost({"--version"});
  EXPECT_EQ(version.exitCode, 0);
  const std::vector<std::string> lines = SplitLines(version.out);
  const std::vector<std::string> names = {"labelhost", "cairo", "pango", "zint", "libpng"};
  ASSERT_EQ(lines.size(), names.size()) << version.out;
  for (size_t i = 0; i < names.size(); ++i) {
    const std::string version = lines[i].substr(std::min(lines[i].size(), names[i].size() + 1));
    EXPECT_EQ(lines[i].rfind(names[i] + " ", 0), 0u) << lines[i];
    EXPECT_TRUE(!version.empty() && std::isdigit(static_cast<unsigned char>(version[0])) &&
                version.find('.') != std::string::npos &&
                version.find_first_not_of("0123456789.") == std::string::npos)
        << lines[i];
  }
}

}  // namespace
}  // namespace host::testing
