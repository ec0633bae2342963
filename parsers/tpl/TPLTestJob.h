#pragma once
// Test support: runs TPL jobs through a TPLParser with a log folder of its
// own, and reads back the messages the parser logged. Records print through
// testing/RecordText.h.

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "parsers/tpl/TPLParser.h"
#include "platform/StorageCard.h"
#include "testing/LogFiles.h"
#include "testing/RecordText.h"
#include "testing/ScopedStoreRoot.h"

using Params = std::vector<std::wstring>;
using Messages = std::vector<std::string>;

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
  Messages Logged() const { return LogFileMessages(root_, "TPL_ERROR_LOG.TXT"); }

  ScopedStoreRoot store_{"tpl-tests"};
  const std::filesystem::path& root_ = store_.Root();
  TPLData data_;
};
