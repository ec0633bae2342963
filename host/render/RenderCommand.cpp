// labelhost render: reads each file (SourceFeeder), hands its bytes to intake
// cut into whole jobs (SourceIntake), and lets the job runner print the jobs
// intake posts.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>

#include "host/printer/ExitStatus.h"
#include "host/printer/Printer.h"
#include "host/printer/ProcessEnd.h"
#include "host/printer/SourceIntake.h"
#include "host/render/JobRunner.h"
#include "host/render/Progress.h"
#include "host/render/RenderCommands.h"
#include "host/render/SourceFeeder.h"

namespace host {
namespace {

std::FILE* OpenInput(const std::string& path, std::string& error) {
  std::FILE* in = path == "-" ? stdin : std::fopen(path.c_str(), "rb");
  if (in == nullptr) {
    error = "cannot open '" + path + "': " + std::strerror(errno);
    return nullptr;
  }
  struct stat info {};
  if (::fstat(::fileno(in), &info) == 0 && S_ISDIR(info.st_mode)) {
    error = "cannot read '" + path + "': " + std::strerror(EISDIR);
    if (in != stdin) std::fclose(in);
    return nullptr;
  }
  return in;
}

bool ShowProgress(const HostOptions& options) {
  return options.progress || ::isatty(STDERR_FILENO) == 1;
}

// 1 for anything lost (said on standard error too), 3 for problems in the
// jobs when --strict asks for it.
int ExitStatus(const HostOptions& options, const Printer& printer, const JobRunner& runner,
               bool allRead, Progress& progress) {
  progress.Clear();
  if (printer.failed()) {
    PrintError(printer.failure());
    return kExitFailure;
  }
  if (runner.incomplete()) PrintError(runner.firstLoss());
  if (!allRead || runner.failed() || runner.incomplete()) return kExitFailure;
  return options.strict && runner.hadProblems() ? kExitProblems : kExitOk;
}

}  // namespace

int RenderFiles(Printer& printer, const std::vector<std::string>& inputs, ReportWriter* reports,
                bool showProgress) {
  std::string error;
  const HostOptions& options = printer.options();
  Progress progress(showProgress, ::isatty(STDERR_FILENO) == 1, inputs.size());
  JobRunner runner(printer, reports, progress, options.renderThreads);

  bool allRead = true;
  for (const std::string& path : inputs) {
    if (runner.stopped()) break;
    std::FILE* in = OpenInput(path, error);
    bool read = in != nullptr, gaveUp = false;
    if (read) {
      runner.BeginSource(path);
      // Out of memory: name the file, and stop reading.
      try {
        // One intake per file: a job a file leaves open does not swallow the next file.
        SourceIntake intake(
            runner.window(), options.maxJobInput, options.chunkBytes,
            [&runner] {
              runner.WaitForRoom();
              return !runner.stopped();
            },
            options.zpl);
        read = FeedSource(in, path, intake, runner, error);
        runner.EndSource(intake.Unfinished());
      } catch (const std::exception& e) {
        error = "cannot go on reading '" + path + "': " + e.what();
        read = false;
        gaveUp = true;
      }
      if (in != stdin) std::fclose(in);
    }
    if (!read) {
      progress.Clear();
      PrintError(error);
      allRead = false;
      if (gaveUp) break;
    }
  }
  runner.Finish();
  return ExitStatus(options, printer, runner, allRead, progress);
}

int RunRender(const HostOptions& options) {
  std::unique_ptr<Printer> printer = Printer::OpenForCommand(options);
  if (!printer) return kExitFailure;
  std::unique_ptr<ReportWriter> reports = MakeReportWriter(options);
  const int status = RenderFiles(*printer, options.inputs, reports.get(), ShowProgress(options));
  printer->Close();
  LeaveToExit(std::move(printer));
  return status;
}

}  // namespace host
