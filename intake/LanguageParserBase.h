#pragma once
// The parser base's published path: the engine's interface names this header,
// so it stays; the base itself lives beside the parsers, in parsers/.
#include "parsers/LanguageParserBase.h"  // IWYU pragma: export
