// Dates and times as the result lists show them.
#pragma once

#include <cstdint>
#include <string>

// A FAT date word as day-month-year and one blank ("07-03-2015 "): day (bits 0-4) and month (bits 5-8)
// with two digits, year bits 9-15 + 1980. Fields are shown as stored, also when they name no real date.
void FormatFatDate(uint16_t dateWord, std::u16string& out);

// The Windows file time high:low (UTC, not turned into local time) as day-month-year, one blank, then
// hour:minute:second, all without leading zeros ("13-9-2020 12:26:40"). Empty when the time cannot be
// converted (the top bit set).
void FormatFileTime(uint32_t low, uint32_t high, std::u16string& out);
