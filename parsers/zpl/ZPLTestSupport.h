#pragma once
// Shared by the ZPL parser tests: a fixture that parses jobs against its own
// keyword table with the error log in a temporary store, and a compact text
// form of records ("19 Hello|50|100|...") so expectations read like tables.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "parsers/zpl/ZPLData.h"
#include "parsers/zpl/ZPLParser.h"
#include "platform/StorageCard.h"
#include "platform/Text.h"

namespace zpltest {

// "KIND p0|p1|..." for each record, in order.
inline std::vector<std::wstring> Describe(const CommandList& records) {
  std::vector<std::wstring> lines;
  for (const LabelCommand& record : records) {
    std::wstring line = platform::IntToWide(record.kind);
    for (size_t i = 0; i < record.params.size(); ++i) {
      line += (i == 0 ? L" " : L"|") + record.params[i];
    }
    lines.push_back(line);
  }
  return lines;
}

class ZPLParserTestBase : public ::testing::Test {
 protected:
  void SetUp() override {
    previousRoot_ = platform::StoreRoot();
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    root_ = std::filesystem::temp_directory_path() /
            (std::string("zpl-test-") + info->test_suite_name() + "-" + info->name());
    std::filesystem::remove_all(root_);
    platform::SetStoreRoot(root_);
  }
  void TearDown() override {
    platform::SetStoreRoot(previousRoot_);
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
  }

  CommandList Parse(std::string_view job, int dpi = 300) {
    CZPLParser parser(&data_);
    parser.SetParserDPI(dpi);
    CommandList records;
    EXPECT_TRUE(parser.ParseData(job.data(), static_cast<int32_t>(job.size()), records));
    return records;
  }
  std::vector<std::wstring> ParseAndDescribe(std::string_view job, int dpi = 300) {
    return Describe(Parse(job, dpi));
  }

  // The messages of the error log, without their time prefixes.
  std::vector<std::string> LogMessages() const {
    std::ifstream file(root_ / "Logging" / "ZPL_ERROR_LOG.TXT", std::ios::binary);
    std::vector<std::string> messages;
    std::string line;
    while (std::getline(file, line)) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      size_t prefixEnd = line.find("] ");
      messages.push_back(prefixEnd == std::string::npos ? line : line.substr(prefixEnd + 2));
    }
    return messages;
  }

  ZPLData data_;
  std::filesystem::path root_;

 private:
  std::filesystem::path previousRoot_;
};

}  // namespace zpltest
