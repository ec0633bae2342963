#pragma once
// Shared by the ZPL parser tests: a fixture that parses jobs against its own
// keyword table with the error log in a temporary store, and a compact text
// form of records ("19 Hello|50|100|...") so expectations read like tables.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "parsers/zpl/ZPLData.h"
#include "parsers/zpl/ZPLParser.h"
#include "platform/StorageCard.h"
#include "platform/Text.h"
#include "testing/ScopedStoreRoot.h"

namespace zpltest {

// "KIND p0|p1|..." for each record, in order.
inline std::vector<std::wstring> Describe(const CommandList& records) {
  std::vector<std::wstring> lines;
  for (const LabelCommand& record : records) {
    std::wstring line = platform::IntToWide(record.kind);
    for (size_t i = 0; i < record.params.size(); ++i) line += (i ? L"|" : L" ") + record.params[i];
    lines.push_back(line);
  }
  return lines;
}

class ZPLParserTestBase : public ::testing::Test {
 protected:
  CommandList Parse(std::string_view job, int dpi = 300) {
    CZPLParser parser(&data_);
    parser.SetParserDPI(dpi);
    CommandList records;
    parser.ParseData(job.data(), static_cast<int32_t>(job.size()), records);
    return records;
  }
  std::vector<std::wstring> ParseAndDescribe(std::string_view job, int dpi = 300) {
    return Describe(Parse(job, dpi));
  }
  // A table of jobs and the records each makes.
  using JobCase = std::pair<std::string, std::vector<std::wstring>>;
  template <size_t N>
  void CheckJobs(const JobCase (&cases)[N]) {
    for (const auto& [job, records] : cases) EXPECT_EQ(ParseAndDescribe(job), records) << job;
  }

  // The messages of the error log, without their time prefixes.
  std::vector<std::string> LogMessages() const {
    std::ifstream file(root_ / "Logging" / "ZPL_ERROR_LOG.TXT", std::ios::binary);
    std::vector<std::string> messages;
    for (std::string line; std::getline(file, line);) {
      messages.push_back(line.substr(line.find("] ") + 2, line.size() - line.find("] ") - 3));
    }
    return messages;
  }

  ScopedStoreRoot store_{"zpl-parser-tests"};
  const std::filesystem::path& root_ = store_.Root();
  ZPLData data_;
};

}  // namespace zpltest
