// The comparison behind sorting a list by one column: the column's texts compared as integers, text,
// dates or decimal numbers. The sort parameter is the type for ascending order and minus the type for
// descending order.
#pragma once

#include <string>

namespace ui {

enum SortType : int { kSortInteger = 1, kSortText = 2, kSortDate = 3, kSortDecimal = 4 };

// Reads a date and time into a value that orders them; false when the text is not one.
using DateParser = bool (*)(const std::u16string& text, double* value);

// The lists' own dates: day-month-year, then, after a blank, hour:minute:second when there is a time
// ("13-9-2020 12:26:40", "07-03-2015 "), each field as written whatever the user's locale says of dates.
// Fields are taken as they stand, also when they name no real day (a FAT date of month 0 or 13).
bool ParseListDate(const std::u16string& text, double* value);

// -1, 0 or 1, already turned for descending order. Integer: only the decimal digits of each text count
// ("10 MB" is 10, "100 KB" is 100), read as 64-bit so sizes of any file compare rightly. Dates: a text that
// does not parse comes before every date (after them all in descending order), and two such texts compare
// as 0, as do equal dates or numbers. Unknown types compare as 0.
int CompareSortTexts(const std::u16string& text1, const std::u16string& text2, int parameter,
                     DateParser parseDate);

// The digits of the text as a number (saturating past 2^64 - 1); 0 without digits.
unsigned long long SortDigits(const std::u16string& text);

// The leading decimal number of the text as the C library reads it (0 when there is none).
double SortDecimal(const std::u16string& text);

}  // namespace ui
