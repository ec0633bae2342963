#pragma once
// Formats a local time with the printer's date and time picture letters, as
// date-time text fields print them:
//   d dd ddd dddd   day, two-digit day, short and long weekday name
//   M MM MMM MMMM   month, two-digit month, short and long month name
//   y yy yyyy       year without century (no padding / two digits), full year
//   h hh H HH       12-hour and 24-hour clock, one or two digits
//   m mm s ss       minutes, seconds
//   t tt            "A"/"P", "AM"/"PM"
//   'text'          copied as it stands ('' inside quotes is one apostrophe)
// Any other character is copied. A run longer than the longest form of its
// letter prints the longest form. Names are English. Linear in the picture.

#include <string>
#include <string_view>

#include "platform/Clock.h"

namespace vellum {

std::wstring FormatDateTime(std::wstring_view picture, const platform::LocalTime& time);

}  // namespace vellum
