#pragma once
// Reads one source (a job file or standard input) for the render command and
// hands its bytes to a SourceIntake, which cuts them into whole jobs (or
// reads of --chunk bytes) the way it does for every source. The source is
// read in bounded blocks, so a file of many jobs prints job by job, its first
// label at once, in memory bounded by the largest job.
//
// Reading stops when the job runner stops. The render command calls it once
// per source, on the main thread.

#include <cstdio>
#include <string>

#include "host/printer/SourceIntake.h"
#include "host/render/JobRunner.h"

namespace host {

// Feeds `in` to `intake` whole and finishes it, reading its descriptor
// directly (nothing may have been read through the FILE). False, with `error`
// set, when reading failed (what was read before has been fed).
bool FeedSource(std::FILE* in, const std::string& name, SourceIntake& intake,
                const JobRunner& runner, std::string& error);

}  // namespace host
