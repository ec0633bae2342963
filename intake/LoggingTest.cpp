#include <gtest/gtest.h>

#include <filesystem>

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

}  // namespace
