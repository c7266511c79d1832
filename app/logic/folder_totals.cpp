#include "app/logic/folder_totals.h"

#include <string>
#include <vector>

#include "engine/host/result_tree_host.h"
#include "engine/records/child_index.h"
#include "engine/records/fat_records.h"
#include "engine/records/ntfs_records.h"
#include "engine/records/scan_parameters.h"
#include "engine/scan/chosen_fs.h"
#include "platform/os/os.h"

PropertiesRequestRecord PropertiesRequest;
FolderTotalsRecord FolderTotals;

namespace {

using os::Decimal;

template <typename Entry>
void AddFile(const Entry& entry) {
  ++FolderTotals.fileCount;
  FolderTotals.totalBytes += entry.size;
}

// The folder id a node stands for: its folder record's, or the root's for the top node. False for a
// node no record holds: it has no files of its own (the FAT root's id is 0, so "0 when none" would
// count the root's files again).
template <typename Folder>
bool FolderIdOf(host::ResultTreeHost& tree, host::TreeKey item, Folder* (*find)(host::TreeKey),
                uint32_t Folder::*id, uint32_t rootId, uint32_t* folderId) {
  if (const Folder* folder = find(item)) {
    *folderId = folder->*id;
    return true;
  }
  *folderId = rootId;
  return item == tree.GetRootItem();
}

// The folder's own files, through the list's index by parent: a folder's count then costs its own files,
// and a tree's count one pass over the list.
template <typename Entry, typename Keep>
void CountFilesOf(const records::RecordList<Entry>& list, uint32_t folderId, Keep keep) {
  static records::ChildIndex<Entry> index;
  for (size_t i : index.Of(list, folderId)) {
    if (keep(list[i])) AddFile(list[i]);
  }
}

void CountNtfsFiles(uint32_t folderId) {
  if (RecoveryMode == records::kQuickScan) {
    CountFilesOf(NtfsEntryList, folderId, [](const NtfsEntryRecord&) { return true; });
  } else {
    CountFilesOf(NtfsFoundEntryList, folderId, InChosenFileSystem);
  }
}

}  // namespace

void CountFolderItem(host::ResultTreeHost& tree, host::TreeKey item) {
  ++FolderTotals.folderCount;
  const uint16_t type = CurrentFileSystem.type;
  uint32_t id = 0;
  if (type == records::kFat16 || type == records::kFat32) {
    if (!FolderIdOf(tree, item, FindFatFolderByTreeKey, &FatFolderRecord::firstCluster, records::kFatRootId, &id)) {
      return;
    }
    CountFilesOf(FatEntryList, id, [](const FatEntryRecord&) { return true; });
  } else if (type == records::kNtfs) {
    if (FolderIdOf(tree, item, FindNtfsFolderByTreeKey, &NtfsFolderRecord::recordNumber, records::kNtfsRootRecord,
                   &id)) {
      CountNtfsFiles(id);
    }
  }
}

void CountTreeItems(host::ResultTreeHost& tree, host::TreeKey item) {
  if (item == host::kNoTreeKey) return;
  // Depth first with a stack of our own: a tree rebuilt from a damaged volume can be very deep.
  std::vector<host::TreeKey> pending{item};
  while (!pending.empty()) {
    const host::TreeKey node = pending.back();
    pending.pop_back();
    CountFolderItem(tree, node);
    std::vector<host::TreeKey> children;
    for (host::TreeKey child = tree.GetChildItem(node); child != host::kNoTreeKey;
         child = tree.GetNextSiblingItem(child)) {
      children.push_back(child);
    }
    pending.insert(pending.end(), children.rbegin(), children.rend());
  }
}

void CountFolderTotals(host::ResultTreeHost& tree, host::TreeKey item) {
  FolderTotals = FolderTotalsRecord{};
  CountTreeItems(tree, item);
  if (FolderTotals.folderCount > 0) --FolderTotals.folderCount;
}

std::u16string FolderContainsText(const FolderTotalsRecord& totals) {
  return Decimal(totals.fileCount) + u" File(s) and " + Decimal(totals.folderCount) + u" Folder(s)";
}

std::u16string FolderSizeText(uint64_t bytes) {
  const uint64_t megabytes = bytes / 1024 / 1024;
  if (megabytes == 0) return u"Less than 1 MB";
  return Decimal(megabytes) + u" MB";
}
