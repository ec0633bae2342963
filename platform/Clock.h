#pragma once
// The local date and time every part of the engine reads (log line prefixes,
// date defaults, printed date-time fields). One replaceable clock, so tests and
// the host can fix the time.

#include <functional>

namespace platform {

struct LocalTime {
  int year = 1970;
  int month = 1;  // 1..12
  int day = 1;    // 1..31
  int hour = 0;   // 0..23
  int minute = 0;
  int second = 0;
  int millisecond = 0;
  int dayOfWeek = 4;  // 0 Sunday .. 6 Saturday
};

// The current local time from the installed clock (the system clock unless
// replaced).
LocalTime Now();

// Installs a clock; an empty function restores the system clock.
void SetClock(std::function<LocalTime()> clock);

// Fixes the clock to one time for the lifetime of the object (tests).
class ScopedFixedClock {
 public:
  explicit ScopedFixedClock(const LocalTime& time);
  ~ScopedFixedClock();
  ScopedFixedClock(const ScopedFixedClock&) = delete;
  ScopedFixedClock& operator=(const ScopedFixedClock&) = delete;
};

}  // namespace platform
