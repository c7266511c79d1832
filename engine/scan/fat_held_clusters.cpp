#include "engine/scan/fat_held_clusters.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "engine/fat/fat_chain.h"
#include "engine/image/read_sectors.h"
#include "engine/records/fat_records.h"
#include "engine/records/scan_parameters.h"
#include "engine/records/scan_records.h"

namespace {

// Whether a file's first sector is that of a disk or volume kept as a file: a boot sector or a partition table
// (55 AA at its end), or the header of a VHD (its footer's copy) or of a VHDX.
bool BeginsLikeDiskImage(uint32_t cluster) {
  const FileSystemRecord& fs = CurrentFileSystem;
  const uint64_t lba = fs.clusterBase + uint64_t{cluster} * fs.sectorsPerCluster;
  uint8_t sector[kSectorSize];
  if (ReadSectors(CurrentFatDevice(), static_cast<uint32_t>(lba), static_cast<uint32_t>(lba >> 32), 1, sector) != 1) {
    return false;
  }
  return (sector[510] == 0x55 && sector[511] == 0xAA) || std::memcmp(sector, "conectix", 8) == 0 ||
         std::memcmp(sector, "vhdxfile", 8) == 0;
}

class HeldClusters {
 public:
  explicit HeldClusters(uint64_t clusters)
      : fs_(CurrentFileSystem),
        copies_{FatTableCopy(fs_, CurrentFatDevice(), 1), FatTableCopy(fs_, CurrentFatDevice(), 2)},
        clusters_(clusters) {
    records::GuardAllocation([&] { held_.assign(clusters, false); });
  }

  // A live file: its chain in the first copy that holds its first cluster in use; false when none does.
  bool TakeChain(uint32_t first, uint64_t count) {
    FatTableCopy* copy = InUse(0, first) ? &copies_[0] : InUse(1, first) ? &copies_[1] : nullptr;
    if (copy == nullptr) return false;
    // A walk ends where an earlier one went on from: the rest of the chain is marked already.
    uint32_t cluster = first;
    for (uint64_t k = 0; k < count && !held_[cluster]; ++k) {
      held_[cluster] = true;
      uint32_t next = 0;
      if (!copy->Entry(cluster, &next) || !copy->Links(next) || next >= clusters_) break;
      cluster = next;
    }
    return true;
  }

  // Consecutive clusters [first, first + count) of disk images read without a chain, each cluster looked at once
  // (by first cluster, the furthest reach so far skipped).
  void TakeConsecutive(std::vector<std::pair<uint32_t, uint64_t>> runs) {
    std::sort(runs.begin(), runs.end());
    uint64_t reached = 0;
    for (const auto& [first, count] : runs) {
      if (first + count <= reached || !BeginsLikeDiskImage(first)) continue;
      uint64_t cluster = std::max<uint64_t>(first, reached);
      // A cluster a table gives out again is another's since the file was freed.
      for (; cluster < std::min(first + count, clusters_) && !InUse(0, cluster) && !InUse(1, cluster); ++cluster) {
        held_[cluster] = true;
      }
      reached = std::max(reached, cluster);
    }
  }

  std::vector<bool> Take() { return std::move(held_); }

 private:
  bool InUse(size_t c, uint64_t cluster) { return copies_[c].Known() && copies_[c].InUse(static_cast<uint32_t>(cluster)); }

  FileSystemRecord fs_;
  FatTableCopy copies_[2];
  uint64_t clusters_;
  std::vector<bool> held_;
};

}  // namespace

std::vector<bool> FatFileHeldClusters(uint64_t clusters) {
  const uint64_t clusterBytes = uint64_t{CurrentFileSystem.sectorsPerCluster} * kSectorSize;
  if (clusterBytes == 0) return {};
  HeldClusters held(clusters);
  std::vector<std::pair<uint32_t, uint64_t>> consecutive;
  for (const FatEntryRecord& entry : FatEntryList) {
    if (entry.size == 0 || entry.firstCluster < 2 || entry.firstCluster >= clusters) continue;
    const uint64_t count = (uint64_t{entry.size} + clusterBytes - 1) / clusterBytes;
    if (entry.deleted == 0 && held.TakeChain(entry.firstCluster, count)) continue;
    records::GuardAllocation([&] { consecutive.emplace_back(entry.firstCluster, count); });
  }
  held.TakeConsecutive(std::move(consecutive));
  return held.Take();
}
