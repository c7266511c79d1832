// QuickScanFat: the root folder and every folder reachable from it, breadth first, through the first
// allocation table.
#include "engine/fat/fat_directory.h"
#include "engine/partitions/disk_sectors.h"
#include "engine/records/result_tree_builders.h"
#include "engine/records/scan_records.h"
#include "engine/scan/quick_scan.h"
#include "engine/scan/range_sectors.h"
#include "engine/scan/fat_folder_walk.h"
#include "engine/scan/results_tree_build.h"
#include "engine/scan/scan_end.h"

namespace {

// Hands a folder's sectors to ParseFatDirectory in order, each with the folder's two sectors before it (where
// the first pieces of a long name may lie), until the directory ends, a sector leaves the range, or a stop
// comes.
class DirectoryReader {
 public:
  DirectoryReader(uint32_t parentId, bool subfolder)
      : parentId_(parentId), subfolder_(subfolder), range_(CurrentRangeSectors()) {}

  // false when the directory has ended.
  bool Read(uint64_t lba) {
    if (ended_ != 0 || ScanStopRequested() || !range_.Holds(lba)) return false;
    Sector sector;
    ReadDiskSector(lba, sector);  // a sector that cannot be read comes as zeros: the directory ends there
    const bool first = count_++ == 0;
    // A subfolder's contents are believed only when its first sector begins with "." and "..".
    if (first && subfolder_ && !BeginsFatSubfolder(sector.data())) return false;
    ParseFatDirectory(sector.data(), parentId_, &ended_, static_cast<uint32_t>(lba), 0,
                      first && subfolder_ ? 2 : 0, history_.Before());
    ++parsed_;
    history_.Keep(sector.data(), 1);
    return ended_ == 0;
  }

  // Reads the sectors of every cluster the chain gives (ReadFatFolderClusters).
  bool Read(FatFolderChain& chain, FatClusterClaims& claims) {
    const uint64_t perCluster = CurrentFileSystem.sectorsPerCluster;
    return ReadFatFolderClusters(chain, claims, [&](uint32_t cluster, bool* parsed) {
      const uint64_t first = CurrentFileSystem.clusterBase + uint64_t{cluster} * perCluster;
      const uint64_t parsedBefore = parsed_;
      bool more = true;
      for (uint64_t j = 0; j < perCluster && more; ++j) more = Read(first + j);
      *parsed = parsed_ != parsedBefore;
      return more;
    });
  }

 private:
  uint32_t parentId_;
  bool subfolder_;
  RangeSectors range_;
  uint32_t ended_ = 0;
  uint64_t count_ = 0;
  uint64_t parsed_ = 0;
  FatSectorHistory history_;
};

// The FAT16 root, at its own place; a FAT32 root is a chain, read with the folders.
void ReadFat16RootFolder() {
  if (CurrentFileSystem.type == records::kFat32) return;
  DirectoryReader reader(records::kFatRootId, false);
  for (uint32_t i = 0; i < CurrentFileSystem.rootDirectorySectors; ++i) {
    if (!reader.Read(uint64_t{CurrentFileSystem.rootDirectory} + i)) return;
  }
}

// Each entry is listed as deleted by its own mark; what lies in a deleted folder is marked afterwards
// (MarkFatRecordsInDeletedFolders), since a deleted folder read here may yet turn out to be a live folder that
// took its cluster.
void ReadFolders(FatClusterClaims& claims) {
  const uint32_t root = CurrentFileSystem.type == records::kFat32 ? CurrentFileSystem.rootDirectory : 0;
  ReadFatFolderList<DirectoryReader>(claims, root, [](size_t) {});
}

// The folder the ".." entry of the folder at firstCluster names (the root as records::kFatRootId); false when
// the cluster's first sector lies outside the range or begins no folder.
bool OwnParent(uint32_t firstCluster, uint32_t* parent) {
  const uint64_t lba = CurrentFileSystem.clusterBase + uint64_t{firstCluster} * CurrentFileSystem.sectorsPerCluster;
  Sector sector;
  if (!CurrentRangeSectors().Holds(lba) || !ReadDiskSector(lba, sector) || !BeginsFatSubfolder(sector.data())) {
    return false;
  }
  const uint32_t named = FatDotDotCluster(sector.data(), CurrentFileSystem.type);
  const bool fat32Root = CurrentFileSystem.type == records::kFat32 && named == CurrentFileSystem.rootDirectory;
  *parent = named == 0 || fat32Root ? records::kFatRootId : named;
  return true;
}

}  // namespace

uint32_t QuickScanFat() {
  FreeScanRecordLists();
  if (ScanStopRequested()) return 0;
  FatClusterClaims claims;
  ReadFat16RootFolder();
  ReadFolders(claims);
  SettleMovedFatFolders(OwnParent);
  MarkFatRecordsInDeletedFolders();
  BuildFolderResults(u"Please wait creating tree", AddFatFolders, records::kFatRootId, ResultListers.listFatFolder);
  return 1;
}
