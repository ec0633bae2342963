// Commands to the printer from the user's side, in a file as a program
// would send them: the full dialect carries them out silently wherever they
// stand ("~WC" prints the configuration label, "~JA" cancels the jobs before
// it, "^ID" deletes stored graphics), the device reads them as it always has
// and the report says what full mode would do; a file of status queries is
// no job at all.
#include <gtest/gtest.h>

#include <filesystem>

#include "host/HostTestSupport.h"

namespace host::testing {
namespace {

bool Has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

RunResult Render(const ScratchDir& dir, const std::string& job, bool full) {
  std::filesystem::remove_all(dir / "out");
  dir.Write("h.zpl", job);
  std::vector<std::string> args = {"--dpi", "203", "h.zpl"};
  if (full) args.insert(args.begin(), {"--zpl", "full"});
  return RunIn(dir, "render", args);
}

TEST(HostCommandsTest, FullTakesThemSilentlyAndDeviceModeSaysFullWould) {
  ScratchDir dir;
  const struct {
    std::string command;
    int fullLabels;    // standing alone, in full mode
    bool deviceKnows;  // the device reads it without a script error
  } cases[] = {
      {"~JA", 0, false},        {"~JR", 0, false},  {"~WC", 1, true},   {"~SD25", 0, false},
      {"~TA010", 0, true},      {"~JSN", 0, false}, {"^JUS", 0, false}, {"~MD0", 0, false},
      {"^IDR:X.GRF", 0, false}, {"^MNM", 0, false}, {"^MTD", 0, false}, {"^MMT", 0, false},
  };
  const std::string field = "^FO20,20^GB100,40,40^FS";
  for (const auto& c : cases) {
    SCOPED_TRACE(c.command);
    const std::string keyword = c.command.substr(0, 3);
    // Full: alone or in a format, no script error, no word of a lost job.
    for (const std::string& job : {c.command + "\n", "^XA" + field + c.command + "^XZ"}) {
      const RunResult r = Render(dir, job, true);
      SCOPED_TRACE(r.out + r.err);
      EXPECT_EQ(r.exitCode, 0);
      EXPECT_TRUE(Has(r.out, "h.zpl: job 1, ZPL, ")) << job;
      EXPECT_TRUE(Has(r.out, "0 script errors")) << job;
      EXPECT_FALSE(Has(r.out, "note:")) << job;
    }
    EXPECT_TRUE(
        Has(Render(dir, c.command, true).out, c.fullLabels == 1 ? ", 1 label," : ", 0 labels,"));
    EXPECT_EQ(FileNames(dir / "out").size(), static_cast<size_t>(c.fullLabels));
    // Device: alone, the bytes are lost and the hint says full mode takes them.
    const std::string hint = "this printer does not support " + keyword + "; --zpl full";
    RunResult r = Render(dir, c.command + "\n", false);
    EXPECT_TRUE(Has(r.out, "note: discarded " + std::to_string(c.command.size() + 1) +
                               " bytes outside any job"))
        << r.out;
    EXPECT_TRUE(Has(r.out, hint)) << r.out;
    EXPECT_FALSE(Has(r.out, "no job found")) << r.out;
    // In a format, as the device always read it.
    r = Render(dir, "^XA" + field + c.command + "^XZ", false);
    EXPECT_EQ(Has(r.out, "Unsupported command: " + c.command), !c.deviceKnows) << r.out;
    EXPECT_EQ(Has(r.out, hint), !c.deviceKnows) << r.out;
  }
}

TEST(HostCommandsTest, StatusQueriesAloneAreNoJob) {
  ScratchDir dir;
  for (bool full : {false, true}) {
    const RunResult r = Render(dir, "~HS\r\n~HQES\r\n~HI^HH^HZA\r\n", full);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "") << full;
  }
  // In a format, full mode takes them silently and prints nothing.
  EXPECT_EQ(Render(dir, "^XA^HH^XZ", true).out,
            "h.zpl: job 1, ZPL, 0 labels, 0 files, 0 log lines, 0 script errors, 0 diagnostics\n");
}

TEST(HostCommandsTest, CancelAllDiscardsTheJobsBeforeItAndSaysSo) {
  ScratchDir dir;
  const std::string label = "^XA^FO20,20^GB100,40,40^FS^XZ\n";
  const RunResult r = Render(dir, label + label + "~JA\n" + label, true);
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_TRUE(Has(r.out, "note: cancelled by ~JA: 2 jobs received before it and not yet printed"))
      << r.out;
  EXPECT_EQ(FileNames(dir / "out").size(), 1u) << r.out;
  // A cancel at the end of the file leaves nothing to print.
  EXPECT_TRUE(Has(Render(dir, label + "~JA", true).out, "cancelled by ~JA: 1 job "));
  EXPECT_TRUE(FileNames(dir / "out").empty());
}

TEST(HostCommandsTest, WcPrintsTheConfigurationLabelAfterTheJobsLabels) {
  ScratchDir dir;
  const RunResult r = Render(dir, "^XA^FO20,20^GB100,40,40^FS~WC^XZ", true);
  EXPECT_TRUE(Has(r.out, "job 1, ZPL, 2 labels")) << r.out;
  const std::vector<std::string> files = FileNames(dir / "out");
  ASSERT_EQ(files.size(), 2u);
  // The configuration label names this printer's setup, as config-label does.
  const RunResult config = RunIn(dir, "config-label", {"--dpi", "203"});
  const PngInfo fromJob = ReadPng(dir / "out" / files[1]);
  const std::vector<std::string> all = FileNames(dir / "out");
  ASSERT_EQ(all.size(), 3u) << config.out;
  std::string builtIn;
  for (const std::string& name : all) {
    if (name.rfind("config-label", 0) == 0) builtIn = name;
  }
  const PngInfo fromCommand = ReadPng(dir / "out" / builtIn);
  EXPECT_EQ(fromJob.width, fromCommand.width);
  EXPECT_EQ(fromJob.height, fromCommand.height);
  EXPECT_EQ(fromJob.inkDots, fromCommand.inkDots);
}

TEST(HostCommandsTest, FormatsWithoutAPrintableFieldPrintAndNoteNothing) {
  ScratchDir dir;
  for (const char* job : {"^XA^IDR:LPRINT.GRF^FS^XZ", "^XA^MNM^MTD~MD0^PON^XZ", "^XA^FS^XZ"}) {
    const RunResult r = Render(dir, job, true);
    EXPECT_TRUE(Has(r.out, "job 1, ZPL, 0 labels, 0 files, 0 log lines, 0 script errors")) << r.out;
    EXPECT_FALSE(Has(r.out, "note:")) << r.out;
  }
}

}  // namespace
}  // namespace host::testing
