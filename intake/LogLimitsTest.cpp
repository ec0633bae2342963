#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "intake/LogLimits.h"
#include "intake/Logging.h"
#include "platform/Clock.h"
#include "testing/LogFiles.h"
#include "testing/ScopedStoreRoot.h"

namespace {

// Sets the process's log limits for one test and puts the defaults back.
class ScopedLogLimits {
 public:
  explicit ScopedLogLimits(LogLimits limits) { SetLogLimits(limits); }
  ~ScopedLogLimits() { SetLogLimits(LogLimits{}); }
};

class LogLimitsTest : public ::testing::Test {
 protected:
  std::vector<std::string> Messages(const char* name) { return LogFileMessages(root_, name); }
  ScopedStoreRoot store_{"log-limits-test"};
  const std::filesystem::path& root_ = store_.Root();
  platform::ScopedFixedClock clock_{{2024, 1, 15, 9, 5, 7}};
};

TEST_F(LogLimitsTest, AJobWritesItsShareToEachLogAndCountsTheRest) {
  struct Case {
    const char* name;
    int64_t cap;
    int zplLines;
    int sessionLines;
    std::vector<std::string> zpl;
    std::vector<std::string> session;
  } cases[] = {
      {"under the cap", 3, 2, 1, {"z0", "z1"}, {"s0"}},
      {"exactly the cap", 3, 3, 0, {"z0", "z1", "z2"}, {}},
      {"one past",
       3,
       4,
       0,
       {"z0", "z1", "z2", "1 more line of this job not logged (a job logs at most 3 lines here)"},
       {}},
      {"each log its own share",
       2,
       5,
       3,
       {"z0", "z1", "3 more lines of this job not logged (a job logs at most 2 lines here)"},
       {"s0", "s1", "1 more line of this job not logged (a job logs at most 2 lines here)"}},
      {"no cap", 0, 5, 0, {"z0", "z1", "z2", "z3", "z4"}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove_all(root_ / "Logging");
    ScopedLogLimits limits({c.cap, 0});
    {
      JobLogScope job;
      CLogging zpl(L"ZPL_ERROR_LOG.TXT");
      CLogging session(L"SESSIONMANAGER_ERROR_LOG.TXT");
      for (int i = 0; i < c.zplLines; ++i) zpl.Write(L"z" + std::to_wstring(i));
      for (int i = 0; i < c.sessionLines; ++i) session.Write(L"s" + std::to_wstring(i));
    }
    EXPECT_EQ(Messages("ZPL_ERROR_LOG.TXT"), c.zpl);
    EXPECT_EQ(Messages("SESSIONMANAGER_ERROR_LOG.TXT"), c.session);
  }
}

// The cap is per job: the next job writes its own share; lines outside any
// job, and lines of other threads, are not counted.
TEST_F(LogLimitsTest, EachJobStartsAfreshAndOnlyItsThreadCounts) {
  ScopedLogLimits limits({1, 0});
  CLogging log(L"JPL_ERROR_LOG.TXT");
  for (const wchar_t* job : {L"a", L"b"}) {
    JobLogScope scope;
    log.Write(job);
    std::thread([] { CLogging(L"JPL_ERROR_LOG.TXT").Write(L"other thread"); }).join();
    log.Write(job);
  }
  log.Write(L"outside");
  log.Write(L"outside");
  const std::string left = "1 more line of this job not logged (a job logs at most 1 lines here)";
  EXPECT_EQ(Messages("JPL_ERROR_LOG.TXT"),
            (std::vector<std::string>{"a", "other thread", left, "b", "other thread", left,
                                      "outside", "outside"}));
}

// The observer (the host's report) hears the lines written and the closing
// line, never the lines left out.
TEST_F(LogLimitsTest, TheObserverHearsTheClosingLineInsteadOfTheRest) {
  ScopedLogLimits limits({2, 0});
  std::vector<std::wstring> heard;
  SetThreadLogObserver([&](const LogWrite& write) { heard.push_back(write.message); });
  {
    JobLogScope scope;
    CLogging log(L"ZPL_ERROR_LOG.TXT");
    for (int i = 0; i < 100000; ++i) log.Write(L"x");
  }
  SetThreadLogObserver(nullptr);
  EXPECT_EQ(heard, (std::vector<std::wstring>{L"x", L"x", JobLogScope::LeftOutMessage(99998, 2)}));
}

TEST_F(LogLimitsTest, AFullLogIsMovedAsideToOnePreviousGeneration) {
  const std::string kLine = "[01/15/2024, 09:05:07] 0123456789\r\n";  // 35 bytes
  ScopedLogLimits limits({0, 3 * 35});
  CLogging log(L"TPL_ERROR_LOG.TXT");
  const auto file = root_ / "Logging" / "TPL_ERROR_LOG.TXT";
  const auto previous = root_ / "Logging" / "TPL_ERROR_LOG.1.TXT";
  struct Step {
    int lines;
    size_t current;   // lines in the log
    size_t previous;  // lines in its previous generation, -1: none
  } steps[] = {
      {3, 3, size_t(-1)},  // full, but not past
      {1, 1, 3},           // the fourth line starts a new log
      {2, 3, 3},
      {1, 1, 3},  // the older generation is replaced
  };
  for (const Step& step : steps) {
    for (int i = 0; i < step.lines; ++i) log.Write(L"0123456789");
    EXPECT_EQ(std::filesystem::file_size(file), step.current * kLine.size());
    if (step.previous == size_t(-1)) {
      EXPECT_FALSE(std::filesystem::exists(previous));
    } else {
      EXPECT_EQ(std::filesystem::file_size(previous), step.previous * kLine.size());
    }
  }
}

// Two writers, each with its own logger as two processes would have, keep
// every line whole when one of them moves the log aside under the other.
TEST_F(LogLimitsTest, WritersSharingALogLoseNoLineToItsMove) {
  constexpr int kLinesEach = 2000;
  constexpr size_t kLineBytes = 23 + 40 + 2;
  // 4000 lines fill the log once: one move, and every line in one of the two.
  ScopedLogLimits limits({0, static_cast<int64_t>(kLinesEach * kLineBytes * 3 / 2)});
  auto writer = [](wchar_t tag) {
    CLogging log(L"SHARED_ERROR_LOG.TXT");
    for (int i = 0; i < kLinesEach; ++i) log.Write(std::wstring(40, tag));
  };
  std::thread a(writer, L'a'), b(writer, L'b');
  a.join(), b.join();
  size_t lines = 0;
  for (const char* name : {"SHARED_ERROR_LOG.TXT", "SHARED_ERROR_LOG.1.TXT"}) {
    const std::string text = ReadLogFile(root_, name);
    EXPECT_EQ(text.size() % kLineBytes, 0u) << name;
    lines += text.size() / kLineBytes;
    EXPECT_EQ(text.find("\r\n\r\n"), std::string::npos) << name;
  }
  EXPECT_EQ(lines, 2u * kLinesEach);
}

}  // namespace
