#pragma once
// Test support: runs XTPL jobs through an XTPLParser with a log folder of its
// own, and shows records as lines of text so that tables can list them.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "intake/CommandRecord.h"
#include "parsers/xtpl/XTPLParser.h"
#include "platform/Text.h"
#include "testing/ScopedStoreRoot.h"

using Lines = std::vector<std::wstring>;

class XTPLJobTest : public ::testing::Test {
 protected:
  // A whole document around `labels`, the text inside its LABELS element.
  static std::string Document(const std::string& labels, const std::string& defaults = "") {
    return "<?xml version=\"1.0\"?>\n<TPL-DOCUMENT>\n" + defaults + "<LABELS>\n" + labels +
           "\n</LABELS>\n</TPL-DOCUMENT>\n";
  }
  // One label holding `objects`; its own attributes are `attributes`.
  static std::string InLabel(const std::string& objects, const std::string& attributes = "") {
    return Document("<LABEL" + attributes + ">" + objects + "</LABEL>");
  }

  // Parses from a fresh start: no label-level values, an empty log.
  CommandList Parse(const std::string& job, int dpi = 300) {
    data_ = TPLData();
    std::filesystem::remove_all(root_);
    return ParseAgain(job, dpi);
  }
  // Parses with the values earlier jobs left in the record.
  CommandList ParseAgain(const std::string& job, int dpi = 300) {
    XTPLParser parser(&data_);
    parser.SetParserDPI(dpi);
    CommandList out;
    EXPECT_TRUE(parser.ParseData(job.data(), static_cast<int32_t>(job.size()), out));
    return out;
  }

  // "KIND p0|p1|..." per record: the kind by name, then its parameters.
  static Lines Show(const CommandList& commands) {
    Lines lines;
    for (const LabelCommand& c : commands) {
      std::wstring line = platform::BytesToWide(record::KindName(c.kind));
      for (size_t i = 0; i < c.params.size(); ++i) line += (i ? L"|" : L" ") + c.params[i];
      lines.push_back(line);
    }
    return lines;
  }
  // The SCRIPT_ERROR messages, in order.
  static Lines Errors(const CommandList& commands) {
    Lines messages;
    for (const LabelCommand& c : commands) {
      if (c.kind == SCRIPT_ERROR) messages.push_back(c.params.at(0));
    }
    return messages;
  }

  // The messages logged so far, without their time stamps and line breaks.
  std::vector<std::string> Logged() const {
    std::ifstream file(root_ / "Logging" / "XTPL_ERROR_LOG.TXT", std::ios::binary);
    constexpr size_t kStamp = sizeof("[01/15/2024, 09:05:07] ") - 1;
    std::vector<std::string> messages;
    for (std::string line; std::getline(file, line);) {
      messages.push_back(line.substr(kStamp, line.size() - kStamp - 1));
    }
    return messages;
  }

  ScopedStoreRoot store_{"xtpl-tests"};
  const std::filesystem::path& root_ = store_.Root();
  TPLData data_;
};
