// Times of archive members: DOS date and time words and Unix seconds become FILETIMEs (0 for none), and
// FILETIMEs become the list's text "%d %b %Y, %X" (day, English month, year, 24-hour time).
#pragma once

#include <cstdint>
#include <string>

#include "platform/os/os.h"

namespace archive {

// The DOS date (high word of a packed value) and time (low word) as a FILETIME of the same wall clock;
// 0 when a field is out of range (month 13, day 0, hour 24, ...).
os::FileTime DosDateTimeToFileTime(uint16_t dosDate, uint16_t dosTime);
// Seconds since 1970-01-01 UTC as a FILETIME.
os::FileTime UnixTimeToFileTime(int64_t seconds);
// "07 Dec 2026, 14:43:28"; empty for 0 and for times the list cannot show (before 1970 or after 3000).
std::u16string FormatArchiveTime(os::FileTime time);

}  // namespace archive
