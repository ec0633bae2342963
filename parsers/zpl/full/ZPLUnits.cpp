#include "parsers/zpl/full/ZPLUnits.h"

#include <cmath>
#include <initializer_list>
#include <vector>

#include "parsers/zpl/ZPLCommand.h"
#include "platform/Text.h"

namespace {

struct MeasuredCommand {
  std::wstring_view keyword;
  std::initializer_list<size_t> positions;  // parameters that measure, from 0
};

// The commands whose parameters measure the label, and which ones do. The
// font command's first parameter is its font and orientation.
constexpr MeasuredCommand kMeasured[] = {
    {L"^FO", {0, 1}}, {L"^FT", {0, 1}},    {L"^LH", {0, 1}},    {L"^LS", {0}},
    {L"^LT", {0}},    {L"^PW", {0}},       {L"^LL", {0}},       {L"^GB", {0, 1, 2}},
    {L"^GC", {0, 1}}, {L"^GE", {0, 1, 2}}, {L"^GD", {0, 1, 2}}, {L"^A", {1, 2}},
    {L"^CF", {1, 2}}, {L"^BY", {0, 2}},    {L"^FB", {0, 2}},    {L"^BC", {1}},
    {L"^B3", {2}},    {L"^BE", {1}},       {L"^BU", {1}},       {L"^B2", {1}},
    {L"^BA", {1}},    {L"^B8", {1}},       {L"^B9", {1}},       {L"^BK", {2}},
};

const MeasuredCommand* Find(std::wstring_view command) {
  for (const MeasuredCommand& m : kMeasured) {
    if (command.starts_with(m.keyword)) return &m;
  }
  return nullptr;
}

}  // namespace

double ZplUnitFactor(std::wstring_view parameters, int dpi, double current) {
  std::vector<std::wstring> p;
  zpl::SplitParameters(parameters, p);
  const wchar_t unit = zpl::LetterAt(p, 0, L'D');
  if (unit == L'I') return dpi;
  if (unit == L'M') return dpi / 25.4;
  if (unit != L'D') return current;
  const double from = platform::LeadingNumber(zpl::ParameterAt(p, 1));
  const double to = platform::LeadingNumber(zpl::ParameterAt(p, 2));
  return from > 0.0 && to > 0.0 ? to / from : 1.0;
}

std::wstring ScaleZplMeasurements(std::wstring_view command, double factor) {
  const MeasuredCommand* measured = factor == 1.0 ? nullptr : Find(command);
  if (measured == nullptr) return std::wstring(command);
  std::wstring out(measured->keyword);
  size_t position = 0, start = measured->keyword.size();
  while (true) {
    const size_t comma = command.find(L',', start);
    const std::wstring_view piece = command.substr(start, comma - start);
    bool scale = false;
    for (size_t p : measured->positions) scale = scale || p == position;
    const std::wstring trimmed = platform::Trim(piece);
    if (scale && !trimmed.empty() && zpl::IsNumeric(trimmed, true)) {
      out += platform::IntToWide(std::llround(platform::LeadingNumber(trimmed) * factor));
    } else {
      out += piece;
    }
    if (comma == std::wstring_view::npos) break;
    out += L',';
    start = comma + 1;
    ++position;
  }
  return out;
}
