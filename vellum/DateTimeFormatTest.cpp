#include <gtest/gtest.h>

#include "vellum/DateTimeFormat.h"

namespace vellum {
namespace {

// Thursday 5 March 2026, 14:07:09, and a morning time for the 12-hour forms.
const platform::LocalTime kAfternoon{2026, 3, 5, 14, 7, 9, 0, 0};
const platform::LocalTime kMorning{2009, 11, 22, 0, 45, 3, 0, 0};

TEST(DateTimeFormat, EveryPictureOfTheDateTable) {
  struct Case {
    const wchar_t* picture;
    const wchar_t* afternoon;
    const wchar_t* morning;
  };
  const Case cases[] = {
      {L"M/d/yyyy", L"3/5/2026", L"11/22/2009"},
      {L"M/d/yy", L"3/5/26", L"11/22/09"},
      {L"MM/dd/yy", L"03/05/26", L"11/22/09"},
      {L"MM/dd/yyyy", L"03/05/2026", L"11/22/2009"},
      {L"yy/MM/dd", L"26/03/05", L"09/11/22"},
      {L"yyyy-MM-dd", L"2026-03-05", L"2009-11-22"},
      {L"d-MMM-yy", L"5-Mar-26", L"22-Nov-09"},
      {L"dddd, MMMM d, yyyy", L"Thursday, March 5, 2026", L"Sunday, November 22, 2009"},
      {L"MMMM d, yyyy", L"March 5, 2026", L"November 22, 2009"},
      {L"dddd, d MMMM, yyyy", L"Thursday, 5 March, 2026", L"Sunday, 22 November, 2009"},
      {L"d MMMM, yyyy", L"5 March, 2026", L"22 November, 2009"},
      {L"h:mm:ss tt", L"2:07:09 PM", L"12:45:03 AM"},
      {L"hh:mm:ss tt", L"02:07:09 PM", L"12:45:03 AM"},
      {L"H:mm:ss", L"14:07:09", L"0:45:03"},
      {L"HH:mm:ss", L"14:07:09", L"00:45:03"},
      {L"MM/dd/yy' 'h:mm tt", L"03/05/26 2:07 PM", L"11/22/09 12:45 AM"},
      {L"MM.dd.yy' 'h:mm tt", L"03.05.26 2:07 PM", L"11.22.09 12:45 AM"},
      {L"dd/MM/yy' 'h:mm tt", L"05/03/26 2:07 PM", L"22/11/09 12:45 AM"},
      {L"dd.MM.yy' 'hh:mm tt", L"05.03.26 02:07 PM", L"22.11.09 12:45 AM"},
      {L"hh:mm tt", L"02:07 PM", L"12:45 AM"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << std::string(c.picture, c.picture + wcslen(c.picture)));
    EXPECT_EQ(FormatDateTime(c.picture, kAfternoon), c.afternoon);
    EXPECT_EQ(FormatDateTime(c.picture, kMorning), c.morning);
  }
}

TEST(DateTimeFormat, QuotesShortFormsAndOddRuns) {
  struct Case {
    const wchar_t* picture;
    const wchar_t* expected;
  };
  const Case cases[] = {
      {L"'Made on' d", L"Made on 5"},
      {L"'it''s' H", L"it's 14"},
      {L"'unterminated d", L"unterminated d"},
      {L"ddd MMM", L"Thu Mar"},
      {L"t", L"P"},
      {L"y", L"26"},
      {L"ddddd", L"Thursday"},  // longer runs print the longest form
      {L"yyyyy", L"2026"},
      {L"", L""},
      {L"[x]", L"[x]"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FormatDateTime(c.picture, kAfternoon), c.expected);
  }
}

TEST(DateTimeFormat, OutOfRangeClockValuesDoNotCrash) {
  platform::LocalTime odd{-5, 13, 0, 25, 61, 99, 0, 9};
  EXPECT_FALSE(FormatDateTime(L"dddd MMMM yy hh tt", odd).empty());
}

}  // namespace
}  // namespace vellum
