#include "os.h"

namespace os {
namespace {

constexpr uint64_t kTicksPerMs = 10000;
constexpr uint64_t kMsPerDay = 86400000ull;

bool IsLeap(uint32_t year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

uint32_t DaysInMonth(uint32_t year, uint32_t month) {
  static const uint8_t kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeap(year) ? 29 : kDays[month - 1];
}

// Days from 1601-01-01 to the first day of year.
uint64_t DaysBeforeYear(uint32_t year) {
  const uint64_t y = year - 1601;
  return y * 365 + y / 4 - y / 100 + y / 400;
}

}  // namespace

bool FileTimeToSystemTime(FileTime time, SystemTime* out) {
  if (time >> 63) return false;
  const uint64_t totalMs = time / kTicksPerMs;
  uint64_t days = totalMs / kMsPerDay;
  uint64_t msOfDay = totalMs % kMsPerDay;
  SystemTime t;
  t.dayOfWeek = static_cast<uint16_t>((days + 1) % 7);  // 1601-01-01 was a Monday
  uint32_t year = static_cast<uint32_t>(1601 + days / 366);
  while (DaysBeforeYear(year + 1) <= days) ++year;
  days -= DaysBeforeYear(year);
  uint32_t month = 1;
  while (days >= DaysInMonth(year, month)) days -= DaysInMonth(year, month++);
  t.year = static_cast<uint16_t>(year);
  t.month = static_cast<uint16_t>(month);
  t.day = static_cast<uint16_t>(days + 1);
  t.hour = static_cast<uint16_t>(msOfDay / 3600000);
  t.minute = static_cast<uint16_t>(msOfDay / 60000 % 60);
  t.second = static_cast<uint16_t>(msOfDay / 1000 % 60);
  t.milliseconds = static_cast<uint16_t>(msOfDay % 1000);
  *out = t;
  return true;
}

bool SystemTimeToFileTime(const SystemTime& t, FileTime* out) {
  if (t.year < 1601 || t.year > 30827 || t.month < 1 || t.month > 12 || t.day < 1 ||
      t.day > DaysInMonth(t.year, t.month) || t.hour > 23 || t.minute > 59 || t.second > 59 ||
      t.milliseconds > 999) {
    return false;
  }
  uint64_t days = DaysBeforeYear(t.year);
  for (uint32_t m = 1; m < t.month; ++m) days += DaysInMonth(t.year, m);
  days += t.day - 1u;
  const uint64_t ms = days * kMsPerDay + t.hour * 3600000ull + t.minute * 60000ull + t.second * 1000ull +
                      t.milliseconds;
  *out = ms * kTicksPerMs;
  return true;
}

}  // namespace os
