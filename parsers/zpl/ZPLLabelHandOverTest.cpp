// The parser hands each label's records to a label sink as the next label
// starts: the records, their order and the log are those of parsing the job
// whole, in both dialects, and only whole labels go early.
#include <algorithm>
#include <string>
#include <vector>

#include "parsers/zpl/ZPLTestSupport.h"

namespace zpltest {
namespace {

class ZPLLabelHandOverTest : public ZPLParserTestBase {
 protected:
  struct Parsed {
    std::vector<std::vector<std::wstring>> handed;  // per call of the sink
    std::vector<std::wstring> rest;                 // what ParseData returned
    std::vector<std::wstring> All() const {
      std::vector<std::wstring> all;
      for (const auto& label : handed) all.insert(all.end(), label.begin(), label.end());
      all.insert(all.end(), rest.begin(), rest.end());
      return all;
    }
  };

  Parsed ParseWithSink(const std::string& job, ZplDialect dialect) {
    Parsed parsed;
    auto made = zpltest::MakeParser(&data_, dialect);
    CLanguageParserBase& parser = *made;
    parser.SetLabelSink([&parsed](CommandList& records) {
      parsed.handed.push_back(DescribeRecords(records));
      records.clear();  // the sink may free them
    });
    CommandList rest;
    parser.ParseData(job.data(), static_cast<int32_t>(job.size()), rest);
    parsed.rest = DescribeRecords(rest);
    return parsed;
  }

  std::vector<std::wstring> ParseWhole(const std::string& job, ZplDialect dialect) {
    auto made = zpltest::MakeParser(&data_, dialect);
    CLanguageParserBase& parser = *made;
    CommandList records;
    parser.ParseData(job.data(), static_cast<int32_t>(job.size()), records);
    return DescribeRecords(records);
  }
};

TEST_F(ZPLLabelHandOverTest, HandedLabelsAndTheRestAreTheWholeJobsRecords) {
  struct Case {
    std::string job;
    ZplDialect dialect;
    size_t handed;  // sink calls: one per label that another follows
  };
  const Case cases[] = {
      {"^XA^FO10,10^A0N,30,30^FDOne^FS^XZ", ZplDialect::kDevice, 0},
      {"^XA^FO10,10^A0N,30,30^FDOne^FS^XZ^XA^FO5,5^GB50,50,2^FS^XZ^XA^FDno origin^XZ",
       ZplDialect::kDevice, 2},
      {"^XA^FO1,1^FDa^FS^XZ^XA^FO2,2^FDb^FS^PQ3^XZ", ZplDialect::kFull, 1},
      // The last field before a label's start belongs to what came before.
      {"^XA^FO1,1^FDa^FS^XZ^FO3,3^FDloose^XA^FO2,2^FDb^FS^XZ", ZplDialect::kFull, 1},
      // Serial numbers take the quantity of their own format only.
      {"^XA^FO1,1^SN001,1,Y^FS^PQ2^XZ^XA^FO1,1^SN005,1,Y^FS^PQ4,1^XZ", ZplDialect::kFull, 1},
      // "^FR" after a label's end looks back at a shape of that label.
      {"^XA^FO1,1^GB20,20,20^FS^XZ^FR^XA^FO1,1^GB9,9,9^FR^FS^XZ", ZplDialect::kFull, 1},
      // Formats that only set the printer up start no label.
      {"junk before ^XA^XZ^XA^XZ^XA^XZ", ZplDialect::kFull, 0},
      {"^XA^FO1,1^FDa^FS^XZ^XA^PON^XZ^XA^FO2,2^FDb^FS^XZ", ZplDialect::kFull, 1},
  };
  for (const Case& c : cases) {
    const std::vector<std::wstring> whole = ParseWhole(c.job, c.dialect);
    const std::vector<std::string> wholeLog = LogMessages();
    const Parsed parsed = ParseWithSink(c.job, c.dialect);
    EXPECT_EQ(parsed.All(), whole) << c.job;
    EXPECT_EQ(parsed.handed.size(), c.handed) << c.job;
    for (const auto& label : parsed.handed) {
      ASSERT_FALSE(label.empty()) << c.job;
      EXPECT_EQ(label.front().rfind(L"START_LABEL", 0), 0u) << c.job;
    }
    // Each pass logs the same lines again.
    const std::vector<std::string> log = LogMessages();
    ASSERT_EQ(log.size(), 2 * wholeLog.size()) << c.job;
    EXPECT_TRUE(std::equal(wholeLog.begin(), wholeLog.end(), log.begin() + wholeLog.size()))
        << c.job;
  }
}

TEST_F(ZPLLabelHandOverTest, WithoutASinkEveryRecordComesBackFromParseData) {
  const std::string job = "^XA^FO1,1^FDa^FS^XZ^XA^FO2,2^FDb^FS^XZ";
  const std::vector<std::wstring> records = ParseWhole(job, ZplDialect::kDevice);
  EXPECT_EQ(std::count_if(records.begin(), records.end(),
                          [](const std::wstring& r) { return r.rfind(L"PRINT_LABEL", 0) == 0; }),
            2);
}

}  // namespace
}  // namespace zpltest
