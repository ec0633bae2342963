#pragma once
// One job as intake cut it out of the port's bytes: the job's bytes and the
// language they are written in. Made by intake, handed to the host with
// NOTIFY_SCRIPTING_DATA, and consumed (owned) by the label session.

#include <cstdint>
#include <vector>

// Language codes, as intake detects them and the parser factory takes them.
enum LanguageCode : int32_t {
  LANGUAGE_ZPL = 1,
  LANGUAGE_DPL = 2,
  LANGUAGE_JPL = 3,
  LANGUAGE_TPL = 4,
  LANGUAGE_XTPL = 5,
};

struct ScriptingData {
  std::vector<char> data;  // the job's bytes
  int32_t language = 0;    // a LanguageCode

  int32_t length() const { return static_cast<int32_t>(data.size()); }
};
