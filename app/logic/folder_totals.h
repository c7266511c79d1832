// The "File/Folder Properties" dialog's request and the count of a folder's contents: the folder's node
// in the results tree and every node below it, each counted from the engine's record lists.
#pragma once

#include <cstdint>
#include <string>

#include "engine/host/host.h"

namespace host {
class ResultTreeHost;
}

// Written by the results tree and list before they open the dialog; the texts are already formatted.
struct PropertiesRequestRecord {
  std::u16string name;
  std::u16string size;
  std::u16string created;
  std::u16string modified;
  host::TreeKey treeItem = host::kNoTreeKey;  // the folder's results-tree node
  uint32_t folder = 0;                         // non-zero for a folder
};
extern PropertiesRequestRecord PropertiesRequest;

struct FolderTotalsRecord {
  uint64_t fileCount = 0;
  uint64_t totalBytes = 0;
  uint64_t folderCount = 0;
};
extern FolderTotalsRecord FolderTotals;

// One folder: the folder count grows by 1, and the files whose parent is the folder (by the record that
// holds the node; the top node stands for the root folder) add to the file count and the bytes. FAT:
// FatEntryList. NTFS: NtfsEntryList after a Quick Scan, otherwise NtfsFoundEntryList inside the chosen
// file system. Other file systems: the folder count alone.
void CountFolderItem(host::ResultTreeHost& tree, host::TreeKey item);
// The item and every node below it, each through CountFolderItem.
void CountTreeItems(host::ResultTreeHost& tree, host::TreeKey item);

// What the dialog shows of a folder: FolderTotals set to 0, the item's tree counted, then the folder
// itself taken off the folder count.
void CountFolderTotals(host::ResultTreeHost& tree, host::TreeKey item);

// "N File(s) and M Folder(s)".
std::u16string FolderContainsText(const FolderTotalsRecord& totals);
// Whole MB ("2 MB"), or "Less than 1 MB" below one.
std::u16string FolderSizeText(uint64_t bytes);
