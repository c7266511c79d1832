#include "engine/partitions/partition_table.h"

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

bool HasPartitionStartingAt(uint32_t firstSector) {
  const uint32_t count = PartitionsInUse();
  for (uint32_t i = 0; i < count; ++i) {
    if (PartitionTable[i].firstSector == firstSector) return true;
  }
  return false;
}
