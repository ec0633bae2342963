// labelhost runs `serve` in a program of its own: it must find that program
// from its own folder, say so clearly when it is gone, and never link the
// network libraries itself.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <string>
#include <vector>

#include "host/HostTestSupport.h"
#include "host/ServeProgram.h"

namespace host {
namespace {

namespace fs = std::filesystem;
using testing::ScratchDir;

enum class Entry { kNone, kProgram, kPlainFile, kFolder };

void Make(const fs::path& path, Entry entry) {
  if (entry == Entry::kNone) return;
  fs::create_directories(path.parent_path());
  if (entry == Entry::kFolder) {
    fs::create_directories(path);
    return;
  }
  std::ofstream(path) << "#!/bin/sh\n";
  ::chmod(path.c_str(), entry == Entry::kProgram ? 0755 : 0644);
}

TEST(ServeProgramTest, FoundBesideLabelhostFirstThenInLibexec) {
  struct Case {
    const char* name;
    Entry beside;
    Entry installed;
    int expected;  // index into ServeProgramPlaces; -1: not found
  };
  const Case cases[] = {
      {"build tree", Entry::kProgram, Entry::kNone, 0},
      {"installed", Entry::kNone, Entry::kProgram, 1},
      {"both: beside wins", Entry::kProgram, Entry::kProgram, 0},
      {"not executable", Entry::kPlainFile, Entry::kNone, -1},
      {"a folder of that name", Entry::kFolder, Entry::kPlainFile, -1},
      {"neither", Entry::kNone, Entry::kNone, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScratchDir dir;
    const fs::path bin = dir / "prefix/bin";
    fs::create_directories(bin);
    const std::vector<fs::path> places = ServeProgramPlaces(bin);
    ASSERT_EQ(places.size(), 2u);
    ASSERT_NE(places[0], places[1]);
    Make(places[0], c.beside);
    Make(places[1], c.installed);
    const fs::path found = FindServeProgram(bin);
    EXPECT_EQ(found, c.expected < 0 ? fs::path() : places[c.expected]);
  }
}

TEST(ServeProgramTest, MissingProgramIsAClearFailure) {
  ScratchDir dir;
  const fs::path lonely = dir / "labelhost";
  fs::copy_file(LABELHOST_BINARY, lonely);
  const auto [said, status] =
      testing::Capture("'" + lonely.string() + "' serve --port 0 2>&1 </dev/null");
  EXPECT_EQ(status, 1);
  EXPECT_NE(said.find("labelhost: serve needs the program labelhost-serve, which is missing"),
            std::string::npos)
      << said;
}

TEST(ServeProgramTest, LabelhostDoesNotLinkTheNetworkLibraries) {
  const auto [needed, status] =
      testing::Capture("readelf -d '" + std::string(LABELHOST_BINARY) + "' | grep NEEDED");
  ASSERT_EQ(status, 0);
  ASSERT_NE(needed.find("libc.so"), std::string::npos) << needed;
  for (const char* library : {"httplib", "libssl", "libcrypto", "brotli"})
    EXPECT_EQ(needed.find(library), std::string::npos) << library;
}

}  // namespace
}  // namespace host
