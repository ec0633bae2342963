#pragma once
// Watches a job's commands, as the reader hands them on, for field data
// ("^FD", "^FV") that the next field command or "^XZ" ends instead of "^FS".
// The printer prints such a field all the same, so this is only a warning,
// placed at the data command. Both dialects' parsers keep one for a pass and
// note what Next returns; it changes nothing they log or record.

#include <optional>
#include <string_view>

#include "parsers/ScriptProblem.h"
#include "parsers/zpl/ZPLReader.h"

class ZPLFieldDataEnd {
 public:
  // The command just read (prefix "^" or "~" first) and where it stands: the
  // warning for the data it ends, if it ends one without "^FS".
  std::optional<ScriptProblem> Next(std::wstring_view command, ZPLCommandSpan span);

 private:
  bool open_ = false;
  wchar_t dataKind_ = L'D';  // "^FD" or "^FV"
  ZPLCommandSpan data_;
};
