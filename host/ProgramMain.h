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
};

// Runs argv through `commands`; a command the table lacks is a usage error.
int ProgramMain(int argc, char** argv, std::span<const Subcommand> commands);

}  // namespace host
