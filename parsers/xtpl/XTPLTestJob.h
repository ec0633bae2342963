#pragma once
// Test support: XTPL documents written around their labels, run through the
// shared parser fixture, and records shown as lines of text so that tables can
// list them.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "parsers/xtpl/XTPLParser.h"
#include "platform/Text.h"
#include "record/CommandRecord.h"
#include "testing/ParserTestFixture.h"

using Lines = std::vector<std::wstring>;

class XTPLJobTest : public ParserTestFixture<XTPLParser, TPLData> {
 protected:
  XTPLJobTest() : ParserTestFixture("xtpl-tests", "XTPL_ERROR_LOG.TXT") {}

  // A whole document around `labels`, the text inside its LABELS element.
  static std::string Document(const std::string& labels, const std::string& defaults = "") {
    return "<?xml version=\"1.0\"?>\n<TPL-DOCUMENT>\n" + defaults + "<LABELS>\n" + labels +
           "\n</LABELS>\n</TPL-DOCUMENT>\n";
  }
  // One label holding `objects`; its own attributes are `attributes`.
  static std::string InLabel(const std::string& objects, const std::string& attributes = "") {
    return Document("<LABEL" + attributes + ">" + objects + "</LABEL>");
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
};
