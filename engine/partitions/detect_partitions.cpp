#include "engine/partitions/detect_partitions.h"

#include <algorithm>
#include <array>
#include <limits>

#include "engine/partitions/disk_sectors.h"
#include "engine/partitions/partition_table.h"

namespace {


// Classifies the partition whose boot sector lies at first (marks first, then the type) and records it.
void RecordPartition(uint64_t first, const TableEntry& entry) {
  Sector boot;
  ReadDiskSector(first, boot);
  uint16_t code = DetectionMark(boot);
  if (code == 0) code = TypeCode(entry.type);
  if (code != 0) AppendPartition({first, entry.sectorCount, code});
}

// The extended chain: each record's first two entries hold a logical partition (relative to the record)
// and the link to the next record (relative to the extended partition's start). A link back to a record
// already read, or a chain longer than kMaxExtendedLinks, ends the walk.
void WalkExtendedChain(uint32_t extendedStart) {
  std::array<uint64_t, kMaxExtendedLinks> visited{};
  uint64_t offset = 0;
  for (uint32_t links = 0; links < kMaxExtendedLinks; ++links) {
    const uint64_t recordSector = uint64_t{extendedStart} + offset;
    const auto seenEnd = visited.begin() + links;
    if (std::find(visited.begin(), seenEnd, recordSector) != seenEnd) return;
    visited[links] = recordSector;
    Sector record;
    ReadDiskSector(recordSector, record);
    bool linked = false;
    for (int i = 0; i < 2; ++i) {
      const TableEntry entry = ReadTableEntry(record, i);
      if (entry.type == 0) continue;
      if (IsExtendedType(entry.type)) {
        offset = entry.firstSector;
        linked = true;
        continue;
      }
      RecordPartition(recordSector + entry.firstSector, entry);
      if (PartitionTableFull()) return;
    }
    if (!linked) return;
  }
}

}  // namespace

void DetectPartitions(uint32_t tableSector) {
  PartitionSearchWanted = 0;
  PartitionCount = 0;
  Sector mbr;
  ReadDiskSector(tableSector, mbr);
  if (!HasBootSignature(mbr)) return;
  bool hasExtended = false;
  uint32_t extendedStart = 0;
  for (int i = 0; i < 4 && !PartitionTableFull(); ++i) {
    const TableEntry entry = ReadTableEntry(mbr, i);
    if (entry.type == 0) continue;
    if (IsExtendedType(entry.type)) {
      // A later extended entry replaces an earlier one.
      hasExtended = true;
      extendedStart = entry.firstSector;
      continue;
    }
    RecordPartition(entry.firstSector, entry);
  }
  if (hasExtended && !PartitionTableFull()) WalkExtendedChain(extendedStart);
}

void DetectPartitionsWithFallback() {
  for (const uint32_t sector : {0u, 0u, 61u, 62u}) {
    DetectPartitions(sector);
    if (PartitionCount != 0) return;
  }
}
