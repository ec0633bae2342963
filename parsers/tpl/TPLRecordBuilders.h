#pragma once
// The records an object block ends in, built from the current values of a
// TPLData. TPL's block ends and XTPL's closing elements both call these, so
// the two languages hand the session the same parameters; each caller keeps
// its own rule for when a record is made at all (TPL skips a shape without a
// type, XTPL does not) and chooses how the text box is sized. Lengths go to
// dots through the calling parser's DPI and units.

#include <cstdint>

#include "parsers/LanguageParserBase.h"
#include "parsers/tpl/TPLData.h"
#include "record/LabelCommand.h"

namespace tpl {

// How a text record carries its box.
enum class TextBox {
  kFreeformAsGiven,  // a FREEFORM text is not bound to its box: its sizes pass unchanged
  kAlwaysDots,       // the box is converted to dots like the position, whatever the sizing
};

// `dataSource` is one of DATA_SOURCE_*: prompt gives PROMPT_TEXT, sequence
// SEQUENCE_TEXT, date and time DATE_TIME_TEXT, anything else TEXT.
LabelCommand TextRecord(const TPLData& d, const CLanguageParserBase& units, int32_t dataSource,
                        TextBox box);

// Prompt gives PROMPT_BARCODE, sequence SEQUENCE_BARCODE, anything else
// (a date-time source included) BARCODE.
LabelCommand BarcodeRecord(const TPLData& d, const CLanguageParserBase& units, int32_t dataSource);

LabelCommand ShapeRecord(const TPLData& d, const CLanguageParserBase& units);
LabelCommand LineRecord(const TPLData& d, const CLanguageParserBase& units);
LabelCommand ArrowRecord(const TPLData& d, const CLanguageParserBase& units);
LabelCommand GraphicRecord(const TPLData& d, const CLanguageParserBase& units);

}  // namespace tpl
