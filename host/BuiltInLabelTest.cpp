// labelhost's built-in label commands, end to end: each prints one label
// into the output folder, reports it, and lists what the host knows.
#include <gtest/gtest.h>

#include "host/HostTestSupport.h"

namespace host::testing {
namespace {

namespace fs = std::filesystem;

class BuiltInLabelTest : public ::testing::Test {
 protected:
  RunResult Run(const std::string& command, std::vector<std::string> extra = {}) {
    std::vector<std::string> args = {command, "--store", "store", "--out", "out"};
    args.insert(args.end(), extra.begin(), extra.end());
    RunSettings settings;
    settings.workDir = dir_.path();
    return RunHost(args, settings);
  }
  PngInfo Png(const std::string& command) {
    return ReadPng(dir_ / "out" / (command + "-0001.png"));
  }

  ScratchDir dir_;
};

TEST_F(BuiltInLabelTest, EachCommandPrintsOneLabelAndReportsIt) {
  for (const std::string command : {"config-label", "font-label", "graphics-label"}) {
    SCOPED_TRACE(command);
    fs::remove_all(dir_ / "out");
    const RunResult r = Run(command, {"--report", "json"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out.rfind("{\"source\":\"" + command + "\",\"job\":1,\"language\":\"built-in\"", 0),
              0u)
        << r.out;
    if (command == "graphics-label") {
      // An empty store has nothing to list, and the label is not printed.
      EXPECT_NE(r.out.find("\"labels\":0,\"files\":[]"), std::string::npos);
      EXPECT_NE(r.out.find("\"notes\":[\"no pictures in store/Graphics\"]"), std::string::npos);
      continue;
    }
    EXPECT_NE(r.out.find("\"labels\":1,\"files\":[\"out/" + command + "-0001.png\"]"),
              std::string::npos);
    const PngInfo png = Png(command);
    ASSERT_TRUE(png.valid);
    EXPECT_EQ(png.dpiX, 300);
    EXPECT_GT(png.inkDots, 0u);
  }
}

TEST_F(BuiltInLabelTest, ConfigLabelShowsTheHostSettings) {
  const RunResult r = Run("config-label", {"--format", "json", "--tape", "TAPE-XYZ", "--dpi", "203",
                                           "--on-tape-mismatch", "skip"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const std::string json = ReadFile(dir_ / "out" / "config-label-0001.json");
  for (const char* line : {"Resolution: 203 dpi", "Tape: TAPE-XYZ", "Ribbon: (none)",
                           "On tape mismatch: skip", "Media width: 4.00 in"}) {
    EXPECT_NE(json.find(line), std::string::npos) << line;
  }
}

TEST_F(BuiltInLabelTest, ListsGrowWithWhatTheyList) {
  // Fonts: only the named ones, then the machine's as well.
  ASSERT_EQ(Run("font-label", {"--no-system-fonts", "--font", "DejaVu Sans"}).exitCode, 0);
  const PngInfo oneFont = Png("font-label");
  ASSERT_EQ(Run("font-label").exitCode, 0);
  const PngInfo allFonts = Png("font-label");
  EXPECT_GT(allFonts.inkDots, oneFont.inkDots);

  // Pictures: the names of the files in the store's Graphics folder.
  fs::create_directories(dir_ / "store" / "Graphics");
  dir_.Write("store/Graphics/A.PNG", "");
  ASSERT_EQ(Run("graphics-label").exitCode, 0);
  const PngInfo one = Png("graphics-label");
  fs::copy(ExamplesDir() / "graphics", dir_ / "store" / "Graphics");
  ASSERT_EQ(Run("graphics-label", {"--format", "png,json"}).exitCode, 0);
  const PngInfo three = Png("graphics-label");
  EXPECT_GT(three.inkDots, one.inkDots);
  const std::string json = ReadFile(dir_ / "out" / "graphics-label-0001.json");
  EXPECT_NE(json.find("PARCEL.PNG"), std::string::npos);
  EXPECT_NE(json.find("THISSIDEUP.PNG"), std::string::npos);
}

}  // namespace
}  // namespace host::testing
