#include "host/HostTestSupport.h"

#include <fcntl.h>
#include <png.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>

namespace host::testing {
namespace fs = std::filesystem;
namespace {

std::string ShellQuote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

uint32_t BigEndian32(const std::string& bytes, size_t at) {
  uint32_t value = 0;
  for (size_t i = 0; i < 4; ++i) value = (value << 8) | static_cast<uint8_t>(bytes[at + i]);
  return value;
}

}  // namespace

ScratchDir::ScratchDir() {
  std::random_device random;
  path_ = fs::temp_directory_path() /
          ("labelhost-test-" + std::to_string(::getpid()) + "-" + std::to_string(random()));
  fs::create_directories(path_);
}

ScratchDir::~ScratchDir() {
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

fs::path ScratchDir::Write(const std::string& name, const std::string& bytes) const {
  const fs::path file = path_ / name;
  fs::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << bytes;
  return file;
}

RunResult RunHost(const std::vector<std::string>& args, const RunSettings& settings) {
  ScratchDir capture;
  std::string command;
  if (!settings.workDir.empty()) command += "cd " + ShellQuote(settings.workDir.string()) + " && ";
  if (settings.fileSizeLimitBlocks > 0) {
    command += "ulimit -f " + std::to_string(settings.fileSizeLimitBlocks) + " && ";
  }
  command += ShellQuote(LABELHOST_BINARY);
  for (const std::string& arg : args) {
    command += ' ';
    command += ShellQuote(arg);
  }
  command += " <" + ShellQuote(settings.stdinFile.empty() ? "/dev/null" : settings.stdinFile);
  command += " >" + ShellQuote((capture / "out").string());
  command += " 2>" + ShellQuote((capture / "err").string());
  const int status = std::system(("/bin/sh -c " + ShellQuote(command)).c_str());
  RunResult result;
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  result.out = ReadFile(capture / "out");
  result.err = ReadFile(capture / "err");
  return result;
}

std::pair<std::string, int> Capture(const std::string& command) {
  std::string out;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return {out, -1};
  char buffer[4096];
  for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
  const int status = ::pclose(pipe);
  return {out, WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}

RunResult RunIn(const ScratchDir& dir, const std::string& command, std::vector<std::string> args,
                RunSettings settings) {
  args.insert(args.begin(), {command, "--store", "store", "--out", "out"});
  settings.workDir = dir.path();
  return RunHost(args, settings);
}

BackgroundRun::BackgroundRun(const ScratchDir& dir, const std::string& command,
                             std::vector<std::string> args, const std::string& stdinFile) {
  args.insert(args.begin(), {command, "--store", "store", "--out", "out"});
  std::string run = "cd " + ShellQuote(dir.path().string()) + " && " + ShellQuote(LABELHOST_BINARY);
  for (const std::string& arg : args) run += " " + ShellQuote(arg);
  run += " <" + ShellQuote(stdinFile.empty() ? "/dev/null" : stdinFile);
  run += " >" + ShellQuote((capture_ / "out").string());
  run += " 2>" + ShellQuote((capture_ / "err").string());
  run += "; echo $? >" + ShellQuote((capture_ / "rc.tmp").string());
  run += " && mv " + ShellQuote((capture_ / "rc.tmp").string()) + " " +
         ShellQuote((capture_ / "rc").string());
  if (std::system(("/bin/sh -c " + ShellQuote("(" + run + ") &")).c_str()) != 0) return;
}

RunResult BackgroundRun::Wait() {
  RunResult result;
  for (int waited = 0; !fs::exists(capture_ / "rc") && waited < 12000; ++waited) ::usleep(10000);
  if (!fs::exists(capture_ / "rc")) return result;
  result.exitCode = std::stoi(ReadFile(capture_ / "rc"));
  result.out = ReadFile(capture_ / "out");
  result.err = ReadFile(capture_ / "err");
  return result;
}

fs::path ExamplesDir() { return fs::path(LABELHOST_SOURCE_DIR) / "examples"; }

std::string ReadFile(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::vector<std::string> FileNames(const fs::path& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    if (it->is_regular_file()) names.push_back(it->path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

PngInfo ReadPng(const fs::path& file) {
  PngInfo info;
  const std::string bytes = ReadFile(file);
  // The header and resolution as the file's chunks state them...
  for (size_t at = 8; at + 12 <= bytes.size(); at += 12 + size_t{BigEndian32(bytes, at)}) {
    const std::string type = bytes.substr(at + 4, 4);
    const size_t data = at + 8;
    if (type == "IHDR" && data + 13 <= bytes.size()) {
      info.width = BigEndian32(bytes, data);
      info.height = BigEndian32(bytes, data + 4);
      info.bitDepth = static_cast<uint8_t>(bytes[data + 8]);
      info.colourType = static_cast<uint8_t>(bytes[data + 9]);
    } else if (type == "pHYs" && data + 9 <= bytes.size() && bytes[data + 8] == 1) {
      info.dpiX = static_cast<int>(std::lround(BigEndian32(bytes, data) * 0.0254));
      info.dpiY = static_cast<int>(std::lround(BigEndian32(bytes, data + 4) * 0.0254));
    }
  }
  // ...and the ink as libpng decodes it.
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) return info;
  image.format = PNG_FORMAT_GRAY;
  std::vector<uint8_t> grey(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, grey.data(), 0, nullptr)) return info;
  info.valid = image.width == info.width && image.height == info.height;
  info.ink.assign(grey.size(), false);
  for (size_t i = 0; i < grey.size(); ++i) {
    if (grey[i] >= 128) continue;
    info.ink[i] = 1;
    const int x = static_cast<int>(i % image.width), y = static_cast<int>(i / image.width);
    info.ink[i] = true;
    ++info.inkDots;
    if (info.inkTop < 0) info.inkTop = y;
    if (info.inkLeft < 0 || x < info.inkLeft) info.inkLeft = x;
    info.inkRight = std::max(info.inkRight, x);
    info.inkBottom = y;
  }
  return info;
}

BackgroundHost::BackgroundHost(const std::vector<std::string>& args, const fs::path& workDir) {
  static int serial = 0;
  errFile_ = fs::temp_directory_path() /
             ("labelhost-test-err-" + std::to_string(::getpid()) + "-" + std::to_string(++serial));
  int pipeFds[2];
  if (::pipe(pipeFds) != 0) return;
  std::vector<std::string> argv = {LABELHOST_BINARY};
  argv.insert(argv.end(), args.begin(), args.end());
  pid_ = ::fork();
  if (pid_ == 0) {
    ::dup2(pipeFds[1], STDOUT_FILENO);
    const int err = ::open(errFile_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (err >= 0) ::dup2(err, STDERR_FILENO);
    ::close(pipeFds[0]);
    if (::chdir(workDir.c_str()) != 0) ::_exit(127);
    std::vector<char*> cargs;
    for (std::string& arg : argv) cargs.push_back(arg.data());
    cargs.push_back(nullptr);
    ::execv(cargs[0], cargs.data());
    ::_exit(127);
  }
  ::close(pipeFds[1]);
  stdout_ = pipeFds[0];
}

BackgroundHost::~BackgroundHost() {
  Stop();
  std::error_code ignored;
  fs::remove(errFile_, ignored);
}

bool BackgroundHost::WaitFor(const std::string& part, size_t count, int timeoutSeconds) {
  const auto occurrences = [&] {
    size_t n = 0;
    for (size_t at = out_.find(part); at != std::string::npos; at = out_.find(part, at + 1)) ++n;
    return n;
  };
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
  while (stdout_ >= 0 && occurrences() < count) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    pollfd fd{stdout_, POLLIN, 0};
    if (left.count() <= 0 || ::poll(&fd, 1, static_cast<int>(left.count())) <= 0) break;
    char buffer[4096];
    const ssize_t got = ::read(stdout_, buffer, sizeof buffer);
    if (got <= 0) break;  // the program ended
    out_.append(buffer, static_cast<size_t>(got));
  }
  return occurrences() >= count;
}

int BackgroundHost::Stop() {
  if (pid_ <= 0) return -1;
  ::kill(pid_, SIGTERM);
  int status = 0;
  ::waitpid(pid_, &status, 0);
  pid_ = -1;
  for (char buffer[4096];;) {  // what it wrote before it ended
    const ssize_t got = ::read(stdout_, buffer, sizeof buffer);
    if (got <= 0) break;
    out_.append(buffer, static_cast<size_t>(got));
  }
  ::close(stdout_);
  stdout_ = -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

std::string BackgroundHost::err() const { return ReadFile(errFile_); }

}  // namespace host::testing
