// The configuration, font and graphics labels against the recording engine:
// the three size bands of the printable width, the rows and boxes they give,
// fonts found and missing, the cutter mode put back, and no objects left.

#include "intake/Notifications.h"
#include "session/SessionTestHarness.h"
#include "testing/CallArgs.h"

namespace {

using Codes = std::vector<int32_t>;

struct Band {
  int32_t width;
  int32_t points;
  int32_t rowHeight;
  int32_t configLine;
  int32_t fontRowWidth;
};

// Both sides of both band edges.
constexpr Band kBands[] = {
    {600, 9, 140, 70, 1500},
    {601, 10, 160, 80, 1500},
    {1000, 10, 160, 80, 1500},
    {1001, 14, 200, 100, 2500},
};

std::wstring Rect(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  return callargs::Arg(VRect{left, top, right, bottom});
}

class BuiltInLabelTest : public SessionTest {
 protected:
  BuiltInLabelTest() {
    session.SetSystemFonts({platform::LOGFONTW{0, 400, 0, 0, 0, L"Arial"},
                            platform::LOGFONTW{0, 400, 0, 0, 0, L"Courier"}});
    engine.labelOptions.cutterMode = kVCutNever;
  }
  // The rectangles of the objects made, in order.
  std::vector<std::wstring> Rects() const {
    std::vector<std::wstring> rects;
    for (const auto& call : engine.CallsNamed("CreateNewObject")) rects.push_back(call.args.at(1));
    return rects;
  }
  // The font sizes set, in order.
  std::vector<std::wstring> Sizes() const {
    std::vector<std::wstring> sizes;
    for (const auto& call : engine.CallsNamed("SetTextFontSize")) sizes.push_back(call.args.at(2));
    return sizes;
  }
  void ExpectCleanedUp() const {
    EXPECT_TRUE(engine.Objects().empty());
    EXPECT_EQ(engine.labelOptions.cutterMode, kVCutNever);
    ASSERT_EQ(engine.prints.size(), 1u);
    EXPECT_EQ(engine.prints[0].options.cutterMode, kVCutAfterJob);
  }
  void Reset() {
    engine.ClearCalls();
    engine.prints.clear();
    window.Clear();
  }
  bool Logged(const std::string& line) const { return Log().find(line) != std::string::npos; }
};

TEST_F(BuiltInLabelTest, ConfigurationLabelBoxFollowsTheWidthBand) {
  for (const Band& band : kBands) {
    Reset();
    engine.printableArea.width = band.width;
    EXPECT_TRUE(session.PrintConfigLabel(L"Line 1\r\nLine 2\r\nLine 3", 3));
    const std::wstring box = Rect(50, 20, band.width - 50, 4 * band.configLine + 20);
    EXPECT_EQ(Rects(), std::vector<std::wstring>{box}) << band.width;
    EXPECT_EQ(Sizes(), std::vector<std::wstring>{std::to_wstring(band.points)});
    EXPECT_TRUE(engine.Objects().empty());
    ASSERT_EQ(engine.prints.size(), 1u);
    EXPECT_EQ(engine.prints[0].objectCount, 1u);
    EXPECT_EQ(engine.labelOptions.cutterMode, kVCutNever);
    EXPECT_EQ(window.Codes(), (Codes{NOTIFY_LABEL_PRINTING, NOTIFY_SCRIPT_FINISHED}));
  }
  // A box of 3 lines at width 800.
  Reset();
  engine.printableArea.width = 800;
  session.PrintConfigLabel(L"x", 3);
  EXPECT_EQ(Rects(), std::vector<std::wstring>{Rect(50, 20, 750, 340)});
  EXPECT_EQ(engine.CallsNamed("SetTextAlignment").at(0).args.at(0),
            callargs::Arg(VTextAlignment{0, 0, 0, 0, 0, 0, 1}));
  EXPECT_EQ(engine.CallsNamed("SetTextFontName").at(0).args.at(2), L"Arial");
}

TEST_F(BuiltInLabelTest, FontLabelRowsFollowTheWidthBand) {
  for (const Band& band : kBands) {
    Reset();
    engine.printableArea.width = band.width;
    EXPECT_TRUE(session.PrintFontLabel({L"courier", L"Missing"}));
    const int32_t h = band.rowHeight, right = band.fontRowWidth + 100;
    EXPECT_EQ(Rects(), (std::vector<std::wstring>{Rect(100, 20, right, 20 + h),
                                                  Rect(100, 20 + h, right, 20 + 2 * h)}))
        << band.width;
    EXPECT_EQ(Sizes(), std::vector<std::wstring>(2, std::to_wstring(band.points)));
    ExpectCleanedUp();
    EXPECT_EQ(engine.prints[0].objectCount, 2u);
    EXPECT_EQ(window.Codes(),
              (Codes{NOTIFY_LABEL_PRINTING, NOTIFY_LABEL_PRINTING, NOTIFY_SCRIPT_FINISHED}));
  }
  EXPECT_EQ(engine.CallsNamed("SetTextFontName").size(), 1u);
  EXPECT_EQ(engine.CallsNamed("SetTextFontName").at(0).args.at(2), L"Courier");
  EXPECT_TRUE(Logged("Unable to locate font: Missing, System Default will be used\r\n"));
}

TEST_F(BuiltInLabelTest, GraphicsLabelRowsFollowTheWidthBand) {
  for (const Band& band : kBands) {
    Reset();
    engine.savedFiles.clear();
    engine.printableArea.width = band.width;
    EXPECT_TRUE(session.PrintGraphicsLabel({L"logo.png", L"box.bmp"}));
    const int32_t h = band.rowHeight;
    EXPECT_EQ(Rects(), (std::vector<std::wstring>{Rect(100, 20, band.width, 20 + h),
                                                  Rect(100, 20 + h, band.width, 20 + 2 * h)}))
        << band.width;
    EXPECT_EQ(Sizes(), std::vector<std::wstring>(2, std::to_wstring(band.points)));
    ExpectCleanedUp();
    // Each row re-queues the label: one job, holding both rows.
    EXPECT_EQ(engine.prints[0].jobs.size(), 1u);
    EXPECT_EQ(engine.prints[0].objectCount, 2u);
    EXPECT_EQ(engine.savedFiles, std::vector<std::wstring>(2, L"\\SD\\Store\\TestLabel.vlm"));
    EXPECT_EQ(window.Codes(),
              (Codes{NOTIFY_LABEL_PRINTING, NOTIFY_LABEL_PRINTING, NOTIFY_SCRIPT_FINISHED}));
  }
}

TEST_F(BuiltInLabelTest, EmptyListsStillPrintAndRestoreTheCutter) {
  EXPECT_TRUE(session.PrintFontLabel({}));
  ExpectCleanedUp();
  EXPECT_EQ(engine.prints[0].jobs.size(), 1u);
  EXPECT_EQ(window.Codes(),
            (Codes{NOTIFY_LABEL_PRINTING, NOTIFY_LABEL_PRINTING, NOTIFY_SCRIPT_FINISHED}));
  Reset();
  EXPECT_TRUE(session.PrintGraphicsLabel({}));
  ExpectCleanedUp();
  // Nothing an earlier print left queued is printed again.
  EXPECT_TRUE(engine.prints[0].jobs.empty());
  EXPECT_TRUE(engine.savedFiles.empty());
  EXPECT_EQ(window.Codes(), (Codes{NOTIFY_SCRIPT_FINISHED}));
}

TEST_F(BuiltInLabelTest, ACutterAlreadyCuttingAfterTheJobIsLeftAlone) {
  engine.labelOptions.cutterMode = kVCutAfterJob;
  session.PrintFontLabel({L"Arial"});
  session.PrintGraphicsLabel({L"logo.png"});
  EXPECT_EQ(engine.CountOf("SetLabelOptions"), 0u);
}

TEST_F(BuiltInLabelTest, BuiltInLabelsPrintWithFreshJobFields) {
  Run({Cmd(PRINT_QUANTITY, {L"5"})});
  session.PrintFontLabel({L"Arial"});
  ASSERT_EQ(engine.prints.size(), 1u);
  const VPrintData& job = engine.prints[0].jobs.at(0);
  EXPECT_EQ(job.jobName, L"*CurrentLabel*");
  EXPECT_EQ(job.quantity, 1);
  EXPECT_EQ(job.labelCount, 1);
  EXPECT_EQ(job.variableDataKind, 0);
}

TEST_F(BuiltInLabelTest, MissingArialIsLoggedPerRowAndTestLabelDoesNothing) {
  session.SetSystemFonts({});
  session.PrintGraphicsLabel({L"a.png", L"b.png"});
  session.PrintConfigLabel(L"x", 1);
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
