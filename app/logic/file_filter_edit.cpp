#include "app/logic/file_filter_edit.h"

#include <algorithm>

#include "engine/host/result_tree_host.h"
#include "engine/records/scan_parameters.h"
#include "engine/listing/file_filter_table.h"
#include "engine/listing/results_listing.h"

namespace app {

FilterAddResult CheckFilterToAdd(uint32_t count, std::u16string_view text, const std::vector<std::u16string>& entries) {
  if (count >= kFileFilterRows) return FilterAddResult::kTableFull;
  if (text.empty()) return FilterAddResult::kBlank;
  if (text.size() >= kFileFilterRowUnits) return FilterAddResult::kTooLong;
  if (std::find(entries.begin(), entries.end(), text) != entries.end()) return FilterAddResult::kDuplicate;
  return FilterAddResult::kAdded;
}

std::u16string FilterRefusalText(FilterAddResult result) {
  switch (result) {
    case FilterAddResult::kTableFull:
      return u"      You cannot add more Filters     ";
    case FilterAddResult::kBlank:
      return u"      You can not add a blank entry.     ";
    case FilterAddResult::kTooLong:
      return u"      Filter too long     ";
    case FilterAddResult::kDuplicate:
      return u"      Filter already exists in the list     ";
    case FilterAddResult::kAdded:
      break;
  }
  return {};
}

bool StoreFileFilters(const std::vector<std::u16string>& entries) {
  const bool stored = SetFileFilters(entries);
  RelistResultsRoot();
  return stored;
}

void RelistResultsRoot() {
  host::ResultTreeHost* tree = host::Current().resultTree;
  host::TreeKey root = host::kNoTreeKey;
  if (tree != nullptr) {
    tree->SetFocus();
    root = tree->GetRootItem();
    tree->SelectNode(root);
  }
  const uint16_t type = CurrentFileSystem.type;
  if (RecoveryMode == records::kFileTrace) {
    // File Trace's root shows its groups, whatever file system the traced range held.
    ListFileTraceGroups();
  } else if (type == records::kFat16 || type == records::kFat32) {
    ListFatFolder(records::kFatRootId);
  } else if (type == records::kNtfs) {
    ListNtfsFolder(records::kNtfsRootRecord);
  }
  // The refilled rows show the ticks of what stays in the save set.
  if (tree != nullptr) tree->RestoreListChecks(root);
}

}  // namespace app
