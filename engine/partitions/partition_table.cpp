#include "engine/partitions/partition_table.h"

#include "engine/records/sector_reach.h"

PartitionEntry PartitionTable[kMaxPartitions];
std::atomic<uint32_t> PartitionCount{0};
std::atomic<uint32_t> PartitionSearchWanted{0};

uint32_t PartitionsInUse() {
  const uint32_t count = PartitionCount;
  return count < kMaxPartitions ? count : kMaxPartitions;
}

bool PartitionTableFull() { return PartitionCount >= kMaxPartitions; }

bool AppendPartition(const PartitionEntry& entry) {
  const uint32_t index = PartitionCount;
  if (index >= kMaxPartitions) return false;
  PartitionTable[index] = entry;
  PartitionCount = index + 1;
  return true;
}

bool HasPartitionStartingAt(uint64_t firstSector) {
  const uint32_t count = PartitionsInUse();
  for (uint32_t i = 0; i < count; ++i) {
    if (PartitionTable[i].firstSector == firstSector) return true;
  }
  return false;
}

const PartitionEntry* PartitionBeyondReach(int64_t index) {
  if (index < 0 || index >= PartitionsInUse()) return nullptr;
  const PartitionEntry& entry = PartitionTable[index];
  return WithinSectorReach(entry.firstSector, entry.sectorCount) ? nullptr : &entry;
}

ScanRangeRecord ScanRangeOfPartition(uint32_t index) {
  const PartitionEntry& entry = PartitionTable[index];
  const auto row = static_cast<uint16_t>(index);
  if (PartitionBeyondReach(index) != nullptr) return ScanRangeRecord{entry.fileSystemCode, 0, 0, 0, row};
  const auto first = static_cast<uint32_t>(entry.firstSector);
  const auto count = static_cast<uint32_t>(entry.sectorCount);
  return ScanRangeRecord{entry.fileSystemCode, first, count, first + (count > 0 ? count - 1 : 0), row};
}
