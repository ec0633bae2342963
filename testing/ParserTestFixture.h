#pragma once
// The fixture every parser's tests share: a parser of one language run over a
// job with the language's attribute record and its error log in a store of the
// test's own, and the log's messages read back. Every parser takes any job:
// ParseData answers true. Each language's tests derive a
// fixture that adds only how they write their jobs. Header-only.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "record/LabelCommand.h"
#include "testing/LogFiles.h"
#include "testing/RecordText.h"
#include "testing/ScopedStoreRoot.h"

// `Parser` is made from a `Data*`; its error log is `logName` in the store.
template <class Parser, class Data>
class ParserTestFixture : public ::testing::Test {
 protected:
  ParserTestFixture(const std::string& storeName, std::string logName)
      : store_(storeName), logName_(std::move(logName)) {}

  // Parses from a fresh start: a new attribute record and an empty log.
  CommandList Parse(std::string_view job, int dpi = 300) {
    data_ = Data();
    std::filesystem::remove_all(root_);
    return ParseAgain(job, dpi);
  }
  // Parses keeping what earlier jobs left in the record and the log.
  CommandList ParseAgain(std::string_view job, int dpi = 300) {
    Parser parser(&data_);
    parser.SetParserDPI(dpi);
    CommandList out;
    EXPECT_TRUE(parser.ParseData(job.data(), static_cast<int32_t>(job.size()), out));
    return out;
  }

  // The messages logged so far, without their time stamps and line breaks.
  std::vector<std::string> Logged() const { return LogFileMessages(root_, logName_); }

  ScopedStoreRoot store_;
  const std::filesystem::path& root_ = store_.Root();
  std::string logName_;
  Data data_;
};
