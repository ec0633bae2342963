#pragma once
// Test support: TPL jobs written readably ("A;B" for two statements), run
// through the shared parser fixture. Records print through
// testing/RecordText.h.

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "parsers/tpl/TPLParser.h"
#include "testing/ParserTestFixture.h"

using Params = std::vector<std::wstring>;
using Messages = std::vector<std::string>;

class TPLJobTest : public ParserTestFixture<TPLParser, TPLData> {
 protected:
  TPLJobTest() : ParserTestFixture("tpl-tests", "TPL_ERROR_LOG.TXT") {}

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
};
