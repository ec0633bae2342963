// The command line, parsed in-process: what each option sets, and the error
// a user sees for each kind of mistake.
#include <gtest/gtest.h>

#include <functional>

#include "host/Options.h"

namespace host {
namespace {

HostOptions Parse(const std::vector<std::string>& args) {
  HostOptions options;
  std::string error;
  EXPECT_TRUE(ParseOptions(args, options, error)) << error;
  return options;
}

TEST(OptionsTest, OptionsSetTheirFields) {
  struct Case {
    std::vector<std::string> args;
    std::function<bool(const HostOptions&)> holds;
    const char* what;
  };
  const Case cases[] = {
      {{"render", "a.zpl"},
       [](const HostOptions& o) {
         return o.formats.png && !o.formats.pdf && !o.formats.json && o.outDir == "." &&
                o.dpi == 300 && !o.store && !o.rotationFlags && o.chunkBytes == 0;
       },
       "defaults"},
      {{"render", "-o", "out", "a.zpl", "b.tpl", "-"},
       [](const HostOptions& o) {
         return o.outDir == "out" && o.inputs == std::vector<std::string>{"a.zpl", "b.tpl", "-"};
       },
       "files in order, - kept"},
      {{"render", "--out=x", "--format=pdf,json", "a"},
       [](const HostOptions& o) {
         return o.outDir == "x" && !o.formats.png && o.formats.pdf && o.formats.json;
       },
       "--name=value"},
      {{"render", "-fjson", "a"},
       [](const HostOptions& o) { return o.formats.json && !o.formats.png; },
       "short option with its value attached"},
      {{"render", "--dpi", "203", "--width", "2.25", "a"},
       [](const HostOptions& o) { return o.dpi == 203 && o.widthInches == 2.25; },
       "printer"},
      {{"render", "--media-rotation", "0x80", "a"},
       [](const HostOptions& o) { return o.rotationFlags == 0x80u; },
       "hex flags"},
      {{"render", "--x-offset", "-0.5", "--y-offset", "0.125", "a"},
       [](const HostOptions& o) { return o.xOffset == -0.5f && o.yOffset == 0.125f; },
       "offsets"},
      {{"render", "--answer", "Name=A=B", "--answer", "Empty=", "a"},
       [](const HostOptions& o) {
         return o.answers.at(L"Name") == L"A=B" && o.answers.at(L"Empty").empty();
       },
       "answers split at the first ="},
      {{"render", "--on-script-error", "skip", "--on-ribbon-mismatch", "skip", "a"},
       [](const HostOptions& o) {
         return o.onScriptError == PrintDecision::kSkip &&
                o.onTapeMismatch == PrintDecision::kPrint &&
                o.onRibbonMismatch == PrintDecision::kSkip;
       },
       "decisions"},
      {{"render", "--clock", "2024-02-29 23:59:58", "a"},
       [](const HostOptions& o) {
         return o.clock && o.clock->year == 2024 && o.clock->day == 29 && o.clock->second == 58 &&
                o.clock->dayOfWeek == 4;  // a Thursday
       },
       "clock with weekday"},
      {{"render", "--font", "A", "--font", "B", "--no-system-fonts", "a"},
       [](const HostOptions& o) {
         return o.noSystemFonts && o.fonts == std::vector<std::string>{"A", "B"};
       },
       "fonts"},
      {{"render", "--", "--odd-name.zpl"},
       [](const HostOptions& o) { return o.inputs == std::vector<std::string>{"--odd-name.zpl"}; },
       "-- ends the options"},
      {{"font-label", "--store", "s"},
       [](const HostOptions& o) { return o.store == "s"; },
       "built-in label"},
      {{"--version"}, [](const HostOptions& o) { return o.version; }, "no command needed"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_TRUE(c.holds(Parse(c.args)));
  }
}

TEST(OptionsTest, MistakesAreNamed) {
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{}, "no command given"},
      {{"draw"}, "unknown command 'draw'"},
      {{"render"}, "render needs at least one FILE (or - for standard input)"},
      {{"config-label", "a.zpl"}, "config-label takes no FILE"},
      {{"render", "--nope", "a"}, "unknown option '--nope'"},
      {{"render", "-x", "a"}, "unknown option '-x'"},
      {{"render", "a", "--out"}, "option '--out' needs a value"},
      {{"render", "--quiet=yes", "a"}, "option '--quiet' takes no value"},
      {{"render", "--dpi", "71", "a"}, "invalid value '71' for --dpi (expected 72 to 1200)"},
      {{"render", "--dpi", "300dpi", "a"},
       "invalid value '300dpi' for --dpi (expected 72 to 1200)"},
      {{"render", "--width", "nan", "a"},
       "invalid value 'nan' for --width (expected 0.25 to 20 inches)"},
      {{"render", "--format", "png,", "a"},
       "invalid value 'png,' for --format (expected png, pdf or json)"},
      {{"render", "--report", "xml", "a"},
       "invalid value 'xml' for --report (expected text or json)"},
      {{"render", "--answer", "=x", "a"},
       "invalid value '=x' for --answer (expected PROMPT=VALUE)"},
      {{"render", "--on-script-error", "ask", "a"},
       "invalid value 'ask' for --on-script-error (expected print or skip)"},
      {{"render", "--chunk", "0", "a"},
       "invalid value '0' for --chunk (expected 1 to 1073741824 bytes)"},
      {{"render", "--clock", "2024-13-01 00:00:00", "a"},
       "invalid value '2024-13-01 00:00:00' for --clock (expected YYYY-MM-DD HH:MM:SS)"},
      {{"render", "--media-rotation", "-1", "a"},
       "invalid value '-1' for --media-rotation (expected flags such as 0x40)"},
  };
  for (const auto& [args, message] : cases) {
    SCOPED_TRACE(message);
    HostOptions options;
    std::string error;
    EXPECT_FALSE(ParseOptions(args, options, error));
    EXPECT_EQ(error, message);
  }
}

}  // namespace
}  // namespace host
