#pragma once
// The hint labelhost adds to a device-mode ZPL job's report when the job
// used commands this printer does not know but the full dialect prints: the
// user learns that --zpl full exists where it would help. Called by the
// Printer after each job.

#include <string>
#include <vector>

namespace host {

// "this printer does not support ^FT, ^FB; --zpl full prints it as a full ZPL
// printer would", naming each command the full dialect prints once, in the
// order the job gave them; empty when there is none. `unsupportedCommands`
// are the commands a device-mode ZPL job's parser did not know (a JobReport's
// unsupportedCommands).
std::string FullDialectHint(const std::vector<std::string>& unsupportedCommands);

}  // namespace host
