// The configuration, font and graphics labels against the recording engine:
// the three size bands of the printable width, the rows and boxes they give,
// fonts found and missing, the cutter mode put back, and no objects left.

#include "session/SessionTestHarness.h"
#include "testing/CallArgs.h"

namespace {

std::wstring Rect(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  return callargs::Arg(VRect{left, top, right, bottom});
}

class BuiltInLabelTest : public SessionTest {
 protected:
  BuiltInLabelTest() {
    session.SetSystemFonts({Font(L"Arial"), Font(L"Courier")});
    engine.labelOptions.cutterMode = kVCutNever;
  }
  // Argument `arg` of every call to `name`, in order.
  std::vector<std::wstring> ArgsOf(std::string_view name, size_t arg) const {
    std::vector<std::wstring> args;
    for (const auto& call : engine.CallsNamed(name)) args.push_back(call.args.at(arg));
    return args;
  }
  // One print of `objects` objects, cut after the job when `cut`, with the
  // cutter put back, the label emptied and `codes` posted.
  void ExpectPrinted(size_t objects, bool cut, const Codes& codes) const {
    EXPECT_TRUE(engine.Objects().empty());
    EXPECT_EQ(engine.labelOptions.cutterMode, kVCutNever);
    ASSERT_EQ(engine.prints.size(), 1u);
    EXPECT_EQ(engine.prints[0].objectCount, objects);
    EXPECT_EQ(engine.prints[0].options.cutterMode, cut ? kVCutAfterJob : kVCutNever);
    EXPECT_EQ(window.Codes(), codes);
  }
  void Reset() {
    engine.ClearCalls();
    engine.prints.clear();
    engine.savedFiles.clear();
    window.Clear();
  }
};

TEST_F(BuiltInLabelTest, GeometryFollowsTheWidthBand) {
  const struct {
    int32_t width, points, rowHeight, configLine, fontRowRight, captionRight;
  } bands[] = {
      // Both sides of both band edges; captions run to the edge, at least 1000 wide.
      {600, 9, 140, 70, 1600, 2700},    {601, 10, 160, 80, 1600, 2700},
      {1000, 10, 160, 80, 1600, 2700},  {1001, 14, 200, 100, 2600, 3700},
      {4000, 14, 200, 100, 2600, 3950},
  };
  for (const auto& band : bands) {
    SCOPED_TRACE(band.width);
    engine.printableArea.width = band.width;
    const std::wstring points = std::to_wstring(band.points);
    const int32_t h = band.rowHeight;

    Reset();
    EXPECT_TRUE(session.PrintConfigLabel(L"Line 1\r\nLine 2\r\nLine 3", 3));
    EXPECT_EQ(ArgsOf("CreateNewObject", 1),
              Trace{Rect(50, 20, band.width - 50, 4 * band.configLine + 20)});
    EXPECT_EQ(ArgsOf("SetTextFontSize", 2), Trace{points});
    EXPECT_EQ(ArgsOf("SetTextFontName", 2), Trace{L"Arial"});
    EXPECT_EQ(ArgsOf("SetTextAlignment", 0),
              Trace{callargs::Arg(VTextAlignment{0, 0, 0, 0, 0, 0, 1})});
    ExpectPrinted(1, false, {NOTIFY_LABEL_PRINTING, NOTIFY_SCRIPT_FINISHED});

    Reset();
    EXPECT_TRUE(session.PrintFontLabel({L"courier", L"Missing"}));
    // Each sample in its own font, then its name in Arial beside it.
    const int32_t captionLeft = band.fontRowRight + 100;
    EXPECT_EQ(ArgsOf("CreateNewObject", 1),
              (Trace{Rect(100, 20, band.fontRowRight, 20 + h),
                     Rect(captionLeft, 20, band.captionRight, 20 + h),
                     Rect(100, 20 + h, band.fontRowRight, 20 + 2 * h),
                     Rect(captionLeft, 20 + h, band.captionRight, 20 + 2 * h)}));
    EXPECT_EQ(ArgsOf("SetTextFromObject", 1),
              (Trace{L"courier", L"courier", L"Missing", L"Missing"}));
    EXPECT_EQ(ArgsOf("SetTextFontSize", 2), Trace(4, points));
    EXPECT_EQ(ArgsOf("SetTextFontName", 2), (Trace{L"Courier", L"Arial", L"Arial"}));
    EXPECT_EQ(ArgsOf("SetTextAlignment", 0),
              Trace(2, callargs::Arg(VTextAlignment{1, 0, 1, 0, 1, 0, 0})));
    // The captions' size does not turn their autosize off.
    EXPECT_EQ(ArgsOf("SetTextFontSize", 5), (Trace{L"true", L"false", L"true", L"false"}));
    ExpectPrinted(4, true, {NOTIFY_LABEL_PRINTING, NOTIFY_LABEL_PRINTING, NOTIFY_SCRIPT_FINISHED});

    Reset();
    EXPECT_TRUE(session.PrintGraphicsLabel({L"logo.png", L"box.bmp"}));
    EXPECT_EQ(ArgsOf("CreateNewObject", 1), (Trace{Rect(100, 20, band.width, 20 + h),
                                                   Rect(100, 20 + h, band.width, 20 + 2 * h)}));
    EXPECT_EQ(ArgsOf("SetTextFontSize", 2), Trace(2, points));
    ExpectPrinted(2, true, {NOTIFY_LABEL_PRINTING, NOTIFY_LABEL_PRINTING, NOTIFY_SCRIPT_FINISHED});
    // Each row re-queues the label: one job, holding both rows.
    EXPECT_EQ(engine.prints[0].jobs.size(), 1u);
    EXPECT_EQ(engine.savedFiles, Trace(2, L"\\SD\\Store\\TestLabel.vlm"));
  }
  EXPECT_TRUE(Logged("Unable to locate font: Missing, System Default will be used\r\n"));
}

TEST_F(BuiltInLabelTest, EmptyListsStillPrintWithFreshJobFields) {
  Run({Cmd(PRINT_QUANTITY, {L"5"})});
  EXPECT_TRUE(session.PrintFontLabel({}));
  ExpectPrinted(0, true, {NOTIFY_LABEL_PRINTING, NOTIFY_LABEL_PRINTING, NOTIFY_SCRIPT_FINISHED});
  ASSERT_EQ(engine.prints[0].jobs.size(), 1u);
  EXPECT_EQ(callargs::Arg(engine.prints[0].jobs[0]),
            L"job=*CurrentLabel* quantity=1 mark=1 count=1 kind=0");
  Reset();
  EXPECT_TRUE(session.PrintGraphicsLabel({}));
  ExpectPrinted(0, true, {NOTIFY_SCRIPT_FINISHED});
  // Nothing an earlier print left queued is printed again.
  EXPECT_TRUE(engine.prints[0].jobs.empty());
  EXPECT_TRUE(engine.savedFiles.empty());
}

TEST_F(BuiltInLabelTest, ACutterAlreadyCuttingAfterTheJobIsLeftAlone) {
  engine.labelOptions.cutterMode = kVCutAfterJob;
  session.PrintFontLabel({L"Arial"});
  session.PrintGraphicsLabel({L"logo.png"});
  EXPECT_EQ(engine.CountOf("SetLabelOptions"), 0u);
}

TEST_F(BuiltInLabelTest, MissingArialIsLoggedPerRowAndTestLabelDoesNothing) {
  session.SetSystemFonts({});
  session.PrintGraphicsLabel({L"a.png", L"b.png"});
  session.PrintConfigLabel(L"x", 1);
  session.PrintFontLabel({L"Courier"});  // its caption's missing face is not logged
  const std::string line = "Unable to locate font: Arial, System Default will be used";
  const std::string log = Log();
  size_t count = 0;
  for (size_t at = log.find(line); at != std::string::npos; at = log.find(line, at + 1)) ++count;
  EXPECT_EQ(count, 3u);
  EXPECT_EQ(engine.CountOf("SetTextFontName"), 0u);

  engine.ClearCalls();
  EXPECT_TRUE(session.PrintTestLabel());
  EXPECT_TRUE(engine.Calls().empty());
  TestSession headless(nullptr);
  EXPECT_TRUE(headless.PrintFontLabel({L"Arial"}));
}

}  // namespace
