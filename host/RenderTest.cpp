// End-to-end tests of `labelhost render`: the built program runs on small
// jobs and on the repository's examples in a scratch folder, and the tests
// look at what a user would: exit status, messages, reports and the files.
#include <gtest/gtest.h>

#include <regex>

#include "host/HostTestSupport.h"

namespace host::testing {
namespace {

namespace fs = std::filesystem;

const std::string kHello = "^XA^FO50,50^A0N,40,40^FDHello^FS^XZ";
// An unsupported command is a script error; the field still prints.
const std::string kWithScriptError = "^XA^CI28^FO50,50^A0N,40,40^FDStill here^FS^XZ";
const std::string kTapeJob =
    "STARTTPL\nSTARTLABEL\nMATCHTAPE TAPE-A\nSTARTTEXT\nGETTEXT Customer\nTEXT Default name\n"
    "POSITION 0.2,0.2\nENDTEXT\nENDLABEL\nENDTPL\n";

// The value of a number field of one JSON report line, or -1.
long NumberField(const std::string& line, const std::string& name) {
  std::smatch m;
  if (!std::regex_search(line, m, std::regex("\"" + name + "\":(-?[0-9]+)"))) return -1;
  return std::stol(m[1]);
}

std::string StringField(const std::string& line, const std::string& name) {
  std::smatch m;
  if (!std::regex_search(line, m, std::regex("\"" + name + "\":\"([^\"]*)\""))) return "";
  return m[1];
}

std::vector<std::string> FilesOf(const std::string& line) {
  std::smatch m;
  std::vector<std::string> files;
  if (!std::regex_search(line, m, std::regex("\"files\":\\[([^\\]]*)\\]"))) return files;
  const std::string list = m[1];
  std::regex item("\"([^\"]*)\"");
  for (auto it = std::sregex_iterator(list.begin(), list.end(), item); it != std::sregex_iterator();
       ++it) {
    files.push_back((*it)[1]);
  }
  return files;
}

class RenderTest : public ::testing::Test {
 protected:
  // Runs render in the scratch folder with its own store and output folder.
  RunResult Render(std::vector<std::string> args, RunSettings settings = {}) {
    args.insert(args.begin(), {"render", "--store", "store", "--out", "out"});
    settings.workDir = dir_.path();
    return RunHost(args, settings);
  }

  ScratchDir dir_;
};

TEST_F(RenderTest, WritesOnePngPerLabelAtTheAskedResolutionAndWidth) {
  struct Case {
    std::string dpi, width;
    uint32_t expectedWidth;
  };
  const Case cases[] = {{"300", "4", 1200}, {"203", "2", 406}, {"600", "1.5", 900}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dpi + " dpi, " + c.width + " in");
    fs::remove_all(dir_ / "out");
    dir_.Write("hello.zpl", kHello);
    const RunResult r = Render({"--dpi", c.dpi, "--width", c.width, "hello.zpl"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const auto pngs = FilesEndingIn(dir_ / "out", ".png");
    ASSERT_EQ(pngs.size(), 1u);
    EXPECT_EQ(pngs[0].filename(), "hello-zpl-0001.png");
    const PngInfo png = ReadPng(pngs[0]);
    ASSERT_TRUE(png.valid);
    EXPECT_EQ(png.bitDepth, 1);
    EXPECT_EQ(png.colourType, 0);
    EXPECT_EQ(png.width, c.expectedWidth);
    EXPECT_EQ(png.dpiX, std::stoi(c.dpi));
    EXPECT_EQ(png.dpiY, std::stoi(c.dpi));
    EXPECT_GT(png.inkDots, 100u);
  }
}

TEST_F(RenderTest, FormatsChooseTheFilesWritten) {
  struct Case {
    std::string formats;
    std::vector<std::string> suffixes;
  };
  const Case cases[] = {{"png", {".png"}},
                        {"pdf", {".pdf"}},
                        {"json", {".json"}},
                        {"png,pdf,json", {".png", ".pdf", ".json"}}};
  dir_.Write("hello.zpl", kHello);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.formats);
    fs::remove_all(dir_ / "out");
    const RunResult r = Render({"--format", c.formats, "hello.zpl"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    size_t total = 0;
    for (const std::string& suffix : c.suffixes) {
      const auto files = FilesEndingIn(dir_ / "out", suffix);
      ASSERT_EQ(files.size(), 1u) << suffix;
      total += files.size();
      const std::string bytes = ReadFile(files[0]);
      if (suffix == ".pdf") {
        EXPECT_EQ(bytes.rfind("%PDF", 0), 0u);
      }
      if (suffix == ".json") {
        EXPECT_NE(bytes.find("\"dpi\":300"), std::string::npos);
      }
    }
    EXPECT_EQ(total, FilesEndingIn(dir_ / "out", "").size());
  }
}

TEST_F(RenderTest, ReportsEachJobAsTextAndAsJsonLines) {
  dir_.Write("two.zpl", kHello + "\n" + kHello);
  RunResult text = Render({"two.zpl"});
  ASSERT_EQ(text.exitCode, 0) << text.err;
  const auto lines = SplitLines(text.out);
  ASSERT_GE(lines.size(), 1u);
  // One read holds both labels, and intake posts what it holds as one job.
  EXPECT_EQ(lines[0], "two.zpl: job 1, ZPL, 2 labels, 2 files, 0 log lines, " +
                          lines[0].substr(lines[0].rfind(", ") + 2));
  EXPECT_NE(text.out.find("  wrote out/two-zpl-0001.png\n  wrote out/two-zpl-0002.png\n"),
            std::string::npos);

  fs::remove_all(dir_ / "out");
  const RunResult json = Render({"--report", "json", "two.zpl"});
  ASSERT_EQ(json.exitCode, 0) << json.err;
  const auto records = SplitLines(json.out);
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(StringField(records[0], "source"), "two.zpl");
  EXPECT_EQ(NumberField(records[0], "job"), 1);
  EXPECT_EQ(StringField(records[0], "language"), "ZPL");
  EXPECT_EQ(NumberField(records[0], "labels"), 2);
  EXPECT_EQ(FilesOf(records[0]),
            (std::vector<std::string>{"out/two-zpl-0001.png", "out/two-zpl-0002.png"}));
}

TEST_F(RenderTest, ChunkSizeDecidesWhatIntakeSees) {
  struct Case {
    std::string chunk;
    size_t jobs;
    long labels;
    std::string note;
  };
  const Case cases[] = {
      {"", 1, 2, ""},               // one read: both labels arrive as one job
      {"4096", 1, 2, ""},           // larger than the file: the same
      {"35", 2, 2, ""},             // one read per label: each its own job
      {"12", 1, 1, ""},             // the second start marker is split across reads
      {"1", 0, 0, "no job found"},  // no marker is ever seen
  };
  // Two labels of 35 bytes each.
  dir_.Write("job.zpl", kHello + kHello);
  for (const Case& c : cases) {
    SCOPED_TRACE("chunk " + c.chunk);
    std::vector<std::string> args = {"--report", "json", "job.zpl"};
    if (!c.chunk.empty()) args.insert(args.begin(), {"--chunk", c.chunk});
    const RunResult r = Render(args);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    long labels = 0;
    size_t jobs = 0;
    for (const std::string& record : SplitLines(r.out)) {
      labels += std::max(0L, NumberField(record, "labels"));
      jobs += NumberField(record, "job") > 0 ? 1 : 0;
    }
    EXPECT_EQ(jobs, c.jobs) << r.out;
    EXPECT_EQ(labels, c.labels) << r.out;
    if (!c.note.empty()) {
      EXPECT_NE(r.out.find(c.note), std::string::npos) << r.out;
    }
  }
}

TEST_F(RenderTest, StandardInputIsAJobFileToo) {
  const fs::path input = dir_.Write("input.bin", kHello);
  RunSettings settings;
  settings.stdinFile = input.string();
  const RunResult r = Render({"-"}, settings);
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(FilesEndingIn(dir_ / "out", ".png").size(), 1u);
  EXPECT_TRUE(fs::exists(dir_ / "out" / "stdin-0001.png"));
}

TEST_F(RenderTest, ReportsOnlyTheLogLinesOfTheJob) {
  const fs::path job = ExamplesDir() / "zpl" / "with-errors.zpl";
  ASSERT_TRUE(fs::exists(job));
  for (int run = 0; run < 2; ++run) {
    SCOPED_TRACE("run " + std::to_string(run));
    const RunResult r = Render({"--report", "json", job.string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const auto records = SplitLines(r.out);
    ASSERT_EQ(records.size(), 1u);
    const std::string& line = records[0];
    EXPECT_NE(line.find("{\"file\":\"ZPL_ERROR_LOG.TXT\",\"line\":\"["), std::string::npos);
    EXPECT_NE(line.find("Unsupported command: ^CI28"), std::string::npos);
    // The log keeps growing; the report holds this run's lines only.
    size_t count = 0;
    for (size_t at = line.find("ZPL_ERROR_LOG.TXT"); at != std::string::npos;
         at = line.find("ZPL_ERROR_LOG.TXT", at + 1)) {
      ++count;
    }
    EXPECT_EQ(count, 3u);
  }
  EXPECT_EQ(SplitLines(ReadFile(dir_ / "store" / "Logging" / "ZPL_ERROR_LOG.TXT")).size(), 6u);
}

TEST_F(RenderTest, CallbackAnswersDecideWhetherToPrint) {
  struct Case {
    std::string job;
    std::vector<std::string> options;
    long labels;
    std::string refusal;
  };
  const Case cases[] = {
      {kWithScriptError, {}, 1, ""},
      {kWithScriptError, {"--on-script-error", "print"}, 1, ""},
      {kWithScriptError, {"--on-script-error", "skip"}, 0, "script errors"},
      {kTapeJob, {"--tape", "tape-a", "--on-tape-mismatch", "skip"}, 1, ""},  // case is ignored
      {kTapeJob, {"--tape", "TAPE-B"}, 1, ""},
      {kTapeJob, {"--tape", "TAPE-B", "--on-tape-mismatch", "skip"}, 0, "tape mismatch"},
      {kTapeJob, {"--tape", "TAPE-B", "--on-ribbon-mismatch", "skip"}, 1, ""},
  };
  for (const Case& c : cases) {
    const std::string name = c.job == kTapeJob ? "job.tpl" : "job.zpl";
    SCOPED_TRACE(name + " " + (c.options.empty() ? "" : c.options.back()));
    dir_.Write(name, c.job);
    std::vector<std::string> args = c.options;
    args.insert(args.end(), {"--report", "json", name});
    const RunResult r = Render(args);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    ASSERT_EQ(SplitLines(r.out).size(), 1u) << r.out;
    const std::string line = SplitLines(r.out)[0];
    EXPECT_EQ(NumberField(line, "labels"), c.labels);
    EXPECT_EQ(NumberField(line, "prints_requested"), 1);
    EXPECT_EQ(NumberField(line, "prints_refused"), c.labels == 0 ? 1 : 0);
    if (!c.refusal.empty()) {
      EXPECT_NE(line.find("\"" + c.refusal + "\""), std::string::npos);
    }
  }
}

TEST_F(RenderTest, PromptAnswersReachThePrintedLabel) {
  dir_.Write("job.tpl", kTapeJob);
  struct Case {
    std::vector<std::string> options;
    std::string value;
  };
  const Case cases[] = {{{}, "Default name"},
                        {{"--answer", "Customer=ACME Ltd"}, "ACME Ltd"},
                        {{"--answer", "Other=x"}, "Default name"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    fs::remove_all(dir_ / "out");
    std::vector<std::string> args = c.options;
    args.insert(args.end(), {"--format", "json", "job.tpl"});
    const RunResult r = Render(args);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const auto files = FilesEndingIn(dir_ / "out", ".json");
    ASSERT_EQ(files.size(), 1u);
    EXPECT_NE(ReadFile(files[0]).find("\"value\":\"" + c.value + "\""), std::string::npos);
  }
}

TEST_F(RenderTest, LabelOffsetsMoveTheInk) {
  dir_.Write("hello.zpl", kHello);
  ASSERT_EQ(Render({"hello.zpl"}).exitCode, 0);
  const PngInfo plain = ReadPng(dir_ / "out" / "hello-zpl-0001.png");
  ASSERT_EQ(Render({"--x-offset", "0.5", "--y-offset", "0.25", "hello.zpl"}).exitCode, 0);
  const PngInfo moved = ReadPng(dir_ / "out" / "hello-zpl-0001.png");
  ASSERT_GT(plain.inkDots, 0u);
  EXPECT_EQ(moved.inkDots, plain.inkDots);
  EXPECT_NEAR(moved.inkLeft - plain.inkLeft, 150, 2);  // 0.5 inch at 300 dpi
  EXPECT_NEAR(moved.inkTop - plain.inkTop, 75, 2);
}

TEST_F(RenderTest, UnfinishedJobIsReportedNotPrinted) {
  dir_.Write("cut.zpl", "^XA^FO50,50^FDno end");
  const RunResult r = Render({"cut.zpl"});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_NE(r.out.find("cut.zpl: no job"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("input ended inside a ZPL job"), std::string::npos) << r.out;
  EXPECT_TRUE(FilesEndingIn(dir_ / "out", ".png").empty());
}

TEST_F(RenderTest, BadInputGivesOneClearErrorAndFailure) {
  dir_.Write("hello.zpl", kHello);
  dir_.Write("afile", "not a folder");
  struct Case {
    std::vector<std::string> args;
    int exitCode;
    std::string message;
    long fileSizeLimit = 0;
  };
  const Case cases[] = {
      {{"render", "--out", "out", "--store", "store", "missing.zpl"},
       1,
       "labelhost: cannot open 'missing.zpl': No such file or directory"},
      {{"render", "--out", "out", "--store", "store", "store"},
       1,
       "labelhost: cannot read 'store'"},
      {{"render", "--out", "afile/out", "--store", "store", "hello.zpl"},
       1,
       "labelhost: cannot create output folder 'afile/out'"},
      {{"render", "--out", "afile", "--store", "store", "hello.zpl"},
       1,
       "labelhost: output folder 'afile' is not a folder"},
      {{"render", "--out", "out", "--store", "afile", "hello.zpl"},
       1,
       "labelhost: store 'afile' is not a folder"},
      {{"render", "--out", "out", "--store", "store", "--format", "pdf", "hello.zpl"},
       1,
       "labelhost: cannot write out/hello-zpl-0001.pdf: File too large",
       1},
      {{"render"}, 2, "labelhost: render needs at least one FILE"},
      {{"render", "--dpi", "0", "hello.zpl"}, 2, "labelhost: invalid value '0' for --dpi"},
      {{"render", "--format", "gif", "hello.zpl"},
       2,
       "labelhost: invalid value 'gif' for --format"},
      {{"render", "--bogus", "hello.zpl"}, 2, "labelhost: unknown option '--bogus'"},
      {{"print", "hello.zpl"}, 2, "labelhost: unknown command 'print'"},
      {{}, 2, "labelhost: no command given"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    fs::create_directories(dir_ / "store");
    RunSettings settings;
    settings.workDir = dir_.path();
    settings.fileSizeLimitBlocks = c.fileSizeLimit;
    const RunResult r = RunHost(c.args, settings);
    EXPECT_EQ(r.exitCode, c.exitCode) << r.err;
    const auto errors = SplitLines(r.err);
    ASSERT_FALSE(errors.empty());
    EXPECT_EQ(errors[0].rfind(c.message, 0), 0u) << errors[0];
    EXPECT_EQ(errors.size(), c.exitCode == 2 ? 2u : 1u) << r.err;  // usage errors add a hint
  }
  // Nothing half-written is left behind.
  EXPECT_FALSE(fs::exists(dir_ / "out" / "hello-zpl-0001.pdf"));
}

TEST_F(RenderTest, AMissingFileDoesNotStopTheOthers) {
  dir_.Write("hello.zpl", kHello);
  const RunResult r = Render({"missing.zpl", "hello.zpl"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(SplitLines(r.err).size(), 1u);
  EXPECT_EQ(FilesEndingIn(dir_ / "out", ".png").size(), 1u);
}

TEST_F(RenderTest, ProgressLineOnlyWhenAskedOrOnATerminal) {
  dir_.Write("hello.zpl", kHello);
  EXPECT_EQ(Render({"hello.zpl"}).err, "");
  const RunResult r = Render({"--progress", "hello.zpl"});
  EXPECT_EQ(r.err, "labelhost: file 1/1, 0 jobs, 0 labels: hello.zpl\n");
}

TEST(LabelhostTest, HelpAndVersion) {
  const RunResult help = RunHost({"--help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_EQ(help.out.rfind("Usage: labelhost COMMAND", 0), 0u);
  EXPECT_EQ(help.err, "");
  const RunResult version = RunHost({"--version"});
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_EQ(version.out.rfind("labelhost ", 0), 0u);
}

}  // namespace
}  // namespace host::testing
