// SearchFatParameters: a FAT layout recovered without a boot sector. The first table starts with F8 FF,
// which gives the reserved sectors; two subfolders, whose first sectors begin with "." and "..", give by
// their sectors and first clusters the cluster size and where cluster 0 would lie.
#include <cstring>

#include "engine/host/host.h"
#include "engine/image/byte_order.h"
#include "engine/partitions/disk_sectors.h"
#include "engine/records/scan_parameters.h"
#include "engine/scan/boot_parameters.h"
#include "engine/scan/range_sectors.h"
#include "engine/scan/scan_end.h"

namespace {

constexpr uint32_t kProgressEveryCandidates = 500;

struct Layout {
  bool fat32 = false;
  uint64_t start = 0;
  uint32_t reserved = 0;
};

// Where the first table begins: the first sector of a few after the start that holds F8 FF.
uint32_t FindReservedSectors(const Layout& layout, const RangeSectors& range) {
  const uint64_t first = layout.fat32 ? 30 : 0;
  const uint64_t count = layout.fat32 ? 30 : 10;
  for (uint64_t i = first; i < first + count; ++i) {
    if (ScanStopRequested()) return 0;
    Sector sector;
    if (!range.Holds(layout.start + i) || !ReadDiskSector(layout.start + i, sector)) continue;
    if (sector[0] == 0xF8 && sector[1] == 0xFF) return static_cast<uint32_t>(i);
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

// Fills CurrentFileSystem from the first subfolder and a later one when the two agree on a cluster size;
// false when they do not.
bool TakeLayout(const Layout& layout, const Subfolder& first, const Subfolder& later) {
  if (later.cluster <= first.cluster) return false;
  // Clusters number sectors from the data area on, so a first cluster below both sectors is a plausible one.
  if (later.cluster >= first.sector || later.cluster >= later.sector) return false;
  const uint64_t sectors = later.sector - first.sector;
  const uint64_t clusters = later.cluster - first.cluster;
  if (sectors % clusters != 0 || !IsValidSectorsPerCluster(sectors / clusters)) return false;
  const uint64_t perCluster = sectors / clusters;
  if (first.sector < perCluster * first.cluster) return false;
  const uint64_t dataStart = first.sector - (first.cluster - 2) * perCluster;
  const uint64_t before = layout.start + layout.reserved + (layout.fat32 ? 0 : kFat16RootSectors);
  if (dataStart <= before) return false;
  const uint64_t perFat = (dataStart - before) / 2;
  if (perFat == 0) return false;
  FileSystemRecord& r = CurrentFileSystem;
  r.sectorsPerCluster = static_cast<uint32_t>(perCluster);
  r.clusterBase = static_cast<uint32_t>(first.sector - perCluster * first.cluster);
  r.reservedSectors = layout.reserved;
  r.sectorsPerFat = static_cast<uint32_t>(perFat);
  r.firstFatSector = static_cast<uint32_t>(layout.start + layout.reserved);
  r.secondFatSector = static_cast<uint32_t>(r.firstFatSector + perFat);
  if (layout.fat32) {
    r.rootDirectory = 2;
    r.rootDirectorySectors = 0;
  } else {
    r.rootDirectory = static_cast<uint32_t>(r.secondFatSector + perFat);
    r.rootDirectorySectors = kFat16RootSectors;
  }
  return true;
}

void ShowSearchProgress(uint64_t examined, uint64_t count) {
  host::SecondDisplayHost* panel = host::ScanProgressPanel();
  if (panel == nullptr || count == 0) return;
  const uint64_t percent = examined * 100 / count;
  panel->SetProgressPos(static_cast<uint32_t>(percent > 99 ? 99 : percent));
}

}  // namespace

uint32_t SearchFatParameters() {
  const uint16_t code = ScanRange.fileSystemCode;
  if (code != records::kFat16 && code != records::kFat32) return 0;
  if (host::SecondDisplayHost* panel = host::Current().secondDisplay) {
    panel->SetStatusText(u"Please wait, calculating partition parameters");
  }
  const RangeSectors range = CurrentRangeSectors();
  Layout layout;
  layout.fat32 = code == records::kFat32;
  layout.start = range.first;
  layout.reserved = FindReservedSectors(layout, range);
  if (layout.reserved == 0) layout.reserved = layout.fat32 ? 32 : 1;
  const uint64_t endOfClusters = layout.fat32 ? 0xFFFFFFFFu : 0xFFFFu;
  // The range's own count: none given, nothing to walk.
  const uint64_t count = ScanRange.sectorCount == 0 ? 0 : range.end - range.first;
  Subfolder first;
  for (uint64_t i = 0; i < count; ++i) {
    if (ScanStopRequested()) return 0;
    if (i % kProgressEveryCandidates == 0) ShowSearchProgress(i, count);
    Sector sector;
    if (!ReadDiskSector(range.first + i, sector)) continue;
    const uint32_t cluster = SubfolderCluster(sector, layout.fat32);
    if (cluster < 2 || cluster >= endOfClusters) continue;
    const Subfolder found{range.first + i, cluster};
    if (first.cluster == 0) {
      first = found;
    } else if (TakeLayout(layout, first, found)) {
      return 1;
    }
  }
  return 0;
}
