#pragma once
// How a command ends. Every command of labelhost and labelhost-serve takes
// the parsed command line, does its work, prints its own errors as one
// "labelhost: ..." line on standard error and returns one of these exit
// statuses; the parts below a command that meet an error the run goes on
// from print it the same way.

#include <string>

namespace host {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitProblems = 3;  // --strict: a job had problems

// Prints "labelhost: <message>" on standard error.
void PrintError(const std::string& message);

}  // namespace host
