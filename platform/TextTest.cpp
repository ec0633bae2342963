#include <gtest/gtest.h>

#include <climits>

#include "platform/Text.h"

namespace platform {
namespace {

TEST(TextTest, LeadingIntReadsSignDigitsAndSaturates) {
  struct Case {
    const wchar_t* text;
    int32_t expected;
  } cases[] = {
      {L"", 0},
      {L"abc", 0},
      {L"  42xyz", 42},
      {L"\t-17", -17},
      {L"+8", 8},
      {L"- 8", 0},
      {L"12.9", 12},
      {L"2147483647", INT32_MAX},
      {L"2147483648", INT32_MAX},
      {L"99999999999999999999999", INT32_MAX},
      {L"-2147483648", INT32_MIN},
      {L"-2147483649", INT32_MIN},
      {L"-99999999999999999999999", INT32_MIN},
  };
  for (const auto& c : cases) EXPECT_EQ(LeadingInt(c.text), c.expected) << c.text;
}

TEST(TextTest, LeadingNumberReadsDecimalsOnly) {
  struct Case {
    const wchar_t* text;
    double expected;
  } cases[] = {
      {L"", 0.0},        {L"x1", 0.0},     {L" 1.5in", 1.5}, {L"-.25", -0.25},
      {L"12.", 12.0},    {L"2e3", 2000.0}, {L"2e", 2.0},     {L"0x10", 0.0},
      {L"inf", 0.0},     {L"nan", 0.0},    {L"+3", 3.0},     {L".", 0.0},
      {L"1e999", 1e308}, {L"1e-999", 0.0}, {L"25.4", 25.4},  {L"7E+1", 70.0},
  };
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(LeadingNumber(c.text), c.expected) << c.text;
}

TEST(TextTest, BytesBecomeOneWideCharacterEach) {
  const char bytes[] = {'A', '\0', static_cast<char>(0xE9), static_cast<char>(0xFF)};
  std::wstring wide = BytesToWide(bytes, sizeof bytes);
  ASSERT_EQ(wide.size(), 4u);
  EXPECT_EQ(wide[1], L'\0');
  EXPECT_EQ(wide[2], 0xE9);
  EXPECT_EQ(wide[3], 0xFF);
  EXPECT_EQ(WideToUtf8(wide), std::string("A\0\xC3\xA9\xC3\xBF", 6));
}

TEST(TextTest, TrimsAndCaseMapping) {
  EXPECT_EQ(Trim(L" \t a b \r\n"), L"a b");
  EXPECT_EQ(TrimLeft(L"  a "), L"a ");
  EXPECT_EQ(TrimRight(L"  a "), L"  a");
  EXPECT_EQ(Trim(L"   "), L"");
  EXPECT_EQ(ToUpper(L"starttpl \u00e9\u00f7\u00ff"), L"STARTTPL \u00c9\u00f7\u00ff");
  EXPECT_EQ(ToLower(L"MiXeD \u00c9"), L"mixed \u00e9");
  EXPECT_TRUE(EqualsIgnoreCase(L"Arial", L"ARIAL"));
  EXPECT_FALSE(EqualsIgnoreCase(L"Arial", L"Arial "));
}

TEST(TextTest, IntToWideWritesEveryInteger) {
  struct Case {
    int64_t value;
    const wchar_t* expected;
  } cases[] = {
      {0, L"0"},
      {7, L"7"},
      {-1, L"-1"},
      {1234567890, L"1234567890"},
      {INT64_MAX, L"9223372036854775807"},
      {INT64_MIN, L"-9223372036854775808"},
  };
  for (const auto& c : cases) EXPECT_EQ(IntToWide(c.value), c.expected) << c.expected;
}

}  // namespace
}  // namespace platform
