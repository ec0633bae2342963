// The command line, parsed in-process: how options are spelled and what the
// end-to-end tests cannot see, and the error a user sees for each mistake.
#include <gtest/gtest.h>

#include "host/printer/Options.h"

namespace host {
namespace {

HostOptions Parse(const std::vector<std::string>& args) {
  HostOptions options;
  std::string error;
  EXPECT_TRUE(ParseOptions(args, options, error)) << error;
  return options;
}

TEST(OptionsTest, SpellingsAndWhatARunDoesNotShow) {
  HostOptions o = Parse({"render", "a.zpl"});
  EXPECT_TRUE(o.formats.png && !o.formats.pdf && !o.formats.json && o.outDir == "." &&
              o.dpi == 300 && !o.store && !o.rotationFlags && o.chunkBytes == 0);
  o = Parse({"render", "-o", "out", "a.zpl", "b.tpl", "-"});
  EXPECT_EQ(o.outDir, "out");
  EXPECT_EQ(o.inputs, (std::vector<std::string>{"a.zpl", "b.tpl", "-"}));
  o = Parse({"render", "--out=x", "--format=pdf,json", "a"});
  EXPECT_TRUE(o.outDir == "x" && !o.formats.png && o.formats.pdf && o.formats.json);
  o = Parse({"render", "-fjson", "a"});  // a short option's value may be attached
  EXPECT_TRUE(o.formats.json && !o.formats.png);
  EXPECT_EQ(Parse({"render", "--media-rotation", "0x80", "a"}).rotationFlags, 0x80u);
  o = Parse({"render", "--answer", "Name=A=B", "--answer", "Empty=", "a"});
  EXPECT_EQ(o.answers.at(L"Name"), L"A=B");  // split at the first =
  EXPECT_EQ(o.answers.at(L"Empty"), L"");
  o = Parse({"render", "--clock", "2024-02-29 23:59:58", "a"});
  ASSERT_TRUE(o.clock);
  EXPECT_TRUE(o.clock->year == 2024 && o.clock->day == 29 && o.clock->second == 58);
  EXPECT_EQ(o.clock->dayOfWeek, 4);                    // a Thursday
  EXPECT_EQ(Parse({"render", "a"}).renderThreads, 0);  // one per core
  EXPECT_EQ(Parse({"render", "--threads", "1", "a"}).renderThreads, 1);
  o = Parse({"serve", "--grace-ms", "0", "--forward", "[::1]:9100", "--max-streams", "3"});
  EXPECT_TRUE(o.graceMs == 0 && o.forward == "[::1]:9100" && o.maxStreams == 3u);
  EXPECT_EQ(Parse({"render", "--", "--odd-name.zpl"}).inputs,
            std::vector<std::string>{"--odd-name.zpl"});
}

TEST(OptionsTest, LimitsTakeCountsAndSizes) {
  struct Case {
    std::vector<std::string> args;
    int64_t OutputLimits::*field;
    int64_t value;
  } cases[] = {
      {{}, &OutputLimits::labelsPerJob, 10000},
      {{}, &OutputLimits::labelsPerRun, 100000},
      {{}, &OutputLimits::bytesPerJob, int64_t{1} << 30},
      {{}, &OutputLimits::bytesPerRun, int64_t{4} << 30},
      {{"--max-labels-per-job", "25"}, &OutputLimits::labelsPerJob, 25},
      {{"--max-labels-per-run", "0"}, &OutputLimits::labelsPerRun, 0},
      {{"--max-output-per-job", "512k"}, &OutputLimits::bytesPerJob, 512 * 1024},
      {{"--max-output-per-run", "3G"}, &OutputLimits::bytesPerRun, int64_t{3} << 30},
      {{"--max-output-per-run", "4096"}, &OutputLimits::bytesPerRun, 4096},
      {{}, &OutputLimits::logLinesPerJob, 1000},
      {{"--max-log-lines-per-job", "0"}, &OutputLimits::logLinesPerJob, 0},
      {{}, &OutputLimits::logBytes, 16 << 20},
      {{"--max-log-size", "1M"}, &OutputLimits::logBytes, 1 << 20},
      {{}, &OutputLimits::pictureBytesPerLabel, 128 << 20},
      {{"--max-picture-memory", "64M"}, &OutputLimits::pictureBytesPerLabel, 64 << 20},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = {"render"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    args.push_back("a.zpl");
    EXPECT_EQ(Parse(args).limits.*c.field, c.value);
  }
  EXPECT_EQ(Parse({"render", "a"}).maxJobInput, size_t{64} << 20);
  EXPECT_EQ(Parse({"render", "--max-job-input", "2M", "a"}).maxJobInput, size_t{2} << 20);
  EXPECT_FALSE(Parse({"render", "a"}).strict);
  EXPECT_TRUE(Parse({"render", "--strict", "a"}).strict);
}

TEST(OptionsTest, MediaSizesInInchesOrMillimetresAndResolutionPerMm) {
  const struct {
    std::vector<std::string> args;  // after "render"
    double width, length;           // inches
    int dpi;
  } cases[] = {
      {{}, 4.0, 0.0, 300},
      {{"--width", "2.5", "--length", "1"}, 2.5, 1.0, 300},
      {{"--width", "2.5in", "--length", "1in"}, 2.5, 1.0, 300},
      {{"--width", "101.6mm", "--length=152.4mm"}, 4.0, 6.0, 300},
      {{"--media", "4x6in"}, 4.0, 6.0, 300},
      {{"--media", "100x150mm"}, 100 / 25.4, 150 / 25.4, 300},
      {{"--media", "2x1"}, 2.0, 1.0, 300},
      {{"--media", "4x6in", "--length", "3"}, 4.0, 3.0, 300},  // the last word wins
      {{"--dpmm", "8"}, 4.0, 0.0, 203},
      {{"--dpmm", "12"}, 4.0, 0.0, 300},
      {{"--dpi", "203", "--dpmm", "24"}, 4.0, 0.0, 600},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = {"render"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    args.push_back("a.zpl");
    const HostOptions o = Parse(args);
    SCOPED_TRACE(args[1]);
    EXPECT_NEAR(o.widthInches, c.width, 1e-9);
    EXPECT_NEAR(o.lengthInches, c.length, 1e-9);
    EXPECT_EQ(o.dpi, c.dpi);
  }
}

TEST(OptionsTest, EachCommandsHelpNamesItAndOnlyTheOptionsItUses) {
  for (const std::string& command : CommandNames()) {
    SCOPED_TRACE(command);
    const std::string text = UsageText(command);
    EXPECT_EQ(text.rfind("Usage: labelhost " + command, 0), 0u);
    EXPECT_EQ(text.find("--chunk") != std::string::npos,
              command == "render" || command == "watch" || command == "lint");
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
       "invalid value 'nan' for --width (expected 0.25 to 20 inches, or millimetres such as "
       "100mm)"},
      {{"render", "--width", "3cm", "a"},
       "invalid value '3cm' for --width (expected 0.25 to 20 inches, or millimetres such as "
       "100mm)"},
      {{"render", "--width", "600mm", "a"},
       "invalid value '600mm' for --width (expected 0.25 to 20 inches, or millimetres such as "
       "100mm)"},
      {{"render", "--length", "0", "a"},
       "invalid value '0' for --length (expected 0.25 to 50 inches, or millimetres such as "
       "150mm)"},
      {{"render", "--media", "4x", "a"},
       "invalid value '4x' for --media (expected WIDTHxLENGTH such as 4x6in or 100x150mm)"},
      {{"render", "--media", "4inx6in", "a"},
       "invalid value '4inx6in' for --media (expected WIDTHxLENGTH such as 4x6in or 100x150mm)"},
      {{"render", "--dpmm", "10", "a"}, "invalid value '10' for --dpmm (expected 8, 12 or 24)"},
      {{"help", "draw"}, "unknown command 'draw'"},
      {{"help", "render", "watch"}, "help takes at most one COMMAND"},
      {{"watch"}, "watch needs at least one FILE"},
      {{"watch", "a", "-"}, "watch cannot watch standard input"},
      {{"render", "--format", "png,", "a"},
       "invalid value 'png,' for --format (expected png, pdf or json)"},
      {{"render", "--report", "xml", "a"},
       "invalid value 'xml' for --report (expected text or json)"},
      {{"render", "--answer", "=x", "a"},
       "invalid value '=x' for --answer (expected PROMPT=VALUE)"},
      {{"render", "--on-script-error", "ask", "a"},
       "invalid value 'ask' for --on-script-error (expected print or skip)"},
      {{"render", "--threads", "-1", "a"},
       "invalid value '-1' for --threads (expected 0 (one per core) to 256)"},
      {{"render", "--chunk", "0", "a"},
       "invalid value '0' for --chunk (expected 1 to 1073741824 bytes)"},
      {{"render", "--clock", "2024-13-01 00:00:00", "a"},
       "invalid value '2024-13-01 00:00:00' for --clock (expected YYYY-MM-DD HH:MM:SS)"},
      {{"render", "--max-job-input", "512", "a"},
       "invalid value '512' for --max-job-input (expected a size from 1K to 1G)"},
      {{"render", "--max-job-input", "2G", "a"},
       "invalid value '2G' for --max-job-input (expected a size from 1K to 1G)"},
      {{"render", "--max-output-per-job", "-1", "a"},
       "invalid value '-1' for --max-output-per-job (expected a size such as 512M, or 0)"},
      {{"render", "--max-output-per-job", "1T", "a"},
       "invalid value '1T' for --max-output-per-job (expected a size such as 512M, or 0)"},
      {{"render", "--max-labels-per-job", "10k", "a"},
       "invalid value '10k' for --max-labels-per-job (expected a count, or 0)"},
      {{"render", "--media-rotation", "-1", "a"},
       "invalid value '-1' for --media-rotation (expected flags such as 0x40)"},
      {{"serve", "--forward", "printer"},
       "invalid value 'printer' for --forward (expected HOST:PORT)"},
      {{"serve", "--forward", "printer:0"},
       "invalid value 'printer:0' for --forward (expected HOST:PORT)"},
      {{"serve", "--forward", ":9100"}, "invalid value ':9100' for --forward (expected HOST:PORT)"},
      {{"serve", "--http-per-address", "0"},
       "invalid value '0' for --http-per-address (expected 1 to 65535)"},
      {{"serve", "--grace-ms", "-1"},
       "invalid value '-1' for --grace-ms (expected 0 to 3600000 milliseconds)"},
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
