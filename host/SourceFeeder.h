#pragma once
// Hands one source (a job file or standard input) to intake the way the
// printer's ports deliver bytes. The source is read in bounded blocks and,
// by default, cut into whole jobs by a JobCutter, one read per job, so a file
// of many jobs prints job by job, its first label at once, in memory bounded
// by the largest job. With --chunk the reads are of that size instead, as a
// slow port delivers them, markers split across reads and all.
//
// Before each read the feeder waits for room in the job runner; it stops when
// the runner stops, and tells the runner of every job intake discards for
// its size. The render command calls it once per source, on the main thread.

#include <cstdio>
#include <string>

#include "host/JobRunner.h"
#include "host/Options.h"
#include "intake/ProcessScriptLanguageData.h"

namespace host {

// Feeds `in` to `intake` whole, reading its descriptor directly (nothing may
// have been read through the FILE). False, with `error` set, when reading
// failed (what was read before has been fed).
bool FeedSource(std::FILE* in, const std::string& name, CProcessScriptLanguageData& intake,
                const HostOptions& options, JobRunner& runner, std::string& error);

}  // namespace host
