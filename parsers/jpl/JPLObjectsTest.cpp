// The object lines: text with styles, sizes and references, barcodes by type
// word, pictures and graphics.

#include "intake/Languages.h"
#include "parsers/ParserFactory.h"
#include "parsers/jpl/JPLTestSupport.h"

namespace {

using jpltest::JPLParserTestBase;
using jpltest::Lines;

using JPLTextTest = JPLParserTestBase;

// Millimetres at 300 dpi: x 10 is 118 dots, y 20 is 236 dots, 12 points 35 dots.
TEST_F(JPLTextTest, PositionsSizesAndStyles) {
  const JobCase cases[] = {
      {"T 10,20,0,3,pt12;Hello", {L"19 Hello|118|201|300|12|Arial|FREEFORM|12|L||0|F|1|F|F|F|F|F"}},
      {"T 10,20,90,3,5;Hello", {L"19 Hello|118|195|300|14|Arial|FREEFORM|14|L||90|F|1|F|F|F|F|F"}},
      {"T 10,20,0,3,12pt,bu;Hello",
       {L"19 Hello|118|201|300|12|Arial|FREEFORM|12|L||0|F|1|T|F|T|F|F"}},
      {"T 10,20,0,3,pt12,ivn;Hello",
       {L"19 Hello|118|201|300|12|Arial|FREEFORM|12|L||0|F|1|F|T|F|T|T"}},
      {"T 10,20,0,3,pt12;Hello", {L"19 Hello|118|201|300|12|Arial|FREEFORM|12|L||0|F|1|F|F|F|F|F"}},
      {"T 10,20,0,3,pt12.5;x", {L"19 x|118|200|300|12.5|Arial|FREEFORM|12.5|L||0|F|1|F|F|F|F|F"}},
      {"T 10,20,0,3,pt12,b;Price, 5",
       {L"19 Price 5|118|201|300|12|Arial|FREEFORM|12|L||0|F|1|T|F|F|F|F"}},
      {"T:n;10,20,0,3,pt12;Hi", {L"19 Hi|118|201|300|12|Arial|FREEFORM|12|L||0|F|1|F|F|F|F|F"}},
      {"T:n;10,20,0,3,pt12", {L"19 |118|201|300|12|Arial|FREEFORM|12|L||0|F|1|F|F|F|F|F"}},
      {"m d\nT 100,200,0,3,30;x", {L"19 x|100|112|300|30|Arial|FREEFORM|30|L||0|F|1|F|F|F|F|F"}},
      {"m d\nT 100,20,0,3,pt12;x", {L"19 x|100|-15|300|12|Arial|FREEFORM|12|L||0|F|1|F|F|F|F|F"}},
      {"T 10,20,0,3,pt12", {}},
  };
  CheckObjects(cases);
}

// Each text is set apart from the one before: every flag starts at "F".
TEST_F(JPLTextTest, StylesDoNotCarryToTheNextText) {
  const CommandList records = Parse("T 1,5,0,3,pt10,bu;a\nT 1,5,0,3,pt10;b");
  ASSERT_EQ(records.size(), 5u);
  for (size_t flag = 13; flag <= 17; ++flag) EXPECT_EQ(records[2].params[flag], L"F") << flag;
}

// Every field boundary, brackets included, becomes one blank.
TEST_F(JPLTextTest, ReferencesUseTextsNamedEarlierInTheJob) {
  const std::pair<std::string, std::wstring> lines[] = {
      {"T:name;1,5,0,3,pt10;World", L"World"},
      {"T 1,5,0,3,pt10,x;Hello [name]", L"Hello World"},
      {"T 1,5,0,3,pt10,x;Hello [ name ]", L"Hello World"},
      {"T 1,5,0,3,pt10,x;Hello [Name]", L"Hello Name"},
      {"T 1,5,0,3,pt10,x;Cost [price", L"Cost [price"},
      {"T:name;1,5,0,3,pt10;Again", L"Again"},
      {"T 1,5,0,3,pt10;[name]", L"World"},  // the first definition stays
      {"T:self;1,5,0,3,pt10,x;x[self]", L"x self"},
      {"T 1,5,0,3,pt10,x;[self][self]", L"x self x self"},
      {"T 1,5,0,3,pt10,x;[a]]b[", L"a ]b ["},
      {"T 1,5,0,3,pt10,x;[FIRST NAME] [LAST NAME]",
       L"Alex  Morgan"},  // the blank between is a field too,
  };
  std::string job;
  for (const auto& [line, text] : lines) job += line + "\n";
  const CommandList records = Parse(job);
  ASSERT_EQ(records.size(), std::size(lines) + 3);
  for (size_t i = 0; i < std::size(lines); ++i) {
    EXPECT_EQ(records[i + 1].params[0], lines[i].second) << lines[i].first;
  }
}

// Texts that quote each other double with every line; the job may only add
// a bounded amount to its own length, and says so once.
TEST_F(JPLTextTest, ReferencesCannotBlowUpAJob) {
  std::string job = "T:t0;1,1,0,3,pt8;" + std::string(1000, 'a') + "\n";
  for (int k = 1; k <= 12; ++k) {
    const std::string previous = "[t" + std::to_string(k - 1) + "]";
    job += "T:t" + std::to_string(k) + ";1,1,0,3,pt8,x;" + previous + previous + "\n";
  }
  const CommandList records = Parse(job);
  size_t total = 0;
  for (const LabelCommand& record : records)
    total += record.kind == TEXT ? record.params[0].size() : 0;
  EXPECT_EQ(records[2].params[0].size(), 2001u);
  EXPECT_LE(total, job.size() * 2 + CJPLParser::kReferenceAllowance);
  EXPECT_EQ(Logged().size(), 2u);  // the cut, and the empty last line
}

using JPLBarcodeTest = JPLParserTestBase;

// Dots keep the values as written; records are
// type|data|x|y|height|rotation|readable|position|density|ratio|check.
TEST_F(JPLBarcodeTest, TypeWordDecidesTypeReadableTextAndCheckCharacter) {
  const std::tuple<const char*, const wchar_t*, const wchar_t*, const wchar_t*> cases[] = {
      {"code128", L"Code 128 Auto", L"F", L"F"},
      {"CODE128", L"Code 128 Auto", L"T", L"F"},
      {"Code 128", L"Code 128 Auto", L"T", L"F"},
      {"CODE39+MOD43", L"Code 39", L"T", L"T"},
      {"CODE39+X", L"Code 39", L"T", L"F"},
      {"code39+mod43", L"Code 39", L"F", L"F"},
      {"+MOD", L"Code 39", L"T", L"F"},
      {"UPCE+MOD10", L"UPCA", L"T", L"T"},
      {"EAN128", L"UCC128", L"T", L"T"},
      {"GS1-128", L"UCC128", L"T", L"T"},
      {"ucc128", L"UCC128", L"F", L"T"},
      {"MAXICODE", L"Maxicode", L"T", L"F"},
      {"UPC-E", L"UPCA", L"T", L"F"},
      {"upc-a", L"UPCA", L"F", L"F"},
      {"UPC-E0", L"UPCA", L"T", L"F"},
      {"EAN13", L"EAN/JAN-13", L"T", L"F"},
      {"EAN8", L"EAN/JAN-8", L"T", L"F"},
      {"JAN8", L"EAN/JAN-8", L"T", L"F"},
      {"2OF5INTERLEAVED", L"Interleaved 2-of-5", L"T", L"F"},
      {"INTERLEAVED2OF5", L"Code 39", L"T", L"F"},
      {"CODABAR", L"Codabar", L"T", L"F"},
      {"CODE93", L"Code 93", L"T", L"F"},
      {"HIBC", L"HIBC", L"T", L"F"},
      {"MSI", L"MSI Plessey", L"T", L"F"},
      {"PLESSEY", L"MSI Plessey", L"T", L"F"},
      {"POSTNET", L"Postnet", L"T", L"F"},
      {"PDF417", L"PDF 417", L"T", L"F"},
      {"MICROPDF417", L"Micro 417", L"T", L"F"},
      {"qrcode", L"QRCode", L"F", L"F"},
      {"ADDON2", L"Code 39", L"T", L"F"},
      {"CODABLOCKF", L"Code 39", L"T", L"F"},
      {"DBP", L"Code 39", L"T", L"F"},
      {"EAN18", L"Code 39", L"T", L"F"},
      {"FIM", L"Code 39", L"T", L"F"},
      {"RSS14", L"Code 39", L"T", L"F"},
      {"RSSLIMITED", L"Code 39", L"T", L"F"},
      {"RSSEXPANDED", L"Code 39", L"T", L"F"},
  };
  for (const auto& [word, type, readable, check] : cases) {
    const std::wstring expected =
        L"9 " + std::wstring(type) + L"|DATA|10|20|50|0|" + readable + L"|BOTTOM|10|2.5|" + check;
    EXPECT_EQ(Objects(std::string("m d\nB 10,20,0,") + word + ",50,10,2.5;DATA"), Lines{expected})
        << word;
  }
}

// Millimetres: density 0.3 is 11 mils; two-dimensional codes are 10 mm high.
TEST_F(JPLBarcodeTest, LayoutsAndMissingFields) {
  const JobCase cases[] = {
      {"B 10,20,0,CODE128,15,0.3,2;ABC", {L"9 Code 128 Auto|ABC|118|236|177|0|T|BOTTOM|11|2|F"}},
      {"B:name;10,20,0,CODE128,15,0.3,2;ABC",
       {L"9 Code 128 Auto|ABC|118|236|177|0|T|BOTTOM|11|2|F"}},
      {"B 10,20,90,QRCODE;example.invalid/q",
       {L"9 QRCode|example.invalid/q|118|236|118|90|T|BOTTOM|11|2|F"}},
      {"B 10,20,0,AZTEC,0.5;D", {L"9 Aztec|D|118|236|118|0|T|BOTTOM|19|2|F"}},
      {"B 10,20,0,DATAMATRIX;D", {L"9 Datamatrix|D|118|236|118|0|T|BOTTOM|19|2|F"}},
      {"B 10,20,0,CODE128;ABC", {L"9 Code 128 Auto|ABC|118|236|0|0|T|BOTTOM|19|2|F"}},
      {"B 10,20,0,CODE128,-5;ABC", {L"9 Code 128 Auto|ABC|118|236|0|0|T|BOTTOM|19|2|F"}},
      {"B 10,20,0;ABC", {}},
  };
  CheckObjects(cases);
}

// Density and ratio stay for later jobs; the check character is each line's own.
TEST_F(JPLBarcodeTest, DensityAndRatioCarryAcrossJobsTheCheckCharacterDoesNot) {
  CParserFactory factory;
  auto parse = [&factory](std::string_view job) {
    auto parser = factory.GetParser(LANGUAGE_JPL);
    parser->SetParserDPI(300);
    CommandList records;
    parser->ParseData(job.data(), static_cast<int32_t>(job.size()), records);
    return jpltest::Describe(records).at(1);
  };
  EXPECT_EQ(parse("B 1,1,0,CODE39+MOD43,15,0.3,2.5;A"),
            L"9 Code 39|A|11|11|177|0|T|BOTTOM|11|2.5|T");
  EXPECT_EQ(parse("B 1,1,0,QRCODE;Q"), L"9 QRCode|Q|11|11|118|0|T|BOTTOM|11|2.5|F");
  EXPECT_EQ(parse("B 1,1,0,CODE39,15;A"), L"9 Code 39|A|11|11|177|0|T|BOTTOM|11|2.5|F");
}

using JPLGraphicsTest = JPLParserTestBase;

// Dots at 300 dpi: a pen of t dots is t x 24 hundredths of a point; a line
// keeps its thickness in dots.
TEST_F(JPLGraphicsTest, CirclesLinesAndRectangles) {
  const JobCase cases[] = {
      {"m d\nG 100,100,0;C:10,0,4", {L"18 CIRCLE|92|92|17|17|96|0|0|NONE|0"}},
      {"m d\nG 100,100,0;C:10,6,2", {L"18 CIRCLE|91|95|19|11|48|0|0|NONE|0"}},
      {"m d\nG 100,100,0;C:10,60000,2", {L"18 CIRCLE|91|91|19|19|48|0|0|NONE|0"}},
      {"m d\nG 5,5,0;C:10,10,2", {}},
      {"m d\nG 10,20,0;R:100,50,2000", {L"18 RECTANGLE|10|20|100|50|36000|0|0|NONE|0"}},
      {"m d\nG 10,20,90;R:100,50,0", {L"18 RECTANGLE|10|20|100|50|24|0|0|NONE|90"}},
      {"m d\nG:box;10,20,0;R:100,50,2", {L"18 RECTANGLE|10|20|100|50|48|0|0|NONE|0"}},
      {"m d\nG 10,20,0;L:200,3", {L"10 10|20|210|20|3"}},
      {"m d\nG 10,20,0;L:200", {L"10 10|20|210|20|1"}},
      {"m d\nG 10,20,0;X:1,2,3", {}},
      {"m d\nG 10,20,0;R", {}},
      {"G 10,10,0;R:20,10,0.5", {L"18 RECTANGLE|118|118|236|118|120|0|0|NONE|0"}},
      {"G 10,10,0;L:20,0.3", {L"10 118|118|354|118|3"}},
  };
  CheckObjects(cases);
  EXPECT_EQ(Objects("m d\nG 10,20,0;R:100,50,4", 203),
            Lines{L"18 RECTANGLE|10|20|100|50|142|0|0|NONE|0"});
}

TEST_F(JPLGraphicsTest, Pictures) {
  const JobCase cases[] = {
      {"m d\nI:LOGO.PNG;10,20,0", {L"27 LOGO.PNG|10|20|300|300|N"}},
      {"m d\nI:LOGO.PNG;10,20,0,50", {L"27 LOGO.PNG|10|20|300|300|N"}},
      {"m d\nI:LOGO.PNG;10,20,0,50,60", {L"27 LOGO.PNG|10|20|50|60|N"}},
      {"I:PARCEL.PNG;10,20,0", {L"27 PARCEL.PNG|118|236|300|300|N"}},
      {"I:LOGO.PNG;10", {}},
  };
  CheckObjects(cases);
  EXPECT_EQ(data_.imageName, L"PARCEL.PNG");
}

}  // namespace
