// End-to-end tests of `labelhost render`: the built program runs on small jobs
// in a scratch folder, and the tests look at what a user would: exit status,
// messages, reports and the files.
#include <gtest/gtest.h>

#include <cmath>

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
    dir_.Write("cut.zpl", "^XA^FO50,50^FDno end");
    // An unsupported command is a script error; the field still prints.
    dir_.Write("script.zpl", "^XA^CI28^FO50,50^A0N,40,40^FDStill here^FS^XZ");
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
  const std::string kThreeLogLines = "with-errors.zpl: job 1, ZPL, 0 labels, 0 files, 3 log lines,";
  const Case cases[] = {
      // Formats, resolution and width.
      {{"--format", "png", "--dpi", "600", "--width", "1.5", "hello.zpl"},
       {},
       {"hello-zpl-0001.png"}},
      {{"--format", "png,pdf,json", "--dpi", "203", "--width", "2", "hello.zpl"},
       {},
       {"hello-zpl-0001.json", "hello-zpl-0001.pdf", "hello-zpl-0001.png"}},
      {{"--format", "pdf", "hello.zpl"}, {}, {"hello-zpl-0001.pdf"}},
      // One read holds both labels, and intake posts what it holds as one job.
      {{"two.zpl"},
       {"two.zpl: job 1, ZPL, 2 labels, 2 files, 0 log lines, ",
        "\n  wrote out/two-zpl-0001.png\n  wrote out/two-zpl-0002.png\n"},
       kTwo},
      {{"--report", "json", "two.zpl"},
       {"{\"source\":\"two.zpl\",\"job\":1,\"language\":\"ZPL\",",
        "\"labels\":2,\"files\":[\"out/two-zpl-0001.png\",\"out/two-zpl-0002.png\"]"},
       kTwo},
      // The chunk size decides what each read, and so intake, sees.
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
       {kThreeLogLines, "  log ZPL_ERROR_LOG.TXT: [", "Unsupported command: ^CI28"},
       {}},
      {{withErrors}, {kThreeLogLines}, {}},
      {{"--report", "json", withErrors},
       {"\"log\":[{\"file\":\"ZPL_ERROR_LOG.TXT\",\"line\":\"[",
        "\"},{\"file\":\"ZPL_ERROR_LOG.TXT\",\"line\":\"[", "\"}],\"diagnostics\":["},
       {}},
      // The answers to the print callbacks.
      {{"--report", "json", "script.zpl"},
       {kPrinted, "\"log\":[{\"file\":\"ZPL_ERROR_LOG.TXT\",\"line\":\"[",
        "Unsupported command: ^CI28\"}],\"diagnostics\""},
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
      // Prompt answers reach the printed label.
      {{"--format", "json", "tape.tpl"}, {}, {"tape-tpl-0001.json"}, "\"value\":\"Default name\""},
      {{"--answer", "Customer=ACME Ltd", "--format", "json", "tape.tpl"},
       {},
       {"tape-tpl-0001.json"},
       "\"value\":\"ACME Ltd\""},
      {{"--answer", "Other=x", "--format", "json", "tape.tpl"},
       {},
       {"tape-tpl-0001.json"},
       "\"value\":\"Default name\""},
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
  const RunResult help = RunHost({"--help"}), version = RunHost({"--version"}), none = RunHost({});
  EXPECT_EQ(help.exitCode + version.exitCode, 0);
  EXPECT_EQ(help.out.rfind("Usage: labelhost COMMAND", 0), 0u);
  EXPECT_EQ(help.err + version.err, "");
  EXPECT_EQ(version.out.rfind("labelhost ", 0), 0u);
  EXPECT_EQ(none.exitCode, 2);
  EXPECT_EQ(none.err.rfind("labelhost: no command given\n", 0), 0u);
}

}  // namespace
}  // namespace host::testing
