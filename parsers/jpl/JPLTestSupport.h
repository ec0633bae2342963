#pragma once
// Shared by the JPL parser tests: a fixture that parses jobs against its own
// keyword table with the error log in a temporary store, and a compact text
// form of records ("19 Hello|118|201|...") so expectations read like tables.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "parsers/jpl/JPLData.h"
#include "parsers/jpl/JPLParser.h"
#include "platform/Text.h"
#include "testing/ScopedStoreRoot.h"

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

class JPLParserTestBase : public ::testing::Test {
 protected:
  CommandList Parse(std::string_view job, int dpi = 300) {
    CJPLParser parser(&data_);
    parser.SetParserDPI(dpi);
    CommandList records;
    parser.ParseData(job.data(), static_cast<int32_t>(job.size()), records);
    return records;
  }
  Lines ParseAndDescribe(std::string_view job, int dpi = 300) { return Describe(Parse(job, dpi)); }

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

  // The messages of the error log, without their time prefixes.
  std::vector<std::string> LogMessages() const {
    std::ifstream file(store_.Root() / "Logging" / "JPL_ERROR_LOG.TXT", std::ios::binary);
    std::vector<std::string> messages;
    for (std::string line; std::getline(file, line);) {
      const size_t start = line.find("] ") + 2;
      messages.push_back(line.substr(start, line.size() - start - 1));  // without the CR
    }
    return messages;
  }

  ScopedStoreRoot store_{"jpl-parser-tests"};
  JPLData data_;
};

}  // namespace jpltest
