// The query filter on streams as printing software sends them: every case is
// fed whole and cut in two at every byte, and must pass on the same bytes and
// take out the same queries however it is cut.
#include <gtest/gtest.h>

#include "host/serve/HostQueryFilter.h"

namespace host {
namespace {

struct Case {
  const char* name;
  std::string stream;
  std::string passed;
  std::vector<HostQuery> queries;
};

const std::string kJob = "^XA^FO10,10^FDOne^FS^XZ";

const HostQuery kHs{QueryKind::kHostStatus, ""};
const HostQuery kHi{QueryKind::kIdentification, ""};
const HostQuery kEs{QueryKind::kErrorsAndWarnings, ""};
const HostQuery kHd{QueryKind::kHeadDiagnostic, ""};
const HostQuery kHh{QueryKind::kConfigurationText, ""};
const HostQuery kHza{QueryKind::kConfigurationXml, ""};
HostQuery Var(const char* name) { return {QueryKind::kGetVariable, name}; }

const Case kCases[] = {
    {"a job alone", kJob + "\r\n", kJob + "\r\n", {}},
    {"a poll alone, with its line end", "~HQES\r\n", "", {kEs}},
    {"every query", "~HS~hi~HQES~HD^HH^HZA", "", {kHs, kHi, kEs, kHd, kHh, kHza}},
    {"polls around and inside a job", "~HS\r\n" + kJob + "~HI" + kJob, kJob + kJob, {kHs, kHi}},
    {"a query inside a format is taken out of it",
     "^XA^FO1,1~HS^FDx^FS^XZ",
     "^XA^FO1,1^FDx^FS^XZ",
     {kHs}},
    {"a format of queries only is taken whole",
     "^XA^HH^XZ\r\n^XA\r\n^HZA\r\n^XZ" + kJob,
     kJob,
     {kHh, kHza}},
    {"a format with content keeps its frame",
     "^XA^HH^FO1,1^FDx^FS^XZ",
     "^XA^FO1,1^FDx^FS^XZ",
     {kHh}},
    {"getvar lines",
     "! U1 getvar \"device.languages\"\r\n!U1 getvar \"appl.name\"",
     "",
     {Var("device.languages"), Var("appl.name")}},
    {"other host lines pass",
     "! U1 setvar \"a\" \"b\"\r\n! 0 200 200 100 1\r\nPRINT\r\n",
     "! U1 setvar \"a\" \"b\"\r\n! 0 200 200 100 1\r\nPRINT\r\n",
     {}},
    {"an unclosed name is not a query", "! U1 getvar \"abc\r\n", "! U1 getvar \"abc\r\n", {}},
    {"near misses pass", "~HX^HZO~HQHA^XA^XZ~H", "~HX^HZO~HQHA^XA^XZ~H", {}},
    {"blanks before a job are the job's", "  " + kJob, "  " + kJob, {}},
};

std::string Text(const std::vector<char>& bytes) { return std::string(bytes.begin(), bytes.end()); }

TEST(HostQueryFilterTest, PassesTheSameBytesAndQueriesHoweverTheStreamIsCut) {
  for (const Case& c : kCases) {
    for (size_t cut = 0; cut <= c.stream.size(); ++cut) {
      SCOPED_TRACE(std::string(c.name) + ", cut at " + std::to_string(cut));
      HostQueryFilter filter;
      std::vector<char> passed;
      std::vector<HostQuery> queries;
      filter.Add(std::string_view(c.stream).substr(0, cut), passed, queries);
      filter.Add(std::string_view(c.stream).substr(cut), passed, queries);
      filter.Finish(passed);
      EXPECT_EQ(Text(passed), c.passed);
      EXPECT_EQ(queries, c.queries);
    }
  }
}

// What may begin a query waits for the next read, but never more than the
// bound: a long run of blanks after "^XA" is passed on.
TEST(HostQueryFilterTest, HoldsAPossibleQueryOnlyUpToTheBound) {
  HostQueryFilter filter;
  std::vector<char> passed;
  std::vector<HostQuery> queries;
  filter.Add(kJob + "^XA", passed, queries);
  EXPECT_EQ(Text(passed), kJob);
  EXPECT_TRUE(filter.holding());
  const std::string blanks(HostQueryFilter::kMostHeld, ' ');
  filter.Add(blanks, passed, queries);
  EXPECT_FALSE(filter.holding());
  EXPECT_EQ(Text(passed), kJob + "^XA" + blanks);
  EXPECT_TRUE(queries.empty());
}

}  // namespace
}  // namespace host
