// The records of a format that wait for its end. A serial-number field counts
// as many labels as the format's "^PQ" says, and "^PQ" may come after it: its
// record, and every record after it in the format, are kept in order until
// the format ends, then appended, each complete.

#include "parsers/zpl/full/ZPLFullParser.h"

void ZPLFullParser::Write(LabelCommand record) {
  if (holding_) {
    held_.emplace_back(std::move(record));
  } else {
    Commit(std::move(record));
  }
}

void ZPLFullParser::WriteSerial(record::RecordWriter serial) {
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
