#include "host/ProgramMain.h"

#include <malloc.h>

#include <csignal>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "host/Commands.h"
#include "host/printer/ProcessEnd.h"
#include "host/render/JobRunner.h"
#include "vellum/InlineFontLookups.h"

namespace host {
namespace {

void SetUpProcess() {
  // A file-size limit must fail the write (and be reported), not kill us.
  std::signal(SIGXFSZ, SIG_IGN);
  std::signal(SIGPIPE, SIG_IGN);
  // Every label allocates and frees the same large buffers (the raster, the
  // PNG encoder's state); returning them to the system after each one cost
  // more than drawing the label. Memory stays bounded by the largest job.
  ::mallopt(M_MMAP_THRESHOLD, 32 << 20);
  ::mallopt(M_TRIM_THRESHOLD, 64 << 20);
  // Jobs run on a thread of their own, whose heap grew a page at a time
  // while the first label was drawn: some 330 mprotect calls for a label of
  // text. It starts with room for one.
  JobRunner::ReserveThreadHeap(4 << 20);
  // Font lookups on the thread that asks (InlineFontLookups.h): named here,
  // so that our programs link them and programs that only use the library
  // keep their text library's threads.
  static_cast<void>(vellum::FontLookupsInline());
}

int Run(const Subcommand& command, const HostOptions& options) {
  // Nothing below throws by design; running out of memory or threads still
  // ends in a message, not an abort.
  try {
    return command.run(options);
  } catch (const std::exception& e) {
    PrintError(std::string("cannot go on: ") + e.what());
    return kExitFailure;
  }
}

}  // namespace

int ProgramMain(int argc, char** argv, std::span<const Subcommand> commands) {
  SetUpProcess();
  HostOptions options;
  std::string error;
  if (!ParseOptions(std::vector<std::string>(argv + 1, argv + argc), options, error)) {
    PrintError(error);
    std::fprintf(stderr, "Try 'labelhost --help' for more information.\n");
    return kExitUsage;
  }
  if (options.help) {
    std::fputs(UsageText(options.helpTopic).c_str(), stdout);
    return kExitOk;
  }
  if (options.version) {
    std::fputs(VersionText().c_str(), stdout);
    return kExitOk;
  }
  for (const Subcommand& command : commands) {
    if (options.command != command.name) continue;
    SetMemoryLeftToExit(command.oneShot);
    const int status = Run(command, options);
    if (MemoryLeftToExit()) EndProcess(status);
    return status;
  }
  PrintError("this program does not run '" + options.command + "'");
  return kExitUsage;
}

}  // namespace host
