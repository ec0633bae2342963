// labelhost's built-in label commands, end to end: each prints one label
// into the output folder, reports it, and lists what the host knows.
#include <gtest/gtest.h>

#include "host/HostTestSupport.h"

namespace host::testing {
namespace {

namespace fs = std::filesystem;

TEST(BuiltInLabelTest, EachCommandPrintsOneLabelAndReportsIt) {
  ScratchDir dir;
  for (const std::string command : {"config-label", "font-label", "graphics-label"}) {
    SCOPED_TRACE(command);
    const RunResult r = RunIn(dir, command, {"--report", "json"});
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
    const PngInfo png = ReadPng(dir / "out" / (command + "-0001.png"));
    ASSERT_TRUE(png.valid);
    EXPECT_EQ(png.dpiX, 300);
    EXPECT_GT(png.inkDots, 0u);
  }
}

TEST(BuiltInLabelTest, ConfigLabelShowsTheHostSettings) {
  ScratchDir dir;
  const RunResult r = RunIn(
      dir, "config-label",
      {"--format", "json", "--tape", "TAPE-XYZ", "--dpi", "203", "--on-tape-mismatch", "skip"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const std::string json = ReadFile(dir / "out" / "config-label-0001.json");
  for (const char* line :
       {"Resolution: 203 dpi", "Tape: TAPE-XYZ", "Ribbon: (none)", "On tape mismatch: skip",
        "Media width: 4.00 in", "Media length: continuous"}) {
    EXPECT_NE(json.find(line), std::string::npos) << line;
  }
  // Labels are never overwritten, so the second run writes the next number.
  ASSERT_EQ(RunIn(dir, "config-label", {"--format", "json", "--media", "100x150mm"}).exitCode, 0);
  EXPECT_NE(ReadFile(dir / "out" / "config-label-0002.json").find("Media length: 5.91 in"),
            std::string::npos);
}

// The configuration text keeps clear of its frame: inside the 2-dot border,
// a band of paper at least 0.02 in (6 dots) wide on every side.
TEST(BuiltInLabelTest, ConfigTextKeepsClearOfItsFrame) {
  ScratchDir dir;
  ASSERT_EQ(RunIn(dir, "config-label", {}).exitCode, 0);
  const PngInfo png = ReadPng(dir / "out" / "config-label-0001.png");
  ASSERT_TRUE(png.valid);
  const int left = png.inkLeft + 2, top = png.inkTop + 2;
  const int right = png.inkRight - 2, bottom = png.inkBottom - 2;  // inside the border
  ASSERT_GT(right - left, 100);
  int inkInBand = 0;
  for (int y = top; y <= bottom; ++y) {
    for (int x = left; x <= right; ++x) {
      const bool inBand = x < left + 6 || x > right - 6 || y < top + 6 || y > bottom - 6;
      if (inBand && png.Ink(x, y)) ++inkInBand;
    }
  }
  EXPECT_EQ(inkInBand, 0);
}

// Each font's name is printed twice: in the font itself, and in a readable
// face (Arial) beside it, so a symbol font's line can still be read.
TEST(BuiltInLabelTest, FontLabelNamesEachFontInAReadableFaceToo) {
  ScratchDir dir;
  const RunResult r = RunIn(dir, "font-label",
                            {"--format", "json", "--no-system-fonts", "--font",
                             "Standard Symbols PS", "--font", "Arial"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const std::string json = ReadFile(dir / "out" / "font-label-0001.json");
  const auto count = [&](const std::string& part) {
    size_t n = 0;
    for (size_t at = json.find(part); at != std::string::npos; at = json.find(part, at + 1)) ++n;
    return n;
  };
  EXPECT_EQ(count("\"text\":\"Standard Symbols PS\""), 2u);
  EXPECT_EQ(count("\"face\":\"Standard Symbols PS\""), 1u);
  EXPECT_EQ(count("\"face\":\"Arial\""), 3u);  // the Arial sample and both captions
}

TEST(BuiltInLabelTest, ListsGrowWithWhatTheyList) {
  ScratchDir dir;
  const auto inkOf = [&](const std::string& command, const std::vector<std::string>& args) {
    fs::remove_all(dir / "out");  // a run never overwrites the labels of another
    EXPECT_EQ(RunIn(dir, command, args).exitCode, 0);
    return ReadPng(dir / "out" / (command + "-0001.png")).inkDots;
  };
  // Fonts: only the named ones, then the machine's as well.
  EXPECT_LT(inkOf("font-label", {"--no-system-fonts", "--font", "DejaVu Sans"}),
            inkOf("font-label", {}));
  // Pictures: the names of the files in the store's Graphics folder.
  dir.Write("store/Graphics/A.PNG", "");
  const uint64_t one = inkOf("graphics-label", {});
  fs::copy(ExamplesDir() / "graphics", dir / "store" / "Graphics");
  EXPECT_GT(inkOf("graphics-label", {"--format", "png,json"}), one);
  const std::string json = ReadFile(dir / "out" / "graphics-label-0001.json");
  EXPECT_NE(json.find("PARCEL.PNG"), std::string::npos);
  EXPECT_NE(json.find("THISSIDEUP.PNG"), std::string::npos);
}

}  // namespace
}  // namespace host::testing
