// How the results list's rows are read: the "Parent..." row, folder rows (their id column holds the
// folder's tree node) and file rows (their id column holds the record id), as the listers write them.
// Every text is read whole. The "Parent..." row is the row the lister says it is (the first of a listing of
// any folder but the root), never a row by its name: a file may be named "Parent..." too.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace results {

enum class RowKind { kParent, kFolder, kFile };

// The lister's parent row, else by the type text (column 1), compared upper-cased.
RowKind ClassifyRow(bool parentRow, std::u16string_view type);
// The column of the ids: 5, or 2 after File Trace.
uint32_t IdColumn(bool fileTrace);
// A whole decimal number of 32 bits; none for an empty text, a "-", anything else or an overflow.
std::optional<uint32_t> ParseId(std::u16string_view text);
// The size the properties show: size / 1024 + 1, followed by " KB" (a size that is no number counts 0).
std::u16string PropertiesSizeText(std::u16string_view sizeText);

// "Selected Size : N MB": the bytes divided by 1024 twice, each time truncated.
std::u16string SelectedSizeText(uint64_t bytes);

// What the list's rows ("Parent..." aside) show after a box changed.
enum class RowsState { kAllChecked, kAllUnchecked, kMixed };
// The rows' check states summed up: true for a checked row.
RowsState SummarizeRows(const std::vector<bool>& checked);

}  // namespace results
