#pragma once
// The hint labelhost adds to a device-mode ZPL job's report when the job
// used commands this printer does not know but the full dialect prints: the
// user learns that --zpl full exists where it would help. Called by the
// Printer after each job.

#include <string>
#include <vector>

#include "host/Report.h"

namespace host {

// "this printer does not support ^FT, ^FB; --zpl full prints it as a full ZPL
// printer would", naming each such command once in the order the log lines
// give them; empty when no line reports one.
std::string FullDialectHint(const std::vector<LogLine>& lines);

// The hint for a job's report: its script errors that came from a log, then
// its other log lines.
std::string FullDialectHint(const JobReport& report);

}  // namespace host
