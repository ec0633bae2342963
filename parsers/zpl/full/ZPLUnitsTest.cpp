// "^MU": measurements in inches, millimetres or another resolution's dots
// become this printer's dots; what does not measure is left as written.

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "parsers/zpl/ZPLTestSupport.h"
#include "parsers/zpl/full/ZPLUnits.h"
#include "record/CommandRecord.h"

namespace {

TEST(ZPLUnitsTest, FactorsFollowTheUnitAndTheResolutions) {
  // parameters, printer dpi, factor
  const std::tuple<std::wstring, int, double> cases[] = {
      {L"D", 203, 1.0},       {L"I", 203, 203.0},       {L"i", 300, 300.0},
      {L"M", 254, 10.0},      {L"D,150,300", 203, 2.0}, {L"D,300,200", 300, 2.0 / 3.0},
      {L"D,0,300", 203, 1.0}, {L"", 203, 1.0},
  };
  for (const auto& [parameters, dpi, factor] : cases) {
    EXPECT_DOUBLE_EQ(ZplUnitFactor(parameters, dpi, 1.0), factor) << parameters.c_str();
  }
}

TEST(ZPLUnitsTest, OnlyMeasurementsAreScaled) {
  const std::pair<std::wstring, std::wstring> cases[] = {
      {L"^FO1.5,2,1", L"^FO12,16,1"},  // justification is no measure
      {L"^A0N,2.5,2", L"^A0N,20,16"},  // the font letter is none either
      {L"^GB10,0,0.5,B,3", L"^GB80,0,4,B,3"},
      {L"^BCN,1.5,Y,N", L"^BCN,12,Y,N"},
      {L"^FDkeep 1,2", L"^FDkeep 1,2"},  // data is not measured
      {L"^FO,x", L"^FO,x"},              // empty or malformed stays for the handler
  };
  for (const auto& [command, scaled] : cases) {
    EXPECT_EQ(ScaleZplMeasurements(command, 8.0), scaled);
  }
  EXPECT_EQ(ScaleZplMeasurements(L"^FO1.5,2", 1.0), L"^FO1.5,2");
}

class ZPLUnitsJobTest : public zpltest::ZPLParserTestBase {};

// Fields of a job in millimetres land where the same job in dots does; the
// device keeps reading dots.
TEST_F(ZPLUnitsJobTest, AJobInMillimetresPrintsInDots) {
  using record::TextParam;
  ZPLFullParser parser(&data_);
  parser.SetParserDPI(254);  // 10 dots a millimetre
  const std::string job = "^XA^MUM^FO5,7.5^A0N,3^FDa^FS^MUD^FO5,7^FDb^FS^XZ";
  CommandList records;
  parser.ParseData(job.data(), static_cast<int32_t>(job.size()), records);
  std::vector<std::wstring> texts;
  for (const LabelCommand& r : records) {
    if (r.kind == TEXT) texts.push_back(r.params[TextParam::kX] + L"," + r.params[TextParam::kY]);
  }
  EXPECT_EQ(texts, (std::vector<std::wstring>{L"50,75", L"5,7"}));
}

}  // namespace
