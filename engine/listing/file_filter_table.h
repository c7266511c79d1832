// The file filters set in the File Filters dialog: patterns for MatchFileNamePattern that decide which
// files the results list shows and the savers write. Folders are never filtered.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

constexpr uint32_t kFileFilterRows = 99;
// UTF-16 units per row, the terminating zero included: a pattern has at most 19.
constexpr size_t kFileFilterRowUnits = 20;

struct FileFilterTableRecord {
  char16_t rows[kFileFilterRows][kFileFilterRowUnits] = {};
  uint32_t count = 0;  // rows in use, from row 0
};

// Written by the File Filters dialog on the user-interface thread, read by the listers and the savers.
extern FileFilterTableRecord FileFilterTable;

// The pattern of a row in use: its units up to the first zero (never past the row). Empty for a row
// that is not in use.
std::u16string_view FileFilterRow(uint32_t row);

// Replaces the rows with patterns, in order. false, with the table left as it was, when there are more
// than kFileFilterRows patterns or one has kFileFilterRowUnits units or more.
bool SetFileFilters(const std::vector<std::u16string>& patterns);

// true when the table has no rows in use, or when the name matches some row's pattern, both in upper
// case, trying the rows from the first.
bool PassesFileFilters(std::u16string_view name);
