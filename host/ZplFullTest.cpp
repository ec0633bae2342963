// The full ZPL dialect from the user's side: the dialect is chosen on the
// command line, and device mode hints at full mode when it would help. Its
// examples are checked with the others (ExamplesTest.cpp).
#include <gtest/gtest.h>

#include "host/HostTestSupport.h"
#include "host/printer/ZplHint.h"

namespace host::testing {
namespace {

TEST(ZplFullTest, TheDialectIsChosenOnTheCommandLine) {
  ScratchDir dir;
  dir.Write("ft.zpl", "^XA^FT40,80^A0N,40^FDBaseline^FS^XZ\n");
  const struct {
    std::vector<std::string> args;
    int exit;
    int labels;
    bool hint;
  } cases[] = {
      {{}, 0, 0, true},
      {{"--zpl", "device"}, 0, 0, true},
      {{"--zpl", "full"}, 0, 1, false},
      {{"--zpl", "zebra"}, 2, 0, false},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = c.args;
    args.push_back("ft.zpl");
    const RunResult r = RunIn(dir, "render", args);
    SCOPED_TRACE(r.out + r.err);
    EXPECT_EQ(r.exitCode, c.exit);
    if (c.exit != 0) continue;
    EXPECT_NE(r.out.find(", " + std::to_string(c.labels) + " label"), std::string::npos);
    EXPECT_EQ(r.out.find("note: this printer does not support ^FT; --zpl full prints it as a "
                         "full ZPL printer would") != std::string::npos,
              c.hint);
  }
}

TEST(ZplFullTest, TheHintNamesEachCommandFullModePrintsOnce) {
  using Commands = std::vector<std::string>;
  const std::pair<Commands, std::string> cases[] = {
      {{"^FT10,20", "^FB300,2", "^FT5,5"},
       "this printer does not support ^FT, ^FB; --zpl full prints it as a full ZPL printer would"},
      {{"^MMT", "^ZZ1", "~JA"},
       "this printer does not support ^MM, ~JA; --zpl full prints it as a full ZPL printer would"},
      {{"^PR4", "^ZZ1", "~HS"}, ""},
      {{}, ""},
  };
  for (const auto& [commands, hint] : cases) EXPECT_EQ(FullDialectHint(commands), hint);
}

}  // namespace
}  // namespace host::testing
