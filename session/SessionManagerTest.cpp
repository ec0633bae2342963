// Jobs and printing: notifications, the print-time checks, what is in force
// at each print, installed media, and lists that are short, odd or unknown.

#include <climits>
#include <optional>

#include "intake/Languages.h"
#include "intake/LogLimits.h"
#include "platform/ScriptingData.h"
#include "platform/Text.h"
#include "session/SessionTestHarness.h"

namespace {

TEST_F(SessionTest, JobsRunEndToEnd) {
  session.ProcessData(Job(0, "garbage"));  // no parser: still started and finished
  session.ProcessData(nullptr);
  EXPECT_EQ(window.Codes(), (Codes{NOTIFY_SCRIPT_STARTED, NOTIFY_SCRIPT_FINISHED,
                                   NOTIFY_SCRIPT_STARTED, NOTIFY_SCRIPT_FINISHED}));
  EXPECT_EQ(window.MessageIds(), (std::vector<uint32_t>(4, kMessageId)));
  EXPECT_TRUE(engine.prints.empty());

  window.Clear();
  session.SetSystemFonts({Font(L"Arial")});
  session.ProcessData(Job(LANGUAGE_TPL,
                          "STARTTPL\r\nSETUNITS DOTS\r\nSTARTLABEL\r\nSETPRINTDENSITY 100\r\n"
                          "STARTTEXT\r\nPOSITION 30,60\r\nTEXT Hello TPL\r\nFONTNAME Arial\r\n"
                          "ENDTEXT\r\nENDLABEL 2\r\nENDTPL\r\n"));
  EXPECT_EQ(window.Codes(), (Codes{NOTIFY_SCRIPT_STARTED, NOTIFY_PRINT_DENSITY,
                                   NOTIFY_LABEL_PRINTING, NOTIFY_SCRIPT_FINISHED}));
  EXPECT_EQ(window.ValuesOf(NOTIFY_PRINT_DENSITY), (std::vector<int64_t>{10000}));
  ASSERT_EQ(engine.prints.size(), 1u);
  EXPECT_EQ(engine.prints[0].jobs.at(0).quantity, 2);
  ASSERT_EQ(engine.Objects().size(), 1u);
  EXPECT_EQ(engine.Objects()[0]->text, L"Hello TPL");
  EXPECT_EQ(Corners(engine.Objects()[0]->rect)[0], 100);

  window.Clear();
  session.ProcessData(Job(LANGUAGE_ZPL, "^XA^FO30,60^FDHello^FS^XZ"));
  EXPECT_EQ(window.Codes(),
            (Codes{NOTIFY_SCRIPT_STARTED, NOTIFY_LABEL_PRINTING, NOTIFY_SCRIPT_FINISHED}));
  EXPECT_EQ(engine.prints.size(), 2u);

  session.SetMainWindow(nullptr);
  window.Clear();
  session.ProcessData(Job(0, ""));
  Run({Cmd(START_LABEL), Cmd(PRINT_SPEED, {L"5"}), Cmd(PRINT_LABEL)});
  EXPECT_EQ(window.Size(), 0u);
  EXPECT_EQ(engine.prints.size(), 3u);
}

// Each job writes its share of lines to a log, counted from its own start,
// and one line for the rest.
TEST_F(SessionTest, EachJobLogsItsShareOfLines) {
  SetLogLimits(LogLimits{2, 0});
  for (int job = 0; job < 2; ++job) session.ProcessData(Job(LANGUAGE_ZPL, "^XA^QQ^QQ^QQ^QQ^QQ^XZ"));
  SetLogLimits(LogLimits{});
  const std::string kRest = "3 more lines of this job not logged (a job logs at most 2 lines here)";
  const std::vector<std::string> kJob = {"Unsupported command: ^QQ", "Unsupported command: ^QQ",
                                         kRest};
  std::vector<std::string> both = kJob;
  both.insert(both.end(), kJob.begin(), kJob.end());
  EXPECT_EQ(LogFileMessages(store.Root(), "ZPL_ERROR_LOG.TXT"), both);
}

TEST_F(SessionTest, EachPrintUsesTheQuantityAndOffsetsThenInForce) {
  size_t callsAtCallback = 0;  // the callback runs last before the print starts
  session.beforePrintCallback = [&] { callsAtCallback = engine.Calls().size(); };
  Run({Cmd(START_LABEL), Cmd(TEXT, TextParams()), Cmd(TEXT, TextParams()),
       Cmd(PRINT_QUANTITY, {L"3"}), Cmd(LABEL_OFFSET, {L"150", L"300"}), Cmd(PRINT_LABEL),
       Cmd(PRINT_QUANTITY, {L"5"}), Cmd(LABEL_OFFSET, {L"300", L"600"}), Cmd(PRINT_LABEL)});
  Run({Cmd(START_LABEL), Cmd(PRINT_LABEL)});  // job fields start afresh with every list
  EXPECT_EQ(callsAtCallback, engine.Calls().size() - 1);
  EXPECT_EQ(engine.Trace({"StartPrint"}).back(), L"StartPrint(3, 0, 1, 1)");
  EXPECT_EQ(window.Codes(),
            (Codes{NOTIFY_LABEL_PRINTING, NOTIFY_LABEL_PRINTING, NOTIFY_LABEL_PRINTING}));
  ASSERT_EQ(engine.prints.size(), 3u);
  const struct {
    int32_t quantity;
    float x, y;
    size_t objects;
  } expected[] = {{3, 0.5f, 1.0f, 2}, {5, 1.0f, 2.0f, 2}, {1, 1.0f, 2.0f, 0}};
  for (size_t i = 0; i < 3; ++i) {
    const RecordedPrint& print = engine.prints[i];
    ASSERT_EQ(print.jobs.size(), 1u);
    EXPECT_EQ(print.jobs[0].jobName, L"*CurrentLabel*");
    EXPECT_EQ(print.jobs[0].quantity, expected[i].quantity) << i;
    EXPECT_FLOAT_EQ(print.offsetXInches, expected[i].x);
    EXPECT_FLOAT_EQ(print.offsetYInches, expected[i].y);
    EXPECT_EQ(print.objectCount, expected[i].objects);
  }
  for (const auto& [param, quantity] :
       {std::pair{L"0", 0}, {L"abc", 0}, {L"12 copies", 12}, {L"99999999999", INT_MAX}}) {
    Run({Cmd(START_LABEL), Cmd(PRINT_QUANTITY, {param}), Cmd(PRINT_LABEL)});
    EXPECT_EQ(engine.prints.back().jobs.at(0).quantity, quantity) << param;
  }
}

// The print-time check, each requirement lasting one print. Callback
// answers: 'y', 'n', or '-' for no callback; `asked` lists the callbacks
// asked, in order: T tape, R ribbon, E errors.
TEST_F(SessionTest, PrintTimeCheckTruthTable) {
  const struct {
    const wchar_t *tape, *ribbon;  // required; null: none
    int errors;                    // SCRIPT_ERROR records before the print
    char mismatchAnswer, errorAnswer;
    bool printed;
    const char* asked;
  } cases[] = {
      {nullptr, nullptr, 0, 'n', 'n', true, ""},
      {L"tape-a", nullptr, 0, 'n', '-', true, ""},
      {L"TAPE-B", nullptr, 0, '-', '-', true, ""},
      {L"TAPE-B", nullptr, 0, 'n', '-', false, "T"},
      {L"TAPE-B", nullptr, 0, 'y', '-', true, "T"},
      {nullptr, L"RIBBON-A", 0, 'n', '-', true, ""},
      {nullptr, L"ribbon-b", 0, 'n', '-', false, "R"},
      {nullptr, L"ribbon-b", 0, '-', '-', true, ""},
      {L"TAPE-B", L"ribbon-b", 0, 'n', '-', false, "T"},  // ribbon not asked
      {L"TAPE-B", L"ribbon-b", 0, 'y', '-', true, "TR"},
      {L"tape-a", L"ribbon-b", 0, 'n', '-', false, "R"},
      {nullptr, nullptr, 2, '-', '-', true, ""},
      {nullptr, nullptr, 1, '-', 'n', false, "E"},
      {nullptr, nullptr, 1, '-', 'y', true, "E"},
      {L"TAPE-B", nullptr, 1, 'n', 'y', true, "TE"},  // the error answer alone decides
      {L"TAPE-B", nullptr, 1, 'y', 'n', false, "TE"},
      {L"", nullptr, 0, 'n', '-', false, "T"},  // an empty name is a mismatch
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << "row " << (&c - cases));
    RecordingEngine engine;
    RecordingHostWindow window;
    TestSession session(&engine);
    session.SetMainWindow(&window);
    session.SetInstalledPartNames(L"Tape-A", L"Ribbon-A");
    std::string asked;
    if (c.mismatchAnswer != '-') {
      session.consumableMismatchCallback = [&](int which) {
        asked += which == 1 ? "T" : "R";
        return c.mismatchAnswer == 'y';
      };
    }
    if (c.errorAnswer != '-') {
      session.scriptErrorCallback = [&] {
        asked += "E";
        return c.errorAnswer == 'y';
      };
    }
    CommandList list{Cmd(START_LABEL)};
    if (c.tape) list.push_back(Cmd(MATCH_TAPE, {c.tape}));
    if (c.ribbon) list.push_back(Cmd(MATCH_RIBBON, {c.ribbon}));
    for (int i = 0; i < c.errors; ++i) list.push_back(Cmd(SCRIPT_ERROR, {L"bad"}));
    list.insert(list.end(), {Cmd(PRINT_LABEL), Cmd(PRINT_LABEL)});
    session.ActOnCommands(list);

    EXPECT_EQ(asked, c.asked);
    EXPECT_EQ(window.Codes(), (Codes{NOTIFY_LABEL_PRINTING, NOTIFY_LABEL_PRINTING}));
    EXPECT_EQ(engine.prints.size(), c.printed ? 2u : 1u);
    EXPECT_EQ(session.ScriptErrorCount(), 0);
  }
}

TEST_F(SessionTest, OnlyTheLastTapeRequirementCountsAndErrorsLeaveObjectsBuilt) {
  int asked = 0;
  session.consumableMismatchCallback = [&](int) { return ++asked, false; };
  session.SetInstalledPartNames(L"T1", L"R1");
  Run({Cmd(START_LABEL), Cmd(MATCH_TAPE, {L"other"}), Cmd(MATCH_TAPE, {L"t1"}), Cmd(PRINT_LABEL)});
  EXPECT_EQ(asked, 0);
  EXPECT_EQ(engine.prints.size(), 1u);

  Run({Cmd(START_LABEL), Cmd(TEXT, TextParams()), Cmd(SCRIPT_ERROR, {L"x"}),
       Cmd(TEXT, TextParams()), Cmd(SCRIPT_ERROR, {})});
  EXPECT_EQ(engine.Objects().size(), 2u);
  EXPECT_EQ(session.ScriptErrorCount(), 2);
}

TEST_F(SessionTest, InstalledRotationFollowsTheLowestMediaBit) {
  const struct {
    std::optional<uint32_t> flags;  // nullopt: never set
    int32_t rotation;
    bool portrait;
  } cases[] = {
      {std::nullopt, 0, true}, {0x00, 0, false},    {0x20, 45, true},       {0x40, 0, true},
      {0x80, 180, false},      {0x60, 45, true},    {0xA0, 45, true},       {0xC0, 0, true},
      {0x1F, 0, false},        {0x180, 180, false}, {0xFFFFFFFF, 45, true},
  };
  for (const auto& c : cases) {
    for (int32_t start : {0, 1}) {
      SCOPED_TRACE(::testing::Message() << c.flags.value_or(0) << " from " << start);
      RecordingEngine engine;
      engine.portrait = start;
      TestSession session(&engine);
      if (c.flags) session.SetInstalledRotation(*c.flags);
      EXPECT_EQ(session.InstalledRotation(), c.rotation);
      session.ActOnCommands({Cmd(START_LABEL), Cmd(PRINT_LABEL), Cmd(PRINT_LABEL)});
      EXPECT_EQ(engine.portrait, c.portrait ? 1 : 0);
      EXPECT_EQ(engine.CountOf("SetLabelOrientation"), start == engine.portrait ? 0u : 1u);
      ASSERT_EQ(engine.prints.size(), 2u);
      for (const RecordedPrint& print : engine.prints) {
        EXPECT_EQ(print.turned180, c.rotation == 180);
      }
    }
  }
}

TEST_F(SessionTest, RecordsWithTooFewParametersAreSkippedAndLogged) {
  const std::tuple<int32_t, size_t, const char*> cases[] = {
      {LABEL_OFFSET, 1, "Command LABEL_OFFSET skipped: it has 1 parameters, it needs 2"},
      {PRINT_QUANTITY, 0, "Command PRINT_QUANTITY skipped: it has 0 parameters, it needs 1"},
      {DATE_AND_TIME, 6, "Command DATE_AND_TIME skipped: it has 6 parameters, it needs 7"},
      {TEXT, 17, "Command TEXT skipped: it has 17 parameters, it needs 18"},
      {PROMPT_TEXT, 3, "Command PROMPT_TEXT skipped: it has 3 parameters, it needs 18"},
      {BARCODE, 10, "Command BARCODE skipped: it has 10 parameters, it needs 11"},
  };
  for (const auto& [kind, count, logged] : cases) {
    SCOPED_TRACE(logged);
    engine.ClearCalls();
    Run({Cmd(kind, std::vector<std::wstring>(count, L"5"))});
    EXPECT_TRUE(Logged(std::string(logged) + "\r\n")) << Log();
    EXPECT_EQ(engine.CountOf("CreateNewObject") + engine.CountOf("SetLabelOffsets"), 0u);
  }
  EXPECT_EQ(window.Size(), 0u);
  std::vector<std::wstring> none;
  EXPECT_FALSE(session.CreateBarCode(none, DATA_SOURCE_STATIC));
}

// The host learns a job's script error texts and labels from the observer:
// every record, skipped and unknown ones too, in order, before it runs.
TEST_F(SessionTest, TheObserverSeesEveryRecordBeforeItRuns) {
  std::vector<std::wstring> seen;
  session.commandObserver = [&](const LabelCommand& command) {
    std::wstring entry = platform::IntToWide(command.kind) + L":" +
                         platform::IntToWide(static_cast<int64_t>(engine.CountOf("StartPrint")));
    for (const std::wstring& p : command.params) entry += L" " + p;
    seen.push_back(entry);
  };
  Run({Cmd(START_LABEL), Cmd(SCRIPT_ERROR, {L"Unsupported command: ^CI28"}), Cmd(SCRIPT_ERROR),
       Cmd(1000, {L"x"}), Cmd(TEXT, {L"too few"}), Cmd(PRINT_LABEL), Cmd(START_LABEL)});
  EXPECT_EQ(seen, (std::vector<std::wstring>{L"1:0", L"37:0 Unsupported command: ^CI28", L"37:0",
                                             L"1000:0 x", L"19:0 too few", L"5:0", L"1:1"}));
}

TEST_F(SessionTest, ReservedUnknownAndInertKindsChangeNothing) {
  for (int32_t kind : {INT32_MIN, -1, 0, 2, 3, 4, 6, 7, 8, 15, 31, 38, 40, 1000, INT32_MAX}) {
    Run({Cmd(kind, {L"1", L"2", L"3"})});
  }
  Run({Cmd(DATE_AND_TIME, {L"2024", L"1", L"2", L"3", L"4", L"5", L"p"}),
       Cmd(PRINT_ORIENTATION, {L"P"}), Cmd(TEAROFF_POSITION, {L"10"}), Cmd(TEAROFF_POSITION, {L""}),
       Cmd(END_LABEL), Cmd(PRINT_CONFIGURATION_LABEL)});
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
