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

// One allocation table of CurrentFileSystem as a chain walk reads it.
struct FatTable {
  uint32_t firstSector = 0;  // 0: the copy is not known
  uint32_t entryBytes = 0;
  uint32_t endMark = 0;      // this value and all above end a chain
  uint64_t entries = 0;      // the entries the table holds
};

FatTable TableOf(uint32_t fatCopy) {
  const bool fat32 = CurrentFileSystem.type == records::kFat32;
  FatTable table;
  table.firstSector = fatCopy == 1   ? CurrentFileSystem.firstFatSector
                      : fatCopy == 2 ? CurrentFileSystem.secondFatSector
                                     : 0;
  table.entryBytes = fat32 ? 4 : 2;
  table.endMark = fat32 ? 0x0FFFFFF8 : 0xFFF8;
  // A table of unknown length reaches as far as its entries can number clusters.
  const uint32_t sectors = CurrentFileSystem.sectorsPerFat;
  table.entries = sectors != 0 ? uint64_t{sectors} * (kSectorSize / table.entryBytes) : (fat32 ? 1u << 28 : 1u << 16);
  return table;
}

// Reads table entries, keeping the sector read last: the entries of a chain mostly lie side by side.
class TableReader {
 public:
  explicit TableReader(const FatTable& table) : table_(table) {}

  // The entry of cluster (inside the table); false when its sector cannot be read.
  bool Entry(uint32_t cluster, uint32_t* value) {
    const uint32_t perSector = kSectorSize / table_.entryBytes;
    const uint64_t lba = uint64_t{table_.firstSector} + cluster / perSector;
    if (lba != loaded_) {
      const uint16_t row = CurrentDriveIndex.load();
      if (ReadSectors(DevicePathTable[row < kDevicePathRows ? row : 0], static_cast<uint32_t>(lba),
                      static_cast<uint32_t>(lba >> 32), 1, sector_.data()) != 1) {
        loaded_ = kNothingLoaded;
        return false;
      }
      loaded_ = lba;
    }
    const uint8_t* entry = sector_.data() + (cluster % perSector) * table_.entryBytes;
    *value = table_.entryBytes == 4 ? LoadLe32(entry) : LoadLe16(entry);
    return true;
  }

 private:
  static constexpr uint64_t kNothingLoaded = ~uint64_t{0};
  const FatTable& table_;
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

// Cuts ClusterList before the first cluster that it already holds, so that a chain that came round is
// listed once.
void CutAtFirstRepeat() {
  const size_t count = ClusterList.size();
  std::vector<std::pair<uint32_t, size_t>> sorted = records::GuardAllocation([&] {
    std::vector<std::pair<uint32_t, size_t>> pairs;
    pairs.reserve(count);
    for (size_t i = 0; i < count; ++i) pairs.emplace_back(ClusterList[i].cluster, i);
    return pairs;
  });
  std::sort(sorted.begin(), sorted.end());
  size_t cut = count;
  for (size_t i = 1; i < sorted.size(); ++i) {
    if (sorted[i].first == sorted[i - 1].first) cut = std::min(cut, sorted[i].second);
  }
  if (cut == count) return;
  size_t position = 0;
  ClusterList.RemoveIf([&](const ClusterNode&) { return position++ >= cut; });
}

// Lists firstCluster and the clusters after it through table copy fatCopy, at most `most` in all.
void WalkChain(uint32_t firstCluster, uint32_t fatCopy, uint64_t most, bool abortable) {
  ClusterList.Free();
  AppendCluster(firstCluster);
  const FatTable table = TableOf(fatCopy);
  const uint64_t limit = std::min(most, table.entries);
  TableReader reader(table);
  LoopWatch watch(firstCluster);
  uint32_t cluster = firstCluster;
  bool cameRound = false;
  while (ClusterList.size() < limit) {
    if (abortable && SaveStopRequested()) break;
    if (table.firstSector == 0 || cluster >= table.entries) break;
    uint32_t next = 0;
    if (!reader.Entry(cluster, &next)) break;
    if (next < 2 || next >= table.endMark || next >= table.entries) break;
    if (watch.ComesRound(next)) {
      cameRound = true;
      break;
    }
    AppendCluster(next);
    cluster = next;
  }
  // A loop that the watch has not yet seen can only have repeated clusters when the limit ended the walk.
  if (cameRound || ClusterList.size() >= limit) CutAtFirstRepeat();
}

}  // namespace

void ReadClusterChain(uint32_t firstCluster, uint32_t wanted, uint32_t fatCopy) {
  WalkChain(firstCluster, fatCopy, uint64_t{wanted} + 1, true);
}

void ReadLostClusterChain(uint32_t firstCluster) { WalkChain(firstCluster, 1, kLostChainClusters, false); }
