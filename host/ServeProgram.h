#pragma once
// `labelhost serve` runs in a program of its own, labelhost-serve: the HTTP
// library it needs pulls in TLS, compression and their start-up work, which
// cost every render a third of its run when labelhost linked them itself.
// labelhost finds that program beside itself (the build tree) or in the
// installed libexec folder, relative to its own file and never through PATH,
// and replaces itself with it, so the process, its signals and its output
// stay the ones the caller started.

#include <filesystem>
#include <vector>

#include "host/printer/Options.h"

namespace host {

inline constexpr char kServeProgramName[] = "labelhost-serve";

// Where the serve program may be for a labelhost in `selfDir`, in the order
// they are tried.
std::vector<std::filesystem::path> ServeProgramPlaces(const std::filesystem::path& selfDir);

// The first of those places that holds an executable file; empty when none.
std::filesystem::path FindServeProgram(const std::filesystem::path& selfDir);

// Runs the serve program on `options.arguments`. Returns only when it cannot
// (kExitFailure, after saying where it looked).
int ExecServeProgram(const HostOptions& options);

}  // namespace host
