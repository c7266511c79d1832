#include "engine/listing/file_filter_table.h"

#include <algorithm>

#include "engine/listing/file_name_case.h"
#include "engine/listing/file_name_pattern.h"

FileFilterTableRecord FileFilterTable;

namespace {

// The count as the table can hold it.
uint32_t RowsInUse() { return std::min(FileFilterTable.count, kFileFilterRows); }

}  // namespace

std::u16string_view FileFilterRow(uint32_t row) {
  if (row >= RowsInUse()) return {};
  const char16_t* units = FileFilterTable.rows[row];
  const char16_t* end = std::find(units, units + kFileFilterRowUnits, u'\0');
  return std::u16string_view(units, static_cast<size_t>(end - units));
}

bool SetFileFilters(const std::vector<std::u16string>& patterns) {
  if (patterns.size() > kFileFilterRows) return false;
  for (const std::u16string& pattern : patterns) {
    if (pattern.size() >= kFileFilterRowUnits) return false;
  }
  FileFilterTable = FileFilterTableRecord{};
  for (size_t i = 0; i < patterns.size(); ++i) {
    std::copy(patterns[i].begin(), patterns[i].end(), FileFilterTable.rows[i]);
  }
  FileFilterTable.count = static_cast<uint32_t>(patterns.size());
  return true;
}

bool PassesFileFilters(std::u16string_view name) {
  const uint32_t rows = RowsInUse();
  if (rows == 0) return true;
  const std::u16string upperName = file_name::UpperCase(name);
  for (uint32_t row = 0; row < rows; ++row) {
    if (MatchFileNamePattern(upperName, file_name::UpperCase(FileFilterRow(row))) == 1) return true;
  }
  return false;
}
