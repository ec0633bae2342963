#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <fstream>
#include <thread>
#include <utility>
#include <vector>

#include "platform/StoreFile.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

class StoreFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("storefile-" + std::to_string(::getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  fs::path dir_;
};

// A FIFO with no writer, a folder and a missing file are all refused at
// once; a reader that opened the FIFO would wait for ever.
TEST_F(StoreFileTest, OnlyRegularFilesAreRead) {
  const fs::path fifo = dir_ / "LOGO.GRF";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
  const fs::path file = dir_ / "A.ZPL";
  std::ofstream(file, std::ios::binary) << "^XA^XZ";
  struct Case {
    fs::path path;
    bool regular;
  } cases[] = {{fifo, false}, {dir_, false}, {dir_ / "missing", false}, {file, true}};
  const auto start = std::chrono::steady_clock::now();
  for (const Case& c : cases) {
    EXPECT_EQ(IsRegularStoreFile(c.path), c.regular) << c.path;
    EXPECT_EQ(ReadStoreFile(c.path, 100).has_value(), c.regular) << c.path;
    EXPECT_EQ(ReadStoreFileHead(c.path, 3).has_value(), c.regular) << c.path;
  }
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  EXPECT_EQ(ReadStoreFile(file, 100), "^XA^XZ");
  EXPECT_EQ(ReadStoreFile(file, 5), std::nullopt);
  EXPECT_EQ(ReadStoreFileHead(file, 3), "^XA");
  EXPECT_EQ(ReadStoreFileHead(file, 99), "^XA^XZ");
}

TEST_F(StoreFileTest, WholeWriteReplacesAndLeavesNoTemporary) {
  const fs::path target = dir_ / "GF.PNG";
  EXPECT_EQ(WriteStoreFileWhole(target, "first"), 0);
  EXPECT_EQ(WriteStoreFileWhole(target, "second"), 0);
  EXPECT_EQ(ReadStoreFile(target, 100), "second");
  EXPECT_NE(WriteStoreFileWhole(dir_ / "missing" / "X.PNG", "x"), 0);
  size_t entries = 0;
  for (const auto& entry : fs::directory_iterator(dir_)) entries += entry.is_regular_file();
  EXPECT_EQ(entries, 1u);
}

// A disk with no room for the graphic (a file size limit stands in for it):
// the write fails, the file that was there stays as it was, and no part of
// the new one is left.
TEST_F(StoreFileTest, NoRoomLeavesTheTargetAsItWas) {
  const fs::path target = dir_ / "A.GRF";
  std::ofstream(target, std::ios::binary) << "old";
  rlimit saved{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  auto* previous = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 1024;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  const int error = WriteStoreFileWhole(target, std::string(4096, 'x'));
  ::setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previous);
  EXPECT_EQ(error, EFBIG);
  EXPECT_EQ(ReadStoreFile(target, 100), "old");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

// The thread's observer hears of every write that failed, and of nothing
// else; other threads' writes are not its business.
TEST_F(StoreFileTest, TheThreadsObserverHearsOfFailedWritesOnly) {
  std::vector<std::pair<fs::path, int>> heard;
  SetThreadStoreWriteObserver(
      [&](const fs::path& target, int error) { heard.emplace_back(target, error); });
  EXPECT_EQ(WriteStoreFileWhole(dir_ / "OK.PNG", "x"), 0);
  EXPECT_EQ(WriteStoreFileWhole(dir_ / "missing" / "X.PNG", "x"), ENOENT);
  std::thread([this] { WriteStoreFileWhole(dir_ / "missing" / "Y.PNG", "x"); }).join();
  SetThreadStoreWriteObserver(nullptr);
  WriteStoreFileWhole(dir_ / "missing" / "Z.PNG", "x");
  ASSERT_EQ(heard.size(), 1u);
  EXPECT_EQ(heard[0].first, dir_ / "missing" / "X.PNG");
  EXPECT_EQ(heard[0].second, ENOENT);
}

// A store that is truly full: a 64 KiB tmpfs, mounted in a user and mount
// namespace of a child process (skipped where the system allows none).
TEST_F(StoreFileTest, AFullStoreSaysNoSpaceAndKeepsNothing) {
  constexpr int kSkipped = 77;
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    const std::string uid = std::to_string(::getuid()), gid = std::to_string(::getgid());
    if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) ::_exit(kSkipped);
    std::ofstream("/proc/self/setgroups") << "deny";
    std::ofstream("/proc/self/uid_map") << "0 " + uid + " 1";
    std::ofstream("/proc/self/gid_map") << "0 " + gid + " 1";
    if (::mount("none", dir_.c_str(), "tmpfs", 0, "size=64k") != 0) ::_exit(kSkipped);
    int heard = 0;
    SetThreadStoreWriteObserver([&](const fs::path&, int error) { heard = error; });
    const int error = WriteStoreFileWhole(dir_ / "GF.PNG", std::string(256 * 1024, 'x'));
    const bool empty = fs::is_empty(dir_);
    ::_exit(error == ENOSPC && heard == ENOSPC && empty ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  if (WEXITSTATUS(status) == kSkipped) GTEST_SKIP() << "no user namespace to mount a tmpfs in";
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
}  // namespace platform
