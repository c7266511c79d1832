#include "app/logic/find_files_search.h"

#include <algorithm>
#include <cstddef>
#include <tuple>
#include <utility>
#include <vector>

#include "engine/fat/fat_time.h"
#include "engine/host/result_tree_host.h"
#include "engine/records/fat_records.h"
#include "engine/records/ntfs_records.h"
#include "engine/records/scan_parameters.h"
#include "engine/listing/file_filter_table.h"
#include "engine/listing/file_name_case.h"
#include "engine/listing/file_name_pattern.h"
#include "engine/scan/chosen_fs.h"
#include "platform/os/os.h"

std::atomic<uint32_t> FindDialogOpen{0};

namespace app {

namespace {

using os::Decimal;

template <typename Entry, typename Keep, typename Dates>
uint32_t Walk(const records::RecordList<Entry>& entries, const std::u16string& pattern,
              const FindStopTest& stopRequested, FindSink& sink, Keep keep, Dates dates) {
  uint32_t found = 0;
  for (size_t i = 0; i < entries.size() && !stopRequested(); ++i) {
    const Entry& entry = entries[i];
    // The file filters hide a file from Find as from the lists: the save would hold it back without a word.
    if (!keep(entry) || !PassesFileFilters(entry.name) ||
        MatchFileNamePattern(file_name::UpperCase(entry.name), pattern) != 1) {
      continue;
    }
    FindMatch match;
    match.id = entry.id;
    match.deleted = entry.deleted == 1;
    match.name = entry.name;
    match.folder = entry.parentId;
    match.size = Decimal(entry.size);
    std::tie(match.created, match.modified) = dates(entry);
    sink.AddMatch(match);
    ++found;
  }
  return found;
}

struct FatDates {
  std::pair<std::u16string, std::u16string> operator()(const FatEntryRecord& e) const {
    return {FatDateText(e.firstDateWord), FatDateText(e.secondDateWord)};
  }
};

struct NtfsTimes {
  template <typename Entry>
  std::pair<std::u16string, std::u16string> operator()(const Entry& e) const {
    return {FileTimeText(e.creationTime), FileTimeText(e.modificationTime)};
  }
};

struct KeepAll {
  template <typename Entry>
  bool operator()(const Entry&) const { return true; }
};

}  // namespace

FindSource CurrentFindSource() {
  if (RecoveryMode == records::kFileTrace) return FindSource::kNone;
  const uint16_t type = CurrentFileSystem.type;
  if (type == records::kFat16 || type == records::kFat32) return FindSource::kFatEntries;
  if (type != records::kNtfs) return FindSource::kNone;
  if (RecoveryMode == records::kQuickScan) return FindSource::kNtfsEntries;
  return FindSource::kNtfsFoundEntries;
}

FolderPaths BuildFolderPaths(host::ResultTreeHost& tree, FindSource source) {
  FolderPaths paths;
  const host::TreeKey top = tree.GetRootItem();
  if (source == FindSource::kNone || top == host::kNoTreeKey) return paths;
  // Pre-order with a stack of our own (a rebuilt tree can be very deep): a node's parent is listed first.
  std::unordered_map<host::TreeKey, uint32_t> indexOfNode;
  std::vector<std::pair<host::TreeKey, uint32_t>> pending;  // node, index + 1 of its parent
  const auto pushChildren = [&](host::TreeKey node, uint32_t index) {
    const size_t first = pending.size();
    for (host::TreeKey child = tree.GetChildItem(node); child != host::kNoTreeKey; child = tree.GetNextSiblingItem(child)) {
      pending.emplace_back(child, index);
    }
    std::reverse(pending.begin() + static_cast<std::ptrdiff_t>(first), pending.end());
  };
  pushChildren(top, 0);
  while (!pending.empty()) {
    const auto [node, parent] = pending.back();
    pending.pop_back();
    paths.nodes_.push_back({parent, tree.GetItemText(node)});
    const uint32_t index = static_cast<uint32_t>(paths.nodes_.size());
    indexOfNode.emplace(node, index);
    pushChildren(node, index);
  }
  const auto addFolders = [&](const auto& folders, auto id) {
    for (const auto& folder : folders) {
      const auto node = indexOfNode.find(folder.treeKey);
      // The first record of an id is the one the lookups find.
      if (node != indexOfNode.end()) paths.byFolder_.emplace(folder.*id, node->second);
    }
  };
  if (source == FindSource::kFatEntries) {
    addFolders(FatFolderList, &FatFolderRecord::firstCluster);
  } else {
    addFolders(NtfsFolderList, &NtfsFolderRecord::recordNumber);
  }
  return paths;
}

std::u16string FolderPaths::PathOf(uint32_t folderId, size_t maxLength) const {
  const auto found = byFolder_.find(folderId);
  if (found == byFolder_.end()) return {};
  std::vector<uint32_t> chain;  // from the folder's node up to the one under the top node
  for (uint32_t index = found->second; index != 0; index = nodes_[index - 1].parent) chain.push_back(index);
  std::u16string path;
  for (auto it = chain.rbegin(); it != chain.rend() && path.size() < maxLength; ++it) {
    if (!path.empty() && path.back() != u'\\') path += u'\\';
    path += nodes_[*it - 1].text;
  }
  if (path.size() > maxLength) path.resize(maxLength);
  return path;
}

uint32_t SearchFileRecords(FindSource source, std::u16string_view pattern, const FindStopTest& stopRequested,
                           FindSink& sink) {
  const std::u16string upper = file_name::UpperCase(pattern);
  switch (source) {
    case FindSource::kFatEntries:
      return Walk(FatEntryList, upper, stopRequested, sink, KeepAll(), FatDates());
    case FindSource::kNtfsEntries:
      return Walk(NtfsEntryList, upper, stopRequested, sink, KeepAll(), NtfsTimes());
    case FindSource::kNtfsFoundEntries:
      return Walk(NtfsFoundEntryList, upper, stopRequested, sink,
                  [](const NtfsFoundEntryRecord& e) { return InChosenFileSystem(e); }, NtfsTimes());
    case FindSource::kNone:
      break;
  }
  return 0;
}

std::u16string FindStatusText(uint32_t found) {
  if (found == 0) return u"Search is complete. There are no results to display.";
  return u"There were " + Decimal(found) + u" files found.";
}

}  // namespace app
