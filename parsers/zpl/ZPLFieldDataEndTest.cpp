// Field data ended by something other than "^FS": which commands end it, and
// that the warning stands at the data command.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "parsers/zpl/ZPLFieldDataEnd.h"
#include "platform/Text.h"

namespace {

struct Found {
  std::string message;
  int64_t offset;
  int32_t length;
  bool operator==(const Found&) const = default;
};

std::vector<Found> Warnings(const std::string& job) {
  ZPLFieldDataEnd watch;
  std::vector<Found> found;
  ReadZplCommands(job, kFullReading, [&](const std::wstring& command, ZPLCommandSpan span) {
    if (auto w = watch.Next(command, span)) {
      EXPECT_EQ(w->kind, ScriptProblem::kWarning);
      found.push_back(Found{platform::WideToUtf8(w->message), w->offset, w->length});
    }
    return true;
  });
  return found;
}

TEST(ZPLFieldDataEndTest, WarnsAtDataThatNoFieldSeparatorEnds) {
  const struct {
    std::string job;
    std::vector<Found> expected;
  } cases[] = {
      {"^XA^FO1,1^FDa^FS^XZ", {}},
      {"^XA^FO1,1^FDa^XZ", {{"^FD without ^FS: its data ends at ^XZ", 9, 4}}},
      {"^XA^FO1,1^FDab\n^FO5,5^FDc^FS^XZ", {{"^FD without ^FS: its data ends at ^FO", 9, 5}}},
      // An object command for the next field ends it too, and so does more data.
      {"^XA^FO1,1^FDa^A0N,20,20^FDb^FS^XZ", {{"^FD without ^FS: its data ends at ^A0", 9, 4}}},
      {"^XA^FO1,1^FDa^FDb^FS^XZ", {{"^FD without ^FS: its data ends at ^FD", 9, 4}}},
      {"^XA^FO1,1^FVa^BY2^XZ", {{"^FV without ^FS: its data ends at ^BY", 9, 4}}},
      // Lower case is the same command.
      {"^xa^fo1,1^fda^xz", {{"^FD without ^FS: its data ends at ^XZ", 9, 4}}},
      // Commands that belong to no field leave the data open until one does.
      {"^XA^FO1,1^FDa^PQ2^XZ", {{"^FD without ^FS: its data ends at ^XZ", 9, 4}}},
      {"^XA^FO1,1^FDa~JA^FS^XZ", {}},
      // Each field once, and a job ending inside its data is said elsewhere.
      {"^XA^FDa^FO1,1^FO2,2^XZ", {{"^FD without ^FS: its data ends at ^FO", 3, 4}}},
      {"^XA^FO1,1^FDa", {}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Warnings(c.job), c.expected) << c.job;
  }
}

}  // namespace
