// labelhost watch, end to end: the program runs in the background, a file is
// saved twice (in place, then by renaming a new file over it, as editors do),
// and each save gives one more render and report. The waits are safety nets
// against a hang, not measurements.
#include <gtest/gtest.h>

#include "host/HostTestSupport.h"

namespace host::testing {
namespace {

namespace fs = std::filesystem;

const std::string kReport = "label.zpl: job 1, ZPL, 1 label, 1 file";

std::string Label(const std::string& text) { return "^XA^FO50,50^A0N,40,40^FD" + text + "^FS^XZ"; }

TEST(WatchTest, EachSaveRendersAgainAndSignalsEndTheWatch) {
  ScratchDir dir;
  dir.Write("label.zpl", Label("First"));
  BackgroundHost watch({"watch", "--store", "store", "--out", "out", "label.zpl", "later.zpl"},
                       dir.path());
  ASSERT_TRUE(watch.WaitFor(kReport, 1)) << watch.out() << watch.err();
  // A file that is not there yet is said so, and watched all the same.
  EXPECT_EQ(watch.err(), "labelhost: cannot open 'later.zpl': No such file or directory\n");

  dir.Write("label.zpl", Label("Second"));
  ASSERT_TRUE(watch.WaitFor(kReport, 2)) << watch.out() << watch.err();
  dir.Write("label.tmp", Label("Third"));
  fs::rename(dir / "label.tmp", dir / "label.zpl");
  ASSERT_TRUE(watch.WaitFor(kReport, 3)) << watch.out() << watch.err();
  dir.Write("later.zpl", Label("Later"));
  ASSERT_TRUE(watch.WaitFor("later.zpl: job 1, ZPL, 1 label", 1)) << watch.out();

  EXPECT_EQ(watch.Stop(), 0) << watch.err();
  // One printer throughout: its numbers go on, nothing is overwritten.
  EXPECT_EQ(FileNames(dir / "out"),
            (std::vector<std::string>{"label-zpl-0001.png", "label-zpl-0002.png",
                                      "label-zpl-0003.png", "later-zpl-0001.png"}));
  EXPECT_NE(watch.out().find("wrote out/label-zpl-0003.png"), std::string::npos);
}

TEST(WatchTest, WhatCannotBeWatchedIsAnError) {
  ScratchDir dir;
  const struct {
    std::vector<std::string> args;
    int exitCode;
    std::string error;
  } cases[] = {
      {{"watch", "missing/label.zpl"}, 1, "labelhost: cannot watch 'missing': No such file"},
      {{"watch", "-"}, 2, "labelhost: watch cannot watch standard input"},
      {{"watch"}, 2, "labelhost: watch needs at least one FILE\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.error);
    RunSettings settings;
    settings.workDir = dir.path();
    const RunResult r = RunHost(c.args, settings);
    EXPECT_EQ(r.exitCode, c.exitCode);
    EXPECT_EQ(r.err.rfind(c.error, 0), 0u) << r.err;
  }
}

}  // namespace
}  // namespace host::testing
