#pragma once
// Helpers for labelhost's end-to-end tests: a scratch folder per test, a way
// to run the built program in it and collect what it printed, and a reader
// for the PNG files it writes.

#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace host::testing {

// A fresh folder under the system's temporary folder, removed afterwards.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
  // Writes `bytes` to `name` inside the folder and returns its path.
  std::filesystem::path Write(const std::string& name, const std::string& bytes) const;

 private:
  std::filesystem::path path_;
};

struct RunResult {
  int exitCode = -1;
  std::string out;
  std::string err;
};

struct RunSettings {
  std::filesystem::path workDir;  // empty: the current folder
  std::string stdinFile;          // empty: /dev/null
  long fileSizeLimitBlocks = 0;   // ulimit -f; 0: none
};

// Runs the built labelhost with `args` and waits for it.
RunResult RunHost(const std::vector<std::string>& args, const RunSettings& settings = {});
// Runs `command` inside `dir`, with the store and output folders "store" and "out" there.
RunResult RunIn(const ScratchDir& dir, const std::string& command, std::vector<std::string> args,
                RunSettings settings = {});

// Runs a shell `command` and returns what it printed on standard output and
// its exit status (-1 when it did not exit).
std::pair<std::string, int> Capture(const std::string& command);

// A run of labelhost in the background, in `dir` like RunIn, its standard
// input read from `stdinFile` (a file or a FIFO; empty: /dev/null). Wait
// collects it (giving up, with exit code -1, after two minutes).
class BackgroundRun {
 public:
  BackgroundRun(const ScratchDir& dir, const std::string& command, std::vector<std::string> args,
                const std::string& stdinFile = "");
  RunResult Wait();

 private:
  ScratchDir capture_;
};

// The folder that holds the repository's examples.
std::filesystem::path ExamplesDir();

std::string ReadFile(const std::filesystem::path& file);
std::vector<std::string> SplitLines(const std::string& text);
// The names of the files (not folders) in `folder`, sorted.
std::vector<std::string> FileNames(const std::filesystem::path& folder);

// What a PNG file says about itself, and its ink.
struct PngInfo {
  bool valid = false;
  uint32_t width = 0;
  uint32_t height = 0;
  int bitDepth = 0;
  int colourType = -1;
  int dpiX = 0;  // from pHYs; 0 without it
  int dpiY = 0;
  uint64_t inkDots = 0;  // dark dots
  int inkLeft = -1;      // the first column and row with ink; -1 without ink
  int inkTop = -1;
  int inkRight = -1;  // the last column and row with ink
  int inkBottom = -1;
  std::vector<bool> ink;  // row by row
  bool Ink(int x, int y) const {
    return x >= 0 && y >= 0 && static_cast<uint32_t>(x) < width &&
           static_cast<uint32_t>(y) < height && ink[static_cast<size_t>(y) * width + x];
  }
};
PngInfo ReadPng(const std::filesystem::path& file);

// labelhost running in the background (for watch), its standard output read
// as it comes. Stopped with SIGTERM when the object goes.
class BackgroundHost {
 public:
  BackgroundHost(const std::vector<std::string>& args, const std::filesystem::path& workDir);
  ~BackgroundHost();
  BackgroundHost(const BackgroundHost&) = delete;
  BackgroundHost& operator=(const BackgroundHost&) = delete;

  // Reads standard output until it holds `part` `count` times in all, or the
  // program ends, or `timeoutSeconds` pass (a safety net, not a measurement).
  bool WaitFor(const std::string& part, size_t count, int timeoutSeconds = 60);
  // Sends SIGTERM and returns the exit status (128 + signal when killed by one).
  int Stop();

  const std::string& out() const { return out_; }
  std::string err() const;

 private:
  int pid_ = -1;
  int stdout_ = -1;
  std::filesystem::path errFile_;
  std::string out_;
};

}  // namespace host::testing
