// Folder indexes: the $I30 index root and index allocation of a directory's file record, and the index
// records (INDX) an Extensive Scan finds.
#pragma once

#include <cstdint>

#include "engine/records/scan_parameters.h"

// The largest index record read.
constexpr uint32_t kMaxIndexRecordBytes = 65536;

// The parent reference (low 32 bits) of the first entry of the record's $I30 index root: the folder's
// own record number. 0 when there is no such index root, the entry has no name, its fields do not fit
// in the record, or the reference is 0xFFFFFFFF.
uint32_t IndexRootOwner(const uint8_t* record);

// The start cluster of the first run of the record's $I30 index allocation; 0 when there is none, the
// run is sparse or does not fit in the record.
uint32_t IndexAllocationStart(const uint8_t* record);

// Reads the index record at sector: (parameters.sectorsPerIndexRecord x 512 + 24) bytes in whole
// sectors, at most kMaxIndexRecordBytes, fix-up applied. When it starts with "INDX" and its first entry
// lies within it with a key whose parent reference is at least 5 and not 0xFFFFFFFF, appends an
// IndexRecordCandidate {sector, that reference, the record's number in the index allocation, the sectors
// read} and returns 1; otherwise 0.
uint32_t ReadIndexRecord(uint32_t sector, const FileSystemRecord& parameters);

namespace ntfs {

struct IndexRecordHead {
  uint32_t owner = 0;   // parent reference of the first entry's key
  uint32_t number = 0;  // the record's number in the index allocation (low 32 bits)
};

// Applies the fix-up to an index record of size bytes and reads its head. False when it does not start
// with "INDX" or its first entry or that entry's key and name do not fit in the record.
bool ReadIndexRecordHead(uint8_t* record, uint32_t size, IndexRecordHead* out);

}  // namespace ntfs
