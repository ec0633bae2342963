#include "vellum/DateTimeFormat.h"

#include <algorithm>
#include <array>

#include "platform/Text.h"

namespace vellum {
namespace {

constexpr std::array<const wchar_t*, 7> kDayNames = {
    L"Sunday", L"Monday", L"Tuesday", L"Wednesday", L"Thursday", L"Friday", L"Saturday"};
constexpr std::array<const wchar_t*, 12> kMonthNames = {
    L"January", L"February", L"March",     L"April",   L"May",      L"June",
    L"July",    L"August",   L"September", L"October", L"November", L"December"};

std::wstring Number(int value, size_t minDigits) {
  std::wstring digits = platform::IntToWide(value < 0 ? -int64_t{value} : int64_t{value});
  if (digits.size() < minDigits) digits.insert(0, minDigits - digits.size(), L'0');
  return value < 0 ? L"-" + digits : digits;
}

// Weekday from the date itself, so a clock that fills only the date still
// prints the right day name (Sakamoto's method, Gregorian calendar).
int DayOfWeek(const platform::LocalTime& t) {
  static constexpr int kOffsets[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
  if (t.month < 1 || t.month > 12) return std::clamp(t.dayOfWeek, 0, 6);
  int y = t.year - (t.month < 3 ? 1 : 0);
  int dow = (y + y / 4 - y / 100 + y / 400 + kOffsets[t.month - 1] + t.day) % 7;
  return dow < 0 ? dow + 7 : dow;
}

std::wstring MonthName(int month, bool shortForm) {
  if (month < 1 || month > 12) return Number(month, 1);
  std::wstring name = kMonthNames[month - 1];
  return shortForm ? name.substr(0, 3) : name;
}

int Hour12(int hour) {
  int h = hour % 12;
  return h == 0 ? 12 : h;
}

// One run of a picture letter, `count` long (at least 1).
std::wstring Field(wchar_t letter, size_t count, const platform::LocalTime& t) {
  switch (letter) {
    case L'd':
      if (count >= 3) {
        std::wstring name = kDayNames[DayOfWeek(t)];
        return count == 3 ? name.substr(0, 3) : name;
      }
      return Number(t.day, count);
    case L'M':
      return count >= 3 ? MonthName(t.month, count == 3) : Number(t.month, count);
    case L'y':
      if (count >= 3) return Number(t.year, 4);
      return Number(((t.year % 100) + 100) % 100, count);
    case L'h':
      return Number(Hour12(t.hour), std::min<size_t>(count, 2));
    case L'H':
      return Number(t.hour, std::min<size_t>(count, 2));
    case L'm':
      return Number(t.minute, std::min<size_t>(count, 2));
    case L's':
      return Number(t.second, std::min<size_t>(count, 2));
    case L't': {
      std::wstring marker = t.hour < 12 ? L"AM" : L"PM";
      return count == 1 ? marker.substr(0, 1) : marker;
    }
  }
  return std::wstring(count, letter);
}

bool IsPictureLetter(wchar_t c) {
  return std::wstring_view(L"dMyhHmst").find(c) != std::wstring_view::npos;
}

// Copies quoted text starting after the opening apostrophe; returns the
// position after the closing one (or the end when it is missing).
size_t CopyQuoted(std::wstring_view picture, size_t pos, std::wstring& out) {
  while (pos < picture.size()) {
    if (picture[pos] != L'\'') {
      out += picture[pos++];
      continue;
    }
    if (pos + 1 < picture.size() && picture[pos + 1] == L'\'') {
      out += L'\'';
      pos += 2;
      continue;
    }
    return pos + 1;
  }
  return pos;
}

}  // namespace

std::wstring FormatDateTime(std::wstring_view picture, const platform::LocalTime& time) {
  std::wstring out;
  size_t pos = 0;
  while (pos < picture.size()) {
    wchar_t c = picture[pos];
    if (c == L'\'') {
      pos = CopyQuoted(picture, pos + 1, out);
      continue;
    }
    if (!IsPictureLetter(c)) {
      out += c;
      ++pos;
      continue;
    }
    size_t run = 1;
    while (pos + run < picture.size() && picture[pos + run] == c) ++run;
    out += Field(c, run, time);
    pos += run;
  }
  return out;
}

}  // namespace vellum
