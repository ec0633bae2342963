// The records of a format that wait for its end. A serial-number field counts
// as many labels as the format's "^PQ" says, and "^PQ" may come after it: its
// record, and every record after it in the format, are kept in order until
// the format ends, then appended, each complete. The format's label is
// started by its first record that is more than a printer setting; the
// settings before it wait for it (they apply to the label), or, in a format
// that only sets the printer up, are written at its end without a label.

#include "parsers/zpl/full/ZPLFullParser.h"

namespace {

// Records that change a printer setting, not what a label holds.
bool SetsThePrinter(int32_t kind) {
  switch (kind) {
    case PRINT_ROTATION:
    case MIRROR_PRINTING:
    case TEAROFF_POSITION:
    case DATE_AND_TIME:
    case PRINT_CONFIGURATION_LABEL:
      return true;
    default:
      return false;
  }
}

}  // namespace

void ZPLFullParser::StartLabelFor(int32_t kind) {
  if (!inFormat_ || labelStarted_ || kind == START_LABEL || kind == SCRIPT_ERROR) return;
  labelStarted_ = true;
  // What came before is whole: it may go early.
  if (!holding_) HandOverLabel();
  Write(LabelCommand{START_LABEL, {}});
  WriteSettings();
}

void ZPLFullParser::WriteSettings() {
  std::vector<LabelCommand> settings = std::move(settings_);
  settings_.clear();
  for (LabelCommand& record : settings) Write(std::move(record));
}

void ZPLFullParser::Write(LabelCommand record) {
  if (inFormat_ && !labelStarted_ && SetsThePrinter(record.kind)) {
    settings_.push_back(std::move(record));
    return;
  }
  StartLabelFor(record.kind);
  if (holding_) {
    held_.emplace_back(std::move(record));
  } else {
    Commit(std::move(record));
  }
}

void ZPLFullParser::WriteSerial(record::RecordWriter serial) {
  StartLabelFor(TEXT);
  holding_ = formatHasSerial_ = true;
  held_.emplace_back(std::move(serial));
}

void ZPLFullParser::ReleaseRecords(const std::wstring& labels) {
  for (auto& held : held_) {
    if (auto* serial = std::get_if<record::RecordWriter>(&held)) {
      Commit(serial->Set(record::TextParam::kLabelCount, labels).Take());
    } else {
      Commit(std::move(std::get<LabelCommand>(held)));
    }
  }
  held_.clear();
  holding_ = false;
}
