#pragma once
// The one contract between the parsers and the label session: every printer
// language becomes an ordered list of LabelCommand records. A parser fills the
// list; the session walks it once, front to back. Parameters are text; numbers
// are decimal and read back as leading integers; positions and sizes are
// printer dots unless the kind says otherwise.

#include <cstdint>
#include <string>
#include <vector>

// Command kinds. The values between them are reserved (record::IsReserved);
// the session passes over those and over anything outside 1..39.
enum : int32_t {
  START_LABEL = 1,
  END_LABEL = 2,
  PRINT_LABEL = 5,
  BARCODE = 9,
  LINE = 10,
  DATE_AND_TIME = 11,
  MIRROR_PRINTING = 12,
  PRINT_ORIENTATION = 13,
  PRINT_QUANTITY = 14,
  PRINT_CONFIGURATION_LABEL = 15,
  LABEL_LENGTH = 16,
  TEAROFF_POSITION = 17,
  SHAPE = 18,
  TEXT = 19,
  PROMPT_TEXT = 20,
  SEQUENCE_TEXT = 21,
  DATE_TIME_TEXT = 22,
  PROMPT_BARCODE = 23,
  SEQUENCE_BARCODE = 24,
  ARROW = 25,
  CUTTING_OPTION = 26,
  GRAPHIC = 27,
  LABEL_NEGATIVE = 28,
  LABEL_ORIENTATION = 29,
  LABEL_OFFSET = 30,
  PRINT_ROTATION = 32,
  PRINT_SPEED = 33,
  PRINT_DENSITY = 34,
  MATCH_RIBBON = 35,
  MATCH_TAPE = 36,
  SCRIPT_ERROR = 37,
  POLYGON = 39,
};

// Data sources handed to text and barcode creation.
enum : int32_t {
  DATA_SOURCE_STATIC = 0,
  DATA_SOURCE_SEQUENCE = 1,
  DATA_SOURCE_DATE_TIME = 2,
  DATA_SOURCE_PROMPT = 3,
};

struct LabelCommand {
  int32_t kind = 0;
  std::vector<std::wstring> params;
};

using CommandList = std::vector<LabelCommand>;
