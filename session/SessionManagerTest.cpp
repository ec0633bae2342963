// Jobs and printing: notifications, the print-time checks, what is in force
// at each print, installed media, and lists that are short, odd or unknown.

#include <climits>
#include <optional>

#include "intake/Notifications.h"
#include "intake/ScriptingData.h"
#include "session/SessionTestHarness.h"

namespace {

using Codes = std::vector<int32_t>;

std::unique_ptr<ScriptingData> Job(int32_t language, const std::string& bytes) {
  auto job = std::make_unique<ScriptingData>();
  job->language = language;
  job->data.assign(bytes.begin(), bytes.end());
  return job;
}

TEST_F(SessionTest, AJobWithoutParserStillStartsAndFinishes) {
  session.ProcessData(Job(0, "garbage"));
  session.ProcessData(nullptr);
  EXPECT_EQ(window.Codes(), (Codes{33, 35, 33, 35}));
  EXPECT_EQ(window.MessageIds(), (std::vector<uint32_t>(4, kMessageId)));
  EXPECT_EQ(engine.CountOf("CreateLabel"), 0u);
  EXPECT_EQ(engine.CountOf("StartPrint"), 0u);
}

TEST_F(SessionTest, ATplJobRunsEndToEnd) {
  session.SetSystemFonts({platform::LOGFONTW{0, 400, 0, 0, 0, L"Arial"}});
  session.ProcessData(Job(LANGUAGE_TPL,
                          "STARTTPL\r\nSETUNITS DOTS\r\nSTARTLABEL\r\nSETPRINTDENSITY 100\r\n"
                          "STARTTEXT\r\nPOSITION 30,60\r\nTEXT Hello TPL\r\nFONTNAME Arial\r\n"
                          "ENDTEXT\r\nENDLABEL 2\r\nENDTPL\r\n"));
  EXPECT_EQ(window.Codes(), (Codes{33, 39, 34, 35}));
  EXPECT_EQ(window.ValuesOf(39), (std::vector<int64_t>{10000}));
  ASSERT_EQ(engine.prints.size(), 1u);
  EXPECT_EQ(engine.prints[0].jobs.at(0).quantity, 2);
  ASSERT_EQ(engine.Objects().size(), 1u);
  const RecordedObject& text = *engine.Objects()[0];
  EXPECT_EQ(text.text, L"Hello TPL");
  EXPECT_EQ(text.fontName, L"Arial");
  EXPECT_EQ(text.rect.left, 100);
  EXPECT_EQ(text.rect.top, 200);
}

TEST_F(SessionTest, AZplJobRunsEndToEnd) {
  session.ProcessData(Job(LANGUAGE_ZPL, "^XA^FO30,60^FDHello^FS^XZ"));
  EXPECT_EQ(window.Codes(), (Codes{33, 34, 35}));
  EXPECT_EQ(engine.prints.size(), 1u);
}

TEST_F(SessionTest, WithoutAMainWindowNothingIsPosted) {
  session.SetMainWindow(nullptr);
  session.ProcessData(Job(0, ""));
  Run({Cmd(START_LABEL), Cmd(PRINT_SPEED, {L"5"}), Cmd(PRINT_LABEL)});
  EXPECT_EQ(window.Size(), 0u);
  EXPECT_EQ(engine.prints.size(), 1u);
}

TEST_F(SessionTest, EachPrintUsesTheQuantityAndOffsetsThenInForce) {
  Run({Cmd(START_LABEL), Cmd(TEXT, TextParams()), Cmd(TEXT, TextParams()),
       Cmd(PRINT_QUANTITY, {L"3"}), Cmd(LABEL_OFFSET, {L"150", L"300"}), Cmd(PRINT_LABEL),
       Cmd(PRINT_QUANTITY, {L"5"}), Cmd(LABEL_OFFSET, {L"300", L"600"}), Cmd(PRINT_LABEL)});
  EXPECT_EQ(window.Codes(), (Codes{34, 34}));
  ASSERT_EQ(engine.prints.size(), 2u);
  const RecordedPrint& first = engine.prints[0];
  const RecordedPrint& second = engine.prints[1];
  ASSERT_EQ(first.jobs.size(), 1u);
  EXPECT_EQ(first.jobs[0].jobName, L"*CurrentLabel*");
  EXPECT_EQ(first.jobs[0].quantity, 3);
  EXPECT_FLOAT_EQ(first.offsetXInches, 0.5f);
  EXPECT_FLOAT_EQ(first.offsetYInches, 1.0f);
  EXPECT_EQ(first.objectCount, 2u);
  ASSERT_EQ(second.jobs.size(), 1u);
  EXPECT_EQ(second.jobs[0].quantity, 5);
  EXPECT_FLOAT_EQ(second.offsetXInches, 1.0f);
  EXPECT_FLOAT_EQ(second.offsetYInches, 2.0f);
  EXPECT_EQ(second.objectCount, 2u);
}

TEST_F(SessionTest, APrintRunsItsStepsInOrder) {
  size_t callsAtCallback = 0;
  session.beforePrintCallback = [&] { callsAtCallback = engine.Calls().size(); };
  session.setXOffset(0.25f);
  Run({Cmd(START_LABEL), Cmd(PRINT_LABEL)});
  EXPECT_EQ(engine.Trace(
                {"RefreshLabel", "SetLabelOffsets", "InitPrintData", "AddPrintData", "StartPrint"}),
            (std::vector<std::wstring>{
                L"RefreshLabel(0, 0)", L"SetLabelOffsets(null, 0.25, 0)", L"InitPrintData()",
                L"AddPrintData(job=*CurrentLabel* quantity=1 mark=1 count=1 kind=0)",
                L"StartPrint(3, 0, 1, 1)"}));
  // The callback runs after the job is queued and before the print starts.
  EXPECT_EQ(callsAtCallback, engine.Calls().size() - 1);
}

TEST_F(SessionTest, JobFieldsStartAfreshWithEveryList) {
  Run({Cmd(START_LABEL), Cmd(PRINT_QUANTITY, {L"7"})});
  EXPECT_EQ(session.PrintQuantity(), 7);
  Run({Cmd(START_LABEL), Cmd(PRINT_LABEL)});
  EXPECT_EQ(engine.prints.at(0).jobs.at(0).quantity, 1);
}

TEST_F(SessionTest, AnEmptyLabelPrints) {
  Run({Cmd(START_LABEL), Cmd(PRINT_LABEL)});
  EXPECT_EQ(engine.Trace({"CreateLabel", "SetAppType", "SetPageSizeUnlimited"}),
            (std::vector<std::wstring>{L"CreateLabel(, 0, 0, 0, 0, 1)", L"SetAppType(CUSTOM)",
                                       L"SetPageSizeUnlimited(1, null)"}));
  ASSERT_EQ(engine.prints.size(), 1u);
  EXPECT_EQ(engine.prints[0].objectCount, 0u);
}

// The print-time check. A callback answer of nullopt means "no callback".
struct CheckCase {
  const wchar_t* requiredTape;    // null: no MATCH_TAPE
  const wchar_t* requiredRibbon;  // null: no MATCH_RIBBON
  int errors;                     // SCRIPT_ERROR records before the print
  std::optional<bool> mismatchAnswer;
  std::optional<bool> errorAnswer;
  bool printed;
  const char* asked;  // the callbacks asked, in order: T tape, R ribbon, E errors
};

TEST_F(SessionTest, PrintTimeCheckTruthTable) {
  const CheckCase cases[] = {
      {nullptr, nullptr, 0, false, false, true, ""},
      {L"tape-a", nullptr, 0, false, std::nullopt, true, ""},         // matches, case ignored
      {L"TAPE-B", nullptr, 0, std::nullopt, std::nullopt, true, ""},  // no callback
      {L"TAPE-B", nullptr, 0, false, std::nullopt, false, "T"},
      {L"TAPE-B", nullptr, 0, true, std::nullopt, true, "T"},
      {nullptr, L"RIBBON-A", 0, false, std::nullopt, true, ""},
      {nullptr, L"ribbon-b", 0, false, std::nullopt, false, "R"},
      {nullptr, L"ribbon-b", 0, std::nullopt, std::nullopt, true, ""},
      {L"TAPE-B", L"ribbon-b", 0, false, std::nullopt, false, "T"},  // ribbon not asked
      {L"TAPE-B", L"ribbon-b", 0, true, std::nullopt, true, "TR"},
      {L"tape-a", L"ribbon-b", 0, false, std::nullopt, false, "R"},
      {nullptr, nullptr, 2, std::nullopt, std::nullopt, true, ""},
      {nullptr, nullptr, 1, std::nullopt, false, false, "E"},
      {nullptr, nullptr, 1, std::nullopt, true, true, "E"},
      {L"TAPE-B", nullptr, 1, false, true, true, "TE"},  // the error answer alone decides
      {L"TAPE-B", nullptr, 1, true, false, false, "TE"},
      {L"", nullptr, 0, false, std::nullopt, false, "T"},  // an empty name is a mismatch
  };
  for (const CheckCase& c : cases) {
    SCOPED_TRACE(::testing::Message() << "tape=" << (c.requiredTape ? "set" : "-")
                                      << " ribbon=" << (c.requiredRibbon ? "set" : "-")
                                      << " errors=" << c.errors << " asked=" << c.asked);
    RecordingEngine engine;
    RecordingHostWindow window;
    TestSession session(&engine);
    session.SetMainWindow(&window);
    session.SetInstalledPartNames(L"Tape-A", L"Ribbon-A");
    std::string asked;
    if (c.mismatchAnswer) {
      session.consumableMismatchCallback = [&](int which) {
        asked += which == 1 ? "T" : "R";
        return *c.mismatchAnswer;
      };
    }
    if (c.errorAnswer) {
      session.scriptErrorCallback = [&] {
        asked += "E";
        return *c.errorAnswer;
      };
    }
    CommandList list{Cmd(START_LABEL)};
    if (c.requiredTape) list.push_back(Cmd(MATCH_TAPE, {c.requiredTape}));
    if (c.requiredRibbon) list.push_back(Cmd(MATCH_RIBBON, {c.requiredRibbon}));
    for (int i = 0; i < c.errors; ++i) list.push_back(Cmd(SCRIPT_ERROR, {L"bad"}));
    list.push_back(Cmd(PRINT_LABEL));
    list.push_back(Cmd(PRINT_LABEL));  // every requirement lasted one print
    session.ActOnCommands(list);

    EXPECT_EQ(asked, c.asked);
    EXPECT_EQ(window.Codes(), (Codes{34, 34}));
    EXPECT_EQ(engine.prints.size(), c.printed ? 2u : 1u);
    EXPECT_EQ(session.ScriptErrorCount(), 0);
  }
}

TEST_F(SessionTest, OnlyTheLastTapeRequirementCounts) {
  int asked = 0;
  session.consumableMismatchCallback = [&](int) { return ++asked, false; };
  session.SetInstalledPartNames(L"T1", L"R1");
  Run({Cmd(START_LABEL), Cmd(MATCH_TAPE, {L"other"}), Cmd(MATCH_TAPE, {L"t1"}), Cmd(PRINT_LABEL)});
  EXPECT_EQ(asked, 0);
  EXPECT_EQ(engine.prints.size(), 1u);
}

TEST_F(SessionTest, ScriptErrorsBetweenObjectsLeaveEveryObjectBuilt) {
  Run({Cmd(START_LABEL), Cmd(TEXT, TextParams()), Cmd(SCRIPT_ERROR, {L"x"}),
       Cmd(TEXT, TextParams()), Cmd(SCRIPT_ERROR, {})});
  EXPECT_EQ(engine.Objects().size(), 2u);
  EXPECT_EQ(session.ScriptErrorCount(), 2);
}

struct RotationCase {
  uint32_t flags;
  int32_t rotation;
  bool portrait;
};

TEST_F(SessionTest, InstalledRotationFollowsTheLowestMediaBit) {
  const RotationCase cases[] = {
      {0x00, 0, false}, {0x20, 45, true},    {0x40, 0, true},        {0x80, 180, false},
      {0x60, 45, true}, {0xA0, 45, true},    {0xC0, 0, true},        {0xE0, 45, true},
      {0x1F, 0, false}, {0x180, 180, false}, {0xFFFFFFFF, 45, true},
  };
  for (const RotationCase& c : cases) {
    SCOPED_TRACE(c.flags);
    RecordingEngine engine;
    engine.portrait = c.portrait ? 0 : 1;  // the label starts the other way
    TestSession session(&engine);
    session.SetInstalledRotation(c.flags);
    EXPECT_EQ(session.InstalledRotation(), c.rotation);
    session.ActOnCommands({Cmd(START_LABEL), Cmd(PRINT_LABEL), Cmd(PRINT_LABEL)});
    EXPECT_EQ(engine.portrait, c.portrait ? 1 : 0);
    EXPECT_EQ(engine.CountOf("SetLabelOrientation"), 1u);
    ASSERT_EQ(engine.prints.size(), 2u);
    for (const RecordedPrint& print : engine.prints) {
      EXPECT_EQ(print.turned180, c.rotation == 180);
    }
  }
}

TEST_F(SessionTest, MatchingOrientationIsLeftAlone) {
  engine.portrait = 1;
  Run({Cmd(START_LABEL)});  // installed media: portrait by default
  EXPECT_EQ(engine.CountOf("SetLabelOrientation"), 0u);
}

struct ShortCase {
  int32_t kind;
  size_t count;
  const char* logged;
};

TEST_F(SessionTest, RecordsWithTooFewParametersAreSkippedAndLogged) {
  const ShortCase cases[] = {
      {LABEL_OFFSET, 1, "Command LABEL_OFFSET skipped: it has 1 parameters, it needs 2"},
      {PRINT_QUANTITY, 0, "Command PRINT_QUANTITY skipped: it has 0 parameters, it needs 1"},
      {DATE_AND_TIME, 6, "Command DATE_AND_TIME skipped: it has 6 parameters, it needs 7"},
      {TEXT, 17, "Command TEXT skipped: it has 17 parameters, it needs 18"},
      {PROMPT_TEXT, 3, "Command PROMPT_TEXT skipped: it has 3 parameters, it needs 18"},
      {PRINT_DENSITY, 0, "Command PRINT_DENSITY skipped: it has 0 parameters, it needs 1"},
  };
  for (const ShortCase& c : cases) {
    SCOPED_TRACE(c.logged);
    engine.ClearCalls();
    window.Clear();
    Run({Cmd(c.kind, std::vector<std::wstring>(c.count, L"5"))});
    EXPECT_NE(Log().find(std::string(c.logged) + "\r\n"), std::string::npos) << Log();
    EXPECT_EQ(engine.CountOf("CreateNewObject") + engine.CountOf("SetLabelOffsets"), 0u);
    EXPECT_EQ(window.Size(), 0u);
  }
  EXPECT_EQ(session.PrintQuantity(), 1);
}

TEST_F(SessionTest, ReservedAndUnknownKindsChangeNothing) {
  for (int32_t kind : {INT32_MIN, -1, 0, 2, 3, 4, 6, 7, 8, 15, 31, 38, 40, 1000, INT32_MAX}) {
    Run({Cmd(kind, {L"1", L"2", L"3"})});
  }
  EXPECT_TRUE(engine.Calls().empty());
  EXPECT_EQ(window.Size(), 0u);
  EXPECT_EQ(Log(), "");
}

// Every kind with odd parameters, with and without an engine: nothing may
// crash or read out of range (run under the sanitizers to see it).
TEST_F(SessionTest, OddListsNeverCrash) {
  const std::vector<std::wstring> odd = {
      L"", L"99999999999999999999", L"-2147483648", L"T", L"FREEFORM", L"-5", L"\x00ff\x0100",
      L"L"};
  CommandList list;
  for (int32_t kind = -1; kind <= 40; ++kind) {
    for (size_t count = 0; count <= 24; ++count) {
      std::vector<std::wstring> params;
      for (size_t i = 0; i < count; ++i) params.push_back(odd[(kind + i * 3 + count) % odd.size()]);
      list.push_back(Cmd(kind, params));
    }
  }
  engine.dpi = 0;
  engine.unitsPerInch = -4;
  session.scriptErrorCallback = [] { return true; };
  Run(list);
  TestSession headless(nullptr);
  headless.ActOnCommands(list);
  SUCCEED();
}

}  // namespace
