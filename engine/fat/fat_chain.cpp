#include "engine/fat/fat_chain.h"

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

#include "engine/fat/save_abort.h"
#include "engine/image/byte_order.h"
#include "engine/image/read_sectors.h"
#include "engine/records/scan_records.h"

namespace {

// Notices that a chain has come round, without remembering every cluster: it marks the cluster reached
// after 1, 2, 4, 8 ... steps, and a loop brings the walk back to a mark within twice its length.
class LoopWatch {
 public:
  explicit LoopWatch(uint32_t first) : mark_(first) {}

  bool ComesRound(uint32_t next) {
    if (next == mark_) return true;
    if (++steps_ == span_) {
      mark_ = next;
      span_ *= 2;
      steps_ = 0;
    }
    return false;
  }

 private:
  uint32_t mark_;
  uint64_t span_ = 1;
  uint64_t steps_ = 0;
};

// Cuts chain before the first cluster that it already holds, so that a chain that came round is listed once.
void CutAtFirstRepeat(std::vector<uint32_t>& chain) {
  const size_t count = chain.size();
  std::vector<std::pair<uint32_t, size_t>> sorted = records::GuardAllocation([&] {
    std::vector<std::pair<uint32_t, size_t>> pairs;
    pairs.reserve(count);
    for (size_t i = 0; i < count; ++i) pairs.emplace_back(chain[i], i);
    return pairs;
  });
  std::sort(sorted.begin(), sorted.end());
  size_t cut = count;
  for (size_t i = 1; i < sorted.size(); ++i) {
    if (sorted[i].first == sorted[i - 1].first) cut = std::min(cut, sorted[i].second);
  }
  chain.resize(cut);
}

// firstCluster and the clusters after it through table, at most `most` in all.
std::vector<uint32_t> WalkChain(FatTableCopy table, uint32_t firstCluster, uint64_t most, bool abortable) {
  std::vector<uint32_t> chain;
  const uint64_t limit = std::min(most, table.Entries());
  records::GuardAllocation([&] { chain.push_back(firstCluster); });
  LoopWatch watch(firstCluster);
  uint32_t cluster = firstCluster;
  bool cameRound = false;
  while (chain.size() < limit) {
    if (abortable && SaveStopRequested()) break;
    uint32_t next = 0;
    if (!table.Entry(cluster, &next) || !table.Links(next)) break;
    if (watch.ComesRound(next)) {
      cameRound = true;
      break;
    }
    records::GuardAllocation([&] { chain.push_back(next); });
    cluster = next;
  }
  // A loop that the watch has not yet seen can only have repeated clusters when the limit ended the walk.
  if (cameRound || chain.size() >= limit) CutAtFirstRepeat(chain);
  return chain;
}

// ClusterList as the chain of CurrentFileSystem's table copy fatCopy.
void ListChain(uint32_t firstCluster, uint32_t fatCopy, uint64_t most, bool abortable) {
  const std::vector<uint32_t> chain =
      WalkChain(FatTableCopy(CurrentFileSystem, CurrentFatDevice(), fatCopy), firstCluster, most, abortable);
  ClusterList.Free();
  for (uint32_t cluster : chain) AppendCluster(cluster);
}

}  // namespace

FatTableCopy::FatTableCopy(const FileSystemRecord& fs, const char* devicePath, uint32_t fatCopy)
    : firstSector_(fatCopy == 1 ? fs.firstFatSector : fatCopy == 2 ? fs.secondFatSector : 0),
      entryBits_(FatEntryBits(fs)),
      endMark_(entryBits_ == 32 ? 0x0FFFFFF8 : entryBits_ == 16 ? 0xFFF8 : 0xFF8),
      entries_(FatTableEntries(fs)),
      device_(devicePath) {}

bool FatTableCopy::Entry(uint32_t cluster, uint32_t* value) {
  if (!Known() || cluster >= entries_) return false;
  const uint64_t offset = entryBits_ == 12 ? uint64_t{cluster} * 3 / 2 : uint64_t{cluster} * entryBits_ / 8;
  uint8_t bytes[4] = {};
  for (uint32_t i = 0; i < (entryBits_ == 12 ? 2u : entryBits_ / 8); ++i) {
    if (!Byte(offset + i, &bytes[i])) return false;
  }
  if (entryBits_ == 12) {
    const uint32_t pair = LoadLe16(bytes);
    *value = cluster % 2 == 0 ? pair & 0xFFF : pair >> 4;
  } else {
    *value = entryBits_ == 32 ? LoadLe32(bytes) : LoadLe16(bytes);
  }
  return true;
}

bool FatTableCopy::InUse(uint32_t cluster) {
  uint32_t value = 0;
  return Entry(cluster, &value) && value != 0;
}

bool FatTableCopy::Byte(uint64_t offset, uint8_t* byte) {
  const uint64_t lba = uint64_t{firstSector_} + offset / kSectorSize;
  if (lba != loaded_) {
    if (ReadSectors(device_, static_cast<uint32_t>(lba), static_cast<uint32_t>(lba >> 32), 1, sector_.data()) != 1) {
      loaded_ = kNothingLoaded;
      return false;
    }
    loaded_ = lba;
  }
  *byte = sector_[offset % kSectorSize];
  return true;
}

FatLinkedClusters::FatLinkedClusters(const FileSystemRecord& fs, const char* devicePath, uint32_t fatCopy,
                                     uint64_t clusters) {
  FatTableCopy table(fs, devicePath, fatCopy);
  const uint64_t count = std::min(clusters, table.Entries());
  if (!table.Known() || count <= 2) return;
  records::GuardAllocation([&] {
    linked_.assign(count, false);
    shared_.assign(count, false);
    inUse_ = ClusterBitmap(count);
  });
  for (uint64_t cluster = 2; cluster < count; ++cluster) {
    uint32_t next = 0;
    if (!table.Entry(static_cast<uint32_t>(cluster), &next) || next == 0) continue;
    inUse_.Set(cluster);
    if (table.Links(next) && next < count) {
      if (linked_[next]) shared_[next] = anyShared_ = true;
      linked_[next] = true;
    }
  }
}

const char* CurrentFatDevice() {
  const uint16_t row = CurrentDriveIndex.load();
  return DevicePathTable[row < kDevicePathRows ? row : 0];
}

uint32_t FatEntryBits(const FileSystemRecord& fs) {
  if (fs.type == records::kFat32) return 32;
  // A FAT16 volume has at least kFat12Clusters clusters, which its table must number: a shorter table can
  // only be the 12-bit table of a smaller volume.
  const bool short16 = fs.sectorsPerFat != 0 && uint64_t{fs.sectorsPerFat} * (kSectorSize / 2) < kFat12Clusters + 2;
  return short16 ? 12 : 16;
}

uint64_t FatTableEntries(const FileSystemRecord& fs) {
  const uint32_t bits = FatEntryBits(fs);
  // A table of unknown length reaches as far as its entries can number clusters.
  if (fs.sectorsPerFat == 0) return bits == 32 ? uint64_t{1} << 28 : uint64_t{1} << 16;
  return uint64_t{fs.sectorsPerFat} * kSectorSize * 8 / bits;
}

void ReadClusterChain(uint32_t firstCluster, uint32_t wanted, uint32_t fatCopy) {
  ListChain(firstCluster, fatCopy, uint64_t{wanted} + 1, true);
}

void ReadLostClusterChain(uint32_t firstCluster) { ListChain(firstCluster, 1, kLostChainClusters, false); }

std::vector<uint32_t> FatChainOf(const FileSystemRecord& fs, const char* devicePath, uint32_t firstCluster,
                                 uint64_t most, uint32_t fatCopy) {
  return WalkChain(FatTableCopy(fs, devicePath, fatCopy), firstCluster, most, false);
}
