#include "platform/Clock.h"

#include <chrono>
#include <ctime>
#include <mutex>

namespace platform {
namespace {

std::mutex& ClockMutex() {
  static std::mutex mutex;
  return mutex;
}

std::function<LocalTime()>& InstalledClock() {
  static std::function<LocalTime()> clock;
  return clock;
}

LocalTime SystemNow() {
  auto now = std::chrono::system_clock::now();
  std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()) % 1000;
  std::tm tm{};
  localtime_r(&seconds, &tm);
  LocalTime t;
  t.year = tm.tm_year + 1900;
  t.month = tm.tm_mon + 1;
  t.day = tm.tm_mday;
  t.hour = tm.tm_hour;
  t.minute = tm.tm_min;
  t.second = tm.tm_sec;
  t.millisecond = static_cast<int>(ms.count());
  t.dayOfWeek = tm.tm_wday;
  return t;
}

}  // namespace

LocalTime Now() {
  std::function<LocalTime()> clock;
  {
    std::lock_guard<std::mutex> lock(ClockMutex());
    clock = InstalledClock();
  }
  return clock ? clock() : SystemNow();
}

void SetClock(std::function<LocalTime()> clock) {
  std::lock_guard<std::mutex> lock(ClockMutex());
  InstalledClock() = std::move(clock);
}

ScopedFixedClock::ScopedFixedClock(const LocalTime& time) {
  SetClock([time] { return time; });
}

ScopedFixedClock::~ScopedFixedClock() { SetClock(nullptr); }

}  // namespace platform
