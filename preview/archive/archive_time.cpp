#include "preview/archive/archive_time.h"

#include <cstdio>

namespace archive {

namespace {

constexpr int64_t kSecondsFrom1601To1970 = 11644473600;
constexpr int64_t kTicksPerSecond = 10000000;
const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

}  // namespace

os::FileTime DosDateTimeToFileTime(uint16_t dosDate, uint16_t dosTime) {
  os::SystemTime t;
  t.year = static_cast<uint16_t>(1980 + (dosDate >> 9));
  t.month = static_cast<uint16_t>((dosDate >> 5) & 0x0F);
  t.day = static_cast<uint16_t>(dosDate & 0x1F);
  t.hour = static_cast<uint16_t>(dosTime >> 11);
  t.minute = static_cast<uint16_t>((dosTime >> 5) & 0x3F);
  t.second = static_cast<uint16_t>((dosTime & 0x1F) * 2);
  os::FileTime out = 0;
  return os::SystemTimeToFileTime(t, &out) ? out : 0;
}

os::FileTime UnixTimeToFileTime(int64_t seconds) {
  const int64_t ticks = (seconds + kSecondsFrom1601To1970) * kTicksPerSecond;
  return ticks > 0 ? static_cast<os::FileTime>(ticks) : 0;
}

std::u16string FormatArchiveTime(os::FileTime time) {
  os::SystemTime t;
  if (time == 0 || !os::FileTimeToSystemTime(time, &t) || t.year < 1970 || t.year > 3000 || t.month < 1 ||
      t.month > 12) {
    return {};
  }
  char text[40];
  std::snprintf(text, sizeof text, "%02u %s %u, %02u:%02u:%02u", static_cast<unsigned>(t.day), kMonths[t.month - 1],
                static_cast<unsigned>(t.year), static_cast<unsigned>(t.hour), static_cast<unsigned>(t.minute),
                static_cast<unsigned>(t.second));
  return os::FromAscii(text);
}

}  // namespace archive
