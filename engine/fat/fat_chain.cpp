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

// One allocation table of a file system as a chain walk reads it.
struct FatTable {
  uint32_t firstSector = 0;  // 0: the copy is not known
  uint32_t entryBits = 0;    // 12, 16 or 32
  uint32_t endMark = 0;      // this value and all above end a chain
  uint64_t entries = 0;      // the entries the table holds
};

FatTable TableOf(const FileSystemRecord& fs, uint32_t fatCopy) {
  FatTable table;
  table.firstSector = fatCopy == 1 ? fs.firstFatSector : fatCopy == 2 ? fs.secondFatSector : 0;
  table.entryBits = FatEntryBits(fs);
  table.endMark = table.entryBits == 32 ? 0x0FFFFFF8 : table.entryBits == 16 ? 0xFFF8 : 0xFF8;
  table.entries = FatTableEntries(fs);
  return table;
}

const char* CurrentDevice() {
  const uint16_t row = CurrentDriveIndex.load();
  return DevicePathTable[row < kDevicePathRows ? row : 0];
}

// Reads table entries, keeping the sector read last: the entries of a chain mostly lie side by side.
class TableReader {
 public:
  TableReader(const FatTable& table, const char* devicePath) : table_(table), device_(devicePath) {}

  // The entry of cluster (inside the table); false when its sector cannot be read. A 12-bit entry takes a
  // byte and a half, and may begin in one sector and end in the next.
  bool Entry(uint32_t cluster, uint32_t* value) {
    const uint64_t offset = table_.entryBits == 12 ? uint64_t{cluster} * 3 / 2 : uint64_t{cluster} * table_.entryBits / 8;
    uint8_t bytes[4] = {};
    for (uint32_t i = 0; i < (table_.entryBits == 12 ? 2u : table_.entryBits / 8); ++i) {
      if (!Byte(offset + i, &bytes[i])) return false;
    }
    if (table_.entryBits == 12) {
      const uint32_t pair = LoadLe16(bytes);
      *value = cluster % 2 == 0 ? pair & 0xFFF : pair >> 4;
    } else {
      *value = table_.entryBits == 32 ? LoadLe32(bytes) : LoadLe16(bytes);
    }
    return true;
  }

 private:
  bool Byte(uint64_t offset, uint8_t* byte) {
    const uint64_t lba = uint64_t{table_.firstSector} + offset / kSectorSize;
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

  static constexpr uint64_t kNothingLoaded = ~uint64_t{0};
  const FatTable& table_;
  const char* device_;
  uint64_t loaded_ = kNothingLoaded;
  std::array<uint8_t, kSectorSize> sector_{};
};

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
std::vector<uint32_t> WalkChain(const FatTable& table, const char* devicePath, uint32_t firstCluster, uint64_t most,
                                bool abortable) {
  std::vector<uint32_t> chain;
  const uint64_t limit = std::min(most, table.entries);
  records::GuardAllocation([&] { chain.push_back(firstCluster); });
  TableReader reader(table, devicePath);
  LoopWatch watch(firstCluster);
  uint32_t cluster = firstCluster;
  bool cameRound = false;
  while (chain.size() < limit) {
    if (abortable && SaveStopRequested()) break;
    if (table.firstSector == 0 || cluster >= table.entries) break;
    uint32_t next = 0;
    if (!reader.Entry(cluster, &next)) break;
    if (next < 2 || next >= table.endMark || next >= table.entries) break;
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
  const std::vector<uint32_t> chain = WalkChain(TableOf(CurrentFileSystem, fatCopy), CurrentDevice(), firstCluster,
                                                most, abortable);
  ClusterList.Free();
  for (uint32_t cluster : chain) AppendCluster(cluster);
}

}  // namespace

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
                                 uint64_t most) {
  return WalkChain(TableOf(fs, 1), devicePath, firstCluster, most, false);
}
