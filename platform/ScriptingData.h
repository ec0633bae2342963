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

  int32_t length() const { return static_cast<int32_t>(data.size()); }
};
