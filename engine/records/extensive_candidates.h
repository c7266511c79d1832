// The NTFS candidates an Extensive Scan gathers for its analysis: directory file records and the first
// index record of each folder. Freed with the other Extensive Scan lists. Storage, reference stability
// and walking rules: record_list.h.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/records/record_list.h"
#include "engine/records/scan_parameters.h"

struct NtfsFolderCandidate {
  std::u16string name;
  uint32_t sector = 0;     // sector of the directory's file record
  uint32_t parentId = 0;
  uint32_t mftNumber = 0;  // 5 for ".", 11 for "$Extend", else from the index root; set by the analysis
  uint16_t mark = 0;       // 0 when made; the file-system number, or records::kNoFileSystemMark
  uint64_t creationTime = 0;
  uint64_t modificationTime = 0;
  uint32_t indexCluster = 0;  // first cluster of the index allocation (0: none)
  uint32_t deleted = 0;       // 1 unless the record flags are 3
  uint32_t recordSectors = 2;  // of its file record: 2, or 8 on a volume of 4 KiB records
};

struct IndexRecordCandidate {
  uint32_t sector = 0;
  uint32_t owner = 0;       // parent reference of the record's first index entry
  uint32_t number = 0;      // number of the record in the index allocation
  uint16_t mark = records::kNoFileSystemMark;  // the file-system number once assigned
  uint8_t sectorCount = 0;
};

extern records::RecordList<NtfsFolderCandidate> NtfsFolderCandidateList;
// The analysis drops the records it does not need with IndexRecordCandidateList.RemoveIf(...).
extern records::RecordList<IndexRecordCandidate> IndexRecordCandidateList;

// Appends with mark 0, raises ScanCounters.subfolderCandidateCount and returns the record.
NtfsFolderCandidate& AppendNtfsFolderCandidate(std::u16string_view name, uint32_t sector,
                                               uint32_t parentId, uint32_t mftNumber,
                                               uint64_t creationTime, uint64_t modificationTime,
                                               uint32_t indexCluster, uint32_t deleted);

// Appends with mark records::kNoFileSystemMark, raises ScanCounters.indexRecordCount and returns the
// record.
IndexRecordCandidate& AppendIndexRecordCandidate(uint32_t sector, uint32_t owner, uint32_t number,
                                                 uint8_t sectorCount);
