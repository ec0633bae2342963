// Both dialects write each record once, complete: what a parse hands out,
// through the label sink and its list, is every record as it was appended,
// in the order appended. A handler that changed a record after appending it
// (a serial number's label count set at "^XZ", a shape's ink set by a later
// "^FR") would show here as a difference.

#include <string>
#include <utility>
#include <vector>

#include "parsers/zpl/ZPLTestSupport.h"

namespace {

using zpltest::ZPLParserTestBase;
using Lines = std::vector<std::wstring>;

class ZPLRecordsAppendOnlyTest : public ZPLParserTestBase {
 protected:
  struct Trail {
    Lines appended;  // each record as it was appended
    Lines handed;    // what the sink and the list received, in order
  };

  Trail Follow(const std::string& job, ZplDialect dialect) {
    Trail trail;
    auto parser = zpltest::MakeParser(&data_, dialect);
    parser->SetParserDPI(203);
    parser->WatchRecords(
        [&trail](const LabelCommand& record) { trail.appended.push_back(DescribeRecord(record)); });
    parser->SetLabelSink([&trail](CommandList& records) {
      for (const std::wstring& line : DescribeRecords(records)) trail.handed.push_back(line);
      records.clear();
    });
    CommandList rest;
    parser->ParseData(job.data(), static_cast<int32_t>(job.size()), rest);
    for (const std::wstring& line : DescribeRecords(rest)) trail.handed.push_back(line);
    return trail;
  }
};

TEST_F(ZPLRecordsAppendOnlyTest, WhatIsHandedOutIsWhatWasAppended) {
  const std::pair<std::string, ZplDialect> cases[] = {
      {"^XA^FO10,10^A0N,30,30^FDOne^FS^PQ2^XZ^XA^FO1,1^GB10,10,2^FS^XZ", ZplDialect::kDevice},
      {"^XA^FO5,5^BCN,50^FD123^FS^FO1,1^GD9,9^FS^XZ^XA^FO1,1^A0^FDa^FS^A0^FDb^FS^XZ",
       ZplDialect::kDevice},
      // "^PQ" after the serial numbers it counts.
      {"^XA^FO1,1^SN001,1,Y^FS^FO1,40^FDplain^FS^FOx^PQ3,0,1^XZ", ZplDialect::kFull},
      // "^FR" and "^LR" after the objects they reverse.
      {"^XA^FO1,1^GB20,20,2,W^FR^FS^FO2,2^GD10,10,2^FR^FS^XZ", ZplDialect::kFull},
      {"^XA^LRY^FO1,1^GE9,9,9^FS^LRN^FT5,50^GB9,9,9^FS^XZ", ZplDialect::kFull},
      {"^XA^FT10,100^BCN,50^FD123^FS^FT10,200^BSN,20^FD12^FS^FO1,1^BQN,2,4^FDQA,x^FS^XZ",
       ZplDialect::kFull},
      // A job cut off in a format, after a serial number and a shape.
      {"^XA^FO1,1^SN5^FS^FO2,2^GB5,5,5", ZplDialect::kFull},
  };
  for (const auto& [job, dialect] : cases) {
    const Trail trail = Follow(job, dialect);
    EXPECT_FALSE(trail.handed.empty()) << job;
    EXPECT_EQ(trail.handed, trail.appended) << job;
  }
}

// Holding a format's records back for its "^PQ" changes neither their order
// nor what they say.
TEST_F(ZPLRecordsAppendOnlyTest, SerialNumbersCountTheLabelsOfAQuantityThatFollows) {
  const Trail trail = Follow("^XA^FO1,1^SN7^FS^FO1,40^GB5,5,5^FR^FS^PQ3^XZ", ZplDialect::kFull);
  ASSERT_EQ(trail.handed.size(), 6u);
  EXPECT_TRUE(trail.handed[1].starts_with(L"SEQUENCE_TEXT 7|")) << trail.handed[1];
  EXPECT_NE(trail.handed[1].find(L"|7|1|3|||"), std::wstring::npos) << trail.handed[1];
  EXPECT_TRUE(trail.handed[2].starts_with(L"SHAPE RECTANGLE|")) << trail.handed[2];
  EXPECT_TRUE(trail.handed[2].ends_with(L"|R")) << trail.handed[2];
  EXPECT_EQ(trail.handed[3], L"PRINT_QUANTITY 1|0|0|N");
}

}  // namespace
