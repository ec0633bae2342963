// The repository's examples, rendered the way the README tells users to:
// every job file prints, every printed label is a 1-bit PNG at the printer's
// resolution with ink on it, and the report accounts for every file written.
#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>

#include "host/HostTestSupport.h"

namespace host::testing {
namespace {

namespace fs = std::filesystem;

// The example jobs, by language folder; pictures and notes are not jobs.
std::vector<fs::path> ExampleJobs() {
  std::vector<fs::path> jobs;
  for (const auto& folder : fs::directory_iterator(ExamplesDir())) {
    if (!folder.is_directory() || folder.path().filename() == "graphics") continue;
    for (const auto& file : fs::directory_iterator(folder.path())) {
      if (file.path().extension() != ".md") jobs.push_back(file.path());
    }
  }
  std::sort(jobs.begin(), jobs.end());
  return jobs;
}

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

TEST(ExamplesTest, EveryExampleJobPrintsItsLanguage) {
  ScratchDir dir;
  fs::create_directories(dir / "store");
  fs::copy(ExamplesDir() / "graphics", dir / "store" / "Graphics");
  const std::vector<fs::path> jobs = ExampleJobs();
  ASSERT_GE(jobs.size(), 2u);
  std::vector<std::string> args = {"render", "--store",  "store", "--out",
                                   "out",    "--report", "json"};
  for (const fs::path& job : jobs) args.push_back(job.string());
  RunSettings settings;
  settings.workDir = dir.path();
  const RunResult r = RunHost(args, settings);
  ASSERT_EQ(r.exitCode, 0) << r.err;

  size_t filesReported = 0;
  for (const fs::path& job : jobs) {
    SCOPED_TRACE(job.string());
    const std::string language = Upper(job.parent_path().filename().string());
    bool seen = false;
    for (const std::string& record : SplitLines(r.out)) {
      if (record.find("{\"source\":\"" + job.string() + "\"") != 0) continue;
      seen = true;
      EXPECT_NE(record.find("\"language\":\"" + language + "\""), std::string::npos) << record;
    }
    EXPECT_TRUE(seen);
  }
  const std::regex file("\"(out/[^\"]+\\.png)\"");
  for (auto it = std::sregex_iterator(r.out.begin(), r.out.end(), file);
       it != std::sregex_iterator(); ++it) {
    ++filesReported;
    const std::string name = (*it)[1];
    SCOPED_TRACE(name);
    const PngInfo png = ReadPng(dir / name);
    ASSERT_TRUE(png.valid);
    EXPECT_EQ(png.bitDepth, 1);
    EXPECT_EQ(png.dpiX, 300);
    EXPECT_EQ(png.width, 1200u);
    EXPECT_GT(png.inkDots, 0u);
  }
  EXPECT_GT(filesReported, jobs.size() / 2);
  EXPECT_EQ(filesReported, FilesEndingIn(dir / "out", ".png").size());
}

TEST(ExamplesTest, TheReadmeScriptRendersIntoTheFolderItIsGiven) {
  ScratchDir dir;
  const std::string command = "LABELHOST='" + std::string(LABELHOST_BINARY) + "' '" +
                              std::string(LABELHOST_SOURCE_DIR) + "/tools/render-examples.sh' '" +
                              (dir / "out").string() + "' >/dev/null 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0);
  EXPECT_FALSE(FilesEndingIn(dir / "out", ".png").empty());
  EXPECT_TRUE(fs::exists(dir / "out" / "store" / "Graphics" / "PARCEL.PNG"));
  EXPECT_TRUE(fs::is_directory(dir / "out" / "store" / "Logging"));
}

}  // namespace
}  // namespace host::testing
