// The one reader with the full dialect's options: prefix changes and binary
// graphic data are read only when asked for, so the device reads a job as it
// always did.

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "parsers/zpl/ZPLReader.h"
#include "platform/Text.h"

namespace {

using Lines = std::vector<std::wstring>;

TEST(ZPLReaderTest, PrefixChangesAndBinaryGraphicsAreOptions) {
  // job, as the device reads it, as the full dialect reads it
  const std::tuple<std::string, Lines, Lines> cases[] = {
      {"^XA^CC++FO1,2+XZ", {L"^XA", L"^CC++FO1,2+XZ"}, {L"^XA", L"^CC+", L"^FO1,2", L"^XZ"}},
      {"~CT##JR^XZ", {L"~CT##JR", L"^XZ"}, {L"~CT#", L"~JR", L"^XZ"}},
      // Two bytes of binary data that look like a prefix and a line end.
      {"^GFB,2,2,1,^\n^FS", {L"^GFB,2,2,1,", L"^", L"^FS"}, {L"^GFB,2,2,1,^\n", L"^FS"}},
      // Data written as text keeps the usual cut.
      {"^GFB,2,2,1,:B64:AA==^FS",
       {L"^GFB,2,2,1,:B64:AA==", L"^FS"},
       {L"^GFB,2,2,1,:B64:AA==", L"^FS"}},
      // A count beyond the job is not trusted: the data is cut as text is.
      {"^GFC,99,99,1,^X", {L"^GFC,99,99,1,", L"^X"}, {L"^GFC,99,99,1,", L"^X"}},
      {"^GFB,5,5,1,^XZ", {L"^GFB,5,5,1,", L"^XZ"}, {L"^GFB,5,5,1,", L"^XZ"}},
      {"^GFB,3,3,1,^XZ", {L"^GFB,3,3,1,", L"^XZ"}, {L"^GFB,3,3,1,^XZ"}},
  };
  for (const auto& [job, device, full] : cases) {
    EXPECT_EQ(CutZplCommands(std::string_view(job), kDeviceReading), device) << job;
    EXPECT_EQ(CutZplCommands(std::string_view(job), kFullReading), full) << job;
    EXPECT_EQ(CutZplCommands(std::wstring_view(platform::BytesToWide(job)), kDeviceReading), device)
        << job;
  }
}

TEST(ZPLReaderTest, FullReadingChangesPrefixesAndDelimiter) {
  const std::pair<std::string, Lines> cases[] = {
      // The drivers' preamble: a stray prefix, then each character set to
      // what it already is (the new character may be a prefix itself).
      {"CT~~CD,~CC^~CT~^XA", {L"~CD,", L"~CC^", L"~CT~", L"^XA"}},
      // Changed and changed back.
      // Changed and changed back; what stands between a change and the next
      // prefix is no command.
      {"^CC+^FO1+FO2+CC^^FO3", {L"^CC+", L"^FO2", L"^CC^", L"^FO3"}},
      {"~CT#~JR#JR#CT~~JR", {L"~CT#", L"~JR", L"~CT~", L"~JR"}},
      // Parameters are handed on with commas; field data keeps what it holds.
      {"^CD;^FO1;2^FDa,b;c^FS^A0N;3,4^CD,^FO5,6",
       {L"^CD;", L"^FO1,2", L"^FDa,b;c", L"^FS", L"^A0N,3;4", L"^CD,", L"^FO5,6"}},
      // A graphic's binary data is counted by the delimiter and kept as sent.
      {"^CD;^GFB;2;2;1;;,^FS", {L"^CD;", L"^GFB,2,2,1,;,", L"^FS"}},
  };
  for (const auto& [job, full] : cases) {
    EXPECT_EQ(CutZplCommands(std::string_view(job), kFullReading), full) << job;
  }
}

TEST(ZPLReaderTest, AFalseFromTheVisitorStopsTheReading) {
  Lines seen;
  ReadZplCommands("^XA^FO1,1^XZ", kFullReading, [&seen](const std::wstring& command) {
    seen.push_back(command);
    return seen.size() < 2;
  });
  EXPECT_EQ(seen, (Lines{L"^XA", L"^FO1,1"}));
}

// Each command is placed where its prefix stands, up to the next command,
// the line breaks that end it left out: what an error report points at.
TEST(ZPLReaderTest, CommandsArePlacedInTheirBytes) {
  // job, reading, "offset+length" of each command
  const std::tuple<std::string, ZPLReadOptions, std::vector<std::string>> cases[] = {
      {"^XA^FO1,2^XZ", kDeviceReading, {"0+3", "3+6", "9+3"}},
      {"ignored\r\n^XA\r\n^FDa b ^FS\n\n^XZ", kDeviceReading, {"9+3", "14+7", "21+3", "26+3"}},
      // A line break inside a command is part of it.
      {"^FO1,\r\n2^XZ", kDeviceReading, {"0+8", "8+3"}},
      // A prefix change: the bytes after it up to the next prefix are no command's.
      {"^CC+junk+XA", kFullReading, {"0+4", "8+3"}},
      // A prefix at once followed by another is no command.
      {"^^XA", kFullReading, {"1+3"}},
  };
  for (const auto& [job, options, expected] : cases) {
    std::vector<std::string> spans;
    ReadZplCommands(job, options, [&spans](const std::wstring&, ZPLCommandSpan span) {
      spans.push_back(std::to_string(span.offset) + "+" + std::to_string(span.length));
      return true;
    });
    EXPECT_EQ(spans, expected) << job;
  }
}

}  // namespace
