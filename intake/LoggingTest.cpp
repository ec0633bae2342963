#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

#include "intake/Logging.h"
#include "platform/Clock.h"
#include "platform/StorageCard.h"
#include "testing/LogFiles.h"
#include "testing/ScopedStoreRoot.h"

namespace {

class LoggingTest : public ::testing::Test {
 protected:
  std::string Read(const char* name) { return ReadLogFile(root_, name); }
  ScopedStoreRoot store_{"logging-test"};
  const std::filesystem::path& root_ = store_.Root();
};

TEST_F(LoggingTest, FirstLineCreatesTheFoldersAndFile) {
  platform::ScopedFixedClock clock({2024, 1, 15, 9, 5, 7});
  CLogging log(L"TPL_ERROR_LOG.TXT");
  EXPECT_EQ(log.Path(), L"\\SD\\Store\\Logging\\TPL_ERROR_LOG.TXT");
  EXPECT_TRUE(std::filesystem::exists(root_ / "Logging" / "TPL_ERROR_LOG.TXT"));
  EXPECT_EQ(Read("TPL_ERROR_LOG.TXT"), "");
  log.Write(L"Unknown keyword");
  EXPECT_EQ(Read("TPL_ERROR_LOG.TXT"), "[01/15/2024, 09:05:07] Unknown keyword\r\n");
}

TEST_F(LoggingTest, LinesAppendAcrossLoggersAndKeepTheirText) {
  platform::ScopedFixedClock clock({987, 12, 3, 23, 59, 0});
  {
    CLogging first(L"ZPL_ERROR_LOG.TXT");
    first.Write(L"one");
  }
  CLogging second(L"ZPL_ERROR_LOG.TXT");  // must not truncate
  second.Write(L"two\nlines \u00e9");
  EXPECT_EQ(Read("ZPL_ERROR_LOG.TXT"),
            "[12/03/ 987, 23:59:00] one\r\n[12/03/ 987, 23:59:00] two\nlines \xC3\xA9\r\n");
}

TEST_F(LoggingTest, FailuresCostOnlyTheLine) {
  CLogging nameless;
  nameless.Write(L"goes nowhere");
  EXPECT_FALSE(std::filesystem::exists(root_ / "Logging"));

  // A file name that cannot be created (a folder stands in its place).
  std::filesystem::create_directories(root_ / "Logging" / "BUSY.TXT");
  CLogging busy(L"BUSY.TXT");
  busy.Write(L"lost");
  EXPECT_TRUE(std::filesystem::is_directory(root_ / "Logging" / "BUSY.TXT"));

  // The card was formatted after the logger was made: the folder comes back.
  CLogging log(L"DPL_ERROR_LOG.TXT");
  std::filesystem::remove_all(root_);
  log.Write(L"again");
  EXPECT_NE(Read("DPL_ERROR_LOG.TXT").find("] again\r\n"), std::string::npos);
}

// A file that ends inside a line (a crash, a writer that could not take its
// line back) gets a line break first, so no two lines are ever glued.
TEST_F(LoggingTest, EachLineStartsOnALineOfItsOwn) {
  platform::ScopedFixedClock clock({2024, 1, 15, 9, 5, 7});
  const std::string kLine = "[01/15/2024, 09:05:07] next\r\n";
  struct Case {
    std::string before;
    std::string after;
  } cases[] = {
      {"", kLine},
      {"[x] whole\r\n", "[x] whole\r\n" + kLine},
      {"[x] unix\n", "[x] unix\n" + kLine},
      {"[x] torn", "[x] torn\r\n" + kLine},
      {"[x] torn\r", "[x] torn\r\r\n" + kLine},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.before);
    std::filesystem::create_directories(root_ / "Logging");
    std::ofstream(root_ / "Logging" / "TPL_ERROR_LOG.TXT", std::ios::binary) << c.before;
    CLogging(L"TPL_ERROR_LOG.TXT").Write(L"next");
    EXPECT_EQ(Read("TPL_ERROR_LOG.TXT"), c.after);
  }
}

// The observer hears each line of its own thread, written or not.
TEST_F(LoggingTest, TheThreadsObserverHearsOfEveryLineAndEveryFailure) {
  platform::ScopedFixedClock clock({2024, 1, 15, 9, 5, 7});
  std::vector<LogWrite> heard;
  SetThreadLogObserver([&](const LogWrite& write) { heard.push_back(write); });
  CLogging log(L"ZPL_ERROR_LOG.TXT");
  log.Write(L"first");
  std::thread([] { CLogging(L"ZPL_ERROR_LOG.TXT").Write(L"other thread"); }).join();

  // A file size limit 10 bytes above the file: the next line cannot fit.
  const auto size = std::filesystem::file_size(root_ / "Logging" / "ZPL_ERROR_LOG.TXT");
  const std::string before = Read("ZPL_ERROR_LOG.TXT");
  struct rlimit saved {};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  struct rlimit tight = saved;
  tight.rlim_cur = size + 10;
  auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tight), 0);
  log.Write(L"does not fit");
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previousHandler);
  EXPECT_EQ(Read("ZPL_ERROR_LOG.TXT"), before);  // nothing of it is left

  log.Write(L"fits again");
  SetThreadLogObserver(nullptr);
  log.Write(L"unheard");

  ASSERT_EQ(heard.size(), 3u);
  const std::string prefix = "[01/15/2024, 09:05:07] ";
  EXPECT_EQ(heard[0].fileName, L"ZPL_ERROR_LOG.TXT");
  EXPECT_EQ(heard[0].message, L"first");
  EXPECT_EQ(heard[0].line, prefix + "first");
  EXPECT_EQ(heard[0].error, 0);
  EXPECT_EQ(heard[1].message, L"does not fit");
  EXPECT_EQ(heard[1].error, EFBIG);
  EXPECT_EQ(heard[2].error, 0);
  EXPECT_EQ(Read("ZPL_ERROR_LOG.TXT"), before + prefix + "fits again\r\n" + prefix + "unheard\r\n");
}

}  // namespace

namespace {

// Two writers, each opening the log on its own as two processes would, append
// long lines that cross page boundaries: every line stays whole and no
// writer adds a line break of its own between them.
TEST_F(LoggingTest, ConcurrentWritersLeaveNoEmptyLines) {
  constexpr int kLinesEach = 1500;
  const std::wstring body(3000, L'x');
  auto writer = [&body](wchar_t tag) {
    CLogging log(L"SHARED_ERROR_LOG.TXT");
    for (int i = 0; i < kLinesEach; ++i) log.Write(std::wstring(1, tag) + body);
  };
  std::thread a(writer, L'a'), b(writer, L'b');
  a.join(), b.join();
  std::istringstream lines(Read("SHARED_ERROR_LOG.TXT"));
  int count = 0, empty = 0, torn = 0;
  for (std::string line; std::getline(lines, line);) {
    ++count;
    if (line == "\r" || line.empty())
      ++empty;
    else if (line.size() != 23 + 1 + body.size() + 1)
      ++torn;
  }
  EXPECT_EQ(empty, 0);
  EXPECT_EQ(torn, 0);
  EXPECT_EQ(count, 2 * kLinesEach);
}

}  // namespace
