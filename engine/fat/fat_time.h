// Dates and times as the result lists show them.
#pragma once

#include <cstdint>
#include <string>

// A FAT date word as day-month-year and one blank ("07-03-2015 "): day (bits 0-4) and month (bits 5-8)
// with two digits, year bits 9-15 + 1980. Fields are shown as stored, also when they name no real date;
// the word 0 is a date the volume never set (DOS leaves the creation and access dates so) and shows nothing.
void FormatFatDate(uint16_t dateWord, std::u16string& out);

// The Windows file time high:low (UTC, not turned into local time) as day-month-year, one blank, then
// hour:minute:second, all without leading zeros ("13-9-2020 12:26:40"). Empty for the time 0 (never set:
// no volume stamps a file with the first moment of 1601) and when the time cannot be converted (the top
// bit set).
void FormatFileTime(uint32_t low, uint32_t high, std::u16string& out);

// The same, returned.
std::u16string FatDateText(uint16_t dateWord);
std::u16string FileTimeText(uint64_t time);
