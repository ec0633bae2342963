// The setting commands and their boundaries.

#include "session/SessionTestHarness.h"

namespace {

TEST_F(SessionTest, DensityIsClampedTimesAHundredAndSpeedPostedAsRead) {
  const struct {
    int32_t kind;
    const wchar_t* param;
    int64_t posted;
  } cases[] = {{PRINT_DENSITY, L"80", 8000},
               {PRINT_DENSITY, L"79", 8000},
               {PRINT_DENSITY, L"115", 11500},
               {PRINT_DENSITY, L"116", 11500},
               {PRINT_DENSITY, L"100", 10000},
               {PRINT_DENSITY, L" 90x", 9000},
               {PRINT_DENSITY, L"", 8000},
               {PRINT_DENSITY, L"99999999999", 11500},
               {PRINT_DENSITY, L"-99999999999", 8000},
               {PRINT_SPEED, L"7", 7},
               {PRINT_SPEED, L"x", 0},
               {PRINT_SPEED, L"-3", -3},
               {PRINT_SPEED, L"12ips", 12}};
  for (const auto& c : cases) {
    window.Clear();
    Run({Cmd(c.kind, {c.param})});
    const int32_t code = c.kind == PRINT_DENSITY ? NOTIFY_PRINT_DENSITY : NOTIFY_PRINT_SPEED;
    EXPECT_EQ(window.Codes(), Codes{code}) << c.param;
    EXPECT_EQ(window.ValuesOf(code), (std::vector<int64_t>{c.posted})) << c.param;
  }
  EXPECT_TRUE(engine.Calls().empty());
}

TEST_F(SessionTest, RotationOnlyFromZeroTo360) {
  const std::pair<const wchar_t*, int32_t> cases[] = {
      {L"0", 0}, {L"90", 900}, {L"360", 3600},   {L"361", -1},       {L"-1", -1},
      {L"", 0},  {L"abc", 0},  {L"180.5", 1800}, {L"9999999999", -1}};
  for (const auto& [param, tenths] : cases) {
    engine.ClearCalls();
    Run({Cmd(PRINT_ROTATION, {param})});
    const Trace expected{L"RotateLabelTenthsDeg(0, null, " + std::to_wstring(tenths) + L")"};
    EXPECT_EQ(engine.Trace(), tenths < 0 ? Trace{} : expected) << param;
  }
}

// The cutter is written back only when it changes; mirroring every time, and
// neither disturbs the other option.
TEST_F(SessionTest, CutterAndMirrorOptions) {
  const struct {
    int32_t kind;
    int32_t cutterBefore, mirrorBefore;
    const wchar_t* param;
    bool written;
    int32_t cutterAfter, mirrorAfter;
  } cases[] = {
      {CUTTING_OPTION, 1, 1, L"1", false, 1, 1},  {CUTTING_OPTION, 1, 1, L"3", false, 1, 1},
      {CUTTING_OPTION, 0, 1, L"2", true, 2, 1},   {CUTTING_OPTION, 2, 1, L"0", true, 0, 1},
      {CUTTING_OPTION, 0, 1, L" 1", false, 0, 1}, {CUTTING_OPTION, 2, 1, L"2x", false, 2, 1},
      {MIRROR_PRINTING, 2, 0, L"Y", true, 2, 1},  {MIRROR_PRINTING, 2, 1, L"n", true, 2, 0},
      {MIRROR_PRINTING, 2, 1, L"x", true, 2, 1},  {MIRROR_PRINTING, 2, 0, L"yes", true, 2, 0},
      {MIRROR_PRINTING, 2, 1, L"", true, 2, 1}};
  for (const auto& c : cases) {
    engine.labelOptions = VLabelOptions{};
    engine.labelOptions.cutterMode = c.cutterBefore;
    engine.labelOptions.mirror = c.mirrorBefore;
    engine.ClearCalls();
    Run({Cmd(c.kind, {c.param})});
    EXPECT_EQ(engine.CountOf("SetLabelOptions"), c.written ? 1u : 0u) << c.param;
    EXPECT_EQ(engine.labelOptions.cutterMode, c.cutterAfter) << c.param;
    EXPECT_EQ(engine.labelOptions.mirror, c.mirrorAfter) << c.param;
  }
}

TEST_F(SessionTest, OrientationLetters) {
  const std::pair<const wchar_t*, int> cases[] = {
      // -1: no call
      {L"LANDSCAPE", 0}, {L"l", 0}, {L"Portrait", 1}, {L"P", 1}, {L"x", 1}, {L"", -1}};
  for (const auto& [param, portrait] : cases) {
    engine.ClearCalls();
    Run({Cmd(LABEL_ORIENTATION, {param})});
    const Trace call{L"SetLabelOrientation(" + std::to_wstring(portrait) + L", 0, null)"};
    EXPECT_EQ(engine.Trace(), portrait < 0 ? Trace{} : call) << param;
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
  EXPECT_EQ(engine.Trace({"SetLabelOffsets"}), Trace{L"SetLabelOffsets(null, 0.5, 1)"});

  engine.dpi = 203;
  Run({Cmd(LABEL_OFFSET, {L"-203", L"406"})});
  EXPECT_FLOAT_EQ(session.getXOffset(), -1.0f);
  EXPECT_FLOAT_EQ(session.getYOffset(), 2.0f);

  // An engine that reports no usable DPI must not make the session divide by zero.
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
    Run({Cmd(kind, {L"450"}), Cmd(kind, {L""})});
    EXPECT_EQ(engine.Trace({"GetLabelData", "SetLabelData", "RefreshLabel"}),
              (Trace{L"GetLabelData(0, null)",
                     L"SetLabelData(width=4 gap=0 length=1.5 media=7 fixed=1 margin=0 across=1 "
                     L"down=1)",
                     L"RefreshLabel(0, 0)"}));
  }
}

}  // namespace
