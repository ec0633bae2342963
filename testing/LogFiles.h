#pragma once
// The store's error logs as tests read them back: the whole text, or the
// messages alone, without the time stamp each line starts with and the CR LF
// it ends with. Header-only: any test may use it.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

// The text of log `name` ("ZPL_ERROR_LOG.TXT") in the Logging folder of the
// store at `root`; empty when there is no such log.
inline std::string ReadLogFile(const std::filesystem::path& root, std::string_view name) {
  std::ifstream in(root / "Logging" / name, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// Its messages, one per line. Every line must carry the stamp
// "[MM/DD/YYYY, HH:MM:SS] " and end in CR LF.
inline std::vector<std::string> LogFileMessages(const std::filesystem::path& root,
                                                std::string_view name) {
  constexpr size_t kStamp = sizeof("[01/15/2024, 09:05:07] ") - 1;
  std::istringstream lines(ReadLogFile(root, name));
  std::vector<std::string> messages;
  for (std::string line; std::getline(lines, line);) {
    EXPECT_TRUE(line.size() >= kStamp && line[0] == '[' && line[kStamp - 2] == ']') << line;
    EXPECT_TRUE(!line.empty() && line.back() == '\r') << line;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    messages.push_back(line.size() >= kStamp ? line.substr(kStamp) : line);
  }
  return messages;
}
