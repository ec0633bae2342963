#pragma once
// Command records as text, for tests whose expectations read like tables:
// "TEXT Hello|50|100|..." for a record, kind names for a list of kinds, so
// that a failing test shows "SHAPE", not 18. Header-only: parser, session and
// fuzz tests use it without linking the test doubles.

#include <initializer_list>
#include <string>
#include <vector>

#include "platform/Text.h"
#include "record/CommandRecord.h"
#include "record/LabelCommand.h"

// "p0|p1|..."; "()" for a record without parameters, so that it still shows.
inline std::wstring JoinedParams(const std::vector<std::wstring>& params) {
  if (params.empty()) return L"()";
  std::wstring line;
  for (size_t i = 0; i < params.size(); ++i) line += (i ? L"|" : L"") + params[i];
  return line;
}

// "KIND p0|p1|...", or the kind's name alone when it has no parameters.
inline std::wstring DescribeRecord(const LabelCommand& record) {
  std::wstring line = platform::BytesToWide(record::KindName(record.kind));
  return record.params.empty() ? line : line + L" " + JoinedParams(record.params);
}

inline std::vector<std::wstring> DescribeRecords(const CommandList& records) {
  std::vector<std::wstring> lines;
  for (const LabelCommand& record : records) lines.push_back(DescribeRecord(record));
  return lines;
}

// The parameters of each record, joined.
inline std::vector<std::wstring> RecordParams(const CommandList& records) {
  std::vector<std::wstring> lines;
  for (const LabelCommand& record : records) lines.push_back(JoinedParams(record.params));
  return lines;
}

// The names of the records' kinds, in order.
using KindNames = std::vector<std::string>;
inline KindNames KindsOf(const CommandList& records) {
  KindNames names;
  for (const LabelCommand& record : records) names.push_back(record::KindName(record.kind));
  return names;
}
inline KindNames Named(std::initializer_list<int32_t> kinds) {
  KindNames names;
  for (int32_t kind : kinds) names.push_back(record::KindName(kind));
  return names;
}
