// The partitions of the selected disk: filled by DetectPartitions from the partition tables, appended to
// by SearchPartitions, and read by the source tree, the disk panels and the scan page.
#pragma once

#include <atomic>
#include <cstdint>

constexpr uint32_t kMaxPartitions = 25;
// The last sector an entry can hold: its sectors are 32-bit.
constexpr uint64_t kMaxSector32 = 0xFFFFFFFFu;

struct PartitionEntry {
  uint32_t firstSector = 0;     // absolute sector of the partition's boot sector
  uint32_t sectorCount = 0;
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
bool HasPartitionStartingAt(uint32_t firstSector);
