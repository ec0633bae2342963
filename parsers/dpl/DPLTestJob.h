#pragma once
// Test support: writes DPL jobs readably ("<STX>L;1911...;E"), runs them
// through a DPLParser with a log folder of its own, and reads back the
// records and the messages the parser logged.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "parsers/dpl/DPLParser.h"
#include "testing/ScopedStoreRoot.h"

using Lines = std::vector<std::wstring>;
using Messages = std::vector<std::string>;
using KindList = std::vector<int32_t>;

class DPLJobTest : public ::testing::Test {
 protected:
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

  // Parses with a fresh record and an empty log.
  CommandList Parse(const std::string& job, int dpi = 300) {
    data_ = TPLData();
    std::filesystem::remove_all(root_);
    return ParseAgain(job, dpi);
  }
  // Parses keeping what earlier jobs left in the record and the log.
  CommandList ParseAgain(const std::string& job, int dpi = 300) {
    DPLParser parser(&data_);
    parser.SetParserDPI(dpi);
    CommandList out;
    EXPECT_TRUE(parser.ParseData(job.data(), static_cast<int32_t>(job.size()), out));
    return out;
  }

  // The messages logged so far, without their time stamps and line breaks.
  Messages Logged() const {
    std::ifstream file(root_ / "Logging" / "DPL_ERROR_LOG.TXT", std::ios::binary);
    constexpr size_t kStamp = sizeof("[01/15/2024, 09:05:07] ") - 1;
    Messages messages;
    for (std::string line; std::getline(file, line);) {
      if (line.size() > kStamp) messages.push_back(line.substr(kStamp, line.size() - kStamp - 1));
    }
    return messages;
  }

  static KindList Kinds(const CommandList& commands) {
    KindList kinds;
    for (const LabelCommand& c : commands) kinds.push_back(c.kind);
    return kinds;
  }
  // "p0|p1|..." so a record reads as one line of a table; "()" for none.
  static std::wstring Joined(const std::vector<std::wstring>& params) {
    std::wstring line = params.empty() ? L"()" : L"";
    for (size_t i = 0; i < params.size(); ++i) line += (i ? L"|" : L"") + params[i];
    return line;
  }
  static Lines Fields(const CommandList& commands) {
    Lines fields;
    for (const LabelCommand& c : commands) fields.push_back(Joined(c.params));
    return fields;
  }
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

  ScopedStoreRoot store_{"dpl-tests"};
  const std::filesystem::path& root_ = store_.Root();
  TPLData data_;
};
