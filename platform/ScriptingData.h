#pragma once
// One job as intake cut it out of the port's bytes: the job's bytes and the
// language they are written in. Made by intake, handed to the host with
// notification 32, and consumed (owned) by the label session. Plain data that
// the host window carries, so it lives with the platform.

#include <cstdint>
#include <vector>

struct ScriptingData {
  std::vector<char> data;  // the job's bytes
  int32_t language = 0;    // a LanguageCode (intake/Languages.h)
  // Where the job's first byte stood in the stream it was cut from, when the
  // reader that fed intake knows (the host's do): its offset, and its line
  // and column, 1-based. Intake leaves the offset -1.
  int64_t sourceOffset = -1;
  int32_t sourceLine = 1;
  int32_t sourceColumn = 1;

  int32_t length() const { return static_cast<int32_t>(data.size()); }
};
