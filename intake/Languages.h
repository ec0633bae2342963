#pragma once
// The printer languages, one row each: everything the rest of the system knows
// about a language by its code. Intake finds jobs by the markers and keeps a
// pending job under the state flag; the parsers log to the error log named
// here; the host names jobs by `name`. What makes a language's parser is the
// parser factory's table (parsers/ParserFactory.cpp), beside the parsers.

#include <array>
#include <cstdint>
#include <string_view>

// Language codes, as intake detects them and the parser factory takes them.
enum LanguageCode : int32_t {
  LANGUAGE_ZPL = 1,
  LANGUAGE_DPL = 2,
  LANGUAGE_JPL = 3,
  LANGUAGE_TPL = 4,
  LANGUAGE_XTPL = 5,
};

struct Language {
  int32_t code;                  // a LanguageCode
  uint32_t stateFlag;            // intake's pending-job flag; one bit per language
  std::string_view startMarker;  // upper case; matched in any case
  std::string_view endMarker;
  const char* name;         // "ZPL", ... as users read it
  const wchar_t* errorLog;  // the parser's log in the store's Logging folder
  // Where a job truly ends, for cutting a stream into whole jobs (the host's
  // job cutter): the end marker may close a job early or sit inside the true
  // end ("/TPL-DOCUMENT" of "</TPL-DOCUMENT>"). Upper case, matched in any
  // case; empty when the language has no end of its own (JPL's start and end
  // markers are the same text).
  std::string_view jobEnd;
  bool jobEndIsLine;  // the end is a line holding exactly `jobEnd`
  // A chunk that ends several pending jobs closes them by rank, lowest first;
  // the first one closed takes the held bytes.
  int32_t closeRank;
};

// Intake's attribution order: a chunk that holds several start markers belongs
// to the first language of this list.
inline constexpr auto kLanguages = std::to_array<Language>({
    {LANGUAGE_ZPL, 0x01, "^XA", "^XZ", "ZPL", L"ZPL_ERROR_LOG.TXT", "^XZ", false, 1},
    {LANGUAGE_TPL, 0x08, "STARTTPL", "ENDTPL", "TPL", L"TPL_ERROR_LOG.TXT", "ENDTPL", false, 0},
    {LANGUAGE_JPL, 0x04, "L1;", "L1;", "JPL", L"JPL_ERROR_LOG.TXT", "", false, 2},
    {LANGUAGE_XTPL, 0x10, "TPL-DOCUMENT", "/TPL-DOCUMENT", "XTPL", L"XTPL_ERROR_LOG.TXT",
     "</TPL-DOCUMENT>", false, 3},
    {LANGUAGE_DPL, 0x02, std::string_view("\x02L", 2), "E", "DPL", L"DPL_ERROR_LOG.TXT", "E", true,
     4},
});

// The row of `code`, or null for a code no language has.
constexpr const Language* FindLanguage(int32_t code) {
  for (const Language& language : kLanguages) {
    if (language.code == code) return &language;
  }
  return nullptr;
}

// The row of a code the caller knows to be one of ours.
constexpr const Language& LanguageOf(LanguageCode code) { return *FindLanguage(code); }

// Intake keeps all pending jobs in one state word and finds rows by code.
constexpr bool LanguagesAreDistinct() {
  uint32_t seen = 0;
  uint32_t ranks = 0;
  for (size_t i = 0; i < kLanguages.size(); ++i) {
    const int32_t rank = kLanguages[i].closeRank;
    if (rank < 0 || static_cast<size_t>(rank) >= kLanguages.size()) return false;
    if ((ranks & (1u << rank)) != 0) return false;
    ranks |= 1u << rank;
    const uint32_t flag = kLanguages[i].stateFlag;
    if (flag == 0 || (flag & (flag - 1)) != 0 || (seen & flag) != 0) return false;
    seen |= flag;
    for (size_t j = 0; j < i; ++j) {
      if (kLanguages[j].code == kLanguages[i].code) return false;
    }
  }
  return true;
}
static_assert(LanguagesAreDistinct(),
              "every language needs its own code, state bit and closing rank");
