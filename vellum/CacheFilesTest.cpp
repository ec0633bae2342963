// A cache file is input like any other: whatever stands at its name (a pipe,
// a folder, a file grown past reason) must be refused at once, never waited on.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <vector>

#include "vellum/CacheFiles.h"

namespace vellum {
namespace {

namespace fs = std::filesystem;

TEST(CacheFilesTest, ReadsOnlyWholeRegularFilesWithinTheLimit) {
  const fs::path dir = fs::temp_directory_path() / ("cache-files-" + std::to_string(::getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir / "folder");
  std::ofstream(dir / "ten") << "0123456789";
  std::ofstream(dir / "empty");
  ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0600), 0);
  struct Case {
    const char* name;
    size_t limit;
    bool read;
    size_t size;
  } cases[] = {
      {"ten", 10, true, 10},     {"ten", 9, false, 0},          {"empty", 0, true, 0},
      {"missing", 99, false, 0}, {"folder", 1 << 20, false, 0}, {"pipe", 1 << 20, false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string text;
    std::vector<uint8_t> bytes;
    EXPECT_EQ(ReadCacheFile((dir / c.name).string(), c.limit, text), c.read);
    EXPECT_EQ(ReadCacheFile((dir / c.name).string(), c.limit, bytes), c.read);
    if (c.read) {
      EXPECT_EQ(text.size(), c.size);
      EXPECT_EQ(std::string(bytes.begin(), bytes.end()), text);
    }
  }
  fs::remove_all(dir);
}

}  // namespace
}  // namespace vellum
