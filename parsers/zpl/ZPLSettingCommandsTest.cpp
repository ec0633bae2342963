// Label-level and setting commands, and the defaults that carry from job to job.

#include "intake/Languages.h"
#include "parsers/ParserFactory.h"
#include "parsers/zpl/ZPLTestSupport.h"
#include "platform/Clock.h"

namespace {

using zpltest::ZPLParserTestBase;
using Lines = std::vector<std::wstring>;

using ZPLSettingTest = ZPLParserTestBase;

TEST_F(ZPLSettingTest, EachCommandYieldsItsRecordOrItsCountError) {
  platform::ScopedFixedClock clock({2024, 1, 15, 9, 5, 7});
  // Each command in turn: accepted, a count error, or silently rejected.
  const JobCase cases[] = {
      {"^XA^XZ~WC", {L"START_LABEL", L"END_LABEL", L"PRINT_LABEL", L"PRINT_CONFIGURATION_LABEL"}},
      {"^PQ5^PQ,2^PQ1,2,3,4,5^PQx^PQ3-",
       {L"PRINT_QUANTITY 5|0|0|N", L"PRINT_QUANTITY 1|2|0|N",
        L"SCRIPT_ERROR Incorrect Number of Parameters for PRINT QUANTITY"}},
      {"^LL1200^LL^LL1,2^LL1.5",
       {L"LABEL_LENGTH 1200", L"LABEL_LENGTH ",
        L"SCRIPT_ERROR Incorrect Number of Parameters for LABEL LENGTH"}},
      {"~TA015~TA1,2",
       {L"TEAROFF_POSITION 015",
        L"SCRIPT_ERROR Incorrect Number of Parameters for TEAROFF ADJUST"}},
      {"^POI^PON^PO", {L"PRINT_ROTATION 180", L"PRINT_ROTATION 0", L"PRINT_ROTATION 0"}},
      {"^PMY^PM^PMY,N",
       {L"MIRROR_PRINTING Y", L"MIRROR_PRINTING N",
        L"SCRIPT_ERROR Incorrect Number of Parameters for PRINT MIRROR"}},
      {"^FR^MUD^MU1,2,3,4^FX a comment, with commas",
       {L"LABEL_NEGATIVE ",
        L"SCRIPT_ERROR Incorrect Number of Parameters for ParseUnitsOfMeasure"}},
      {"^ST^ST12,31,2023,23,59,58,A^ST,,2030^ST1,2,3,4,5,6,7,8^ST1,2,3,4,x",
       {L"DATE_AND_TIME 1|15|2024|9|5|7|M", L"DATE_AND_TIME 12|31|2023|23|59|58|A",
        L"DATE_AND_TIME 1|15|2030|9|5|7|M",
        L"SCRIPT_ERROR Incorrect Number of Parameters for SET DATE AND TIME"}},
      {"^CF1,2,3,4^BY1,2,3,4^FWN,1",
       {L"SCRIPT_ERROR Incorrect Number of Parameters for CHANGE ALPHANUMERIC DEFAULT FONT",
        L"SCRIPT_ERROR Incorrect Number of Parameters for BARCODE FIELD DEFAULT",
        L"SCRIPT_ERROR Incorrect Number of Parameters for Field Orientation"}},
  };
  CheckJobs(cases);
}

// Empty positions keep the current default; a failed number check changes nothing.
TEST_F(ZPLSettingTest, DefaultsChangeOnlyWhenTheWholeCommandIsAccepted) {
  Parse("^CFB,40,20^CF,,30^CFC,x^BY3,2.5^BY4,2.5.1,10^FWR^FWN,1");
  EXPECT_EQ(Lines({data_.font, data_.fontHeight, data_.fontWidth}), (Lines{L"B", L"40", L"30"}));
  EXPECT_EQ(Lines({data_.barcodeModuleWidth, data_.barcodeRatio, data_.barcodeHeight}),
            (Lines{L"3", L"2.5", L"600"}));
  EXPECT_EQ(data_.fieldOrientation, L"R");
  // The barcode orientation is compared exactly: lower case is not a turn.
  // The "^BY" module travels in dots as well (a 3-dot module prints 3 dots).
  EXPECT_EQ(ParseAndDescribe("^FWr^FO1,2^BC,50^FD7"),
            (Lines{L"BARCODE Code 128 Auto|7|1|2|50|0|T|BOTTOM|10|2.5|F||||||3"}));
}

// Jobs run through the factory's shared keyword table, as the session runs them.
CommandList ParseJob(CParserFactory& factory, std::string_view job) {
  auto parser = factory.GetParser(LANGUAGE_ZPL);
  CommandList records;
  if (parser) parser->ParseData(job.data(), static_cast<int32_t>(job.size()), records);
  return records;
}

TEST_F(ZPLSettingTest, FontBarcodeAndOrientationDefaultsCarryOverToTheNextJob) {
  const char* secondJob = "^XA^FO1,1^A^FDx^FS^FO1,1^BC^FD1^FS^XZ";
  CParserFactory factory;
  ParseJob(factory, "^XA^CFB,40,20^BY4,2.0,77^FWI^XZ");
  EXPECT_EQ(DescribeRecords(ParseJob(factory, secondJob)),
            (Lines{L"START_LABEL", L"TEXT x|1|1|20|40|Courier New|FREEFORM|10|L||0|F|1|F|F|F|F|F",
                   L"BARCODE Code 128 Auto|1|1|1|77|180|T|BOTTOM|13|2.0|F||||||4", L"END_LABEL",
                   L"PRINT_LABEL"}));

  CParserFactory fresh;
  EXPECT_EQ(
      DescribeRecords(ParseJob(fresh, secondJob)),
      (Lines{L"START_LABEL", L"TEXT x|1|1|5|9|Arial|FREEFORM|2|L||0|F|1|F|F|F|F|F",
             L"BARCODE Code 128 Auto|1|1|1|600|0|T|BOTTOM|0|0|F", L"END_LABEL", L"PRINT_LABEL"}));
}

}  // namespace
