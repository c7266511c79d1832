// SearchFatParameters: a FAT layout recovered without a boot sector. Two subfolders, whose first sectors begin
// with "." and "..", give by their sectors and first clusters the cluster size and where cluster 0 would lie;
// the two table copies before the data area, looked for first where the usual reserved sectors end (a sector
// there beginning a table), give the reserved sectors and the table size. The kind of the tables nearest the data
// area is the volume's: a partition's type may name another.
#include <cstring>
#include <optional>

#include "engine/host/host.h"
#include "engine/image/byte_order.h"
#include "engine/partitions/disk_sectors.h"
#include "engine/records/scan_parameters.h"
#include "engine/scan/boot_parameters.h"
#include "engine/scan/fat_table_search.h"
#include "engine/scan/range_sectors.h"
#include "engine/scan/scan_end.h"

namespace {

constexpr uint32_t kProgressEveryCandidates = 500;

struct Layout {
  bool fat32 = false;
  uint64_t start = 0;
  uint32_t windowReserved = 0;  // where the first table begins by the usual window; 0: not seen there
};

// Where the first table usually begins: the first sector of a few after the start that begins a table of the kind.
// FAT16 formatters align the data area to a cluster with the reserved sectors (a table at 16 for 8 KiB clusters, at
// 64 for 32 KiB), FAT32 ones leave 32 sectors.
uint32_t FindReservedSectors(const Layout& layout, const RangeSectors& range) {
  const uint64_t first = layout.fat32 ? 30 : 1;
  const uint64_t count = layout.fat32 ? 30 : 128;
  for (uint64_t i = first; i < first + count; ++i) {
    if (ScanStopRequested()) return 0;
    Sector sector;
    if (!range.Holds(layout.start + i) || !ReadDiskSector(layout.start + i, sector)) continue;
    if (BeginsFatTable(sector.data(), layout.fat32)) return static_cast<uint32_t>(i);
  }
  return 0;
}

// The first cluster named by the "." entry when the sector begins a subfolder ("." then ".."); else 0.
uint32_t SubfolderCluster(const Sector& sector, bool fat32) {
  static const char kDot[] = ".          ";
  static const char kDotDot[] = "..         ";
  if (std::memcmp(sector.data(), kDot, 11) != 0 || std::memcmp(sector.data() + 32, kDotDot, 11) != 0) return 0;
  const uint32_t low = LoadLe16(sector.data() + 26);
  return fat32 ? low | uint32_t{LoadLe16(sector.data() + 20)} << 16 : low;
}

struct Subfolder {
  uint64_t sector = 0;
  uint64_t cluster = 0;
};

void ShowSearchProgress(uint64_t examined, uint64_t count) {
  host::SecondDisplayHost* panel = host::ScanProgressPanel();
  if (panel == nullptr || count == 0) return;
  const uint64_t percent = examined * 100 / count;
  panel->SetProgressPos(static_cast<uint32_t>(percent > 99 ? 99 : percent));
}

// What the sector at lba begins.
FatTableStart TableStartAt(uint64_t lba) {
  Sector sector;
  return ReadDiskSector(lba, sector) ? FatTableStartOf(sector.data()) : FatTableStart::kNone;
}

// The kind of the tables before a data area at dataStart, the nearest sector back from it that begins a table copy
// tells (the second copy's, or the first's where the second lost it): where it could begin either kind, the layout
// its partner fits. kNone where no sector after floor within the tables' reach begins one, or on a stop.
FatTableStart TablesKind(uint64_t dataStart, uint64_t floor) {
  const uint64_t reach = FatTablesReach(true);
  for (uint64_t lba = dataStart; lba > floor && dataStart - lba < reach;) {
    --lba;
    if (ScanStopRequested()) return FatTableStart::kNone;
    const FatTableStart start = TableStartAt(lba);
    if (start == FatTableStart::kNone) continue;
    if (dataStart - lba > FatTablesReach(start != FatTableStart::kFat16)) return FatTableStart::kNone;
    return start == FatTableStart::kEither ? FatPairKind(dataStart, lba, TableStartAt) : start;
  }
  return FatTableStart::kNone;
}

enum class Taken { kNo, kYes, kOtherKind };

// Fills CurrentFileSystem from the first subfolder and a later one when the two agree on a cluster size; kNo when
// they do not, kOtherKind when the tables before the data area they place are of the other kind (kindKnown: taken
// whatever the tables say). The tables are the pair of copies that fits before the data area, looked for first
// where the first table's start was seen; without one, they are taken to fill the space between the reserved
// sectors and the data area.
Taken TakeLayout(const Layout& layout, const Subfolder& first, const Subfolder& later, bool kindKnown) {
  if (later.cluster <= first.cluster) return Taken::kNo;
  // Clusters number sectors from the data area on, so a first cluster below both sectors is a plausible one.
  if (later.cluster >= first.sector || later.cluster >= later.sector) return Taken::kNo;
  const uint64_t sectors = later.sector - first.sector;
  const uint64_t clusters = later.cluster - first.cluster;
  if (sectors % clusters != 0 || !IsValidSectorsPerCluster(sectors / clusters)) return Taken::kNo;
  const uint64_t perCluster = sectors / clusters;
  if (first.sector < perCluster * first.cluster) return Taken::kNo;
  const uint64_t dataStart = first.sector - (first.cluster - 2) * perCluster;
  if (!kindKnown) {
    const FatTableStart kind = TablesKind(dataStart, layout.start);
    if (kind == (layout.fat32 ? FatTableStart::kFat16 : FatTableStart::kFat32)) return Taken::kOtherKind;
  }
  FatTableSearch search;
  search.fat32 = layout.fat32;
  search.dataStart = dataStart;
  search.floor = layout.start;
  if (layout.windowReserved != 0) search.firstLooked.push_back(layout.start + layout.windowReserved);
  search.stopped = ScanStopRequested;
  search.progress = ShowSearchProgress;
  const std::optional<FatTablePair> pair = FindFatTablePair(search);
  FatTablePair tables;
  if (pair && pair->root <= 0xFFFFFFFFu) {
    tables = *pair;
  } else {
    const uint32_t reserved = layout.windowReserved != 0 ? layout.windowReserved : layout.fat32 ? 32 : 1;
    const uint64_t before = layout.start + reserved + (layout.fat32 ? 0 : kFat16RootSectors);
    if (dataStart <= before || (dataStart - before) / 2 == 0) return Taken::kNo;
    tables.length = (dataStart - before) / 2;
    tables.first = layout.start + reserved;
    tables.second = tables.first + tables.length;
    tables.root = layout.fat32 ? 0 : tables.second + tables.length;
    tables.rootSectors = layout.fat32 ? 0 : kFat16RootSectors;
  }
  FileSystemRecord& r = CurrentFileSystem;
  r.type = layout.fat32 ? records::kFat32 : records::kFat16;
  r.sectorsPerCluster = static_cast<uint32_t>(perCluster);
  r.clusterBase = static_cast<uint32_t>(first.sector - perCluster * first.cluster);
  r.reservedSectors = static_cast<uint32_t>(tables.first - layout.start);
  r.sectorsPerFat = static_cast<uint32_t>(tables.length);
  r.firstFatSector = static_cast<uint32_t>(tables.first);
  r.secondFatSector = static_cast<uint32_t>(tables.second);
  r.rootDirectory = layout.fat32 ? 2 : static_cast<uint32_t>(tables.root);
  r.rootDirectorySectors = static_cast<uint32_t>(tables.rootSectors);
  return Taken::kYes;
}

// The walk of the range for two subfolders that place the data area, the layout searched as FAT32 (fat32) or
// FAT16.
Taken SearchLayout(const RangeSectors& range, bool fat32, bool kindKnown) {
  Layout layout;
  layout.fat32 = fat32;
  layout.start = range.first;
  layout.windowReserved = FindReservedSectors(layout, range);
  const uint64_t endOfClusters = layout.fat32 ? 0xFFFFFFFFu : 0xFFFFu;
  // The range's own count: none given, nothing to walk.
  const uint64_t count = ScanRange.sectorCount == 0 ? 0 : range.end - range.first;
  Subfolder first;
  for (uint64_t i = 0; i < count; ++i) {
    if (ScanStopRequested()) return Taken::kNo;
    if (i % kProgressEveryCandidates == 0) ShowSearchProgress(i, count);
    Sector sector;
    if (!ReadDiskSector(range.first + i, sector)) continue;
    const uint32_t cluster = SubfolderCluster(sector, layout.fat32);
    if (cluster < 2 || cluster >= endOfClusters) continue;
    const Subfolder found{range.first + i, cluster};
    if (first.cluster == 0) {
      first = found;
    } else if (const Taken taken = TakeLayout(layout, first, found, kindKnown); taken != Taken::kNo) {
      return taken;
    }
  }
  return Taken::kNo;
}
}  // namespace

uint32_t SearchFatParameters() {
  const uint16_t code = ScanRange.fileSystemCode;
  if (code != records::kFat16 && code != records::kFat32) return 0;
  if (host::SecondDisplayHost* panel = host::Current().secondDisplay) {
    panel->SetStatusText(u"Please wait, calculating partition parameters");
  }
  const RangeSectors range = CurrentRangeSectors();
  // The kind the range names (a partition's type) is searched first; where the tables say the other, the search
  // begins again as that one, whose tables and subfolders' clusters it reads.
  const bool fat32 = code == records::kFat32;
  Taken taken = SearchLayout(range, fat32, false);
  if (taken == Taken::kOtherKind) taken = SearchLayout(range, !fat32, true);
  return taken == Taken::kYes ? 1 : 0;
}
