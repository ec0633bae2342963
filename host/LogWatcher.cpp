#include "host/LogWatcher.h"

#include <fstream>

namespace host {
namespace {

// The bytes of `file` from `offset` up to and including its last line end.
std::string ReadTail(const std::filesystem::path& file, uintmax_t offset, uintmax_t size) {
  std::ifstream in(file, std::ios::binary);
  if (!in || size <= offset) return {};
  in.seekg(static_cast<std::streamoff>(offset));
  std::string bytes(static_cast<size_t>(size - offset), '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  bytes.resize(static_cast<size_t>(in.gcount()));
  const size_t lastEnd = bytes.find_last_of('\n');
  bytes.resize(lastEnd == std::string::npos ? 0 : lastEnd + 1);
  return bytes;
}

void SplitLines(const std::string& file, const std::string& bytes, std::vector<LogLine>& out) {
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find('\n', start);
    if (end == std::string::npos) end = bytes.size();
    std::string text = bytes.substr(start, end - start);
    if (!text.empty() && text.back() == '\r') text.pop_back();
    if (!text.empty()) out.push_back(LogLine{file, std::move(text)});
    start = end + 1;
  }
}

}  // namespace

LogWatcher::LogWatcher(std::filesystem::path loggingFolder) : folder_(std::move(loggingFolder)) {}

std::map<std::string, uintmax_t> LogWatcher::Sizes() const {
  std::map<std::string, uintmax_t> sizes;
  std::error_code ec;
  for (std::filesystem::directory_iterator it(folder_, ec), end; !ec && it != end;
       it.increment(ec)) {
    std::error_code sizeError;
    if (!it->is_regular_file(sizeError)) continue;
    const uintmax_t size = it->file_size(sizeError);
    if (!sizeError) sizes[it->path().filename().string()] = size;
  }
  return sizes;
}

void LogWatcher::Mark() { marks_ = Sizes(); }

std::vector<LogLine> LogWatcher::Collect() {
  std::vector<LogLine> lines;
  const auto sizes = Sizes();
  for (const auto& [name, size] : sizes) {
    auto mark = marks_.find(name);
    uintmax_t from = mark == marks_.end() ? 0 : mark->second;
    if (size < from) from = 0;  // replaced since the mark
    // A line still being written stays for the next Collect.
    const std::string tail = ReadTail(folder_ / name, from, size);
    SplitLines(name, tail, lines);
    marks_[name] = from + tail.size();
  }
  return lines;
}

}  // namespace host
