// The FAT record lists: folders and files found on a FAT16/FAT32 file system, and the clusters of one
// chain. Storage, reference stability and walking rules: record_list.h.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "engine/host/host.h"
#include "engine/records/record_list.h"

struct FatFolderRecord {
  std::u16string name;          // long name when there is one
  uint32_t firstCluster = 0;    // the folder's id; records::kLostDirId for "Lost Dir"
  uint32_t parentId = 0;        // first cluster of the containing folder (records::kFatRootId = root)
  uint16_t firstDateWord = 0;   // last write date (FAT date)
  uint16_t secondDateWord = 0;  // last access date (FAT date)
  host::TreeKey treeKey = host::kNoTreeKey;  // results-tree node of the folder, set when the tree is built
  uint32_t deleted = 0;         // 1 deleted, 0 present
};

// The times an entry keeps beside its two dates, 0 where its writer left none: the write time, the creation
// date and time, and the creation time's hundredths of a second (0 to 199).
struct FatEntryTimes {
  uint16_t writeTime = 0;
  uint16_t creationDate = 0;
  uint16_t creationTime = 0;
  uint8_t creationHundredths = 0;
};

struct FatEntryRecord {
  std::u16string name;
  uint32_t firstCluster = 0;    // first cluster of the file's data
  uint32_t parentId = 0;        // first cluster of the containing folder
  uint16_t firstDateWord = 0;   // last write date
  uint16_t secondDateWord = 0;  // last access date
  uint32_t size = 0;            // bytes
  uint32_t deleted = 0;         // 1 deleted, 0 present
  uint32_t id = 0;              // ScanCounters.entryCount when appended
  std::u16string foundName;     // the name it was found under, once the user renamed it (records::RenameFile)
  FatEntryTimes times;
};

struct ClusterNode {
  uint32_t cluster = 0;
};

// Folders, one record per first cluster: a folder seen again is never appended twice.
extern records::RecordList<FatFolderRecord> FatFolderList;
// Files, in the order found.
extern records::RecordList<FatEntryRecord> FatEntryList;
// The clusters of the chain read last; chain readers Free() it before they fill it.
extern records::RecordList<ClusterNode> ClusterList;
// The entries that named a folder already listed under another parent, deleted or live as the record is: a folder
// moved and then deleted leaves a deleted entry in its old parent and one in its new; a live folder is met again
// where a table runs another folder's chain on into its parent's clusters. SettleMovedFatFolders picks.
extern records::RecordList<FatFolderRecord> OtherFatFolderEntryList;

// Appends a folder and raises ScanCounters.folderCount, unless a record with the same first cluster is
// already listed: then nothing is appended and nothing counted, but when that record is deleted (or lies in
// a deleted folder) and the new folder present (deleted 0), the record becomes the new folder: its name,
// parent and dates, present (a deleted folder's cluster given to a new folder holds the new one now). A
// folder is never moved under itself. Otherwise an entry naming the record under another parent, deleted as the
// record is or live as it is, goes to OtherFatFolderEntryList. Returns the record that stands for the folder: the
// new one, or the one already listed.
FatFolderRecord& AppendFatFolder(std::u16string_view name, uint32_t firstCluster, uint32_t parentId,
                                 uint16_t firstDateWord, uint16_t secondDateWord, host::TreeKey treeKey,
                                 uint32_t deleted);

// Appends a file with id = ScanCounters.entryCount and returns it. The caller raises the entry count,
// so ids run 0, 1, 2 ... from the last FreeScanRecordLists.
FatEntryRecord& AppendFatEntry(std::u16string_view name, uint32_t firstCluster, uint32_t parentId,
                               uint16_t firstDateWord, uint16_t secondDateWord, uint32_t size,
                               uint32_t deleted);

void AppendCluster(uint32_t cluster);

// After a scan that listed each entry as deleted by its own mark only, and before
// MarkFatRecordsInDeletedFolders: a folder that no live entry names belongs to the deleted entry in the
// folder its own ".." entry names, whichever of its deleted entries the scan met first; a live folder that two
// folders list (one of them through a chain crossed into the other's clusters) belongs to the live entry in the
// folder its ".." names. It takes that entry's name, parent and dates (never moving under itself); where ".."
// names neither folder, or cannot be read, the first entry met stays. ownParent(cluster, &parent) gives the folder
// of that ".." (records::kFatRootId for the root); false when the cluster does not begin a folder. Each folder's
// ".." is asked for once.
void SettleMovedFatFolders(const std::function<bool(uint32_t, uint32_t*)>& ownParent);

// After a scan that listed each entry as deleted by its own mark only: every folder and file that lies in a
// deleted folder (at any depth) is marked deleted. Deciding this once the whole tree is read lets a folder
// whose cluster a new folder took be read before the new folder's entry is met.
void MarkFatRecordsInDeletedFolders();

// Lookups in constant time (after the first, which indexes the list); null when no record matches.
// A lookup writes a hidden index: it runs on the thread that fills the lists, or after the filling.
// The first folder with this first cluster.
FatFolderRecord* FindFatFolder(uint32_t firstCluster);
// The folder whose results-tree node is key (tree keys are unique once the tree is built).
FatFolderRecord* FindFatFolderByTreeKey(host::TreeKey key);
// The first file with this id.
FatEntryRecord* FindFatEntry(uint32_t id);
