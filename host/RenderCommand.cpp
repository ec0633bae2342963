// labelhost render: reads each file, hands its bytes to intake the way a port
// would, and lets the job runner print the jobs intake posts.
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>

#include "host/Commands.h"
#include "host/JobRunner.h"
#include "host/Printer.h"
#include "host/Progress.h"
#include "intake/ProcessScriptLanguageData.h"

namespace host {
namespace {

bool ReadInput(const std::string& path, std::vector<char>& bytes, std::string& error) {
  const bool isStdin = path == "-";
  std::FILE* in = isStdin ? stdin : std::fopen(path.c_str(), "rb");
  if (in == nullptr) {
    error = "cannot open '" + path + "': " + std::strerror(errno);
    return false;
  }
  bytes.clear();
  char buffer[65536];
  size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, in)) > 0)
    bytes.insert(bytes.end(), buffer, buffer + got);
  const bool failed = std::ferror(in) != 0;
  const int reason = errno;
  if (!isStdin) std::fclose(in);
  if (failed) {
    error = "cannot read '" + path + "': " + std::strerror(reason);
    return false;
  }
  return true;
}

// Hands the bytes over in reads of `chunk` bytes (all at once for 0), and
// stops early when the runner can write nothing more.
void Feed(CProcessScriptLanguageData& intake, const std::vector<char>& bytes, size_t chunk,
          const JobRunner& runner) {
  constexpr size_t kLargestRead = 1u << 30;
  const size_t step = chunk == 0 ? kLargestRead : std::min(chunk, kLargestRead);
  for (size_t at = 0; at < bytes.size() && !runner.failed(); at += step) {
    const size_t n = std::min(step, bytes.size() - at);
    intake.ProcessIncomingData(bytes.data() + at, static_cast<int32_t>(n));
  }
}

// The language of a job intake still holds, or "" when none is pending.
std::string Unfinished(const CProcessScriptLanguageData& intake) {
  for (const Language& language : kLanguages) {
    if (intake.IsState(language.stateFlag)) return language.name;
  }
  return "";
}

bool ShowProgress(const HostOptions& options) {
  return options.progress || ::isatty(STDERR_FILENO) == 1;
}

}  // namespace

int RunRender(const HostOptions& options) {
  std::string error;
  std::unique_ptr<Printer> printer = Printer::Open(options, error);
  if (!printer) {
    PrintError(error);
    return kExitFailure;
  }
  std::unique_ptr<ReportWriter> reports =
      options.quiet ? nullptr : MakeReportWriter(options.report, std::cout);
  Progress progress(ShowProgress(options), ::isatty(STDERR_FILENO) == 1, options.inputs.size());
  JobRunner runner(*printer, reports.get(), progress);

  bool allRead = true;
  std::vector<char> bytes;
  for (const std::string& path : options.inputs) {
    if (runner.failed()) break;
    if (!ReadInput(path, bytes, error)) {
      progress.Clear();
      PrintError(error);
      allRead = false;
      continue;
    }
    runner.BeginSource(path);
    // One intake per file: a job a file leaves open does not swallow the next file.
    CProcessScriptLanguageData intake(runner.window(), kHostMessageId);
    Feed(intake, bytes, options.chunkBytes, runner);
    runner.EndSource(Unfinished(intake));
  }
  runner.Finish();
  if (printer->failed()) {
    progress.Clear();
    PrintError(printer->failure());
    return kExitFailure;
  }
  return allRead && !runner.failed() ? kExitOk : kExitFailure;
}

}  // namespace host
