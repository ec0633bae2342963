// End-to-end: what labelhost does with input that is too much, broken or
// hostile, with a store whose disk is full, and with a store and an output
// folder that several runs share. Each case names what a user would see.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <memory>
#include <random>
#include <set>

#include "host/HostTestSupport.h"

namespace host::testing {
namespace {

namespace fs = std::filesystem;

const std::string kHello = "^XA^FO50,50^A0N,40,40^FDHello^FS^XZ";
const std::string kScript = "^XA^CI28^FO50,50^A0N,40,40^FDStill here^FS^XZ";

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

std::string Repeat(const std::string& text, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += text;
  return out;
}

class HostileInputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_.Write("hello.zpl", kHello);
    dir_.Write("script.zpl", kScript);
    dir_.Write("copies.zpl", "^XA^PQ5^FO50,50^A0N,40,40^FDCopy^FS^XZ");
    dir_.Write("two.zpl", kHello + kHello);
    dir_.Write("big.zpl", "^XA^FO50,50^FD" + std::string(3000, 'x') + "^FS^XZ\n" + kHello);
    dir_.Write("batch.zpl", Repeat(kHello + "\r\n", 40));  // 1480 bytes
    dir_.Write("cut.zpl", "^XA^FO50,50^FDno end");
    dir_.Write("ctrl.zpl", "^XA^C\x1b[31mRED\x1b[0m\x07\x9b^FO50,50^FDx^FS^XZ");
    dir_.Write("long.zpl", "^XA^FO50,50^BCN,80,Y,N^FD" + std::string(1 << 20, 'A') + "^FS^XZ");
    dir_.Write("errors.zpl", "^XA" + Repeat("^QQ", 5) + "^FO50,50^FDx^FS^XZ");
    dir_.Write("open.tpl", "STARTTPL 1.0\n" +
                               Repeat("STARTLABEL\nSTARTTEXT\nTEXT x\nENDTEXT\n", 3) + "ENDTPL\n");
  }

  ScratchDir dir_;
};

TEST_F(HostileInputTest, RunsSayWhatHappenedAndEndWithTheRightStatus) {
  struct Case {
    const char* what;
    std::vector<std::string> args;
    int exitCode;
    size_t files;
    std::vector<std::string> said;  // parts of the report
    std::string error = "";         // the first line on standard error, if any
    std::vector<std::string> unsaid = {};
  };
  const std::string jobLimit =
      "stopped at the limit of 3 labels per job (--max-labels-per-job): the job's other labels "
      "were not printed";
  const std::string discarded =
      "discarded: the job holds more than 1024 bytes, the most intake keeps for one job "
      "(--max-job-input); nothing of it was printed";
  const Case cases[] = {
      {"a job limit stops copies",
       {"--max-labels-per-job", "3", "copies.zpl"},
       1,
       3,
       {"copies.zpl: job 1, ZPL, 3 labels,", "\n  note: " + jobLimit + "\n"},
       "labelhost: copies.zpl: job 1: " + jobLimit},
      {"a run limit stops the run",
       {"--max-labels-per-run", "3", "two.zpl", "two.zpl", "hello.zpl"},
       1,
       3,
       {"two.zpl: job 2, ZPL, 0 labels",
        "note: stopped at the limit of 3 labels per run (--max-labels-per-run): nothing more is "
        "printed in this run"},
       "labelhost: two.zpl: job 2: stopped at the limit of 3 labels per run",
       {"hello.zpl"}},
      {"a byte limit per job",
       {"--max-output-per-job", "1", "hello.zpl"},
       1,
       0,
       {"stopped at the limit of 1 bytes written per job (--max-output-per-job)"},
       "labelhost: hello.zpl: job 1: stopped at the limit of 1 bytes"},
      {"a job over intake's limit is discarded, and said so",
       {"--max-job-input", "1K", "big.zpl"},
       1,
       1,
       {"big.zpl: job 1, ZPL, 0 labels,", "\n  note: " + discarded + "\n",
        "big.zpl: job 2, ZPL, 1 label"},
       "labelhost: big.zpl: job 1: " + discarded},
      // Reads of a fixed size cut jobs as a slow port does: the read that
      // holds the end of the discarded job also holds the next one.
      {"also when the file is read in chunks",
       {"--max-job-input", "1K", "--chunk", "512", "big.zpl"},
       1,
       2,
       {"big.zpl: job 1, ZPL, 0 labels,", "\n  note: " + discarded + "\n"},
       "labelhost: big.zpl: job 1: " + discarded},
      {"a batch larger than intake's limit prints whole, job by job",
       {"--max-job-input", "1K", "batch.zpl"},
       0,
       40,
       {"batch.zpl: job 1, ZPL, 1 label,", "batch.zpl: job 40, ZPL, 1 label,"}},
      {"control characters never reach the terminal",
       {"ctrl.zpl"},
       0,
       1,
       {"script error (ZPL_ERROR_LOG.TXT): Unsupported command: "
        "^C\\x1b[31mRED\\x1b[0m\\x07\\u009b"},
       "",
       {"\x1b", "\x07"}},
      {"and JSON escapes them",
       {"--report", "json", "ctrl.zpl"},
       0,
       1,
       {"\"message\":\"Unsupported command: ^C\\u001b[31mRED\\u001b[0m\\u0007\\u009b\""}},
      {"a megabyte of barcode data is cut in the report",
       {"long.zpl"},
       0,
       1,
       {"AAAA... (10486", " characters in all)\n"}},
      // A job's lines in a log, and the script errors its report lists, are
      // capped; the rest are counted.
      {"a job's log lines are capped",
       {"--max-log-lines-per-job", "2", "errors.zpl"},
       0,
       1,
       {"errors.zpl: job 1, ZPL, 1 label, 1 file, 1 log line, 5 script errors,",
        "  log ZPL_ERROR_LOG.TXT: [", "] 3 more lines of this job not logged (a job logs at most 2",
        "  note: 3 more script errors not listed (2 are)\n"}},
      {"and not under the cap",
       {"--max-log-lines-per-job", "5", "errors.zpl"},
       0,
       1,
       {"errors.zpl: job 1, ZPL, 1 label, 1 file, 0 log lines, 5 script errors,"},
       "",
       {"not logged", "not listed"}},
      {"labels left open are noted",
       {"open.tpl"},
       0,
       0,
       {"open.tpl: job 1, TPL, 0 labels,",
        "note: 3 labels were started and never printed (each was left without its end, the last "
        "when the job ended)"}},
      // --strict: 3 when a job had problems, 1 still wins.
      {"strict, all well", {"--strict", "hello.zpl"}, 0, 1, {}},
      {"strict, a script error", {"--strict", "script.zpl"}, 3, 1, {}},
      {"strict, labels left open", {"--strict", "open.tpl"}, 3, 0, {}},
      {"strict, no end marker", {"--strict", "cut.zpl"}, 3, 0, {}},
      {"strict, but a job was lost",
       {"--strict", "--max-job-input", "1K", "big.zpl"},
       1,
       1,
       {},
       "labelhost: big.zpl: job 1: discarded"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove_all(dir_ / "out");
    const RunResult r = RunIn(dir_, "render", c.args);
    EXPECT_EQ(r.exitCode, c.exitCode) << r.err;
    EXPECT_EQ(FileNames(dir_ / "out").size(), c.files);
    for (const std::string& part : c.said)
      EXPECT_TRUE(Contains(r.out, part)) << part << " in\n" << r.out;
    for (const std::string& part : c.unsaid) EXPECT_FALSE(Contains(r.out, part)) << part;
    EXPECT_LT(r.out.size(), 8192u);
    const auto errors = SplitLines(r.err);
    if (c.error.empty()) {
      EXPECT_EQ(r.err, "");
    } else {
      ASSERT_EQ(errors.size(), 1u) << r.err;
      EXPECT_EQ(errors[0].rfind(c.error, 0), 0u) << errors[0];
    }
  }
}

// A stream is printed as it arrives: the first label is written while the
// rest of the input has not been sent yet.
TEST_F(HostileInputTest, TheFirstLabelIsWrittenBeforeTheInputEnds) {
  const fs::path fifo = dir_ / "port";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  BackgroundRun run(dir_, "render", {"-"}, fifo.string());
  {
    std::ofstream port(fifo, std::ios::binary);
    port << kHello << std::flush;
    bool written = false;
    for (int waited = 0; !written && waited < 6000; ++waited) {
      written = fs::exists(dir_ / "out" / "stdin-0001.png");
      if (!written) ::usleep(10000);
    }
    EXPECT_TRUE(written) << "the first label waited for the end of the input";
    port << kHello;
  }
  const RunResult r = run.Wait();
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(FileNames(dir_ / "out"),
            (std::vector<std::string>{"stdin-0001.png", "stdin-0002.png"}));
}

// Runs that share a store and an output folder: each report holds the lines
// its own jobs wrote, every label gets a file of its own, and the shared log
// holds every line whole.
TEST_F(HostileInputTest, RunsSharingAStoreAndAFolderKeepTheirOwn) {
  dir_.Write("ten.zpl", Repeat(kScript + "\n", 10));
  std::vector<std::unique_ptr<BackgroundRun>> runs;
  for (int i = 0; i < 4; ++i) {
    runs.push_back(std::make_unique<BackgroundRun>(
        dir_, "render", std::vector<std::string>{"--report", "json", "ten.zpl"}));
  }
  std::set<std::string> named;
  for (auto& run : runs) {
    const RunResult r = run->Wait();
    EXPECT_EQ(r.exitCode, 0) << r.err;
    const auto reports = SplitLines(r.out);
    ASSERT_EQ(reports.size(), 10u) << r.out;
    for (const std::string& report : reports) {
      // Each job stands on a line of its own, its ^CI28 in the fourth column.
      const int job = std::stoi(report.substr(report.find("\"job\":") + 6));
      EXPECT_TRUE(Contains(report,
                           "\"script_errors\":[{\"message\":\"Unsupported command: ^CI28\",\"log\":"
                           "\"ZPL_ERROR_LOG.TXT\",\"line\":" +
                               std::to_string(job) + ",\"column\":4,\"offset\":" +
                               std::to_string((job - 1) * (kScript.size() + 1) + 3) +
                               ",\"length\":5}],\"log\":[],"))
          << report;
      const size_t from = report.find("\"files\":[\"") + 10, to = report.find('"', from);
      EXPECT_TRUE(named.insert(report.substr(from, to - from)).second) << report;
    }
  }
  EXPECT_EQ(named.size(), 40u);
  EXPECT_EQ(FileNames(dir_ / "out").size(), 40u);
  const auto logged = SplitLines(ReadFile(dir_ / "store" / "Logging" / "ZPL_ERROR_LOG.TXT"));
  ASSERT_EQ(logged.size(), 40u);
  for (const std::string& line : logged) {
    EXPECT_EQ(line.rfind("[", 0), 0u) << line;
    EXPECT_TRUE(Contains(line, "] Unsupported command: ^CI28\r")) << line;
  }
}

// The bytes a file size limit of `blocks` allows, as the shell counts blocks.
size_t LimitBytes(const ScratchDir& dir, int blocks) {
  const fs::path probe = dir / "probe";
  const std::string command = "ulimit -f " + std::to_string(blocks) +
                              "; head -c 65536 /dev/zero >'" + probe.string() + "' 2>/dev/null";
  if (std::system(("/bin/sh -c \"" + command + "\"").c_str()) == -1) return 0;
  std::error_code ec;
  const size_t bytes = static_cast<size_t>(fs::file_size(probe, ec));
  fs::remove(probe, ec);
  return ec ? 0 : bytes;
}

// With the store's disk full (here: a file size limit just above the log),
// the line is not written, nothing of it is left, the report and the exit
// status say so, and the next run's line starts on a line of its own.
TEST_F(HostileInputTest, ALogLineTheDiskCannotTakeIsReportedAndLeavesNoTornLine) {
  const size_t limit = LimitBytes(dir_, 2);
  ASSERT_GT(limit, 100u);
  const fs::path log = dir_ / "store" / "Logging" / "ZPL_ERROR_LOG.TXT";
  const std::string before = "[x] " + std::string(limit - 16, 'p') + "\r\n";  // 10 bytes free
  dir_.Write("store/Logging/ZPL_ERROR_LOG.TXT", before);
  RunSettings full;
  full.fileSizeLimitBlocks = 2;
  const RunResult r = RunIn(dir_, "render", {"--on-script-error", "skip", "script.zpl"}, full);
  EXPECT_EQ(r.exitCode, 1);
  const std::string lost = "a log line could not be written to ZPL_ERROR_LOG.TXT: File too large (";
  EXPECT_TRUE(Contains(r.out, "\nscript.zpl:1:4: script error: Unsupported command: ^CI28\n"))
      << r.out;
  EXPECT_TRUE(Contains(r.out, "\n  note: " + lost)) << r.out;
  EXPECT_EQ(r.err.rfind("labelhost: script.zpl: job 1: " + lost, 0), 0u) << r.err;
  EXPECT_EQ(ReadFile(log), before);

  // A line torn by some earlier writer is ended before the next one.
  std::ofstream(log, std::ios::binary | std::ios::app) << "[x] torn";
  const RunResult next = RunIn(dir_, "render", {"--on-script-error", "skip", "script.zpl"});
  EXPECT_EQ(next.exitCode, 0) << next.err;
  const std::string after = ReadFile(log);
  ASSERT_EQ(after.rfind(before + "[x] torn\r\n[", 0), 0u) << after;
  EXPECT_EQ(SplitLines(after.substr(before.size())).size(), 2u);
  EXPECT_TRUE(Contains(after, "] Unsupported command: ^CI28\r\n"));
}

// A graphic the store has no room for (a file size limit stands in for a
// full disk): the job says which file and why, and the run ends with 1.
TEST_F(HostileInputTest, AGraphicTheStoreCannotTakeEndsTheRunWithStatusOne) {
  const size_t limit = LimitBytes(dir_, 128);
  ASSERT_GT(limit, 16384u);
  const size_t count = 2 * limit / 100 * 100;  // whole rows of 100 bytes
  std::string hex;
  std::minstd_rand noise(1);
  for (size_t i = 0; i < 2 * count; ++i) {  // noise: its PNG is as large as its bytes
    hex += "0123456789ABCDEF"[noise() & 15];
  }
  const std::string bytes = std::to_string(count);
  dir_.Write("noise.zpl", "^XA^FO0,0^GFA," + bytes + "," + bytes + ",100," + hex + "^FS^XZ");
  RunSettings full;
  full.fileSizeLimitBlocks = 128;
  const RunResult r = RunIn(dir_, "render", {"--zpl", "full", "noise.zpl"}, full);
  EXPECT_EQ(r.exitCode, 1);
  const std::string said = "could not be stored: File too large";
  EXPECT_TRUE(Contains(r.out, "script error (ZPL_ERROR_LOG.TXT): Graphic field skipped, GF"))
      << r.out;
  EXPECT_TRUE(Contains(r.out, ".PNG " + said + "\n  note: Graphics/GF")) << r.out;
  EXPECT_EQ(r.err.rfind("labelhost: noise.zpl: job 1: Graphics/GF", 0), 0u) << r.err;
  EXPECT_TRUE(Contains(r.err, said)) << r.err;
  EXPECT_TRUE(FileNames(dir_ / "store" / "Graphics").empty());
}

}  // namespace
}  // namespace host::testing
