// The rules of the "File Filters" dialog: which text Add takes into the list, what each refusal says,
// and what Close does with the list (the table the listers and savers read, and the results root
// listed again so that the new filters show at once).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace app {

enum class FilterAddResult : uint32_t { kAdded, kTableFull, kBlank, kTooLong, kDuplicate };

// Add's checks, in order: the table already holds 99 filters (count > 98); the text is empty; it has 20
// characters or more (a row holds 19 and its terminator); an entry of the list equals it exactly (letter
// case counts, so "*.txt" may stand beside "*.TXT").
FilterAddResult CheckFilterToAdd(uint32_t count, std::u16string_view text, const std::vector<std::u16string>& entries);

// The message of a refusal, blanks around it as the box shows it; empty for kAdded.
std::u16string FilterRefusalText(FilterAddResult result);

// Close: the entries, in the list's order, become the file filter table (false when they do not fit,
// which the dialog's checks rule out); then the results tree's root is selected and its folder listed.
bool StoreFileFilters(const std::vector<std::u16string>& entries);

// The root of the current results listed again: File Trace's groups in File Trace, otherwise the root
// folder of the current file system (FAT folder 0, NTFS record 5); nothing for another file system. The
// tree gets the focus with its top node selected as the current node, and the rows take their ticks.
void RelistResultsRoot();

}  // namespace app
