#pragma once
// The command line of labelhost, parsed into one record. main() parses it
// once and hands the record to the subcommand it names; nothing here touches
// the engine. Parsing never exits or prints: a bad command line comes back as
// an error text for main() to show.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "intake/LogLimits.h"
#include "parsers/zpl/ZplDialect.h"
#include "platform/Clock.h"
#include "vellum/PictureCache.h"

namespace host {

// What a callback answers when the session asks whether to print.
enum class PrintDecision { kPrint, kSkip };

enum class ReportFormat { kText, kJson };

struct OutputFormats {
  bool png = false;
  bool pdf = false;
  bool json = false;
};

// How much one job and one run may write; 0 lifts a limit. What stops at a
// limit is said in the job's report.
struct OutputLimits {
  int64_t labelsPerJob = 10'000;
  int64_t bytesPerJob = int64_t{1} << 30;
  int64_t labelsPerRun = 100'000;
  int64_t bytesPerRun = int64_t{4} << 30;
  // The store's error logs (intake/LogLimits.h): lines one job writes to a
  // log, and the size past which a log is moved aside.
  int64_t logLinesPerJob = LogLimits{}.linesPerJob;
  int64_t logBytes = LogLimits{}.bytesPerLog;
  // Decoded pictures one label holds at once (vellum/PictureCache.h).
  int64_t pictureBytesPerLabel = vellum::kDefaultPictureBytesPerLabel;
};

// Media sizes the command line accepts, inches.
inline constexpr double kMinWidthInches = 0.25;
inline constexpr double kMaxWidthInches = 20.0;
inline constexpr double kMinLengthInches = 0.25;
inline constexpr double kMaxLengthInches = 50.0;

struct HostOptions {
  std::vector<std::string> arguments;  // the command line as given, for handing it on
  std::string command;                 // one of CommandNames()
  std::vector<std::string> inputs;     // job files; "-" is standard input
  bool help = false;
  std::string helpTopic;  // the command whose help is asked for; "" for all
  bool version = false;

  // Output.
  std::string outDir = ".";
  OutputFormats formats;  // none given: PNG
  ReportFormat report = ReportFormat::kText;
  bool progress = false;
  bool quiet = false;  // no per-job report

  // Printer and media.
  int dpi = 300;
  double widthInches = 4.0;
  double lengthInches = 0.0;         // 0: continuous media, labels as long as their content
  bool lengthFromMediaOnly = false;  // the render interface's canvas: a label's own length
                                     // cuts nothing
  std::optional<std::string> store;  // sets the store root
  std::string tape;
  std::string ribbon;
  std::optional<uint32_t> rotationFlags;  // installed media flags (0x20, 0x40, 0x80)
  float xOffset = 0.0f;                   // inches
  float yOffset = 0.0f;
  std::vector<std::string> fonts;  // added to (or, with noSystemFonts, replacing) the defaults
  bool noSystemFonts = false;
  std::map<std::wstring, std::wstring> answers;  // prompt text -> value
  std::optional<platform::LocalTime> clock;      // fixed time for date fields and logs

  // The three callbacks' answers.
  PrintDecision onScriptError = PrintDecision::kPrint;
  PrintDecision onTapeMismatch = PrintDecision::kPrint;
  PrintDecision onRibbonMismatch = PrintDecision::kPrint;

  // Intake.

  // serve: the network printer. A port of -1 is off; 0 picks a free one.
  std::string bind = "127.0.0.1";
  int rawPort = 9100;
  int httpPort = 8080;
  int idleMs = 500;                          // a pause this long ends a read
  int timeoutMs = 30000;                     // silent or trickling clients are dropped
  size_t maxJobBytes = 64u * 1024u * 1024u;  // per connection read and per HTTP body
  int headerMs = 10000;                      // an HTTP request's head, from its first byte
  size_t httpPerAddress = 32;                // HTTP connections one client address may hold
  size_t maxStreams = 256;                   // live page feeds open at once
  int graceMs = 5000;                        // on SIGTERM, for jobs still arriving
  std::string forward;                       // HOST:PORT each job is sent on to, or ""
  size_t chunkBytes = 0;                     // 0: whole jobs, one read each
  size_t maxJobInput = size_t{64} << 20;     // the most intake holds for one job

  OutputLimits limits;
  int renderThreads = 0;          // threads rendering labels; 0: one per core
  bool strict = false;            // exit status 3 when a job had problems
  bool warningsAsErrors = false;  // lint: exit status 1 when a job had warnings
  bool checkPlacement = false;    // lint: objects outside their label are diagnosed

  // Languages.
  ZplDialect zpl = ZplDialect::kDevice;  // --zpl device|full
};

// Parses argv (without the program name). False, with `error` set, on a
// command line that cannot be run.
bool ParseOptions(const std::vector<std::string>& args, HostOptions& options, std::string& error);

// The commands, in the order --help lists them.
const std::vector<std::string>& CommandNames();
bool IsCommand(const std::string& word);

// The text of --help: every command and option, or for `command` its own
// synopsis and the options it uses.
std::string UsageText(const std::string& command = "");

}  // namespace host
