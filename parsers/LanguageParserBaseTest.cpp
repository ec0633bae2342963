#include <gtest/gtest.h>

#include "parsers/LanguageParserBase.h"

namespace {

class NoFields : public ScriptData {
 public:
  void ResetAll() override {}
  void ResetShape() override {}
  void ResetGraphic() override {}
  void ResetLine() override {}
  void ResetText() override {}
};

class TestParser : public CLanguageParserBase {
 public:
  TestParser() : CLanguageParserBase(&data_) {}
  bool ParseData(const char*, int32_t, CommandList& out) override {
    AddCommand(START_LABEL);
    AddCommand(TEXT, {L"a"});
    HandOverCommands(out);
    return true;
  }

 private:
  NoFields data_;
};

TEST(LanguageParserBaseTest, Conversions) {
  enum Op { kDots, kMils, kPoints, kPointsToDots };
  struct Case {
    int dpi;
    const wchar_t* units;
    Op op;
    const wchar_t* in;
    const wchar_t* out;
  } cases[] = {
      {203, L"INCHES", kDots, L"1.5", L"304"},
      {203, L"mm", kDots, L"25.4", L"203"},
      {203, L"DOTS", kDots, L"12.7", L"12.7"},
      {203, L"", kMils, L" 007abc", L" 007abc"},
      {300, L"inch", kDots, L"-0.999", L"-299"},
      {300, L"inch", kDots, L"abc", L"0"},
      {300, L"inch", kDots, L"1e30", L"9200000000000000000"},
      {300, L"Metric", kMils, L"1", L"39"},
      {300, L"i", kMils, L"0.0015", L"1"},
      {300, L"I", kPoints, L"0.5", L"36"},
      {300, L"m", kPoints, L"10", L"28"},
      {300, L"dots", kPointsToDots, L"10", L"29"},
      {203, L"mm", kPointsToDots, L"72", L"143"},
  };
  for (const auto& c : cases) {
    TestParser parser;
    parser.SetParserDPI(c.dpi);
    parser.SetParserUnits(c.units);
    std::wstring value = c.in;
    switch (c.op) {
      case kDots:
        parser.ConvertUnitsToDots(value);
        break;
      case kMils:
        parser.ConvertUnitsToMils(value);
        break;
      case kPoints:
        parser.ConvertUnitsToPoints(value);
        break;
      case kPointsToDots:
        parser.ConvertPointsToDots(value);
        break;
    }
    EXPECT_EQ(value, c.out) << c.units << " " << c.in;
  }
}

TEST(LanguageParserBaseTest, UnitsDpiAndState) {
  TestParser parser;
  EXPECT_EQ(parser.GetParserUnits(), CLanguageParserBase::UNITS_INCHES);
  struct {
    const wchar_t* name;
    int32_t units;
  } units[] = {{L"MM", 2}, {L"metric", 2}, {L"Inches", 1}, {L"DOTS", 0}, {L"", 0}, {L" mm", 0}};
  for (const auto& u : units) {
    parser.SetParserUnits(u.name);
    EXPECT_EQ(parser.GetParserUnits(), u.units) << u.name;
  }
  struct {
    int in, out;
  } dpis[] = {{0, 300}, {1, 1}, {203, 203}, {1000, 1000}, {1001, 300}, {-5, 300}};
  for (const auto& d : dpis) {
    parser.SetParserDPI(d.in);
    EXPECT_EQ(parser.GetParserDPI(), d.out) << d.in;
  }
  parser.AddState(0x5);
  EXPECT_TRUE(parser.IsState(0x1));
  EXPECT_TRUE(parser.IsState(0x5));
  EXPECT_FALSE(parser.IsState(0x3));
  parser.RemoveState(0x4);
  EXPECT_FALSE(parser.IsState(0x4));
  EXPECT_TRUE(parser.IsState(0));
}

TEST(LanguageParserBaseTest, RecordsAreHandedOverInOrder) {
  TestParser parser;
  CommandList out;
  ASSERT_TRUE(parser.ParseData("", 0, out));
  ASSERT_EQ(out.size(), 2u);
  EXPECT_EQ(out[0].kind, START_LABEL);
  EXPECT_EQ(out[1].params, std::vector<std::wstring>{L"a"});
}

}  // namespace
