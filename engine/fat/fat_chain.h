// Cluster chains through the allocation tables of CurrentFileSystem (FAT16 or FAT32) into ClusterList.
// AppendCluster (engine/records/fat_records.h) appends one cluster to that list.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "engine/fat/cluster_bitmap.h"
#include "engine/image/read_sectors.h"
#include "engine/records/scan_parameters.h"

// A FAT volume of fewer clusters than this is FAT12, as the format defines; FAT16 below 65525.
constexpr uint32_t kFat12Clusters = 4085;

// The width of fs's table entries: 32 on FAT32; on FAT16, 12 when the table is too short to number the
// clusters every FAT16 volume has (the 12-bit table of a FAT12 volume, which is read as FAT16 otherwise).
uint32_t FatEntryBits(const FileSystemRecord& fs);

// How many entries fs's table holds, reserved ones included (all its entries can number when its length is
// not known): no file's cluster lies at or past it.
uint64_t FatTableEntries(const FileSystemRecord& fs);

// One allocation table copy of a file system (1 the first, 2 the second), its entries read from a device. It
// keeps the sector it read last: the entries of a chain mostly lie side by side.
class FatTableCopy {
 public:
  FatTableCopy(const FileSystemRecord& fs, const char* devicePath, uint32_t fatCopy);
  // Whether the copy's place is known.
  bool Known() const { return firstSector_ != 0; }
  // The entry of cluster; false when the copy is not known, the cluster lies outside the table or its sector
  // cannot be read. A 12-bit entry takes a byte and a half, and may begin in one sector and end in the next.
  bool Entry(uint32_t cluster, uint32_t* value);
  // Whether an entry's value links on to a next cluster (not free, reserved, bad, an end mark, or a cluster
  // outside the table).
  bool Links(uint32_t value) const { return value >= 2 && value < endMark_ && value < entries_; }
  // Whether cluster is in use by this copy: its entry is readable and not 0 (free).
  bool InUse(uint32_t cluster);
  uint64_t Entries() const { return entries_; }

 private:
  bool Byte(uint64_t offset, uint8_t* byte);

  static constexpr uint64_t kNothingLoaded = ~uint64_t{0};
  uint32_t firstSector_;
  uint32_t entryBits_;
  uint32_t endMark_;  // this value and all above end a chain
  uint64_t entries_;
  const char* device_;
  uint64_t loaded_ = kNothingLoaded;
  std::array<uint8_t, kSectorSize> sector_{};
};

// The clusters that some entry of a table copy links to: every cluster of a chain but its first. A live file
// whose first cluster is one of them begins inside another file's chain (an entry left from before a quick format,
// whose cluster a later file took): that chain is not the file's.
class FatLinkedClusters {
 public:
  // Reads the entries of clusters 2 .. clusters - 1 of table copy fatCopy of fs (none when it is not known).
  FatLinkedClusters(const FileSystemRecord& fs, const char* devicePath, uint32_t fatCopy, uint64_t clusters);
  bool Linked(uint32_t cluster) const { return cluster < linked_.size() && linked_[cluster]; }
  // Whether two entries link to cluster: two chains meet there (a cross-link), and one of them is not its file's.
  bool Shared(uint32_t cluster) const { return cluster < shared_.size() && shared_[cluster]; }
  bool AnyShared() const { return anyShared_; }
  // The first cluster in [first, end) whose entry is not free (in use, bad or reserved); end when none is.
  uint64_t NextInUse(uint64_t first, uint64_t end) const { return inUse_.Next(first, end); }

 private:
  std::vector<bool> linked_;
  std::vector<bool> shared_;
  bool anyShared_ = false;
  ClusterBitmap inUse_;
};

// The device of CurrentDriveIndex, which the scans and the savers read.
const char* CurrentFatDevice();

// The clusters of the chain from firstCluster through allocation table fatCopy (1 first, 2 second), for a
// file of wanted clusters: ClusterList is emptied, then holds firstCluster and the clusters that follow it,
// at most wanted + 1 in all. The walk ends at an end mark, a free or reserved value, a cluster outside the
// table, a cluster already in the chain (a loop), a sector that cannot be read, a table whose first sector
// is 0, and when SaveAbortFlag is 1. The caller counts ClusterList.
void ReadClusterChain(uint32_t firstCluster, uint32_t wanted, uint32_t fatCopy);

// The chain from firstCluster through the first table, at most 100 clusters, without the abort test: the
// clusters of a folder or of lost data.
void ReadLostClusterChain(uint32_t firstCluster);

// How many clusters ReadLostClusterChain lists at most.
constexpr uint32_t kLostChainClusters = 100;

// The chain from firstCluster through table copy fatCopy of fs (not CurrentFileSystem), its sectors read from
// devicePath, at most `most` clusters, as ReadLostClusterChain walks it; ClusterList is left alone.
std::vector<uint32_t> FatChainOf(const FileSystemRecord& fs, const char* devicePath, uint32_t firstCluster,
                                 uint64_t most, uint32_t fatCopy = 1);
