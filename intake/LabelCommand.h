#pragma once
// The command record's published path: the engine's interface names this
// header, so it stays; the record contract itself lives in record/.
#include "record/LabelCommand.h"  // IWYU pragma: export
