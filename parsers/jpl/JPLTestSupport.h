#pragma once
// Shared by the JPL parser tests: the shared parser fixture, and a compact
// text form of records with their kinds as numbers ("19 Hello|118|201|...")
// so expectations read like tables.

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "parsers/jpl/JPLData.h"
#include "parsers/jpl/JPLParser.h"
#include "platform/Text.h"
#include "testing/ParserTestFixture.h"

namespace jpltest {

using Lines = std::vector<std::wstring>;

// "KIND p0|p1|..." for each record, in order.
inline Lines Describe(const CommandList& records) {
  Lines lines;
  for (const LabelCommand& record : records) {
    std::wstring line = platform::IntToWide(record.kind);
    for (size_t i = 0; i < record.params.size(); ++i) line += (i ? L"|" : L" ") + record.params[i];
    lines.push_back(line);
  }
  return lines;
}

class JPLParserTestBase : public ParserTestFixture<CJPLParser, JPLData> {
 protected:
  JPLParserTestBase() : ParserTestFixture("jpl-parser-tests", "JPL_ERROR_LOG.TXT") {}

  // The keyword table carries from job to job, as on the printer: a test's
  // jobs run one after the other against it.
  Lines ParseAndDescribe(std::string_view job, int dpi = 300) {
    return Describe(ParseAgain(job, dpi));
  }

  // The records of a job without the label start, end and print around them.
  Lines Objects(std::string_view job, int dpi = 300) {
    Lines objects;
    for (std::wstring& line : ParseAndDescribe(job, dpi)) {
      if (line != L"1" && line != L"2" && line != L"5") objects.push_back(std::move(line));
    }
    return objects;
  }

  // A table of jobs and the object records each makes.
  using JobCase = std::pair<std::string, Lines>;
  template <size_t N>
  void CheckObjects(const JobCase (&cases)[N]) {
    for (const auto& [job, records] : cases) EXPECT_EQ(Objects(job), records) << job;
  }
};

}  // namespace jpltest
