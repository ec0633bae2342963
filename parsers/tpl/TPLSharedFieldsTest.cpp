// Values TPLData keeps from one block or job to the next: what carries over
// must mean the same thing where it is read again.

#include <gtest/gtest.h>

#include <tuple>

#include "parsers/tpl/TPLParser.h"
#include "parsers/tpl/TPLTestJob.h"

namespace {

using TPLSharedFieldsTest = TPLJobTest;

// A picture's reverse flag is its own: an earlier reversed text does not pass it on.
TEST_F(TPLSharedFieldsTest, APictureIsReversedOnlyByItsOwnBlock) {
  const std::pair<std::string, const wchar_t*> cases[] = {
      {InLabel("STARTTEXT;STYLES REVERSE;ENDTEXT;STARTGRAPHICS;IMAGENAME A.PNG;ENDGRAPHICS"), L"F"},
      {InLabel("STARTGRAPHICS;IMAGENAME A.PNG;STYLES REVERSE;ENDGRAPHICS;"
               "STARTGRAPHICS;ENDGRAPHICS"),
       L"F"},
      {InLabel("STARTGRAPHICS;IMAGENAME A.PNG;STYLES REVERSE;ENDGRAPHICS"), L"T"},
  };
  for (const auto& [job, reverse] : cases) {
    CommandList commands = Parse(job);
    ASSERT_EQ(commands.back().kind, GRAPHIC) << job;
    EXPECT_EQ(commands.back().params.back(), reverse) << job;
  }
}

// The label length and offsets are kept in dots, so a later job in other
// units sends the length and offsets the first job meant, not a second
// conversion of its numbers.
TEST_F(TPLSharedFieldsTest, LengthAndOffsetsCarryInDots) {
  const std::tuple<std::string, std::string, const wchar_t*> cases[] = {
      {"SETUNITS MM;LABELHEIGHT 25.4;LABELOFFSET 2.54,5.08", "LABELNEGATIVE;LABELOFFSET X",
       L"300|30|60"},
      {"SETUNITS DOTS;LABELWIDTH 450;LABELOFFSET 7,9", "SETUNITS MM;LABELNEGATIVE;LABELOFFSET X",
       L"450|7|9"},
      {"LABELHEIGHT 1.5;LABELOFFSET 0.1,0.2", "SETUNITS DOTS;LABELNEGATIVE;LABELOFFSET X",
       L"450|30|60"},
  };
  for (const auto& [first, second, expected] : cases) {
    Parse(Job(first));
    TPLParser parser(&data_);  // the same record, as the factory hands it on
    parser.SetParserDPI(300);
    const std::string job = Job(second);
    CommandList out;
    parser.ParseData(job.data(), static_cast<int32_t>(job.size()), out);
    ASSERT_EQ(KindsOf(out), Named({LABEL_NEGATIVE, LABEL_OFFSET})) << second;
    EXPECT_EQ(out[0].params[0] + L"|" + JoinedParams(out[1].params), expected) << first;
  }
}

}  // namespace
