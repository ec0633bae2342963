#include "host/HostTestSupport.h"

#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cmath>
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

std::string Inflate(const std::string& compressed, size_t expected) {
  std::string out(expected, '\0');
  uLongf size = static_cast<uLongf>(expected);
  if (uncompress(reinterpret_cast<Bytef*>(out.data()), &size,
                 reinterpret_cast<const Bytef*>(compressed.data()),
                 static_cast<uLong>(compressed.size())) != Z_OK) {
    return {};
  }
  out.resize(size);
  return out;
}

// Counts black dots of a 1-bit greyscale image; every row uses filter 0
// (none), which is how the writer stores bi-level rows.
void CountInk(const std::string& raw, PngInfo& info) {
  const size_t stride = (info.width + 7) / 8;
  if (raw.size() != (stride + 1) * info.height) return;
  for (uint32_t y = 0; y < info.height; ++y) {
    const size_t row = y * (stride + 1);
    if (raw[row] != 0) return;
    for (uint32_t x = 0; x < info.width; ++x) {
      const auto byte = static_cast<uint8_t>(raw[row + 1 + x / 8]);
      if (((byte >> (7 - x % 8)) & 1) != 0) continue;  // 0 is black in greyscale
      ++info.inkDots;
      if (info.inkTop < 0) info.inkTop = static_cast<int>(y);
      if (info.inkLeft < 0 || static_cast<int>(x) < info.inkLeft)
        info.inkLeft = static_cast<int>(x);
    }
  }
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
  for (const std::string& arg : args) command += " " + ShellQuote(arg);
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

std::vector<fs::path> FilesEndingIn(const fs::path& folder, const std::string& suffix) {
  std::vector<fs::path> files;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name.size() >= suffix.size() &&
        name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0) {
      files.push_back(it->path());
    }
  }
  std::sort(files.begin(), files.end());
  return files;
}

PngInfo ReadPng(const fs::path& file) {
  PngInfo info;
  const std::string bytes = ReadFile(file);
  if (bytes.size() < 8 || bytes.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0) return info;
  std::string idat;
  for (size_t at = 8; at + 12 <= bytes.size();) {
    const uint32_t length = BigEndian32(bytes, at);
    if (at + 12 + length > bytes.size()) return info;
    const std::string type = bytes.substr(at + 4, 4);
    const size_t data = at + 8;
    if (type == "IHDR" && length >= 13) {
      info.width = BigEndian32(bytes, data);
      info.height = BigEndian32(bytes, data + 4);
      info.bitDepth = static_cast<uint8_t>(bytes[data + 8]);
      info.colourType = static_cast<uint8_t>(bytes[data + 9]);
    } else if (type == "pHYs" && length >= 9 && bytes[data + 8] == 1) {
      info.dpiX = static_cast<int>(std::lround(BigEndian32(bytes, data) * 0.0254));
      info.dpiY = static_cast<int>(std::lround(BigEndian32(bytes, data + 4) * 0.0254));
    } else if (type == "IDAT") {
      idat += bytes.substr(data, length);
    } else if (type == "IEND") {
      info.valid = info.width > 0 && info.height > 0;
      break;
    }
    at += 12 + length;
  }
  if (info.valid && info.bitDepth == 1 && info.colourType == 0) {
    const size_t rawSize = ((info.width + 7) / 8 + 1) * static_cast<size_t>(info.height);
    CountInk(Inflate(idat, rawSize), info);
  }
  return info;
}

}  // namespace host::testing
