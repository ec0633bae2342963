#pragma once
// Test support: runs TPL jobs through a TPLParser with a log folder of its
// own, and reads back the messages the parser logged.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "parsers/tpl/TPLParser.h"
#include "platform/StorageCard.h"
#include "testing/ScopedStoreRoot.h"

using Params = std::vector<std::wstring>;
using Messages = std::vector<std::string>;
using KindList = std::vector<int32_t>;

class TPLJobTest : public ::testing::Test {
 protected:
  static std::vector<std::string> Split(std::string_view text) {
    std::istringstream in{std::string(text)};
    std::vector<std::string> pieces;
    for (std::string piece; std::getline(in, piece, ';');) pieces.push_back(piece);
    return pieces;
  }
  // "A;B" is the job "A\r\nB\r\n".
  static std::string Job(std::string_view statements) {
    std::string job;
    for (const std::string& statement : Split(statements)) job += statement + "\r\n";
    return job;
  }
  static std::string InLabel(std::string_view statements) {
    return Job("STARTLABEL;" + std::string(statements));
  }

  // Parses from a fresh start: no label-level values, an empty log.
  CommandList Parse(const std::string& job, int dpi = 300) {
    data_ = TPLData();
    std::filesystem::remove_all(root_);
    TPLParser parser(&data_);
    parser.SetParserDPI(dpi);
    CommandList out;
    EXPECT_TRUE(parser.ParseData(job.data(), static_cast<int32_t>(job.size()), out));
    return out;
  }

  // The messages logged so far, without their time stamps and line breaks.
  Messages Logged() const {
    std::ifstream file(root_ / "Logging" / "TPL_ERROR_LOG.TXT", std::ios::binary);
    constexpr size_t kStamp = sizeof("[01/15/2024, 09:05:07] ") - 1;
    Messages messages;
    for (std::string line; std::getline(file, line);) {
      EXPECT_EQ(line.back(), '\r');
      messages.push_back(line.substr(kStamp, line.size() - kStamp - 1));
    }
    return messages;
  }

  static KindList Kinds(const CommandList& commands) {
    KindList kinds;
    for (const LabelCommand& c : commands) kinds.push_back(c.kind);
    return kinds;
  }
  // "p0|p1|..." so a record's fields read as one line of a table; "()" for none.
  static std::wstring Joined(const Params& params) {
    std::wstring line = params.empty() ? L"()" : L"";
    for (size_t i = 0; i < params.size(); ++i) line += (i ? L"|" : L"") + params[i];
    return line;
  }
  static std::vector<std::wstring> Fields(const CommandList& commands) {
    std::vector<std::wstring> fields;
    for (const LabelCommand& c : commands) fields.push_back(Joined(c.params));
    return fields;
  }

  ScopedStoreRoot store_{"tpl-tests"};
  const std::filesystem::path& root_ = store_.Root();
  TPLData data_;
};
