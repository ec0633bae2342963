#include "host/HostTestSupport.h"

#include <png.h>
#include <sys/wait.h>
#include <unistd.h>

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

RunResult RunIn(const ScratchDir& dir, const std::string& command, std::vector<std::string> args,
                RunSettings settings) {
  args.insert(args.begin(), {command, "--store", "store", "--out", "out"});
  settings.workDir = dir.path();
  return RunHost(args, settings);
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
  for (size_t i = 0; i < grey.size(); ++i) {
    if (grey[i] >= 128) continue;
    const int x = static_cast<int>(i % image.width), y = static_cast<int>(i / image.width);
    ++info.inkDots;
    if (info.inkTop < 0) info.inkTop = y;
    if (info.inkLeft < 0 || x < info.inkLeft) info.inkLeft = x;
  }
  return info;
}

}  // namespace host::testing
