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
  uint32_t entryBytes = 0;
  uint32_t endMark = 0;      // this value and all above end a chain
  uint64_t entries = 0;      // the entries the table holds
};

FatTable TableOf(const FileSystemRecord& fs, uint32_t fatCopy) {
  const bool fat32 = fs.type == records::kFat32;
  FatTable table;
  table.firstSector = fatCopy == 1 ? fs.firstFatSector : fatCopy == 2 ? fs.secondFatSector : 0;
  table.entryBytes = fat32 ? 4 : 2;
  table.endMark = fat32 ? 0x0FFFFFF8 : 0xFFF8;
  // A table of unknown length reaches as far as its entries can number clusters.
  const uint32_t sectors = fs.sectorsPerFat;
  table.entries = sectors != 0 ? uint64_t{sectors} * (kSectorSize / table.entryBytes) : (fat32 ? 1u << 28 : 1u << 16);
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

  // The entry of cluster (inside the table); false when its sector cannot be read.
  bool Entry(uint32_t cluster, uint32_t* value) {
    const uint32_t perSector = kSectorSize / table_.entryBytes;
    const uint64_t lba = uint64_t{table_.firstSector} + cluster / perSector;
    if (lba != loaded_) {
      if (ReadSectors(device_, static_cast<uint32_t>(lba), static_cast<uint32_t>(lba >> 32), 1, sector_.data()) != 1) {
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

void ReadClusterChain(uint32_t firstCluster, uint32_t wanted, uint32_t fatCopy) {
  ListChain(firstCluster, fatCopy, uint64_t{wanted} + 1, true);
}

uint64_t FatTableEntries(const FileSystemRecord& fs) { return TableOf(fs, 1).entries; }

void ReadLostClusterChain(uint32_t firstCluster) { ListChain(firstCluster, 1, kLostChainClusters, false); }

std::vector<uint32_t> FatChainOf(const FileSystemRecord& fs, const char* devicePath, uint32_t firstCluster,
                                 uint64_t most) {
  return WalkChain(TableOf(fs, 1), devicePath, firstCluster, most, false);
}
