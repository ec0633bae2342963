#pragma once
// Shared by the ZPL parser tests: the parser of either dialect, and the shared
// parser fixture over the device dialect; records print in the compact text
// form of testing/RecordText.h ("TEXT Hello|50|100|...").

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "parsers/zpl/ZPLData.h"
#include "parsers/zpl/ZPLParser.h"
#include "parsers/zpl/ZplDialect.h"
#include "parsers/zpl/full/ZPLFullParser.h"
#include "testing/ParserTestFixture.h"

namespace zpltest {

// The parser of `dialect`, as the parser factory makes it.
inline std::unique_ptr<ZPLParserCore> MakeParser(ZPLData* data, ZplDialect dialect) {
  if (dialect == ZplDialect::kFull) return std::make_unique<ZPLFullParser>(data);
  return std::make_unique<CZPLParser>(data);
}

// The shared parser fixture over the device dialect's parser. The keyword
// table and the log carry from job to job within a test, as on the printer.
class ZPLParserTestBase : public ParserTestFixture<CZPLParser, ZPLData> {
 protected:
  ZPLParserTestBase() : ParserTestFixture("zpl-parser-tests", "ZPL_ERROR_LOG.TXT") {}

  CommandList Parse(std::string_view job, int dpi = 300) { return ParseAgain(job, dpi); }
  std::vector<std::wstring> ParseAndDescribe(std::string_view job, int dpi = 300) {
    return DescribeRecords(Parse(job, dpi));
  }
  // A table of jobs and the records each makes.
  using JobCase = std::pair<std::string, std::vector<std::wstring>>;
  template <size_t N>
  void CheckJobs(const JobCase (&cases)[N]) {
    for (const auto& [job, records] : cases) EXPECT_EQ(ParseAndDescribe(job), records) << job;
  }

  std::vector<std::string> LogMessages() const { return Logged(); }
};

}  // namespace zpltest
