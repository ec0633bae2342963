// labelhost: the program users run. Parses the command line and hands it to
// the subcommand it names.
#include <malloc.h>

#include <csignal>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "host/Commands.h"
#include "host/Options.h"

namespace {

struct Command {
  const char* name;
  int (*run)(const host::HostOptions&);
};

constexpr Command kCommands[] = {
    {"render", host::RunRender},        {"serve", host::RunServe},
    {"watch", host::RunWatch},          {"config-label", host::RunConfigLabel},
    {"font-label", host::RunFontLabel}, {"graphics-label", host::RunGraphicsLabel},
};

}  // namespace

int main(int argc, char** argv) {
  // A file-size limit must fail the write (and be reported), not kill us.
  std::signal(SIGXFSZ, SIG_IGN);
  std::signal(SIGPIPE, SIG_IGN);
  // Every label allocates and frees the same large buffers (the raster, the
  // PNG encoder's state); returning them to the system after each one cost
  // more than drawing the label. Memory stays bounded by the largest job.
  ::mallopt(M_MMAP_THRESHOLD, 32 << 20);
  ::mallopt(M_TRIM_THRESHOLD, 64 << 20);

  host::HostOptions options;
  std::string error;
  if (!host::ParseOptions(std::vector<std::string>(argv + 1, argv + argc), options, error)) {
    host::PrintError(error);
    std::fprintf(stderr, "Try 'labelhost --help' for more information.\n");
    return host::kExitUsage;
  }
  if (options.help) {
    std::fputs(host::UsageText(options.helpTopic).c_str(), stdout);
    return host::kExitOk;
  }
  if (options.version) {
    std::fputs(host::VersionText().c_str(), stdout);
    return host::kExitOk;
  }
  for (const Command& command : kCommands) {
    if (options.command != command.name) continue;
    // Nothing below throws by design; running out of memory or threads still
    // ends in a message, not an abort.
    try {
      return command.run(options);
    } catch (const std::exception& e) {
      host::PrintError(std::string("cannot go on: ") + e.what());
      return host::kExitFailure;
    }
  }
  return host::kExitUsage;
}
