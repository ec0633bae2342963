// Text records and the lines that are no object record.

#include <gtest/gtest.h>

#include "parsers/dpl/DPLTestJob.h"

namespace {

using DPLObjectsTest = DPLJobTest;

TEST_F(DPLObjectsTest, ATextRecordBecomesFreeFormArial) {
  EXPECT_EQ(Fields(Parse(Job("191118001000100Hello, world"))),
            Lines{L"Hello, world|300|300|0|750|ARIAL|FREEFORM|0|C||0|F|1|F|F|F|F|F"});
}

// The size is points; the height is dots at this printer's resolution, and
// only "P" with three digits is a point size.
TEST_F(DPLObjectsTest, TextHeightRotationAndText) {
  const struct {
    const char* line;
    int dpi;
    Lines expected;  // x, y, height, rotation, text
  } cases[] = {
      {"191118001000100Hello", 300, {L"300", L"300", L"750", L"0", L"Hello"}},
      {"191118001000100Hello", 203, {L"203", L"203", L"507", L"0", L"Hello"}},
      {"291218001000100Hello", 300, {L"300", L"300", L"1500", L"90", L"Hello"}},
      {"391018001000100Hi", 300, {L"300", L"300", L"750", L"180", L"Hi"}},
      {"491100001000100P012Hello", 300, {L"300", L"300", L"50", L"270", L"Hello"}},
      {"191100001000100P072Hi", 203, {L"203", L"203", L"203", L"0", L"Hi"}},
      {"191100001000100P012P010Hello", 300, {L"300", L"300", L"50", L"0", L"Hello"}},
      {"191100001000100P012", 300, {L"300", L"300", L"50", L"0", L""}},
      {"191101201000100Price 9.99", 300, {L"300", L"300", L"50", L"0", L"Price 9.99"}},
      {"191101201000100P12", 300, {L"300", L"300", L"50", L"0", L"P12"}},
      {"191101201000100P012PRICE", 300, {L"300", L"300", L"50", L"0", L"PRICE"}},
      // Cut short or not numbers: what is missing reads as 0.
      {"19", 300, {L"0", L"0", L"0", L"0", L""}},
      {"1911abc0100xyzwText", 300, {L"0", L"300", L"0", L"0", L"Text"}},
      {"19110120100", 300, {L"0", L"300", L"50", L"0", L""}},
  };
  for (const auto& c : cases) {
    const LabelCommand text = Only(Parse(Job(c.line), c.dpi), TEXT);
    ASSERT_EQ(text.params.size(), 18u) << c.line;
    const std::vector<std::wstring>& p = text.params;
    EXPECT_EQ((Lines{p[1], p[2], p[4], p[10], p[0]}), c.expected) << c.line;
  }
}

// No rotation digit, no kind, or a hot shape with no shape letter.
TEST_F(DPLObjectsTest, LinesThatAreNoObjectMakeNothing) {
  for (const char* line : {"0911180", "5911180", "1", "1L11", "1w1100001000100x", "1#", "1 9",
                           "1X1100001000100Q200100005005", "1X1100001000100",
                           "1X1100001000100c00100000040", "1X1100001000100p0010000"}) {
    EXPECT_TRUE(Parse(Job(line)).empty()) << line;
  }
  EXPECT_TRUE(Logged().empty());
}

}  // namespace
