// Cluster chains through the allocation tables of CurrentFileSystem (FAT16 or FAT32) into ClusterList.
// AppendCluster (engine/records/fat_records.h) appends one cluster to that list.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/records/scan_parameters.h"

// A FAT volume of fewer clusters than this is FAT12, as the format defines; FAT16 below 65525.
constexpr uint32_t kFat12Clusters = 4085;

// The width of fs's table entries: 32 on FAT32; on FAT16, 12 when the table is too short to number the
// clusters every FAT16 volume has (the 12-bit table of a FAT12 volume, which is read as FAT16 otherwise).
uint32_t FatEntryBits(const FileSystemRecord& fs);

// How many entries fs's table holds, reserved ones included (all its entries can number when its length is
// not known): no file's cluster lies at or past it.
uint64_t FatTableEntries(const FileSystemRecord& fs);

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

// The chain from firstCluster through the first table of fs (not CurrentFileSystem), its sectors read from
// devicePath, at most `most` clusters, as ReadLostClusterChain walks it; ClusterList is left alone.
std::vector<uint32_t> FatChainOf(const FileSystemRecord& fs, const char* devicePath, uint32_t firstCluster,
                                 uint64_t most);
