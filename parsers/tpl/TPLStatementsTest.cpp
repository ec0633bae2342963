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

}  // namespace
}  // namespace tpl
