#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "intake/Notifications.h"
#include "intake/ProcessScriptLanguageData.h"
#include "testing/LogFiles.h"
#include "testing/ScopedStoreRoot.h"

namespace {

constexpr uint32_t kMessageId = 0xC123;

// Exposes the protected steps that the host may call alone.
class TestIntake : public CProcessScriptLanguageData {
 public:
  using CProcessScriptLanguageData::AddScriptingData;
  using CProcessScriptLanguageData::CProcessScriptLanguageData;
  using CProcessScriptLanguageData::SendScriptingPrintDensityMessage;
  using CProcessScriptLanguageData::SendScriptingPrintSpeedMessage;
};

struct Posted {
  int32_t language;
  std::string bytes;
};

// Feeds the chunks and returns every job posted, in order.
std::vector<Posted> Feed(TestIntake& intake, platform::NotificationQueue& window,
                         const std::vector<std::string>& chunks) {
  std::vector<Posted> jobs;
  for (const auto& chunk : chunks) {
    intake.ProcessIncomingData(chunk.data(), static_cast<int32_t>(chunk.size()));
    while (auto n = window.TryTake()) {
      EXPECT_EQ(n->messageId, kMessageId);
      EXPECT_EQ(n->code, NOTIFY_SCRIPTING_DATA);
      if (n->job)
        jobs.push_back({n->job->language, std::string(n->job->data.begin(), n->job->data.end())});
    }
  }
  return jobs;
}

// Cuts `text` at the given offsets.
std::vector<std::string> Split(const std::string& text, std::vector<size_t> cuts) {
  std::vector<std::string> chunks;
  size_t from = 0;
  for (size_t cut : cuts) {
    chunks.push_back(text.substr(from, cut - from));
    from = cut;
  }
  chunks.push_back(text.substr(from));
  return chunks;
}

TEST(IntakeTest, JobsArePostedWholeWhateverTheChunking) {
  struct Case {
    const char* name;
    std::string job;
    int32_t language;
    std::vector<size_t> cuts;  // chunk boundaries, none inside a marker
  } cases[] = {
      {"zpl whole", "^xa^FO10,10^FDhi^FS^xz", LANGUAGE_ZPL, {}},
      {"zpl three chunks", "^XA^FO10,10^FDhello^FS^XZ", LANGUAGE_ZPL, {3, 12}},
      {"zpl byte by byte after marker", "^XA12345^XZ", LANGUAGE_ZPL, {3, 4, 5, 6, 7, 8}},
      {"tpl", "STARTTPL 1.0\r\nSTARTLABEL\r\nENDLABEL 1\r\nENDTPL\r\n", LANGUAGE_TPL, {14, 26}},
      {"tpl lower case", "starttpl 1.0\nendtpl\n", LANGUAGE_TPL, {13}},
      {"jpl closes at once", "m m\nJ\nS l1;0,0,68,71,100\n", LANGUAGE_JPL, {}},
      {"xtpl", "<TPL-DOCUMENT>\n<LABEL/>\n</TPL-DOCUMENT>", LANGUAGE_XTPL, {14, 24}},
      {"dpl", "\x02L\r\nD11\r\n121100000100010Hi\r\nE\r\n", LANGUAGE_DPL, {4, 9}},
  };
  for (const auto& c : cases) {
    platform::NotificationQueue window;
    TestIntake intake(&window, kMessageId);
    auto jobs = Feed(intake, window, Split(c.job, c.cuts));
    ASSERT_EQ(jobs.size(), 1u) << c.name;
    EXPECT_EQ(jobs[0].language, c.language) << c.name;
    EXPECT_EQ(jobs[0].bytes, c.job) << c.name;
    EXPECT_EQ(intake.HeldLength(), 0u) << c.name;
  }
}

TEST(IntakeTest, AttributionFollowsTheLanguageOrder) {
  struct Case {
    const char* name;
    std::vector<std::string> chunks;
    std::vector<bool> attributed;
    std::vector<int32_t> postedLanguages;
  } cases[] = {
      {"garbage is discarded", {"hello world"}, {false}, {}},
      {"tpl and zpl in one chunk: zpl wins", {"STARTTPL ^XA"}, {true}, {}},
      {"pending job takes unmarked chunks",
       {"^XA", "data", "^XZ"},
       {true, true, true},
       {LANGUAGE_ZPL}},
      {"the closing call's language names the job",
       {"STARTTPL", "^XA ENDTPL", "^XZ"},
       {true, true, true},
       {LANGUAGE_ZPL, LANGUAGE_ZPL}},
      {"dpl waits for an E", {"\x02L\r\n1", "2\r\n", "e"}, {true, true, true}, {LANGUAGE_DPL}},
      {"marker split across chunks is not seen", {"^X", "A^XZ"}, {false, false}, {}},
      {"unattributed chunk drops what was held", {"nothing", "^XZ"}, {false, false}, {}},
  };
  for (const auto& c : cases) {
    platform::NotificationQueue window;
    TestIntake intake(&window, kMessageId);
    std::vector<int32_t> posted;
    for (size_t i = 0; i < c.chunks.size(); ++i) {
      const auto& chunk = c.chunks[i];
      EXPECT_EQ(intake.ProcessIncomingData(chunk.data(), static_cast<int32_t>(chunk.size())),
                c.attributed[i])
          << c.name << " chunk " << i;
      while (auto n = window.TryTake()) posted.push_back(n->job ? n->job->language : -1);
    }
    EXPECT_EQ(posted, c.postedLanguages) << c.name;
  }
}

TEST(IntakeTest, PendingFlagsFollowTheJobs) {
  platform::NotificationQueue window;
  TestIntake intake(&window, kMessageId);
  std::string a = "STARTTPL", b = "^XA";
  intake.ProcessIncomingData(a.data(), static_cast<int32_t>(a.size()));
  intake.ProcessIncomingData(b.data(), static_cast<int32_t>(b.size()));
  EXPECT_TRUE(intake.IsState(TestIntake::STATE_TPL | TestIntake::STATE_ZPL));
  EXPECT_FALSE(intake.IsState(TestIntake::STATE_DPL));
  std::string end = "^XZ ENDTPL";
  intake.ProcessIncomingData(end.data(), static_cast<int32_t>(end.size()));
  EXPECT_FALSE(intake.IsState(TestIntake::STATE_TPL));
  EXPECT_FALSE(intake.IsState(TestIntake::STATE_ZPL));
  EXPECT_EQ(window.Size(), 1u);  // one job per call, even when two close
}

TEST(IntakeTest, JoiningNeverLosesAByte) {
  struct Case {
    const char* name;
    std::vector<std::string> chunks;
    std::string held;
  } cases[] = {
      {"raw reads are concatenated", {"^XA", "ab", "c"}, "^XAabc"},
      {"a trailing terminator is overwritten",
       {std::string("^XA\0", 4), std::string("ab\0", 3)},
       std::string("^XAab\0", 6)},
      {"a zero inside the job stays", {std::string("^XA\0x", 5), "y"}, std::string("^XA\0xy", 6)},
      {"empty chunks change nothing", {"^XA", "", "b"}, "^XAb"},
  };
  for (const auto& c : cases) {
    TestIntake intake(nullptr, kMessageId);
    for (const auto& chunk : c.chunks) {
      intake.ProcessIncomingData(chunk.data(), static_cast<int32_t>(chunk.size()));
    }
    EXPECT_EQ(intake.HeldLength(), c.held.size()) << c.name;
  }
}

TEST(IntakeTest, LargeChunksAreKept) {
  platform::NotificationQueue window;
  TestIntake intake(&window, kMessageId);
  std::string job = "^XA" + std::string(9000, 'x') + "^XZ";
  EXPECT_TRUE(intake.ProcessIncomingData(job.data(), static_cast<int32_t>(job.size())));
  auto n = window.TryTake();
  ASSERT_TRUE(n && n->job);
  EXPECT_EQ(n->job->length(), static_cast<int32_t>(job.size()));
}

class IntakeLogTest : public ::testing::Test {
 protected:
  std::string SessionLog() { return ReadLogFile(store_.Root(), "SESSIONMANAGER_ERROR_LOG.TXT"); }
  ScopedStoreRoot store_{"intake-test"};
};

TEST_F(IntakeLogTest, OversizedJobIsDiscardedAndLogged) {
  platform::NotificationQueue window;
  TestIntake intake(&window, kMessageId);
  intake.SetHeldDataLimit(16);
  std::vector<std::string> chunks = {"^XA0123456789", "abcdef", "tail^XZ"};
  EXPECT_TRUE(intake.ProcessIncomingData(chunks[0].data(), 13));
  EXPECT_EQ(intake.DiscardedJobs(), 0u);
  EXPECT_FALSE(intake.ProcessIncomingData(chunks[1].data(), 6));
  EXPECT_EQ(intake.DiscardedJobs(), 1u);  // the host tells the user
  EXPECT_EQ(intake.LastDiscardedLanguage(), LANGUAGE_ZPL);
  EXPECT_EQ(intake.HeldLength(), 0u);
  EXPECT_FALSE(intake.IsState(TestIntake::STATE_ZPL));
  // The rest of the discarded job is not posted as a job of its own.
  EXPECT_FALSE(intake.ProcessIncomingData(chunks[2].data(), 7));
  EXPECT_EQ(window.Size(), 0u);
  std::string log = SessionLog();
  EXPECT_NE(log.find("ZPL job reached 19 bytes, more than the limit of 16 bytes"),
            std::string::npos)
      << log;
  // The next job goes through.
  std::string next = "^XAok^XZ";
  EXPECT_TRUE(intake.ProcessIncomingData(next.data(), 8));
  EXPECT_EQ(window.Size(), 1u);
}

TEST(IntakeTest, SpeedAndDensityNotifications) {
  platform::NotificationQueue window;
  TestIntake intake(&window, kMessageId);
  intake.SendScriptingPrintSpeedMessage(6);
  intake.SendScriptingPrintDensityMessage(1.157);
  intake.SendScriptingPrintDensityMessage(-0.019);
  auto speed = window.TryTake();
  auto density = window.TryTake();
  auto negative = window.TryTake();
  ASSERT_TRUE(speed && density && negative);
  EXPECT_EQ(speed->code, NOTIFY_PRINT_SPEED);
  EXPECT_EQ(speed->value, 6);
  EXPECT_EQ(density->code, NOTIFY_PRINT_DENSITY);
  EXPECT_EQ(density->value, 115);
  EXPECT_EQ(negative->value, -1);
}

TEST(IntakeTest, NoWindowPostsNothingAndKeepsNothing) {
  TestIntake intake(nullptr, kMessageId);
  std::string job = "^XA^XZ";
  EXPECT_TRUE(intake.ProcessIncomingData(job.data(), 6));
  EXPECT_EQ(intake.HeldLength(), 0u);
  EXPECT_FALSE(intake.ProcessIncomingData(nullptr, 5));
  EXPECT_FALSE(intake.ProcessIncomingData(job.data(), -3));
}

}  // namespace
