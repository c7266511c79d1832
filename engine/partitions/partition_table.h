// The partitions of the selected disk: filled by DetectPartitions from the partition tables, appended to
// by SearchPartitions, and read by the source tree, the disk panels and the scan page.
#pragma once

#include <atomic>
#include <cstdint>

#include "engine/records/scan_parameters.h"

constexpr uint32_t kMaxPartitions = 25;

// Sectors are 64-bit: a partition past the engine's reach (sector_reach.h) is listed as it is, and refused by
// name when it is to be scanned.
struct PartitionEntry {
  uint64_t firstSector = 0;     // absolute sector of the partition's boot sector
  uint64_t sectorCount = 0;
  uint16_t fileSystemCode = 0;  // records::kFat16, kFat32 or kNtfs
};

// The search worker writes the table while the user-interface thread shows the page; the page reads it
// only after the worker has ended.
extern PartitionEntry PartitionTable[kMaxPartitions];
extern std::atomic<uint32_t> PartitionCount;
// 1: the partition search walks the disk; 0: it keeps the partitions already in the table.
extern std::atomic<uint32_t> PartitionSearchWanted;

// Entries in use; PartitionCount can come from elsewhere (a snapshot), so it is never trusted as an index.
uint32_t PartitionsInUse();
bool PartitionTableFull();
// Stores entry at index PartitionCount and counts it; false, storing nothing, when the table is full.
bool AppendPartition(const PartitionEntry& entry);
bool HasPartitionStartingAt(uint64_t firstSector);

// The entry at index when there is one and it reaches past the engine's reach; else nullptr.
const PartitionEntry* PartitionBeyondReach(int64_t index);
// What the scan page scans of the entry at index (its row in driveField): the partition, or for one past the
// engine's reach no sectors at all (such a partition is refused by name, never scanned with its numbers cut).
ScanRangeRecord ScanRangeOfPartition(uint32_t index);
