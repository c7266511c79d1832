#include "app/logic/find_files_search.h"

#include <tuple>
#include <utility>
#include <vector>

#include "engine/fat/fat_time.h"
#include "engine/host/result_tree_host.h"
#include "engine/records/fat_records.h"
#include "engine/records/ntfs_records.h"
#include "engine/records/scan_parameters.h"
#include "engine/listing/file_name_case.h"
#include "engine/listing/file_name_pattern.h"
#include "engine/scan/chosen_fs.h"
#include "platform/os/os.h"

std::atomic<uint32_t> FindDialogOpen{0};

namespace app {

namespace {

using os::Decimal;

std::u16string FileTimeText(uint64_t time) {
  std::u16string text;
  FormatFileTime(static_cast<uint32_t>(time), static_cast<uint32_t>(time >> 32), text);
  return text;
}

std::u16string FatDateText(uint16_t date) {
  std::u16string text;
  FormatFatDate(date, text);
  return text;
}

// The path of every node below the top node, by node.
std::unordered_map<uint32_t, std::u16string> NodePaths(host::ResultTreeHost& tree) {
  std::unordered_map<uint32_t, std::u16string> paths;
  const host::TreeKey top = tree.GetRootItem();
  if (top == host::kNoTreeKey) return paths;
  std::vector<std::pair<host::TreeKey, std::u16string>> pending;
  for (host::TreeKey child = tree.GetChildItem(top); child != host::kNoTreeKey; child = tree.GetNextSiblingItem(child)) {
    pending.emplace_back(child, std::u16string());
  }
  while (!pending.empty()) {
    auto [node, parentPath] = std::move(pending.back());
    pending.pop_back();
    std::u16string path = parentPath;
    if (!path.empty() && path.back() != u'\\') path += u'\\';
    path += tree.GetItemText(node);
    for (host::TreeKey child = tree.GetChildItem(node); child != host::kNoTreeKey;
         child = tree.GetNextSiblingItem(child)) {
      pending.emplace_back(child, path);
    }
    paths.emplace(node, std::move(path));
  }
  return paths;
}

template <typename Folder>
FolderPaths PathsOfFolders(const records::RecordList<Folder>& folders, uint32_t Folder::*id,
                           const std::unordered_map<uint32_t, std::u16string>& nodes) {
  FolderPaths paths;
  for (const Folder& folder : folders) {
    const auto node = nodes.find(folder.treeKey);
    // The first record of an id is the one the lookups find.
    if (node != nodes.end()) paths.emplace(folder.*id, node->second);
  }
  return paths;
}

std::u16string PathOf(const FolderPaths& paths, uint32_t folderId) {
  const auto found = paths.find(folderId);
  return found == paths.end() ? std::u16string() : found->second;
}

template <typename Entry, typename Keep, typename Dates>
uint32_t Walk(const records::RecordList<Entry>& entries, const std::u16string& pattern, const FolderPaths& paths,
              const FindStopTest& stopRequested, FindSink& sink, Keep keep, Dates dates) {
  uint32_t found = 0;
  for (size_t i = 0; i < entries.size() && !stopRequested(); ++i) {
    const Entry& entry = entries[i];
    if (!keep(entry) || MatchFileNamePattern(file_name::UpperCase(entry.name), pattern) != 1) continue;
    FindMatch match;
    match.id = entry.id;
    match.deleted = entry.deleted == 1;
    match.name = entry.name;
    match.path = PathOf(paths, entry.parentId);
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
  if (source == FindSource::kNone) return {};
  const auto nodes = NodePaths(tree);
  if (source == FindSource::kFatEntries) return PathsOfFolders(FatFolderList, &FatFolderRecord::firstCluster, nodes);
  return PathsOfFolders(NtfsFolderList, &NtfsFolderRecord::recordNumber, nodes);
}

uint32_t SearchFileRecords(FindSource source, std::u16string_view pattern, const FolderPaths& paths,
                           const FindStopTest& stopRequested, FindSink& sink) {
  const std::u16string upper = file_name::UpperCase(pattern);
  switch (source) {
    case FindSource::kFatEntries:
      return Walk(FatEntryList, upper, paths, stopRequested, sink, KeepAll(), FatDates());
    case FindSource::kNtfsEntries:
      return Walk(NtfsEntryList, upper, paths, stopRequested, sink, KeepAll(), NtfsTimes());
    case FindSource::kNtfsFoundEntries:
      return Walk(NtfsFoundEntryList, upper, paths, stopRequested, sink,
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
