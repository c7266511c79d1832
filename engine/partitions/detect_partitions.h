// Reading the partition table: the master boot record at a given sector and the chain of extended boot
// records behind it.
#pragma once

#include <cstdint>

// The most extended boot records one chain may link; a chain that goes on longer is taken as damaged.
constexpr uint32_t kMaxExtendedLinks = 1024;

// Empties PartitionTable and fills it with the FAT16, FAT32 and NTFS partitions that the master boot
// record at tableSector and its extended chain name; sets PartitionSearchWanted to 0. A record without
// the 55 AA mark leaves the table empty.
void DetectPartitions(uint32_t tableSector);

// What the source page's Next does: DetectPartitions on the sectors 0, 0, 61 and 62 in turn until the
// table is not empty (a damaged disk may keep a copy of its table there).
void DetectPartitionsWithFallback();
