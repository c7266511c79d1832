// The FAT candidates an Extensive Scan's sector search gathers (boot sectors and the first sectors of
// subfolders), the counters of the search and of its analysis, and the release of every Extensive Scan
// list. The NTFS candidates are in extensive_candidates.h; the file systems rebuilt from all of them in
// FoundFileSystemList (scan_parameters.h). Storage and walking rules: record_list.h.
#pragma once

#include <cstdint>

#include "engine/records/record_list.h"
#include "engine/records/scan_parameters.h"

struct BootSectorCandidate {
  uint32_t sector = 0;
};

// The first sector of a FAT subfolder: its "." entry names the folder's own first cluster, its ".."
// entry the parent's.
struct DirSectorCandidate {
  uint32_t sector = 0;
  uint32_t cluster = 0;
  uint32_t parentCluster = 0;
  uint16_t writeDate = 0;   // of the "." entry
  uint16_t accessDate = 0;  // of the "." entry
  // 0 while unassigned; then the file-system number it belongs to, or records::kNoFileSystemMark.
  uint16_t mark = 0;
};

// A sector that begins like the first sector of an allocation table copy: where no boot sector says, the kind of
// the tables before a volume's data area tells FAT32 from FAT16. Some sectors can begin either kind (a FAT32 table
// as small devices write it, a FAT16 table whose clusters 2 and 3 end chains): the layout of the copies tells.
struct FatTableStartCandidate {
  uint32_t sector = 0;
  bool fat16 = false;  // can begin a FAT16 (or FAT12) table
  bool fat32 = false;  // can begin a FAT32 table
};

// A sector of directory entries that begins no subfolder: a folder's later clusters begin with one. What the later
// clusters of a folder whose chain is lost (a quick format wrote new tables) hold is read from these.
struct DirEntrySectorCandidate {
  uint32_t sector = 0;
};

// In sector order, as the search meets them.
extern records::RecordList<BootSectorCandidate> BootSectorCandidateList;
extern records::RecordList<DirSectorCandidate> DirSectorCandidateList;
extern records::RecordList<FatTableStartCandidate> FatTableStartList;
extern records::RecordList<DirEntrySectorCandidate> DirEntrySectorList;

// The counters the Extensive Scan keeps beside those of ScanCounters (whose subfolderCandidateCount,
// fileRecordCount and indexRecordCount count its other candidates).
struct ExtensiveCountersRecord {
  uint32_t bootSectorCount = 0;        // boot sectors found
  uint16_t foundFileSystemCount = 0;   // the last file-system number given
  uint32_t assignedCount = 0;          // candidates the analysis has placed so far (progress)
};
extern ExtensiveCountersRecord ExtensiveCounters;

// Appends sector at the end of list and raises ExtensiveCounters.bootSectorCount.
BootSectorCandidate& AppendBootSectorCandidate(records::RecordList<BootSectorCandidate>& list, uint32_t sector);

// Appends to DirSectorCandidateList with mark 0 and raises ScanCounters.subfolderCandidateCount.
DirSectorCandidate& AppendDirSectorCandidate(uint32_t sector, uint32_t cluster, uint32_t parentCluster,
                                             uint16_t writeDate, uint16_t accessDate);

// Appends a copy of record (its id the file system's node in the found-file-systems tree) at the end of
// list and returns it.
FileSystemRecord& AppendFileSystemRecord(records::RecordList<FileSystemRecord>& list, const FileSystemRecord& record);

// Zeroes the subfolder, boot-sector, found-file-system, file-record and index-record counters and frees
// IndexRecordCandidateList, DirSectorCandidateList, BootSectorCandidateList, FatTableStartList,
// DirEntrySectorList, FoundFileSystemList, NtfsFolderCandidateList and NtfsFoundEntryList. Runs when an
// Extensive Scan starts, before a snapshot load, and when page 3 or the frame resets.
void FreeExtensiveScanLists();

// Zeroes the folder and entry counts of ScanCounters and frees NtfsFolderList and NtfsEntryList: before
// page 3 reads an NTFS file system, and before a snapshot load.
void FreeNtfsRecordLists();
