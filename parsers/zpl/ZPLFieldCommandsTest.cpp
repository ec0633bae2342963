// Fields: origin, font, data and separator, the text records they make, and
// the graphic commands.

#include <string>
#include <tuple>

#include "parsers/zpl/ZPLTestSupport.h"

namespace {

using zpltest::ZPLParserTestBase;
using Lines = std::vector<std::wstring>;

using ZPLTextFieldTest = ZPLParserTestBase;

// Every command beginning "^A" is the font, whatever follows.
TEST_F(ZPLTextFieldTest, FontLetterAndOrientationLetterPickFaceAndRotation) {
  const std::tuple<const char*, const wchar_t*, const wchar_t*> cases[] = {
      {"^ABR", L"Courier New", L"270"}, {"^Abb", L"Courier New", L"90"},
      {"^Ab", L"Courier New", L"0"},    {"^A0", L"Arial", L"0"},
      {"^ACI", L"Tahoma", L"180"},      {"^Adn", L"Times New Roman", L"0"},
      {"^AZR", L"Arial", L"270"},       {"^A", L"Arial", L"0"},
      {"^AAX", L"Arial", L"0"},         {"^A D I ,20", L"Times New Roman", L"0"},
      {"^AZZZ", L"Arial", L"0"},        {"^A@N,20,20", L"Arial", L"0"}};
  for (const auto& [font, face, rotation] : cases) {
    CommandList records = Parse(std::string("^FO1,1") + font + "^FDx");
    ASSERT_EQ(records.size(), 1u) << font;
    EXPECT_EQ(records[0].kind, TEXT) << font;
    EXPECT_EQ(records[0].params[5], face) << font;
    EXPECT_EQ(records[0].params[10], rotation) << font;
  }
}

// The font height is in dots; the record carries points at the printer's DPI.
TEST_F(ZPLTextFieldTest, FontSizeIsTheHeightInPoints) {
  const std::tuple<const char*, int, const wchar_t*> cases[] = {
      // height, dpi, points
      {"30", 300, L"7"},  {"30", 203, L"11"}, {"150", 300, L"36"},
      {"72", 72, L"72"},  {"1", 300, L"1"},   {"0", 300, L"36"},
      {"-5", 300, L"36"}, {"x", 300, L"36"},  {"2147483647", 1, L"154618822584"},
  };
  for (const auto& [height, dpi, points] : cases) {
    CommandList records = Parse(std::string("^FO1,1^A0N,") + height + ",10^FDx", dpi);
    ASSERT_EQ(records.size(), 1u) << height;
    EXPECT_EQ(records[0].params[4], platform::BytesToWide(height));
    EXPECT_EQ(records[0].params[7], points) << height << " at " << dpi;
  }
}

TEST_F(ZPLTextFieldTest, FieldStateDecidesWhetherDataMakesText) {
  const JobCase cases[] = {
      // No font: the data has nothing to complete.
      {"^FO10,10^FDHello^FS", {}},
      // The font stays pending across the separator.
      {"^A0N,20,10^FS^FO5,6^FDx^FS", {L"TEXT x|5|6|10|20|Arial|FREEFORM|5|L||0|F|1|F|F|F|F|F"}},
      // Commas and outer blanks: the data is one trimmed parameter.
      {"^FO1,1^A0^FD  12,34,56  ^FS",
       {L"TEXT 12,34,56|1|1|5|9|Arial|FREEFORM|2|L||0|F|1|F|F|F|F|F"}},
      // A rejected font is still the pending font.
      {"^FO1,1^A0N,x,4^FDy", {L"TEXT y|1|1|4|x|Arial|FREEFORM|36|L||0|F|1|F|F|F|F|F"}},
      {"^FO1,1^A0N,1,2,3^FDy",
       {L"SCRIPT_ERROR Incorrect Number of Parameters for SCALABLE/BITMAPPED FONT",
        L"TEXT y|1|1|2|1|Arial|FREEFORM|1|L||0|F|1|F|F|F|F|F"}},
      // Origin defaults and checks.
      {"^FO^A0^FDa", {L"TEXT a|0|0|5|9|Arial|FREEFORM|2|L||0|F|1|F|F|F|F|F"}},
      {"^FO,7^A0^FDa", {L"TEXT a|0|7|5|9|Arial|FREEFORM|2|L||0|F|1|F|F|F|F|F"}},
      {"^FO3,3^FOx,1^A0^FDa", {L"TEXT a|3|3|5|9|Arial|FREEFORM|2|L||0|F|1|F|F|F|F|F"}},
      {"^FO1,2,3^A0^FDa",
       {L"SCRIPT_ERROR Incorrect Number of Parameters for FIELD ORIGIN",
        L"SCRIPT_ERROR ERROR CREATING FIELD DATA, NO FIELD ORIGIN DEFINED"}},
      // Data without a pending object still uses up the origin.
      {"^FO1,1^FDx^A0^FDy", {L"SCRIPT_ERROR ERROR CREATING FIELD DATA, NO FIELD ORIGIN DEFINED"}},
  };
  CheckJobs(cases);
}

using ZPLGraphicTest = ZPLParserTestBase;

TEST_F(ZPLGraphicTest, BoxesCirclesEllipsesAndLinesNeedAnAcceptedOrigin) {
  const JobCase cases[] = {
      {"^FO0,0^GB", {L"SHAPE RECTANGLE|0|0|1|1|24|B|0||"}},
      {"^FO1,2^GB100,50,3,W,2", {L"SHAPE RECTANGLE|1|2|100|50|72|W|2||"}},
      {"^FO0,0^GB400,200,10", {L"SHAPE RECTANGLE|0|0|400|200|240|B|0||"}},
      {"^FO5,5^GC40", {L"SHAPE CIRCLE|5|5|40|40|24|B|||"}},
      {"^FO5,5^GC", {L"SHAPE CIRCLE|5|5|3|3|24|B|||"}},
      {"^FO5,5^GE100,50,2", {L"SHAPE CIRCLE|5|5|100|50|48|B|||"}},
      {"^FO0,0^GE100,50,-2", {L"SHAPE CIRCLE|0|0|100|50|-2|B|||"}},
      {"^FO10,20^GD100,50,3,B,L", {L"LINE 10|20|110|70|3"}},
      {"^FO10,20^GD100,50,3,B,r", {L"LINE 10|70|110|20|3"}},
      {"^FO10,20^GD100,50,3,B,/", {L"LINE 10|70|110|20|3"}},
      {"^FO10,20^GD", {L"LINE 10|21|11|20|1"}},
      {"^FO2147483647,0^GD10", {L"LINE 2147483647|1|2147483657|0|1"}},
      // A graphic's data does nothing.
      {"^FO1,1^GB^FDx^FS", {L"SHAPE RECTANGLE|1|1|1|1|24|B|0||"}},
      // A rejected graphic drops the origin.
      {"^FO1,1^GB1,2,3,4,5,6^GB",
       {L"SCRIPT_ERROR Incorrect Number of Parameters for RECTANGLE",
        L"SCRIPT_ERROR ERROR CREATING FIELD DATA, NO FIELD ORIGIN DEFINED"}},
      {"^FO1,1^GBx^GC", {L"SCRIPT_ERROR ERROR CREATING CIRCLE, NO FIELD ORIGIN DEFINED"}},
      {"^FO1,1^GC1,2,3,4^GE",
       {L"SCRIPT_ERROR Incorrect Number of Parameters for CIRCLE",
        L"SCRIPT_ERROR ERROR CREATING ELLIPSE, NO FIELD ORIGIN DEFINED"}},
      {"^FO1,1^GE1,2,3,4,5^GD",
       {L"SCRIPT_ERROR Incorrect Number of Parameters for ELLIPSE",
        L"SCRIPT_ERROR ERROR CREATING DIAGONAL LINE, NO FIELD ORIGIN DEFINED"}},
      {"^FO1,1^GD1,2,3,4,5,6", {L"SCRIPT_ERROR Incorrect Number of Parameters for DIAGONAL LINE"}},
      {"^FO1,1^GD1,2,3.5", {}},
      {"^FO1,1^GC4.5", {}},
      // One object per field: a second one finds no origin.
      {"^FO1,1^GB^GB^XZ",
       {L"SHAPE RECTANGLE|1|1|1|1|24|B|0||",
        L"SCRIPT_ERROR ERROR CREATING FIELD DATA, NO FIELD ORIGIN DEFINED"}},
  };
  CheckJobs(cases);
}

TEST_F(ZPLGraphicTest, TheBoxLogsItsOwnMessageButRecordsTheFieldDataOne) {
  EXPECT_EQ(ParseAndDescribe("^GB10,10^XZ"),
            (Lines{L"SCRIPT_ERROR ERROR CREATING FIELD DATA, NO FIELD ORIGIN DEFINED"}));
  EXPECT_EQ(LogMessages(),
            (std::vector<std::string>{"ERROR CREATING RECTANGLE, NO FIELD ORIGIN DEFINED"}));
}

TEST_F(ZPLGraphicTest, GraphicFieldPlacesTheStoredLogoWhateverItsData) {
  std::string hex(1 << 20, 'F');
  EXPECT_EQ(ParseAndDescribe("^GFA,8,8,1," + hex + "^FS^FO2,3^GB"),
            (Lines{L"GRAPHIC ZLOGO.BMP|0|0|300|300|N", L"SHAPE RECTANGLE|2|3|1|1|24|B|0||"}));
  // It neither needs nor uses up the origin.
  EXPECT_EQ(ParseAndDescribe("^FO2,3^GF^GB"),
            (Lines{L"GRAPHIC ZLOGO.BMP|0|0|300|300|N", L"SHAPE RECTANGLE|2|3|1|1|24|B|0||"}));
}

// The outline thickness in dots becomes a pen width in hundredths of a point.
TEST_F(ZPLGraphicTest, PenWidthFollowsThePrintersResolution) {
  EXPECT_EQ(ParseAndDescribe("^FO0,0^GB400,200,10", 203),
            Lines{L"SHAPE RECTANGLE|0|0|400|200|355|B|0||"});
  EXPECT_EQ(ParseAndDescribe("^FO0,0^GC100,1", 600), Lines{L"SHAPE CIRCLE|0|0|100|100|12|B|||"});
}

// Sides shorter than the border grow to it: "^GB700,0,4" is a horizontal rule.
TEST_F(ZPLGraphicTest, SidesShorterThanTheBorderGrowToIt) {
  CheckJobs({
      {"^FO0,0^GB700,0,4", {L"SHAPE RECTANGLE|0|0|700|4|96|B|0||"}},
      {"^FO0,0^GB0,200,6", {L"SHAPE RECTANGLE|0|0|6|200|144|B|0||"}},
      {"^FO0,0^GE2,50,10", {L"SHAPE CIRCLE|0|0|10|50|240|B|||"}},
  });
}

}  // namespace
