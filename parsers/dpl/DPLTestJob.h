#pragma once
// Test support: DPL jobs written readably ("<STX>L;1911...;E"), run through
// the shared parser fixture, and their records read back as table lines.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "parsers/dpl/DPLParser.h"
#include "testing/ParserTestFixture.h"

using Lines = std::vector<std::wstring>;
using Messages = std::vector<std::string>;
using KindList = std::vector<int32_t>;

class DPLJobTest : public ParserTestFixture<DPLParser, TPLData> {
 protected:
  DPLJobTest() : ParserTestFixture("dpl-tests", "DPL_ERROR_LOG.TXT") {}

  // "<STX>L;E" is the job "\x02L\r\nE\r\n": lines are separated by ";", and
  // <STX> and <SOH> stand for the control bytes.
  static std::string Job(std::string_view lines) {
    std::string job;
    size_t start = 0;
    while (start <= lines.size()) {
      size_t end = lines.find(';', start);
      if (end == std::string_view::npos) end = lines.size();
      job += std::string(lines.substr(start, end - start)) + "\r\n";
      start = end + 1;
    }
    for (const auto& [name, byte] : {std::pair{"<STX>", '\x02'}, std::pair{"<SOH>", '\x01'}}) {
      for (size_t at; (at = job.find(name)) != std::string::npos;) job.replace(at, 5, 1, byte);
    }
    return job;
  }

  // An object record: rotation 1, the given kind and factors, size, row 0100
  // and column 0100, then the rest.
  static std::string Record(char kind, const char* factors, const char* size, const char* rest) {
    return std::string("1") + kind + factors + size + "01000100" + rest;
  }

  static KindList Kinds(const CommandList& commands) {
    KindList kinds;
    for (const LabelCommand& c : commands) kinds.push_back(c.kind);
    return kinds;
  }
  static std::wstring Joined(const std::vector<std::wstring>& params) {
    return JoinedParams(params);
  }
  static Lines Fields(const CommandList& commands) { return RecordParams(commands); }
  // The one record of `kind` in `commands`, or an empty record.
  static LabelCommand Only(const CommandList& commands, int32_t kind) {
    LabelCommand found{0, {}};
    int count = 0;
    for (const LabelCommand& c : commands) {
      if (c.kind == kind && ++count == 1) found = c;
    }
    EXPECT_EQ(count, 1) << "records of kind " << kind;
    return found;
  }
};
