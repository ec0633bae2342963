// Hot shapes: boxes, rules, circles and polygons, in dots and in the pen
// units the session takes.

#include <gtest/gtest.h>

#include "parsers/dpl/DPLTestJob.h"

namespace {

using DPLHotShapesTest = DPLJobTest;

// A hot shape at row `row` and column `column`, with its letter and fields.
std::string Shape(const char* row, const char* column, const char* fields) {
  return std::string("1X11000") + row + column + fields;
}

constexpr char kBoxMessage[] =
    "BottomTop differs from Side Paremeter. This is unsupported. BottomTop value used";
constexpr char kFillMessage[] = "Unsupported Fill pattern, Value set to Solid";

struct Case {
  std::string job;
  int dpi;
  std::wstring expected;  // the one record's fields
  Messages logged;
};

class DPLShapeTest : public DPLHotShapesTest {
 protected:
  void Check(int32_t kind, const Case& c) {
    const std::string job = c.job.find('\n') == std::string::npos ? Job(c.job) : c.job;
    EXPECT_EQ(Joined(Only(Parse(job, c.dpi), kind).params), c.expected) << c.job;
    EXPECT_EQ(Logged(), c.logged) << c.job;
  }
};

// The border is one pen, in hundredths of a point, whatever the resolution.
TEST_F(DPLShapeTest, Boxes) {
  const Case cases[] = {
      {Shape("0100", "0100", "B200100005010"),
       300,
       L"RECTANGLE|300|300|600|300|360|0|0|NONE|0",
       {kBoxMessage}},
      {Shape("0100", "0100", "b0200010000050005"),
       300,
       L"RECTANGLE|300|300|600|300|360|0|0|NONE|0",
       {}},
      {Shape("0100", "0100", "B200100005005"),
       203,
       L"RECTANGLE|203|203|406|203|355|0|0|NONE|0",
       {}},
      {"3" + Shape("0100", "0100", "B200100000000").substr(1),
       300,
       L"RECTANGLE|300|300|600|300|0|0|0|NONE|180",
       {}},
      {Job("<STX>m;" + Shape("0100", "0100", "B200100005005")),
       300,
       L"RECTANGLE|118|118|236|118|120|0|0|NONE|0",
       {}},
      {Shape("0100", "0100", "B2"), 300, L"RECTANGLE|300|300|6|0|0|0|0|NONE|0", {}},
  };
  for (const Case& c : cases) Check(SHAPE, c);
}

// A line object is a solid rule: along its longer side, as thick as the shorter.
TEST_F(DPLShapeTest, Rules) {
  const Case cases[] = {
      {Shape("0100", "0100", "L200002"), 300, L"300|300|900|300|6", {}},
      {Shape("0100", "0100", "l00020200"), 300, L"300|300|300|900|6", {}},
      {Shape("0100", "0100", "L010010"), 300, L"300|300|330|300|30", {}},
      {Shape("0100", "0100", "L200002"), 203, L"203|203|609|203|4", {}},
      {Shape("0100", "0100", "L"), 300, L"300|300|300|300|0", {}},
  };
  for (const Case& c : cases) Check(LINE, c);
}

// A circle is given by its centre; its box is kept on the label.
TEST_F(DPLShapeTest, Circles) {
  const Case cases[] = {
      {Shape("0050", "0030", "C00100000040"), 300, L"CIRCLE|0|30|240|240|1|0|0|SOLID|0", {}},
      {Shape("0050", "0030", "C00000000010"), 300, L"CIRCLE|60|120|60|60|1|0|0|NONE|0", {}},
      {Shape("0050", "0030", "C00200000100"),
       300,
       L"CIRCLE|0|0|600|600|1|0|0|SOLID|0",
       {kFillMessage}},
      {Shape("0050", "0030", "C"), 300, L"CIRCLE|90|150|0|0|1|0|0|NONE|0", {}},
  };
  for (const Case& c : cases) Check(SHAPE, c);
}

// The header's row and column are the first point; each row and column pair
// after the fill adds one. The fill goes through the same rule as a circle's.
TEST_F(DPLShapeTest, Polygons) {
  const Case cases[] = {
      {Shape("0100", "0100", "P0010000010002000200020002000100"),
       300,
       L"4|300|300|600|300|600|600|300|600|SOLID|1",
       {}},
      {Shape("0100", "0100", "P00000000100020002000"), 300, L"2|300|300|600|300|NONE|1", {}},
      {Shape("0100", "0100", "P0030000"), 300, L"1|300|300|SOLID|1", {kFillMessage}},
      {Job("<STX>m;" + Shape("0100", "0100", "P001000001000200")),
       300,
       L"2|118|118|236|118|SOLID|1",
       {}},
  };
  for (const Case& c : cases) Check(POLYGON, c);
}

TEST_F(DPLHotShapesTest, EachPolygonHasOnlyItsOwnPoints) {
  const CommandList commands = Parse(
      Job(Shape("0100", "0100", "P001000001000200") + ";" + Shape("0000", "0000", "P00100000001")));
  EXPECT_EQ(Fields(commands), (Lines{L"2|300|300|600|300|SOLID|1", L"1|0|0|SOLID|1"}));
}

}  // namespace
