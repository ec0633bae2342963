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
      // A count beyond the job takes what there is.
      {"^GFC,99,99,1,^X", {L"^GFC,99,99,1,", L"^X"}, {L"^GFC,99,99,1,^X"}},
  };
  for (const auto& [job, device, full] : cases) {
    EXPECT_EQ(CutZplCommands(std::string_view(job), kDeviceReading), device) << job;
    EXPECT_EQ(CutZplCommands(std::string_view(job), kFullReading), full) << job;
    EXPECT_EQ(CutZplCommands(std::wstring_view(platform::BytesToWide(job)), kDeviceReading), device)
        << job;
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

}  // namespace
