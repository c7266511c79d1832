// ReadChosenFat: a FAT file system that an Extensive Scan rebuilt, read from the subfolder candidates of
// its number, then along the folders' own cluster chains.
#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

#include "engine/fat/fat_chain.h"
#include "engine/fat/fat_directory.h"
#include "engine/fat/live_volume_around.h"
#include "engine/partitions/disk_sectors.h"
#include "engine/records/extensive_lists.h"
#include "engine/records/pause_gate.h"
#include "engine/records/result_tree_builders.h"
#include "engine/records/scan_records.h"
#include "engine/scan/chosen_fs.h"
#include "engine/scan/chosen_fs_steps.h"
#include "engine/scan/fat_folder_walk.h"
#include "engine/scan/fat_held_clusters.h"
#include "engine/scan/fat_table_search.h"
#include "engine/scan/range_sectors.h"
#include "engine/scan/boot_parameters.h"
#include "engine/scan/scan_end.h"

namespace {

constexpr uint32_t kSectorBytes = 512;
// A folder is read in pieces of at most this many sectors (and never more than a cluster).
constexpr uint32_t kMostPieceSectors = 8;
// The FAT16 root directory, when its place is known, is read 8 sectors at a time.
constexpr uint32_t kFat16RootPieceSectors = 8;
constexpr uint32_t kFat32DefaultRootCluster = 2;

bool IsClusterSize(uint32_t sectors) { return sectors >= 1 && sectors <= 128 && (sectors & (sectors - 1)) == 0; }

// Step 1: a folder "Dir" + cluster for every subfolder candidate of the chosen number.
void ExtractFatFolders() {
  chosen::BeginStep(u"Extracting entries for the selected file system ( Step 1/5 )...");
  FreeScanRecordLists();
  chosen::StepProgress progress;
  for (const DirSectorCandidate& candidate : DirSectorCandidateList) {
    if (ScanStopRequested()) return;
    if (!chosen::IsChosenMark(candidate.mark)) continue;
    AppendFatFolder(chosen::DirName(candidate.cluster), candidate.cluster, candidate.parentCluster,
                    candidate.writeDate, candidate.accessDate, host::kNoTreeKey, 0);
    progress.Show(ScanCounters.folderCount, DirSectorCandidateList.size());
  }
}

// Whether a live entry has named the folder already (a folder not yet named keeps "Dir" + its cluster).
bool NamedByLiveEntry(const FatFolderRecord& folder) {
  return folder.deleted == 0 && folder.name != chosen::DirName(folder.firstCluster);
}

// Lists one decoded entry of the directory of folder: a file is appended; a folder entry names the folder
// record that its cluster and this parent give (the folders themselves all come from the candidates). The entry
// of a deleted folder whose cluster a new folder of the same parent took never renames the new one.
void TakeEntry(const FatDirectoryEntry& entry, uint32_t folder) {
  // A folder cluster no chain reaches is read for the live files it holds: what it says of deleted ones (written over
  // since, by files whose entries may be gone too) cannot be weighed.
  if (folder == records::kLostDirId && entry.deleted != 0) return;
  if (entry.IsDirectory() && entry.size == 0) {
    FatFolderRecord* named = FindFatFolder(entry.firstCluster);
    if (named != nullptr && named->parentId == folder && !(entry.deleted != 0 && NamedByLiveEntry(*named))) {
      named->name = entry.name;
      named->deleted = entry.deleted;
    }
    return;
  }
  AppendFatDirectoryEntry(entry, folder);
  ++ScanCounters.entryCount;
}

// Hands one directory to ParseFatFolderSectors a piece at a time, each piece with the folder's two sectors
// before it, until the directory ends, a piece leaves the scanned range, or a stop comes.
class DirectoryPieces {
 public:
  DirectoryPieces(uint32_t folder, bool subfolder)
      : folder_(folder), subfolder_(subfolder), range_(CurrentRangeSectors()) {}

  // Reads and parses count sectors from lba; false when the directory goes no further.
  bool Read(uint64_t lba, uint32_t count) {
    if (ended_ != 0 || ScanStopRequested() || count == 0 || !range_.Holds(lba, count)) return false;
    records::GuardAllocation([&] { buffer_.assign(size_t{count} * kSectorBytes, 0); });
    Sector sector;
    for (uint32_t i = 0; i < count; ++i) {
      ReadDiskSector(lba + i, sector);  // a sector that cannot be read comes as zeros: the directory ends there
      std::copy(sector.begin(), sector.end(), buffer_.begin() + size_t{i} * kSectorBytes);
    }
    const bool first = pieces_++ == 0;
    // A subfolder's contents are believed only when its first sector begins with "." and "..".
    if (first && subfolder_ && !BeginsFatSubfolder(buffer_.data())) return false;
    ParseFatFolderSectors(buffer_.data(), folder_, &ended_, count, 0, first && subfolder_ ? 2 : 0,
                          history_.Before());
    ++parsed_;
    history_.Keep(buffer_.data(), count);
    return ended_ == 0;
  }

  // Reads every cluster the chain gives (ReadFatFolderClusters) in pieces.
  bool Read(FatFolderChain& chain, FatClusterClaims& claims) {
    const uint32_t perCluster = CurrentFileSystem.sectorsPerCluster;
    const uint32_t piece = std::min(perCluster, kMostPieceSectors);
    return ReadFatFolderClusters(chain, claims, [&](uint32_t cluster, bool* parsed) {
      const uint64_t first = CurrentFileSystem.clusterBase + uint64_t{cluster} * perCluster;
      const uint64_t parsedBefore = parsed_;
      bool more = true;
      for (uint32_t j = 0; j < perCluster && more; j += piece) more = Read(first + j, piece);
      *parsed = parsed_ != parsedBefore;
      return more;
    });
  }

 private:
  uint32_t folder_;
  bool subfolder_;
  RangeSectors range_;
  uint32_t ended_ = 0;
  uint64_t pieces_ = 0;
  uint64_t parsed_ = 0;
  std::vector<uint8_t> buffer_;
  FatSectorHistory history_;
};

// The FAT16 root, when its place is known; a FAT32 root is a chain, read with the folders.
void ReadChosenFat16Root() {
  if (CurrentFileSystem.type == records::kFat32 || CurrentFileSystem.rootDirectory == 0) return;
  DirectoryPieces root(records::kFatRootId, false);
  // Its own size where known: a small root (a floppy's 14 sectors) is followed by the data area.
  const uint32_t sectors = CurrentFileSystem.rootDirectorySectors != 0 ? CurrentFileSystem.rootDirectorySectors
                                                                       : kFat16RootSectors;
  for (uint32_t i = 0; i < sectors; i += kFat16RootPieceSectors) {
    const uint32_t piece = std::min(kFat16RootPieceSectors, sectors - i);
    if (!root.Read(uint64_t{CurrentFileSystem.rootDirectory} + i, piece)) return;
  }
}

}  // namespace

void ParseFatFolderSectors(const uint8_t* buffer, uint32_t folderCluster, uint32_t* endFlag, uint32_t sectorCount,
                           uint32_t parentDeleted, uint32_t firstEntry, const FatSectorsBefore& sectorsBefore) {
  FatSectorsBefore before = sectorsBefore;
  for (uint32_t s = 0; s < sectorCount; ++s) {
    const uint8_t* sector = buffer + size_t{s} * kSectorBytes;
    for (uint32_t index = s == 0 ? firstEntry : 0; index < kFatEntriesPerSector; ++index) {
      FatDirectoryEntry entry;
      const FatEntryKind kind = DecodeFatEntry(sector, index, CurrentFileSystem.type, parentDeleted, &entry, before);
      if (kind == FatEntryKind::kEnd) {
        if (endFlag != nullptr) *endFlag = 1;
        return;
      }
      if (kind == FatEntryKind::kListed) TakeEntry(entry, folderCluster);
    }
    before = before.Then(sector);
  }
}

// As when a found NTFS file system is read, a stop does not end this step: it only places the folders found, and
// a folder left out would take its subfolders and files out of the tree with it.
void CollectOrphanFatFolders() {
  chosen::BeginStep(u"Searching for orphan entries ( Step 2/5 )...");
  const size_t before = FatFolderList.size();
  AppendFatFolder(u"Lost Dir", records::kLostDirId, records::kFatRootId, 0, 0, host::kNoTreeKey, 0);
  chosen::StepProgress progress;
  for (size_t i = 0; i < before; ++i) {
    ScanPauseGate.Pass();
    progress.Show(i, before);
    const uint32_t parent = FatFolderList[i].parentId;
    if (parent == records::kFatRootId || FindFatFolder(parent) != nullptr) continue;
    AppendFatFolder(chosen::DirName(parent), parent, records::kLostDirId, 0, 0, host::kNoTreeKey, 0);
  }
}

// Where the tables of the chosen file system may begin at the earliest: after the file systems found before
// it (their last sectors, and the sectors of their folders), inside the scanned range.
uint64_t TablesFloor(uint64_t dataStart) {
  uint64_t floor = CurrentRangeSectors().first;
  for (const FileSystemRecord& fs : FoundFileSystemList) {
    if (fs.clusterBase < CurrentFileSystem.clusterBase && fs.lastSector < dataStart) {
      floor = std::max<uint64_t>(floor, fs.lastSector);
    }
  }
  for (const DirSectorCandidate& candidate : DirSectorCandidateList) {
    const bool other = candidate.mark != 0 && candidate.mark != records::kNoFileSystemMark &&
                       !chosen::IsChosenMark(candidate.mark);
    if (other && candidate.sector < dataStart) floor = std::max<uint64_t>(floor, uint64_t{candidate.sector} + 1);
  }
  return floor;
}

void FindFatCopies() {
  chosen::BeginStep(u"Searching for lost FAT fragments ( Step 3/5 )...");
  // The two copies lie one table length apart, and the data area (cluster 2) right after the second; on FAT16
  // the root folder lies between. The search looks no further back than the longest tables of the kind reach
  // and no further than the file system before this one.
  FatTableSearch search;
  search.fat32 = CurrentFileSystem.type == records::kFat32;
  search.dataStart = uint64_t{CurrentFileSystem.clusterBase} + 2 * uint64_t{CurrentFileSystem.sectorsPerCluster};
  const uint64_t reach = FatTablesReach(search.fat32);
  search.floor = std::max(TablesFloor(search.dataStart), search.dataStart > reach ? search.dataStart - reach : 0);
  search.stopped = ScanStopRequested;
  chosen::StepProgress progress;
  search.progress = [&](uint64_t done, uint64_t total) { progress.Show(done, total); };
  const std::optional<FatTablePair> pair = FindFatTablePair(search);
  // The FAT16 root folder follows the second table; a place past the 32-bit sectors names none.
  if (!pair || pair->second + pair->length > 0xFFFFFFFFu) return;
  CurrentFileSystem.firstFatSector = static_cast<uint32_t>(pair->first);
  CurrentFileSystem.secondFatSector = static_cast<uint32_t>(pair->second);
  CurrentFileSystem.sectorsPerFat = static_cast<uint32_t>(pair->length);
  if (!search.fat32) {
    CurrentFileSystem.rootDirectory = static_cast<uint32_t>(pair->root);
    CurrentFileSystem.rootDirectorySectors = static_cast<uint32_t>(pair->rootSectors);
  }
}

// Where a file system found after the chosen one begins at the latest: its first table where known; else the
// first sector after the chosen one's clusters begin that begins a table copy, when it lies before the next one's
// cluster 0 (its tables and, on FAT12 and FAT16, its root folder lie there); else its cluster 0.
uint64_t NextFileSystemStart(const FileSystemRecord& next, uint64_t after) {
  if (next.firstFatSector != 0) return next.firstFatSector;
  auto table = std::upper_bound(FatTableStartList.begin(), FatTableStartList.end(), after,
                                [](uint64_t lba, const FatTableStartCandidate& c) { return lba < c.sector; });
  return table != FatTableStartList.end() && table->sector < next.clusterBase ? table->sector : next.clusterBase;
}

// The first sector past the chosen file system's clusters by its own measures: its own end where known, and the
// end of what its tables number.
uint64_t ChosenOwnClustersEnd() {
  const FileSystemRecord& fs = CurrentFileSystem;
  uint64_t end = std::min<uint64_t>(CurrentRangeSectors().end,
                                    fs.clusterBase + FatTableEntries(fs) * uint64_t{fs.sectorsPerCluster});
  if (fs.lastSector != 0) end = std::min<uint64_t>(end, fs.lastSector);
  return end;
}

// The first sector past the chosen file system's clusters: its own end, and the first sector of the next file system
// found after it, unless that one lies in a cluster a file of the chosen one holds (held: a volume kept in a disk
// image file is that file's bytes).
uint64_t ChosenClustersEnd(const std::vector<bool>& held) {
  const FileSystemRecord& fs = CurrentFileSystem;
  uint64_t end = ChosenOwnClustersEnd();
  for (const FileSystemRecord& next : FoundFileSystemList) {
    if (next.clusterBase <= fs.clusterBase) continue;
    const uint64_t start = NextFileSystemStart(next, fs.clusterBase);
    const uint64_t cluster = start >= fs.clusterBase ? (start - fs.clusterBase) / fs.sectorsPerCluster : held.size();
    if (cluster < held.size() && held[cluster]) continue;
    end = std::min(end, start);
  }
  return end;
}

// The earlier FAT volumes of another layout found inside the chosen one: rebuilt without a boot sector, their data
// area inside the chosen one's sectors (a quick format with another cluster size wrote the chosen one over them).
std::vector<FileSystemRecord> EarlierVolumesInside(uint64_t end) {
  const FileSystemRecord& chosen = CurrentFileSystem;
  std::vector<FileSystemRecord> inside;
  if (chosen.lastSector == 0) return inside;
  const uint64_t start = chosen.firstFatSector != 0 ? chosen.firstFatSector - uint64_t{chosen.reservedSectors}
                                                    : chosen.clusterBase;
  for (const FileSystemRecord& fs : FoundFileSystemList) {
    const uint64_t data = fs.clusterBase + 2 * uint64_t{fs.sectorsPerCluster};
    const bool fat = fs.type == records::kFat16 || fs.type == records::kFat32;
    const bool other = fs.clusterBase != chosen.clusterBase || fs.sectorsPerCluster != chosen.sectorsPerCluster;
    if (fat && other && fs.lastSector == 0 && IsClusterSize(fs.sectorsPerCluster) && data >= start && data < end) {
      records::GuardAllocation([&] { inside.push_back(fs); });
    }
  }
  return inside;
}

// Whether a list in sector order holds a candidate at sector.
template <typename List>
bool HoldsSector(const List& list, uint64_t sector) {
  const auto at = std::lower_bound(list.begin(), list.end(), sector,
                                   [](const auto& candidate, uint64_t lba) { return candidate.sector < lba; });
  return at != list.end() && at->sector == sector;
}

// Whether sector lies inside a cluster of one of the volumes that begins with directory entries: a folder's.
bool InFolderClusterOf(const std::vector<FileSystemRecord>& volumes, uint64_t sector) {
  return std::any_of(volumes.begin(), volumes.end(), [&](const FileSystemRecord& fs) {
    if (sector < fs.clusterBase + 2 * uint64_t{fs.sectorsPerCluster}) return false;
    const uint64_t first = sector - (sector - fs.clusterBase) % fs.sectorsPerCluster;
    return HoldsSector(DirEntrySectorList, first) || HoldsSector(DirSectorCandidateList, first);
  });
}

// The table copies nearest before a run of directory sectors that are tried as the second copy of a pair: a sector
// inside that copy may begin like a table too.
constexpr int kSecondCopiesTried = 4;

// Whether a run of directory sectors that begins at runStart lies where a volume's root folder lies: right after two
// table copies one table length apart (a FAT12 or FAT16 root follows the second copy, a FAT32 root's first cluster
// begins the data area there), both at or after `from`. Such a root is another volume's: one behind this volume that
// no folder let the search find (its clusters reach that far by their tables' length), or one kept in a disk image
// file of it whose entry is gone. Its entries number clusters in that volume's layout.
bool FollowsTableCopies(uint64_t runStart, uint64_t from) {
  auto second = std::lower_bound(FatTableStartList.begin(), FatTableStartList.end(), runStart,
                                 [](const FatTableStartCandidate& c, uint64_t lba) { return c.sector < lba; });
  for (int tried = 0; tried < kSecondCopiesTried && second != FatTableStartList.begin(); ++tried) {
    --second;
    const uint64_t length = runStart - second->sector;
    if (length > FatTablesReach(true) || second->sector < from + length) return false;
    if (HoldsSector(FatTableStartList, second->sector - length)) return true;
  }
  return false;
}

// How far back from a table copy's first sector the boot sector that places it is looked for: as many sectors as
// formatters reserve before FAT12, FAT16 and FAT32 tables (1, 4, 32 ...).
constexpr uint64_t kReservedSectorsLooked = 64;

// The sectors [first, end) of the FAT volume whose boot sector, up to kReservedSectorsLooked sectors back from `table`
// and not before `floor`, places its first table copy there; none where no boot sector does.
std::optional<std::pair<uint64_t, uint64_t>> VolumeOfTable(uint64_t table, uint64_t floor, uint64_t rangeEnd) {
  Sector boot;
  for (uint64_t back = 1; back <= kReservedSectorsLooked && table >= floor + back; ++back) {
    const uint64_t lba = table - back;
    if (!ReadDiskSector(lba, boot) || !HasBootSignature(boot)) continue;
    for (const uint16_t code : {records::kFat16, records::kFat32}) {
      const std::optional<FileSystemRecord> fields = FatBootSectorFields(boot, code, RangeSectors{lba, rangeEnd});
      if (fields && fields->firstFatSector == table) return std::make_pair(lba, uint64_t{fields->lastSector});
    }
  }
  return std::nullopt;
}

// The volumes whose boot sector and tables lie in the chosen file system's data area [dataStart, end), in clusters no
// file of it holds (held): a disk image kept on it whose entry is gone, or a volume behind it that no folder let the
// search find (the chosen one's tables number clusters that far). Their sectors, in order, are theirs: their folders'
// entries number clusters in their own layouts.
std::vector<std::pair<uint64_t, uint64_t>> VolumesInData(uint64_t dataStart, uint64_t end,
                                                         const std::vector<bool>& held) {
  const uint64_t base = CurrentFileSystem.clusterBase;
  const uint32_t perCluster = CurrentFileSystem.sectorsPerCluster;
  std::vector<std::pair<uint64_t, uint64_t>> volumes;
  // Each sector is looked at once: a boot sector lies before the first table start after it.
  uint64_t floor = dataStart;
  auto table = std::lower_bound(FatTableStartList.begin(), FatTableStartList.end(), dataStart,
                                [](const FatTableStartCandidate& c, uint64_t lba) { return c.sector < lba; });
  for (; table != FatTableStartList.end() && table->sector < end && !ScanStopRequested(); ++table) {
    if (table->sector < floor) continue;
    const uint64_t cluster = (table->sector - base) / perCluster;
    const auto volume = cluster < held.size() && held[cluster]
                            ? std::nullopt
                            : VolumeOfTable(table->sector, floor, CurrentRangeSectors().end);
    if (volume) records::GuardAllocation([&] { volumes.push_back(*volume); });
    floor = volume ? volume->second : table->sector + 1;
  }
  return volumes;
}

// Whether one of the volumes (in sector order, apart) holds sector.
bool InVolumes(const std::vector<std::pair<uint64_t, uint64_t>>& volumes, uint64_t sector) {
  const auto after = std::upper_bound(volumes.begin(), volumes.end(), sector,
                                      [](uint64_t lba, const std::pair<uint64_t, uint64_t>& v) { return lba < v.first; });
  return after != volumes.begin() && sector < std::prev(after)->second;
}

// The later clusters of folders whose chains are lost (a quick format wrote new tables over them; a table linked a
// folder into another's chain): every cluster of the file system that begins with directory entries and that no
// folder's reading took and no file holds is read, its live entries listed under "Lost Dir". No chain says which
// folder they were. One inside a folder's cluster of an earlier volume of another layout inside this one is left to
// that volume: its entries number their clusters in that volume's layout; so is, the other way round, one that the
// live volume around this one (an earlier volume) holds now, and a directory of another volume whose tables lie in
// this one's free clusters: one inside a volume its boot sector places there (VolumesInData), or a root folder right
// after two table copies (FollowsTableCopies).
void ReadLostFolderClusters(FatClusterClaims& claims) {
  if (DirEntrySectorList.size() == 0) return;
  const uint32_t perCluster = CurrentFileSystem.sectorsPerCluster;
  const uint64_t base = CurrentFileSystem.clusterBase;
  const uint64_t ownEnd = ChosenOwnClustersEnd();
  const std::vector<bool> held = FatFileHeldClusters(ownEnd > base ? (ownEnd - base) / perCluster : 0);
  const uint64_t end = ChosenClustersEnd(held);
  const uint32_t piece = std::min(perCluster, kMostPieceSectors);
  const std::vector<FileSystemRecord> earlier = EarlierVolumesInside(end);
  LiveVolumeAround live(CurrentFileSystem, CurrentFatDevice());
  const uint64_t dataStart = base + 2 * uint64_t{perCluster};
  const std::vector<std::pair<uint64_t, uint64_t>> inside = VolumesInData(dataStart, end, held);
  uint64_t runStart = 0;  // the first of the consecutive directory sectors the candidate lies in
  uint64_t next = 0;
  for (const DirEntrySectorCandidate& candidate : DirEntrySectorList) {
    if (ScanStopRequested()) return;
    const uint64_t sector = candidate.sector;
    if (sector != next) runStart = sector;
    next = sector + 1;
    if (sector < dataStart || sector + perCluster > end || (sector - base) % perCluster != 0 ||
        InFolderClusterOf(earlier, sector) || live.HoldsSectors(sector, perCluster) ||
        InVolumes(inside, sector) || FollowsTableCopies(runStart, dataStart)) {
      continue;
    }
    const auto cluster = static_cast<uint32_t>((sector - base) / perCluster);
    if (claims.Claimed(cluster) || (cluster < held.size() && held[cluster])) continue;
    claims.Claim(cluster);
    DirectoryPieces lost(records::kLostDirId, false);
    bool more = true;
    for (uint32_t j = 0; j < perCluster && more; j += piece) more = lost.Read(sector + j, piece);
  }
}

// Entries are listed as deleted by their own mark: what lies in a deleted folder is marked once every folder is
// named (MarkFatRecordsInDeletedFolders), since a folder may be read before its parent's entry names it.
void ReadChosenFatFolders() {
  chosen::BeginStep(u"Step 4 / 5...");
  // Cluster positions are products of the cluster size: one that no FAT volume has reads nothing.
  if (!IsClusterSize(CurrentFileSystem.sectorsPerCluster)) return;
  FatClusterClaims claims;
  ReadChosenFat16Root();
  const uint32_t named = CurrentFileSystem.rootDirectory;
  const uint32_t root = CurrentFileSystem.type != records::kFat32 ? 0 : named != 0 ? named : kFat32DefaultRootCluster;
  chosen::StepProgress progress;
  ReadFatFolderList<DirectoryPieces>(claims, root, [&](size_t i) { progress.Show(i + 1, FatFolderList.size()); });
  ReadLostFolderClusters(claims);
}

void ReadChosenFat() {
  ExtractFatFolders();
  chosen::StopEndsOneStep();
  CollectOrphanFatFolders();
  chosen::StopEndsOneStep();
  if (CurrentFileSystem.firstFatSector == 0) FindFatCopies();
  // A file system rebuilt without its boot sector may be an earlier volume that a quick format with another layout
  // wrote over: the live volume around it keeps its clusters.
  FindFatVolumeAroundChosen(ScanStopRequested);
  chosen::StopEndsOneStep();
  ReadChosenFatFolders();
  MarkFatRecordsInDeletedFolders();
  chosen::BuildChosenTree(u"Please wait creating tree ( Step 5/5 )...", AddFatFolders, records::kFatRootId);
}
