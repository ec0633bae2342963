// End-to-end: a one-shot command ends its process without freeing what it
// leaves, and nothing it writes may be lost by that: the report on standard
// output (most of it still in the stream's buffer when the command returns),
// every label file and PDF, the error logs, the font catalog, and the exit
// status.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "host/HostTestSupport.h"

namespace host::testing {
namespace {

namespace fs = std::filesystem;

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// Sets an environment variable for the programs the test runs.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::string& value) : name_(name) {
    ::setenv(name, value.c_str(), 1);
  }
  ~ScopedEnv() { ::unsetenv(name_); }

 private:
  const char* name_;
};

// Jobs with a label each; every fourth also logs a script error.
constexpr int kJobs = 40;
std::string ManyJobs() {
  std::string jobs;
  for (int i = 0; i < kJobs; ++i) {
    jobs += "^XA" + std::string(i % 4 == 0 ? "^CI28" : "") + "^FO50,50^A0N,40,40^FDJob " +
            std::to_string(i) + "^FS^XZ\n";
  }
  return jobs;
}

// Every file in `folder` whose name ends with `extension`.
std::vector<fs::path> FilesEndingWith(const fs::path& folder, const std::string& extension) {
  std::vector<fs::path> files;
  for (const std::string& name : FileNames(folder)) {
    if (EndsWith(name, extension)) files.push_back(folder / name);
  }
  return files;
}

TEST(ProgramEnd, EverythingACommandWroteIsWholeWhenTheProcessEnds) {
  struct Case {
    std::string command;
    std::vector<std::string> args;
    int exitCode;
    size_t reportLines;  // one JSON object each
    size_t pngs, pdfs, logLines;
  };
  constexpr size_t kErrors = (kJobs + 3) / 4;
  const Case cases[] = {
      {"render",
       {"--format", "png,pdf,json", "--report", "json", "--strict", "jobs.zpl"},
       3,
       kJobs,
       kJobs,
       kJobs,
       kErrors},
      {"lint", {"--report", "json", "jobs.zpl"}, 3, kJobs, 0, 0, kErrors},
      {"config-label", {"--format", "png,pdf", "--report", "json"}, 0, 1, 1, 1, 0},
      // No job: nothing waited for the font list before the command returned.
      {"render", {"--report", "json", "empty.zpl"}, 0, 1, 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.command);
    ScratchDir dir;
    dir.Write("jobs.zpl", ManyJobs());
    dir.Write("empty.zpl", "");
    const ScopedEnv catalog("LABELHOST_FONT_CATALOG", (dir / "cache" / "font-catalog").string());
    const RunResult r = RunIn(dir, c.command, c.args);
    EXPECT_EQ(r.exitCode, c.exitCode) << r.err;

    const std::vector<std::string> lines = SplitLines(r.out);
    EXPECT_EQ(lines.size(), c.reportLines);
    EXPECT_TRUE(EndsWith(r.out, "}\n"))
        << r.out.substr(r.out.size() - std::min<size_t>(80, r.out.size()));
    for (const std::string& line : lines) {
      EXPECT_TRUE(line.front() == '{' && line.back() == '}') << line;
    }

    EXPECT_EQ(FilesEndingWith(dir / "out", ".png").size(), c.pngs);
    for (const fs::path& png : FilesEndingWith(dir / "out", ".png")) {
      EXPECT_TRUE(ReadPng(png).valid) << png;
    }
    const std::vector<fs::path> pdfs = FilesEndingWith(dir / "out", ".pdf");
    EXPECT_EQ(pdfs.size(), c.pdfs);
    for (const fs::path& pdf : pdfs) EXPECT_TRUE(EndsWith(ReadFile(pdf), "%%EOF\n")) << pdf;

    const fs::path log = dir / "store" / "Logging" / "ZPL_ERROR_LOG.TXT";
    const std::string logged = fs::exists(log) ? ReadFile(log) : "";
    const std::vector<std::string> logLines = SplitLines(logged);
    EXPECT_EQ(logLines.size(), c.logLines) << logged;
    for (const std::string& line : logLines) EXPECT_TRUE(EndsWith(line, "^CI28\r")) << line;

    // The font list's thread writes the catalog for the next runs: it is
    // there, whole, and no temporary file of it is left.
    EXPECT_EQ(FileNames(dir / "cache"), std::vector<std::string>{"font-catalog"});
    EXPECT_TRUE(EndsWith(ReadFile(dir / "cache" / "font-catalog"), "\n"));
  }
}

}  // namespace
}  // namespace host::testing
