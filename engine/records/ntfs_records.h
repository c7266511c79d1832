// The NTFS record lists: folders and files of a Quick Scan or of a chosen file system, and the file
// records an Extensive Scan found. Storage, reference stability and walking rules: record_list.h.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/host/host.h"
#include "engine/records/record_list.h"

struct NtfsFolderRecord {
  std::u16string name;
  uint32_t recordNumber = 0;      // MFT record number (records::kNtfsRootRecord, records::kLostDirId)
  uint32_t parentId = 0;          // record number of the containing folder
  uint64_t creationTime = 0;      // file time
  uint64_t modificationTime = 0;  // file time (the modification time of its standard information)
  host::TreeKey treeKey = host::kNoTreeKey;  // results-tree node of the folder, set when the tree is built
  uint32_t deleted = 0;           // non-zero = deleted
};

struct NtfsEntryRecord {
  std::u16string name;
  uint32_t recordNumber = 0;  // MFT record number
  uint32_t parentId = 0;      // record number of the containing folder
  uint64_t creationTime = 0;
  uint64_t modificationTime = 0;
  uint64_t size = 0;          // data size in bytes
  uint32_t deleted = 0;       // 1 deleted
  uint32_t id = 0;            // sector of the file's MFT record
  std::u16string foundName;   // the name it was found under, once the user renamed it (records::RenameFile)
  // The file has further names (hard links), each an entry of its own with this id in its folder; a snapshot
  // load marks them again. A record of an earlier MFT of its volume (one a format replaced), known at a snapshot
  // load by lying outside the MFT.
  bool linked = false;
  bool earlier = false;
};

struct NtfsFoundEntryRecord {
  std::u16string name;
  uint32_t id = 0;            // sector of the file record
  uint32_t parentId = 0;      // record number of the containing folder
  uint32_t recordNumber = 0;  // 0 when made
  uint64_t creationTime = 0;
  uint64_t modificationTime = 0;
  uint64_t size = 0;
  uint16_t fileSystemMark = 0;  // 0 when made
  uint32_t deleted = 0;         // 1 when the record's flags are 0
  std::u16string foundName;     // the name it was found under, once the user renamed it (records::RenameFile)
  // The number of a chosen file system whose MFT map puts another record at this one's sector: the record is
  // not that file system's, though it lies among its sectors. 0 none.
  uint16_t disownedBy = 0;
  // Set once a chosen file system took the record for one of an earlier MFT of its volume (one a format
  // replaced): earlierParent is the parent the record names, parentId where that file system put it among
  // its own folder ids. Choosing a file system again starts from earlierParent.
  bool earlier = false;
  uint32_t earlierParent = 0;
  // The file has further names (hard links), each an entry of its own with this id in its folder.
  bool linked = false;
};

// Folders. In an Extensive Scan (RecoveryMode 0) one record per record number; otherwise every append.
extern records::RecordList<NtfsFolderRecord> NtfsFolderList;
// Files of a Quick Scan (and of a loaded snapshot), in the order found.
extern records::RecordList<NtfsEntryRecord> NtfsEntryList;
// Files found by an Extensive Scan; freed with the other Extensive Scan lists.
extern records::RecordList<NtfsFoundEntryRecord> NtfsFoundEntryList;

// When RecoveryMode is records::kExtensiveScan and a record with the same record number is listed:
// appends nothing, counts nothing and returns that record. Otherwise appends, raises
// ScanCounters.folderCount and returns the new record.
NtfsFolderRecord& AppendNtfsFolder(std::u16string_view name, uint32_t recordNumber, uint32_t parentId,
                                   uint64_t creationTime, uint64_t modificationTime,
                                   host::TreeKey treeKey, uint32_t deleted);

// Appends and returns the record; the caller raises ScanCounters.entryCount.
NtfsEntryRecord& AppendNtfsEntry(uint32_t id, std::u16string_view name, uint32_t recordNumber,
                                 uint32_t parentId, uint64_t creationTime, uint64_t modificationTime,
                                 uint32_t deleted, uint64_t size);

// Appends, raises ScanCounters.fileRecordCount and returns the record.
NtfsFoundEntryRecord& AppendNtfsFoundEntry(std::u16string_view name, uint32_t id, uint32_t parentId,
                                           uint32_t recordNumber, uint64_t creationTime,
                                           uint64_t modificationTime, uint64_t size, uint16_t mark,
                                           uint32_t deleted);

// Lookups in constant time (after the first, which indexes the list); null when no record matches.
// A lookup writes a hidden index: it runs on the thread that fills the lists, or after the filling.
// The first folder with this record number.
NtfsFolderRecord* FindNtfsFolder(uint32_t recordNumber);
// The folder whose results-tree node is key (tree keys are unique once the tree is built).
NtfsFolderRecord* FindNtfsFolderByTreeKey(host::TreeKey key);
// The first file whose id (MFT record sector) is id.
NtfsEntryRecord* FindNtfsEntry(uint32_t id);
NtfsFoundEntryRecord* FindNtfsFoundEntry(uint32_t id);
// Every file with this id, in list order: the first, and when it is linked each further name of it.
std::vector<NtfsEntryRecord*> FindNtfsEntries(uint32_t id);
std::vector<NtfsFoundEntryRecord*> FindNtfsFoundEntries(uint32_t id);
