#pragma once
// The subcommands of labelhost. Each takes the parsed command line, does its
// work, prints its own errors ("labelhost: ..." on standard error) and
// returns the exit status.

#include <string>

#include "host/Options.h"

namespace host {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitProblems = 3;  // --strict: a job had problems

int RunRender(const HostOptions& options);
// In the serve library (labelengine::serve), which alone links the HTTP one.
int RunServe(const HostOptions& options);
int RunWatch(const HostOptions& options);
int RunConfigLabel(const HostOptions& options);
int RunFontLabel(const HostOptions& options);
int RunGraphicsLabel(const HostOptions& options);

// "labelhost VERSION", then one line per library: name and run-time version.
std::string VersionText();

// Prints "labelhost: <message>" on standard error.
void PrintError(const std::string& message);

}  // namespace host
