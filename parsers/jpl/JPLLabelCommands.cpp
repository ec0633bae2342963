// The label-level lines of CJPLParser: "J" (label start and end), "m"
// (measuring unit), "S" (label size), "D" (offset), "O" (options) and "A"
// (quantity). Fields are counted with the command letter; a line with fewer
// fields than its command needs appends nothing.

#include "parsers/jpl/JPLParser.h"
#include "record/CommandRecord.h"

namespace {

using record::LabelOffsetParam;
using record::RecordWriter;

// Setting kinds carry their one value at position 0.
constexpr size_t kSettingValue = 0;

LabelCommand Setting(int32_t kind, std::wstring value) {
  return RecordWriter(kind).Set(kSettingValue, std::move(value)).Take();
}

}  // namespace

// "J" opens a label, "J Z" ends one. An open label that already holds objects
// is printed before the next one opens; otherwise a job of several labels
// would print only its last.
void CJPLParser::Job(const Fields& fields) {
  if (FieldAt(fields, 1) == L"Z") {
    Append(LabelCommand{END_LABEL, {}});
    return;
  }
  if (IsState(kLabelHasObjects)) {
    Append(LabelCommand{END_LABEL, {}});
    Append(LabelCommand{PRINT_LABEL, {}});
  }
  OpenLabel();
}

void CJPLParser::Units(const Fields& fields) {
  if (fields.size() >= 2) SetParserUnits(fields[1]);
}

// "S l1;x,y,w,h,length": the values start after an "l" or "e" label-type field.
// Only the offset and the length are used.
void CJPLParser::Size(const Fields& fields) {
  if (fields.size() < 5) return;
  const size_t s = (!fields[1].empty() && (fields[1][0] == L'l' || fields[1][0] == L'e')) ? 2 : 1;
  if (s + 4 >= fields.size()) return;
  Append(Setting(LABEL_LENGTH, Dots(fields[s + 4])));
  Append(RecordWriter(LABEL_OFFSET, LabelOffsetParam::kRequired)
             .Set(LabelOffsetParam::kX, Dots(fields[s]))
             .Set(LabelOffsetParam::kY, Dots(fields[s + 1]))
             .Take());
}

void CJPLParser::Offset(const Fields& fields) {
  if (fields.size() < 3) return;
  data_->offsetX = fields[1];
  data_->offsetY = fields[2];
  Append(RecordWriter(LABEL_OFFSET, LabelOffsetParam::kRequired)
             .Set(LabelOffsetParam::kX, Dots(fields[1]))
             .Set(LabelOffsetParam::kY, Dots(fields[2]))
             .Take());
}

// Of the print options only "R" (turn the label) has an effect here.
void CJPLParser::Options(const Fields& fields) {
  for (size_t i = 1; i < fields.size(); ++i) {
    if (fields[i].starts_with(L'R')) Append(Setting(PRINT_ROTATION, L"180"));
  }
}

void CJPLParser::Quantity(const Fields& fields) {
  if (fields.size() < 2) return;
  data_->copies = fields[1];
  Append(Setting(PRINT_QUANTITY, fields[1]));
}
