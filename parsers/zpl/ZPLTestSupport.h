#pragma once
// Shared by the ZPL parser tests: a fixture that parses jobs against its own
// keyword table with the error log in a temporary store; records print in the
// compact text form of testing/RecordText.h ("TEXT Hello|50|100|...").

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "parsers/zpl/ZPLData.h"
#include "parsers/zpl/ZPLParser.h"
#include "parsers/zpl/ZplDialect.h"
#include "parsers/zpl/full/ZPLFullParser.h"
#include "platform/StorageCard.h"
#include "platform/Text.h"
#include "testing/LogFiles.h"
#include "testing/RecordText.h"
#include "testing/ScopedStoreRoot.h"

namespace zpltest {

// The parser of `dialect`, as the parser factory makes it.
inline std::unique_ptr<ZPLParserCore> MakeParser(ZPLData* data, ZplDialect dialect) {
  if (dialect == ZplDialect::kFull) return std::make_unique<ZPLFullParser>(data);
  return std::make_unique<CZPLParser>(data);
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
    return DescribeRecords(Parse(job, dpi));
  }
  // A table of jobs and the records each makes.
  using JobCase = std::pair<std::string, std::vector<std::wstring>>;
  template <size_t N>
  void CheckJobs(const JobCase (&cases)[N]) {
    for (const auto& [job, records] : cases) EXPECT_EQ(ParseAndDescribe(job), records) << job;
  }

  // The messages of the error log, without their time prefixes.
  std::vector<std::string> LogMessages() const {
    return LogFileMessages(root_, "ZPL_ERROR_LOG.TXT");
  }

  ScopedStoreRoot store_{"zpl-parser-tests"};
  const std::filesystem::path& root_ = store_.Root();
  ZPLData data_;
};

}  // namespace zpltest
