#pragma once
// What labelhost and the serve program share around their subcommands:
// process settings, parsing the command line, --help and --version, and
// running the subcommand a program's table names. Called from each
// program's main().

#include <span>

#include "host/printer/Options.h"

namespace host {

struct Subcommand {
  const char* name;
  int (*run)(const HostOptions& options);
  // Done with everything it writes when it returns: the process then ends
  // without freeing what the command leaves (host/printer/ProcessEnd.h).
  bool oneShot = false;
};

// Runs argv through `commands`; a command the table lacks is a usage error.
int ProgramMain(int argc, char** argv, std::span<const Subcommand> commands);

}  // namespace host
