#include <gtest/gtest.h>

#include <fstream>

#include "host/HostTestSupport.h"
#include "host/LogWatcher.h"

namespace host {
namespace {

void Append(const std::filesystem::path& file, const std::string& bytes) {
  std::ofstream(file, std::ios::binary | std::ios::app) << bytes;
}

std::vector<std::string> Texts(const std::vector<LogLine>& lines) {
  std::vector<std::string> texts;
  for (const LogLine& line : lines) texts.push_back(line.file + ":" + line.text);
  return texts;
}

TEST(LogWatcherTest, CollectsOnlyCompleteLinesAddedSinceTheMark) {
  testing::ScratchDir dir;
  const auto a = dir / "A.TXT";
  const auto b = dir / "B.TXT";
  Append(a, "old\r\n");
  LogWatcher watcher(dir.path());
  watcher.Mark();

  struct Step {
    std::function<void()> change;
    std::vector<std::string> expected;
  };
  const Step steps[] = {
      {[] {}, {}},
      {[&] { Append(a, "one\r\ntwo\r\n"); }, {"A.TXT:one", "A.TXT:two"}},
      {[&] { Append(b, "new file\r\n"); }, {"B.TXT:new file"}},
      {[&] { Append(a, "half"); }, {}},  // not finished yet
      {[&] { Append(a, " done\r\n\r\n"); }, {"A.TXT:half done"}},
      {[&] { std::ofstream(a, std::ios::trunc) << "x\n"; }, {"A.TXT:x"}},  // replaced: read anew
  };
  for (size_t i = 0; i < std::size(steps); ++i) {
    SCOPED_TRACE("step " + std::to_string(i));
    steps[i].change();
    EXPECT_EQ(Texts(watcher.Collect()), steps[i].expected);
  }
}

TEST(LogWatcherTest, AMissingFolderHasNoLines) {
  LogWatcher watcher("/nonexistent/labelhost/Logging");
  watcher.Mark();
  EXPECT_TRUE(watcher.Collect().empty());
}

}  // namespace
}  // namespace host
