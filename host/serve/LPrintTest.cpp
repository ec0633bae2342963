// Printing software end to end: Debian's LPrint, a label printer application,
// drives `labelhost serve` as it drives a network label printer. LPrint asks
// the printer's status ("~HQES") before each job and sends a PNG as a
// downloaded graphic recalled in a format ("~DG", "^XG", "^POI", "^MNM",
// "~MD", then "^ID" to delete it). LPrint runs in a sandbox of its own: its
// home, runtime and spool folders in the test's folder, its own ports, and
// (when the test runs as root, which would make it the machine's system-wide
// server) as the unprivileged user "nobody". Skipped where LPrint is not
// installed (tools/install-deps.sh installs it).
#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <thread>

#include "host/serve/ServeTestSupport.h"

namespace host::testing {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr uid_t kNobody = 65534;

// A free TCP port of 127.0.0.1, for LPrint's own server.
int FreePort() {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof address;
  int port = 0;
  if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) == 0) {
    port = ntohs(address.sin_port);
  }
  ::close(fd);
  return port;
}

// LPrint confined to `root`: every command runs with its folders there, and
// the server it starts is stopped (and reaped) when this goes.
class LPrintSandbox {
 public:
  explicit LPrintSandbox(const fs::path& root) : root_(root) {
    for (const char* folder : {"", "home", "tmp", "spool"}) {
      fs::create_directories(root_ / folder);
      fs::permissions(root_ / folder, fs::perms::all);
    }
    asRoot_ = ::geteuid() == 0;
  }
  ~LPrintSandbox() { Stop(); }

  // Starts `lprint server` on a port of its own; true once it answers.
  bool Start() {
    const std::string port = std::to_string(FreePort());
    pid_ = ::fork();
    if (pid_ == 0) {
      const int log = ::open((root_ / "server.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
      ::dup2(log, 1);
      ::dup2(log, 2);
      Exec({"server", "-o", "server-port=" + port, "-o", "listen-hostname=127.0.0.1", "-o",
            "log-file=" + (root_ / "lprint.log").string(), "-o", "log-level=debug", "-o",
            "spool-directory=" + (root_ / "spool").string(), "-o",
            "server-options=no-multi-queue,no-web-interface"});
    }
    // Commands before the server listens would start one of their own.
    const fs::path socket =
        root_ / "tmp" / ("lprint" + std::to_string(asRoot_ ? kNobody : ::geteuid()) + ".sock");
    for (int i = 0; i < 200 && !fs::exists(socket); ++i) std::this_thread::sleep_for(25ms);
    return fs::exists(socket);
  }

  // Runs `lprint ARGS...` and returns what it printed and its exit status.
  std::pair<std::string, int> Run(const std::vector<std::string>& args) {
    std::string command = Prefix() + " lprint";
    for (const std::string& a : args) command += " '" + a + "'";
    return Capture(command + " 2>&1");
  }

  // Asks the server to stop, then makes sure it has.
  void Stop() {
    if (pid_ <= 0) return;
    Run({"shutdown"});
    int status = 0;
    for (int i = 0; i < 100 && ::waitpid(pid_, &status, WNOHANG) == 0; ++i) {
      std::this_thread::sleep_for(50ms);
      if (i == 20) ::kill(pid_, SIGTERM);  // it may wait for its next round
    }
    if (::waitpid(pid_, &status, WNOHANG) == 0) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, &status, 0);
    }
    pid_ = -1;
  }

 private:
  std::string Prefix() const {
    const std::string r = root_.string();
    std::string prefix = "env -i PATH=/usr/bin:/bin HOME=" + r + "/home TMPDIR=" + r +
                         "/tmp XDG_DATA_HOME=" + r + "/home XDG_CONFIG_HOME=" + r + "/home";
    if (asRoot_) prefix += " setpriv --reuid=65534 --regid=65534 --clear-groups";
    return prefix;
  }

  [[noreturn]] void Exec(std::vector<std::string> args) {
    const std::string command = "exec " + Prefix() + " lprint";
    std::string line = command;
    for (const std::string& a : args) line += " '" + a + "'";
    ::execl("/bin/sh", "sh", "-c", line.c_str(), static_cast<char*>(nullptr));
    ::_exit(127);
  }

  fs::path root_;
  bool asRoot_ = false;
  pid_t pid_ = -1;
};

// A 4x6 inch picture at 203 dpi that looks different turned: a bar near the
// top, a corner mark, diagonal stripes below, a chequer at the bottom right.
constexpr int kWidth = 812, kHeight = 1218;
bool PictureInk(int x, int y) {
  return (x >= 100 && x < 400 && y >= 50 && y < 150) || (x < 30 && y < 30) ||
         (y > 600 && ((x + y) / 16) % 5 == 0) ||
         (x >= 700 && x < 790 && y >= 1100 && y < 1200 && (x / 10 + y / 10) % 2 == 1);
}

void PutChunk(std::string& png, const char* type, const std::string& data) {
  auto put32 = [&png](uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) png.push_back(static_cast<char>(v >> shift));
  };
  put32(static_cast<uint32_t>(data.size()));
  const std::string body = type + data;
  png += body;
  put32(static_cast<uint32_t>(
      crc32(0, reinterpret_cast<const Bytef*>(body.data()), static_cast<uInt>(body.size()))));
}

// The picture as an 8-bit greyscale PNG, black and white only, as image
// editors write one.
std::string PicturePng() {
  std::string raw;
  for (int y = 0; y < kHeight; ++y) {
    raw.push_back(0);  // no filter
    for (int x = 0; x < kWidth; ++x) raw.push_back(PictureInk(x, y) ? '\0' : '\xff');
  }
  uLongf size = compressBound(static_cast<uLong>(raw.size()));
  std::string packed(size, '\0');
  compress2(reinterpret_cast<Bytef*>(packed.data()), &size,
            reinterpret_cast<const Bytef*>(raw.data()), static_cast<uLong>(raw.size()), 6);
  packed.resize(size);
  const std::string header = {0, 0, 0x03, 0x2C, 0, 0, 0x04, static_cast<char>(0xC2), 8, 0, 0, 0, 0};
  std::string png("\x89PNG\r\n\x1a\n", 8);
  PutChunk(png, "IHDR", header);
  PutChunk(png, "IDAT", packed);
  PutChunk(png, "IEND", "");
  return png;
}

bool Tool(const std::string& name) { return Capture("command -v " + name).second == 0; }

TEST(LPrintTest, LPrintPrintsAPngThroughTheRawPortPixelForPixel) {
  if (!Tool("lprint") || (::geteuid() == 0 && !Tool("setpriv"))) {
    GTEST_SKIP() << "lprint (and, as root, setpriv) not installed";
  }
  ScratchDir dir;
  fs::permissions(dir.path(),
                  fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
  ServerProcess server(dir, {"--zpl", "full", "--dpi", "203"});
  ASSERT_TRUE(server.started()) << server.Stderr();
  LPrintSandbox lprint(dir / "lprint");
  ASSERT_TRUE(lprint.Start()) << ReadFile(dir / "lprint" / "server.txt");
  const auto [added, addStatus] = lprint.Run(
      {"add", "-d", "labelhost", "-v", "socket://127.0.0.1:" + std::to_string(server.rawPort()),
       "-m", "zpl_4inch-203dpi-dt"});
  ASSERT_EQ(addStatus, 0) << added;

  const fs::path png = dir.Write("lprint/picture.png", PicturePng());
  fs::permissions(png, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  const Clock::time_point submitted = Clock::now();
  const auto [submit, submitStatus] = lprint.Run({"submit", "-d", "labelhost", png.string()});
  ASSERT_EQ(submitStatus, 0) << submit;
  std::vector<std::string> labels;
  while (labels.empty() && Clock::now() - submitted < 5s) {
    std::this_thread::sleep_for(5ms);
    labels = FileNames(dir / "out");
  }
  const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - submitted);
  ASSERT_EQ(labels.size(), 1u) << server.Stdout() << ReadFile(dir / "lprint" / "lprint.log");
  EXPECT_LT(took.count(), 1000) << "the label took " << took.count() << " ms";
  RecordProperty("submit_to_label_ms", static_cast<int>(took.count()));

  // The job turns the label ("^POI"): the picture is there upside down, at
  // the bottom of a label that ends the usual margin below it.
  std::this_thread::sleep_for(100ms);  // the file is complete once renamed; be sure it is
  const PngInfo label = ReadPng(dir / "out" / labels[0]);
  ASSERT_TRUE(label.valid);
  ASSERT_EQ(label.width, static_cast<uint32_t>(kWidth));
  ASSERT_GE(label.height, static_cast<uint32_t>(kHeight));
  const int top = static_cast<int>(label.height) - kHeight;
  int differences = 0, above = 0;
  for (int y = 0; y < static_cast<int>(label.height); ++y) {
    for (int x = 0; x < kWidth; ++x) {
      if (y < top) {
        above += label.Ink(x, y) ? 1 : 0;
      } else {
        const bool want = PictureInk(kWidth - 1 - x, kHeight - 1 - (y - top));
        differences += label.Ink(x, y) != want ? 1 : 0;
      }
    }
  }
  EXPECT_EQ(differences, 0);
  EXPECT_EQ(above, 0);

  // Whatever LPrint asked and sent printed without a script error, and its
  // status polls left no entry; LPrint sees the printer idle.
  std::this_thread::sleep_for(200ms);
  const std::string reports = server.Stdout();
  EXPECT_EQ(CountLines(reports, "\"script_errors\":[]"), CountLines(reports, "\"source\""))
      << reports;
  EXPECT_EQ(CountLines(reports, "no job found"), 0u) << reports;
  EXPECT_EQ(CountLines(reports, "\"labels\":1,"), 1u) << reports;
  const auto [status, statusCode] = lprint.Run({"status", "-d", "labelhost"});
  EXPECT_EQ(statusCode, 0);
  EXPECT_NE(status.find("idle"), std::string::npos) << status;
  lprint.Stop();
}

}  // namespace
}  // namespace host::testing
