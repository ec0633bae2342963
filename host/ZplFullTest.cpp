// The full ZPL dialect from the user's side: the examples under
// examples/zpl-full print as our expected pictures (host/testdata/zpl-full)
// within a small tolerance and their barcodes scan; the dialect is chosen on
// the command line; and device mode hints at full mode when it would help.
#include <gtest/gtest.h>

#include <cstdlib>

#include "host/HostTestSupport.h"
#include "host/ZplHint.h"

namespace host::testing {
namespace {

namespace fs = std::filesystem;

// Dots inked in one picture with no ink within one dot in the other.
uint64_t Unmatched(const PngInfo& a, const PngInfo& b) {
  uint64_t count = 0;
  const int w = static_cast<int>(a.width), h = static_cast<int>(a.height);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      if (!a.ink[static_cast<size_t>(y) * w + x]) continue;
      bool near = false;
      for (int dy = -1; dy <= 1 && !near; ++dy) {
        for (int dx = -1; dx <= 1 && !near; ++dx) {
          const int nx = x + dx, ny = y + dy;
          near = nx >= 0 && ny >= 0 && nx < w && ny < h && b.ink[static_cast<size_t>(ny) * w + nx];
        }
      }
      count += near ? 0 : 1;
    }
  }
  return count;
}

TEST(ZplFullTest, ExamplesPrintAsExpectedAndTheirBarcodesScan) {
  ScratchDir dir;
  const fs::path out = dir / "out";
  const auto [report, status] =
      Capture("LABELHOST='" + std::string(LABELHOST_BINARY) + "' '" + LABELHOST_SOURCE_DIR +
              "/tools/render-examples.sh' '" + out.string() + "' 2>&1");
  ASSERT_EQ(status, 0) << report;
  for (const std::string& line : SplitLines(report)) {
    if (line.starts_with("examples/zpl-full/")) {
      EXPECT_NE(line.find(" 0 log lines, 0 script errors, 0 diagnostics"), std::string::npos)
          << line;
    }
  }
  const fs::path expected = fs::path(LABELHOST_SOURCE_DIR) / "host" / "testdata" / "zpl-full";
  const std::vector<std::string> names = FileNames(expected);
  ASSERT_EQ(names.size(), 5u);
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    const PngInfo want = ReadPng(expected / name);
    const PngInfo got = ReadPng(out / name);
    ASSERT_TRUE(want.valid && got.valid);
    ASSERT_EQ(got.width, want.width);
    ASSERT_EQ(got.height, want.height);
    // Within a dot of the expected ink, but for a sliver of it.
    const uint64_t allowed = want.inkDots / 200 + 20;
    EXPECT_LE(Unmatched(got, want), allowed);
    EXPECT_LE(Unmatched(want, got), allowed);
  }

  if (std::system("command -v zbarimg >/dev/null 2>&1") != 0) {
    GTEST_SKIP() << "zbarimg (zbar-tools) is not installed";
  }
  const std::pair<std::string, std::string> barcodes[] = {
      {"parcel-carrier-zpl-0001.png", "JJD0001234567890"},
      {"retail-shelf-zpl-0001.png", "5901234123457"},
      {"warehouse-pick-zpl-0002.png", "https://example.invalid/pick/42-3317"},
  };
  for (const auto& [png, data] : barcodes) {
    const std::string read =
        Capture("zbarimg --quiet --raw '" + (out / png).string() + "' 2>/dev/null").first;
    EXPECT_NE(read.find(data), std::string::npos) << png << " read as " << read;
  }
}

TEST(ZplFullTest, TheDialectIsChosenOnTheCommandLine) {
  ScratchDir dir;
  dir.Write("ft.zpl", "^XA^FT40,80^A0N,40^FDBaseline^FS^XZ\n");
  const struct {
    std::vector<std::string> args;
    int exit;
    int labels;
    bool hint;
  } cases[] = {
      {{}, 0, 0, true},
      {{"--zpl", "device"}, 0, 0, true},
      {{"--zpl", "full"}, 0, 1, false},
      {{"--zpl", "zebra"}, 2, 0, false},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = c.args;
    args.push_back("ft.zpl");
    const RunResult r = RunIn(dir, "render", args);
    SCOPED_TRACE(r.out + r.err);
    EXPECT_EQ(r.exitCode, c.exit);
    if (c.exit != 0) continue;
    EXPECT_NE(r.out.find(", " + std::to_string(c.labels) + " label"), std::string::npos);
    EXPECT_EQ(r.out.find("note: this printer does not support ^FT; --zpl full prints it as a "
                         "full ZPL printer would") != std::string::npos,
              c.hint);
  }
}

TEST(ZplFullTest, TheHintNamesEachCommandFullModePrintsOnce) {
  const auto line = [](const char* file, const char* text) { return LogLine{file, text}; };
  const std::pair<std::vector<LogLine>, std::string> cases[] = {
      {{line("ZPL_ERROR_LOG.TXT", "[01/01/2026, 10:00:00] Unsupported command: ^FT10,20"),
        line("ZPL_ERROR_LOG.TXT", "[01/01/2026, 10:00:00] Unsupported command: ^FB300,2"),
        line("ZPL_ERROR_LOG.TXT", "[01/01/2026, 10:00:00] Unsupported command: ^FT5,5")},
       "this printer does not support ^FT, ^FB; --zpl full prints it as a full ZPL printer would"},
      {{line("ZPL_ERROR_LOG.TXT", "[01/01/2026, 10:00:00] Unsupported command: ^MMT"),
        line("ZPL_ERROR_LOG.TXT", "[01/01/2026, 10:00:00] Unsupported command: ^ZZ1")},
       ""},
      {{line("TPL_ERROR_LOG.TXT", "[01/01/2026, 10:00:00] Unsupported command: ^FT10,20")}, ""},
      {{line("ZPL_ERROR_LOG.TXT", "Incorrect Number of Parameters for FIELD ORIGIN")}, ""},
      {{}, ""},
  };
  for (const auto& [lines, hint] : cases) EXPECT_EQ(FullDialectHint(lines), hint);
}

}  // namespace
}  // namespace host::testing
