// The field splitter of CJPLParser and the sample record that bracketed
// fields may name.

#include <utility>

#include "parsers/jpl/JPLParser.h"
#include "platform/Text.h"

namespace {

// A sample contact, printed where a job names one of its values in brackets.
struct SampleField {
  std::wstring_view key;
  std::wstring_view value;
};

constexpr std::wstring_view kFirstName = L"Alex";
constexpr std::wstring_view kLastName = L"Morgan";
constexpr std::wstring_view kStreet = L"12 Quay Street";

// Keys in the order they are tried; the first found anywhere in the field wins.
constexpr SampleField kSampleFields[] = {
    {L"FIRST NAME", kFirstName},
    {L"LAST NAME", kLastName},
    {L"COMPANY NAME", L"Harbour Supplies"},
    {L"CITY", L"Portmouth"},
    {L"STREET ADDRESS", kStreet},
    {L"STATE", L"ME"},
    {L"ZIP CODE", L"04123"},
    {L"ZIP", L"04123"},
    {L"PHONE NUMBER", L"555-0142"},
    {L"EMAIL ADDRESS", L"alex.morgan@example.invalid"},
    {L"[I]", L""},
    {L"FNAME", kFirstName},
    {L"LNAME", kLastName},
    {L"STREET", kStreet},
};

}  // namespace

void CJPLParser::ReplaceSampleField(std::wstring& field) {
  for (const SampleField& sample : kSampleFields) {
    if (field.find(sample.key) != std::wstring::npos) {
      field = sample.value;
      return;
    }
  }
}

// ";" and "," end a field, ":" ends one and starts the next with itself, and
// "[" starts a bracketed field that only "]" ends. Empty stretches between
// separators make no field.
size_t CJPLParser::SplitFields(std::wstring_view line, std::vector<std::wstring>& fields) {
  fields.clear();
  if (line.empty()) return 0;
  fields.emplace_back(1, line[0]);
  std::wstring current;
  auto store = [&fields, &current] {
    if (!current.empty()) fields.push_back(platform::Trim(current));
    current.clear();
  };
  bool bracketed = false;
  for (size_t i = 1; i < line.size(); ++i) {
    const wchar_t c = line[i];
    if (bracketed) {
      current.push_back(c);
      if (c == L']') {
        ReplaceSampleField(current);
        fields.push_back(std::move(current));
        current.clear();
        bracketed = false;
      }
      continue;
    }
    switch (c) {
      case L';':
      case L',':
        store();
        break;
      case L':':
        store();
        current.push_back(c);
        break;
      case L'[':
        store();
        current.push_back(c);
        bracketed = true;
        break;
      default:
        current.push_back(c);
    }
  }
  store();
  return fields.size();
}
