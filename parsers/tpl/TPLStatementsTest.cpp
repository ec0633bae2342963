#include <gtest/gtest.h>

#include "parsers/tpl/TPLStatements.h"

namespace tpl {
namespace {

using Lines = std::vector<std::wstring>;

Lines CutStatements(std::string_view job) {
  StatementReader reader(job);
  Lines statements;
  for (std::wstring statement; reader.Next(statement);) statements.push_back(statement);
  return statements;
}

TEST(StatementReaderTest, AnyLineEndingEndsAStatement) {
  struct Case {
    const char* job;
    Lines statements;
  };
  const Case cases[] = {
      {"A 1\r\nB 2\r\n", {L"A 1", L"B 2"}},
      {"A 1\nB 2\n", {L"A 1", L"B 2"}},
      {"A 1\rB 2\r", {L"A 1", L"B 2"}},
      // Mixed endings: no statement swallows the next one.
      {"A\nB\r\nC\rD\n", {L"A", L"B", L"C", L"D"}},
      {"A\rB\nC\r\n", {L"A", L"B", L"C"}},
      {"A\n\rB\n", {L"A", L"", L"B"}},
      // The tail after the last break is not a statement.
      {"A\r\nENDTPL", {L"A"}},
      {"STARTTPL", {}},
      {"", {}},
      {"  \tA  B \t\r\n\r\n", {L"A  B", L""}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CutStatements(c.job), c.statements) << c.job;
  }
}

TEST(StatementReaderTest, KeepsCharactersOtherThanBreaks) {
  std::string job("A\0B\xFF\r\n", 6);
  EXPECT_EQ(CutStatements(job), Lines({std::wstring(L"A\0B\xFF", 4)}));
}

TEST(SplitTest, PairsSplitAtTheFirstComma) {
  struct Case {
    const wchar_t* value;
    bool ok;
    const wchar_t* first;
    const wchar_t* second;
  };
  const Case cases[] = {
      {L"1,2", true, L"1", L"2"}, {L" 1 , 2 ", true, L"1", L"2"}, {L"1,2,3", true, L"1", L"2,3"},
      {L",", true, L"", L""},     {L"1", false, L"old", L"old"},  {L"", false, L"old", L"old"},
  };
  for (const Case& c : cases) {
    std::wstring first = L"old", second = L"old";
    EXPECT_EQ(SplitPair(c.value, first, second), c.ok) << c.value;
    EXPECT_EQ(first, c.first) << c.value;
    EXPECT_EQ(second, c.second) << c.value;
  }
}

TEST(SplitTest, ListsSplitAtEveryComma) {
  EXPECT_EQ(SplitList(L"B, ,U"), Lines({L"B", L"", L"U"}));
  EXPECT_EQ(SplitList(L"1,1,10,A-,-Z"), Lines({L"1", L"1", L"10", L"A-", L"-Z"}));
  EXPECT_EQ(SplitList(L""), Lines({L""}));
  EXPECT_EQ(SplitList(L"x,"), Lines({L"x", L""}));
}

}  // namespace
}  // namespace tpl
