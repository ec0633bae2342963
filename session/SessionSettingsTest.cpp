// The setting commands and their boundaries.

#include "intake/Notifications.h"
#include "session/SessionTestHarness.h"

namespace {

using Trace = std::vector<std::wstring>;

struct NumberCase {
  const wchar_t* param;
  int64_t posted;
};

TEST_F(SessionTest, DensityIsClampedAndPostedTimesAHundred) {
  const NumberCase cases[] = {
      {L"200", 11500}, {L"50", 8000},   {L"100", 10000},         {L"80", 8000},
      {L"115", 11500}, {L"79", 8000},   {L"116", 11500},         {L"", 8000},
      {L"abc", 8000},  {L" 90x", 9000}, {L"99999999999", 11500}, {L"-99999999999", 8000},
  };
  for (const NumberCase& c : cases) {
    window.Clear();
    Run({Cmd(PRINT_DENSITY, {c.param})});
    EXPECT_EQ(window.Codes(), (std::vector<int32_t>{NOTIFY_PRINT_DENSITY})) << c.param;
    EXPECT_EQ(window.ValuesOf(NOTIFY_PRINT_DENSITY), (std::vector<int64_t>{c.posted})) << c.param;
  }
  EXPECT_TRUE(engine.Calls().empty());
}

TEST_F(SessionTest, SpeedIsPostedUnchanged) {
  for (const NumberCase& c : {NumberCase{L"7", 7}, {L"x", 0}, {L"-3", -3}, {L"12ips", 12}}) {
    window.Clear();
    Run({Cmd(PRINT_SPEED, {c.param})});
    EXPECT_EQ(window.ValuesOf(NOTIFY_PRINT_SPEED), (std::vector<int64_t>{c.posted})) << c.param;
  }
}

TEST_F(SessionTest, RotationOnlyFromZeroTo360) {
  const NumberCase cases[] = {{L"0", 0},    {L"90", 900},        {L"360", 3600},
                              {L"361", -1}, {L"-1", -1},         {L"", 0},
                              {L"abc", 0},  {L"9999999999", -1}, {L"180.5", 1800}};
  for (const NumberCase& c : cases) {
    engine.ClearCalls();
    Run({Cmd(PRINT_ROTATION, {c.param})});
    Trace expected;
    if (c.posted >= 0) {
      expected.push_back(L"RotateLabelTenthsDeg(0, null, " + std::to_wstring(c.posted) + L")");
    }
    EXPECT_EQ(engine.Trace(), expected) << c.param;
  }
}

struct CutterCase {
  int32_t before;
  const wchar_t* param;
  bool written;
  int32_t after;
};

TEST_F(SessionTest, CutterIsWrittenOnlyOnChange) {
  const CutterCase cases[] = {
      {1, L"1", false, 1}, {1, L"3", false, 1},  {0, L"2", true, 2}, {2, L"0", true, 0},
      {0, L"1", true, 1},  {0, L" 1", false, 0}, {1, L"", false, 1}, {2, L"2x", false, 2},
  };
  for (const CutterCase& c : cases) {
    engine.labelOptions = VLabelOptions{};
    engine.labelOptions.cutterMode = c.before;
    engine.labelOptions.mirror = 1;
    engine.ClearCalls();
    Run({Cmd(CUTTING_OPTION, {c.param})});
    EXPECT_EQ(engine.CountOf("SetLabelOptions"), c.written ? 1u : 0u) << c.param;
    EXPECT_EQ(engine.labelOptions.cutterMode, c.after) << c.param;
    EXPECT_EQ(engine.labelOptions.mirror, 1);
  }
}

struct MirrorCase {
  int32_t before;
  const wchar_t* param;
  int32_t after;
};

TEST_F(SessionTest, MirrorIsWrittenBackEveryTime) {
  const MirrorCase cases[] = {{0, L"y", 1}, {0, L"Y", 1},   {1, L"N", 0}, {1, L"n", 0},
                              {1, L"x", 1}, {0, L"yes", 0}, {1, L"", 1}};
  for (const MirrorCase& c : cases) {
    engine.labelOptions = VLabelOptions{};
    engine.labelOptions.mirror = c.before;
    engine.labelOptions.cutterMode = 2;
    engine.ClearCalls();
    Run({Cmd(MIRROR_PRINTING, {c.param})});
    EXPECT_EQ(engine.CountOf("SetLabelOptions"), 1u) << c.param;
    EXPECT_EQ(engine.labelOptions.mirror, c.after) << c.param;
    EXPECT_EQ(engine.labelOptions.cutterMode, 2);
  }
}

TEST_F(SessionTest, OrientationLetters) {
  struct Case {
    const wchar_t* param;
    const wchar_t* call;  // null: no call
  } cases[] = {{L"landscape", L"SetLabelOrientation(0, 0, null)"},
               {L"LANDSCAPE", L"SetLabelOrientation(0, 0, null)"},
               {L"l", L"SetLabelOrientation(0, 0, null)"},
               {L"Portrait", L"SetLabelOrientation(1, 0, null)"},
               {L"P", L"SetLabelOrientation(1, 0, null)"},
               {L"x", L"SetLabelOrientation(1, 0, null)"},
               {L"", nullptr}};
  for (const Case& c : cases) {
    engine.ClearCalls();
    Run({Cmd(LABEL_ORIENTATION, {c.param})});
    EXPECT_EQ(engine.Trace(), c.call ? Trace{c.call} : Trace{}) << c.param;
  }
}

TEST_F(SessionTest, OffsetsAreDotsOverTheEngineDpi) {
  session.setXOffset(0.125f);
  session.setYOffset(0.25f);
  Run({Cmd(LABEL_OFFSET, {L"", L"300"}), Cmd(LABEL_OFFSET, {L"150", L""})});
  EXPECT_EQ(engine.CountOf("SetLabelOffsets"), 0u);
  EXPECT_FLOAT_EQ(session.getXOffset(), 0.125f);
  EXPECT_FLOAT_EQ(session.getYOffset(), 0.25f);

  Run({Cmd(LABEL_OFFSET, {L"150", L"300", L"extra"})});
  EXPECT_FLOAT_EQ(session.getXOffset(), 0.5f);
  EXPECT_FLOAT_EQ(session.getYOffset(), 1.0f);
  EXPECT_EQ(engine.Trace({"SetLabelOffsets"}), Trace{L"SetLabelOffsets(null, 0.5, 1)"});

  engine.dpi = 203;
  Run({Cmd(LABEL_OFFSET, {L"-203", L"406"})});
  EXPECT_FLOAT_EQ(session.getXOffset(), -1.0f);
  EXPECT_FLOAT_EQ(session.getYOffset(), 2.0f);
}

// An engine that reports no usable DPI must not make the session divide by zero.
TEST_F(SessionTest, UnusableDpiFallsBackTo300) {
  engine.dpi = 0;
  Run({Cmd(LABEL_OFFSET, {L"150", L"300"}), Cmd(LABEL_LENGTH, {L"600"})});
  EXPECT_FLOAT_EQ(session.getXOffset(), 0.5f);
  EXPECT_DOUBLE_EQ(engine.labelData.lengthInches, 2.0);
}

TEST_F(SessionTest, LabelLengthAndNegativeFixTheLength) {
  for (int32_t kind : {LABEL_LENGTH, LABEL_NEGATIVE}) {
    engine.ClearCalls();
    engine.labelData = VLabelData{};
    engine.labelData.widthInches = 4.0;
    engine.labelData.gapInches = 0.125;
    engine.labelData.mediaType = 7;
    Run({Cmd(kind, {L"450"})});
    EXPECT_EQ(engine.Trace({"GetLabelData", "SetLabelData", "RefreshLabel"}),
              (Trace{L"GetLabelData(0, null)",
                     L"SetLabelData(width=4 gap=0 length=1.5 media=7 fixed=1 margin=0 across=1 "
                     L"down=1)",
                     L"RefreshLabel(0, 0)"}));
    engine.ClearCalls();
    Run({Cmd(kind, {L""})});
    EXPECT_TRUE(engine.Calls().empty());
  }
}

TEST_F(SessionTest, QuantityIsStoredAsRead) {
  for (const NumberCase& c : {NumberCase{L"3", 3}, {L"0", 0}, {L"abc", 0}, {L"12 copies", 12}}) {
    engine.prints.clear();
    Run({Cmd(START_LABEL), Cmd(PRINT_QUANTITY, {c.param}), Cmd(PRINT_LABEL)});
    ASSERT_EQ(engine.prints.size(), 1u);
    EXPECT_EQ(engine.prints[0].jobs.at(0).quantity, c.posted) << c.param;
  }
}

TEST_F(SessionTest, AcceptedSettingsThatChangeNothing) {
  Run({Cmd(DATE_AND_TIME, {L"2024", L"1", L"2", L"3", L"4", L"5", L"p"}),
       Cmd(PRINT_ORIENTATION, {L"P"}), Cmd(TEAROFF_POSITION, {L"10"}), Cmd(TEAROFF_POSITION, {L""}),
       Cmd(END_LABEL), Cmd(PRINT_CONFIGURATION_LABEL)});
  EXPECT_TRUE(engine.Calls().empty());
  EXPECT_EQ(window.Size(), 0u);
  EXPECT_EQ(Log(), "");
}

}  // namespace
