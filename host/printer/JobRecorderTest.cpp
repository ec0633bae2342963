#include <gtest/gtest.h>

#include <cerrno>
#include <variant>

#include "host/printer/JobRecorder.h"
#include "platform/Text.h"

namespace host {
namespace {

LabelCommand Record(int32_t kind, std::vector<std::wstring> params = {}) {
  return LabelCommand{kind, std::move(params)};
}

LogWrite Logged(const wchar_t* file, const wchar_t* message, int error = 0) {
  return LogWrite{file, message, "[t] " + platform::WideToUtf8(message), error};
}

std::vector<std::string> ScriptErrors(const JobReport& r) {
  std::vector<std::string> out;
  for (const ScriptError& e : r.scriptErrors) out.push_back(e.message + "|" + e.logFile);
  return out;
}

std::vector<std::string> LogTexts(const JobReport& r) {
  std::vector<std::string> out;
  for (const LogLine& line : r.logLines) out.push_back(line.file + "|" + line.text);
  return out;
}

// A script error that is also a log line of the job is listed once, as a
// script error naming its log; every other line stays a log line.
TEST(JobRecorderTest, ScriptErrorsAreListedOnceWhetherLoggedOrNot) {
  using Event = std::variant<LabelCommand, LogWrite>;
  struct Case {
    const char* what;
    std::vector<Event> events;
    std::vector<std::string> scriptErrors;
    std::vector<std::string> logLines;
    std::vector<std::string> notes = {};
  };
  const wchar_t* zpl = L"ZPL_ERROR_LOG.TXT";
  const wchar_t* session = L"SESSIONMANAGER_ERROR_LOG.TXT";
  const Case cases[] = {
      {"logged and recorded",
       {Logged(zpl, L"Unsupported command: ^CI28"),
        Record(SCRIPT_ERROR, {L"Unsupported command: ^CI28"})},
       {"Unsupported command: ^CI28|ZPL_ERROR_LOG.TXT"},
       {}},
      {"recorded only", {Record(SCRIPT_ERROR, {L"No end tag"})}, {"No end tag|"}, {}},
      {"a record without its text", {Record(SCRIPT_ERROR)}, {"|"}, {}},
      {"logged in other words",
       {Logged(zpl, L"ERROR CREATING RECTANGLE"), Record(SCRIPT_ERROR, {L"no origin"})},
       {"no origin|"},
       {"ZPL_ERROR_LOG.TXT|[t] ERROR CREATING RECTANGLE"}},
      {"one line for two records",
       {Logged(zpl, L"bad"), Record(SCRIPT_ERROR, {L"bad"}), Record(SCRIPT_ERROR, {L"bad"})},
       {"bad|ZPL_ERROR_LOG.TXT", "bad|"},
       {}},
      {"lines of other logs stay",
       {Logged(session, L"Invalid Data for QR Code"), Logged(zpl, L"x"),
        Record(SCRIPT_ERROR, {L"x"})},
       {"x|ZPL_ERROR_LOG.TXT"},
       {"SESSIONMANAGER_ERROR_LOG.TXT|[t] Invalid Data for QR Code"}},
      {"a line the disk refused",
       {Logged(zpl, L"x", EFBIG), Record(SCRIPT_ERROR, {L"x"}), Logged(zpl, L"y", EFBIG),
        Logged(session, L"z", ENOSPC)},
       {"x|"},
       {},
       {"2 log lines could not be written to ZPL_ERROR_LOG.TXT: File too large (the first: [t] x)",
        "a log line could not be written to SESSIONMANAGER_ERROR_LOG.TXT: No space left on "
        "device ([t] z)"}},
      {"printed labels",
       {Record(START_LABEL), Record(PRINT_LABEL), Record(START_LABEL), Record(PRINT_LABEL)},
       {},
       {}},
      {"a label left open",
       {Record(START_LABEL), Record(PRINT_LABEL), Record(START_LABEL)},
       {},
       {},
       {"a label was started and never printed (the job ended before its end)"}},
      {"many labels left open",
       {Record(START_LABEL), Record(START_LABEL), Record(START_LABEL)},
       {},
       {},
       {"3 labels were started and never printed (each was left without its end, the last when "
        "the job ended)"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    JobRecorder recorder;
    recorder.Begin();
    for (const Event& event : c.events) {
      if (const auto* command = std::get_if<LabelCommand>(&event)) recorder.OnCommand(*command);
      if (const auto* write = std::get_if<LogWrite>(&event)) recorder.OnLogWrite(*write);
    }
    JobReport report;
    recorder.End(report);
    EXPECT_EQ(ScriptErrors(report), c.scriptErrors);
    EXPECT_EQ(LogTexts(report), c.logLines);
    EXPECT_EQ(report.notes, c.notes);
    EXPECT_EQ(report.incomplete, c.what == std::string("a line the disk refused"));
  }
}

// Past the most a report lists, script errors and unknown commands are
// counted, not kept: a job of a million errors reports in little memory.
TEST(JobRecorderTest, AJobsErrorsAreListedUpToTheCapAndCountedBeyond) {
  struct Case {
    int64_t most;
    int errors;
    size_t listed;
    int64_t unlisted;
    std::vector<std::string> notes;
  } cases[] = {
      {3, 2, 2, 0, {}},
      {3, 3, 3, 0, {}},
      {3, 100000, 3, 99997, {"99997 more script errors not listed (3 are)"}},
      {0, 1000, 1000, 0, {}},  // no cap
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.most) + " of " + std::to_string(c.errors));
    JobRecorder recorder;
    recorder.SetMostListed(c.most);
    recorder.Begin();
    for (int i = 0; i < c.errors; ++i) {
      recorder.OnCommand(Record(SCRIPT_ERROR, {L"Unsupported command: ^Q" + std::to_wstring(i)}));
      recorder.OnProblem({ScriptProblem::kUnsupportedCommand, L"^QQ"});
    }
    recorder.OnLogWrite(Logged(L"ZPL_ERROR_LOG.TXT", L"Unsupported command: ^Q0"));
    JobReport report;
    recorder.End(report);
    EXPECT_EQ(report.scriptErrors.size(), c.listed);
    EXPECT_EQ(report.scriptErrorsUnlisted, c.unlisted);
    EXPECT_EQ(report.notes, c.notes);
    EXPECT_EQ(report.scriptErrors.front().logFile, "ZPL_ERROR_LOG.TXT");
    EXPECT_EQ(report.unsupportedCommands, std::vector<std::string>{"^QQ"});
    EXPECT_FALSE(report.incomplete);
  }
}

// A file the store could not take makes the job incomplete (exit status 1),
// said first, once per reason.
TEST(JobRecorderTest, FilesTheStoreCouldNotTakeAreNotedFirst) {
  JobRecorder recorder;
  recorder.Begin();
  recorder.OnCommand(Record(START_LABEL));
  recorder.OnStoreWriteFailed("/s/Graphics/GF01.PNG", ENOSPC);
  recorder.OnStoreWriteFailed("/s/Graphics/GF02.PNG", ENOSPC);
  recorder.OnStoreWriteFailed("/s/Formats/SHIP.ZPL", EACCES);
  JobReport report;
  recorder.End(report);
  EXPECT_TRUE(report.incomplete);
  EXPECT_EQ(report.notes,
            (std::vector<std::string>{
                "Graphics/GF01.PNG and 1 more file could not be stored: No space left on device",
                "Formats/SHIP.ZPL could not be stored: Permission denied",
                "a label was started and never printed (the job ended before its end)"}));

  recorder.Begin();  // the next job starts clean
  recorder.End(report = {});
  EXPECT_FALSE(report.incomplete);
  EXPECT_TRUE(report.notes.empty());
}

}  // namespace
}  // namespace host
