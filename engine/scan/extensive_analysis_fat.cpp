// The Extensive Scan's FAT analysis: file systems from the boot sectors found, then from pairs of
// subfolder sectors that no boot sector explained.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <optional>
#include <utility>
#include <vector>

#include "engine/image/byte_order.h"
#include "engine/partitions/disk_sectors.h"
#include "engine/records/extensive_lists.h"
#include "engine/records/record_list.h"
#include "engine/records/scan_control.h"
#include "engine/scan/boot_parameters.h"
#include "engine/scan/extensive_report.h"
#include "engine/scan/extensive_scan.h"
#include "engine/scan/fat_table_search.h"

namespace {

constexpr uint32_t kLowestClusterBase = 63;
constexpr uint32_t kLargestFat16Cluster = 65535;
constexpr uint32_t kFat32RootCluster = 2;
constexpr uint32_t kClusterSizes = 8;  // 1, 2, 4, ... 128 sectors
constexpr size_t kMediaByteOffset = 21;
constexpr size_t kBackupBootSectorOffset = 50;
uint16_t BootSectorType(const Sector& boot) {
  if (std::memcmp(boot.data() + 85, "32", 2) == 0) return records::kFat32;
  if (std::memcmp(boot.data() + 57, "16", 2) == 0) return records::kFat16;
  return 0;
}

// Marks the candidate for the next file system and counts it.
void Assign(DirSectorCandidate& candidate) {
  candidate.mark = extensive::NextFileSystemNumber();
  extensive::CountAssigned(DirSectorCandidateList.size());
}

// Whether sector lies before the tables of the file system found last, by its boot sector: the backup boot sector
// of a FAT32 volume, which would place the volume six sectors on. (The boot sectors are taken in sector order, so an
// earlier file system's reserved sectors end before the last one's begin.)
bool InLastFoundReservedSectors(uint32_t sector) {
  if (FoundFileSystemList.size() == 0) return false;
  const FileSystemRecord& fs = FoundFileSystemList[FoundFileSystemList.size() - 1];
  return fs.firstFatSector != 0 && sector < fs.firstFatSector && sector >= fs.firstFatSector - fs.reservedSectors;
}

// Whether a table copy begins where the boot sector puts it, with the boot sector's media byte: the boot sector
// is its volume's, though the volume hold no folder to confirm it (every file in its root).
bool TableWhereBootSays(const Sector& boot, const FileSystemRecord& fs) {
  Sector table;
  for (uint32_t at : {fs.firstFatSector, fs.secondFatSector}) {
    if (ReadDiskSector(at, table) && FatTableStartOf(table.data()) != FatTableStart::kNone &&
        table[0] == boot[kMediaByteOffset]) {
      return true;
    }
  }
  return false;
}

// The boot sector taken for a volume that begins at sector start: when its geometry places unassigned subfolder
// candidates, or a table lies where it says, they get the next file-system number and the file system is
// recorded. False when it is not.
bool PlaceByBootSector(const Sector& boot, uint16_t type, uint32_t start) {
  std::optional<FileSystemRecord> fs = FatBootSectorFields(boot, type, RangeSectors{start, kLastSectorNumber});
  if (!fs || fs->clusterBase < kLowestClusterBase || !extensive::CanNumberFileSystem()) return false;
  // A folder lies at or after the sector of cluster 0: the walk starts there, in sector order.
  auto first = std::lower_bound(DirSectorCandidateList.begin(), DirSectorCandidateList.end(), fs->clusterBase,
                                [](const DirSectorCandidate& c, uint32_t base) { return c.sector < base; });
  bool placed = false;
  for (auto it = first; it != DirSectorCandidateList.end() && it->sector <= fs->lastSector; ++it) {
    if (it->mark != 0 || it->sector != uint64_t{it->cluster} * fs->sectorsPerCluster + fs->clusterBase) continue;
    Assign(*it);
    placed = true;
  }
  if (!placed && !TableWhereBootSays(boot, *fs)) return false;
  extensive::RecordFileSystem(*fs);
  return true;
}

// The boot sector at sector: its volume begins there, or, for the FAT32 backup whose volume lost its first boot
// sector, as many sectors before it as its field at 50 says (6).
void PlaceByBootSector(uint32_t sector) {
  Sector boot;
  if (InLastFoundReservedSectors(sector) || !ReadDiskSector(sector, boot)) return;
  const uint16_t type = BootSectorType(boot);
  if (type == 0 || PlaceByBootSector(boot, type, sector)) return;
  const uint32_t backup = LoadLe16(boot.data() + kBackupBootSectorOffset);
  if (type == records::kFat32 && backup != 0 && backup < LoadLe16(boot.data() + 14) && backup <= sector) {
    PlaceByBootSector(boot, type, sector - backup);
  }
}

// What the sector at lba begins as the search found it.
FatTableStart ListedTableStart(uint64_t lba) {
  auto at = std::lower_bound(FatTableStartList.begin(), FatTableStartList.end(), lba,
                             [](const FatTableStartCandidate& c, uint64_t sector) { return c.sector < sector; });
  if (at == FatTableStartList.end() || at->sector != lba) return FatTableStart::kNone;
  if (at->fat16 && at->fat32) return FatTableStart::kEither;
  return at->fat32 ? FatTableStart::kFat32 : FatTableStart::kFat16;
}

// The kind of the tables before a data area at dataStart, where no boot sector tells: that of the nearest sector
// before it that begins a table copy (the second's, or the first's where the second lost it), when it lies within
// the reach of its kind's tables; where that sector begins either kind, the one whose layout its partner fits. 0 when
// none tells.
uint16_t TablesType(uint64_t dataStart) {
  auto after = std::lower_bound(FatTableStartList.begin(), FatTableStartList.end(), dataStart,
                                [](const FatTableStartCandidate& c, uint64_t lba) { return c.sector < lba; });
  if (after == FatTableStartList.begin()) return 0;
  const FatTableStartCandidate& nearest = *std::prev(after);
  if (dataStart - nearest.sector > FatTablesReach(nearest.fat32)) return 0;
  const FatTableStart kind = nearest.fat16 && nearest.fat32 ? FatPairKind(dataStart, nearest.sector, ListedTableStart)
                             : nearest.fat32                ? FatTableStart::kFat32
                                                            : FatTableStart::kFat16;
  if (kind == FatTableStart::kNone) return 0;
  return kind == FatTableStart::kFat32 ? records::kFat32 : records::kFat16;
}

// The unassigned subfolder candidates grouped by the geometry each would have with every cluster size: key
// (sector of cluster 0, log2 of the cluster size), candidates in list order. Built when first asked after
// Invalidate or a change of the list; marks only ever go from unassigned to assigned meanwhile, and every
// use tests them.
class GeometryIndex {
 public:
  void Invalidate() { size_ = SIZE_MAX; }

  struct Entry {
    uint64_t key;
    uint32_t index;  // in DirSectorCandidateList
  };
  using Range = std::pair<std::vector<Entry>::const_iterator, std::vector<Entry>::const_iterator>;

  // The candidates that the cluster size 1 << log2Spc and base place, in list order.
  Range Placed(uint32_t log2Spc, uint64_t base) {
    Refresh();
    return std::equal_range(entries_.cbegin(), entries_.cend(), Entry{Key(base, log2Spc), 0}, ByKey);
  }

 private:
  static uint64_t Key(uint64_t base, uint32_t log2Spc) { return base << 3 | log2Spc; }
  static bool ByKey(const Entry& a, const Entry& b) { return a.key < b.key; }

  void Refresh() {
    if (generation_ == DirSectorCandidateList.Generation() && size_ == DirSectorCandidateList.size()) return;
    records::GuardAllocation([&] {
      entries_.clear();
      for (size_t i = 0; i < DirSectorCandidateList.size(); ++i) {
        const DirSectorCandidate& c = DirSectorCandidateList[i];
        if (c.mark != 0) continue;
        for (uint32_t s = 0; s < kClusterSizes; ++s) {
          const uint64_t used = uint64_t{c.cluster} << s;
          if (c.sector > used) entries_.push_back({Key(c.sector - used, s), static_cast<uint32_t>(i)});
        }
      }
    });
    std::stable_sort(entries_.begin(), entries_.end(), ByKey);
    generation_ = DirSectorCandidateList.Generation();
    size_ = DirSectorCandidateList.size();
  }

  std::vector<Entry> entries_;
  uint64_t generation_ = ~uint64_t{0};
  size_t size_ = 0;
};

GeometryIndex geometryIndex;

// The first unassigned candidate after a (in list order) that, with a, fits the cluster size 1 << log2Spc;
// SIZE_MAX when none does.
size_t FirstPartner(size_t a, uint32_t log2Spc) {
  const DirSectorCandidate& first = DirSectorCandidateList[a];
  const uint64_t used = uint64_t{first.cluster} << log2Spc;
  if (first.sector <= used) return SIZE_MAX;
  const GeometryIndex::Range placed = geometryIndex.Placed(log2Spc, first.sector - used);
  auto after = std::upper_bound(placed.first, placed.second, a,
                                [](size_t i, const GeometryIndex::Entry& e) { return i < e.index; });
  for (; after != placed.second; ++after) {
    const DirSectorCandidate& b = DirSectorCandidateList[after->index];
    if (b.mark == 0 && first.cluster < b.cluster && b.cluster < b.sector) return after->index;
  }
  return SIZE_MAX;
}

}  // namespace

void AnalyzeFoundFat() {
  extensive::ShowStatus(u"Analyzing the data found...");
  extensive::AddTopNode();
  ExtensiveCounters.assignedCount = 0;
  geometryIndex.Invalidate();
  for (size_t b = 0; b < BootSectorCandidateList.size(); ++b) PlaceByBootSector(BootSectorCandidateList[b].sector);
  for (size_t i = 0; i < DirSectorCandidateList.size(); ++i) {
    if (DirSectorCandidateList[i].mark != 0 || ReconstructFatWithoutBoot(i) == 1) continue;
    DirSectorCandidateList[i].mark = records::kNoFileSystemMark;
    extensive::CountAssigned(DirSectorCandidateList.size());
  }
  extensive::FinishWithoutBootPass();
  extensive::FinishBootSectorPass();
}

uint32_t ReconstructFatWithoutBoot(size_t index) {
  if (index >= DirSectorCandidateList.size() || !extensive::CanNumberFileSystem()) return 0;
  const DirSectorCandidate a = DirSectorCandidateList[index];
  if (a.cluster >= a.sector) return 0;
  // The partner is the first candidate in the list that fits a with any cluster size.
  size_t partner = SIZE_MAX;
  uint32_t log2Spc = 0;
  for (uint32_t s = 0; s < kClusterSizes; ++s) {
    const size_t b = FirstPartner(index, s);
    if (b < partner) {
      partner = b;
      log2Spc = s;
    }
  }
  if (partner == SIZE_MAX) return 0;
  const uint32_t base = static_cast<uint32_t>(a.sector - (uint64_t{a.cluster} << log2Spc));
  const GeometryIndex::Range placed = geometryIndex.Placed(log2Spc, base);
  uint32_t largestCluster = 0;
  for (auto i = placed.first; i != placed.second; ++i) {
    DirSectorCandidate& c = DirSectorCandidateList[i->index];
    if (c.mark != 0) continue;
    Assign(c);
    largestCluster = std::max(largestCluster, c.cluster);
  }
  FileSystemRecord fs;
  // The kind the tables give, else the one the user searched for; a cluster past 16 bits is FAT32's either way.
  const uint16_t tables = TablesType(uint64_t{base} + 2 * (uint64_t{1} << log2Spc));
  const uint16_t kind = tables != 0 ? tables : ScanRange.fileSystemCode;
  fs.type = kind == records::kFat32 || largestCluster > kLargestFat16Cluster ? records::kFat32 : records::kFat16;
  fs.sectorsPerCluster = 1u << log2Spc;
  fs.rootDirectory = fs.type == records::kFat32 ? kFat32RootCluster : 0;
  fs.clusterBase = base;
  extensive::RecordFileSystem(fs);
  return 1;
}
