// The FAT readers over arbitrary volumes: Quick Scan's reading of the folder tree as FAT16 and as FAT32 (boot
// sector, else the parameter search), then the same folders read as the file system an Extensive Scan found, with
// the tables the boot sector gave and as rebuilt without them (the tables searched for), the clusters of entries no
// folder's chain reaches among them; and a user's save weighing what each listed file claims against the others.
// Whatever the tables link (folders that run into one another's chains, in one copy or both, loops, chains
// through the whole table), each directory cluster is read at most twice per scan, so the work grows with the
// volume and never with folders times clusters; nothing is read past a buffer. The input is a sparse file (image_fuzz_file.h), read as a logical drive,
// so that a small input describes a volume of many MiB.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "engine/fat/fat_chain.h"
#include "engine/fat/fat_entry_sector.h"
#include "engine/image/source_values.h"
#include "engine/partitions/disk_sectors.h"
#include "engine/records/extensive_lists.h"
#include "engine/records/scan_records.h"
#include "engine/save/fat_claims.h"
#include "engine/save/save_state.h"
#include "engine/scan/boot_parameters.h"
#include "engine/scan/chosen_fs.h"
#include "engine/scan/quick_scan.h"
#include "fuzz/drive_fuzz.h"
#include "fuzz/image_fuzz_file.h"

namespace {

// Every record listed comes from an entry of a sector read once as a folder's, once more at most as another
// folder's whose chain reaches it too (the clusters read twice are no more than those read once), or once more as
// the root's, where a searched layout lets the root and the clusters overlap: never more than three times the
// entries the volume holds.
void ExpectBoundedListing(uint32_t sectors) {
  if (FatEntryList.size() + FatFolderList.size() > uint64_t{sectors} * 16 * 3 + 16) std::abort();
}

// The sectors of directory entries an Extensive Scan's search keeps, where a folder's later clusters lie (the few
// after its first): the clusters no chain reaches are read from them.
void FindEntrySectors() {
  constexpr uint32_t kLaterClusters = 3;
  for (const FatFolderRecord& f : FatFolderList) {
    for (uint32_t n = 1; n <= kLaterClusters; ++n) {
      const uint64_t cluster = uint64_t{f.firstCluster} + n;
      const uint64_t lba = CurrentFileSystem.clusterBase + cluster * CurrentFileSystem.sectorsPerCluster;
      Sector sector;
      if (lba > 0xFFFFFFFFu || !ReadDiskSector(lba, sector) || !HoldsFatDirectoryEntries(sector.data())) continue;
      DirEntrySectorList.Append(DirEntrySectorCandidate{static_cast<uint32_t>(lba)});
    }
  }
}

// A user's save weighs the clusters each listed file claims against the others' (the first files, each read along
// its chain through the first table as the saver reads a live one, its first clusters): the questions stay short
// however the entries overlap.
void WeighClaims(uint32_t sectors) {
  constexpr size_t kAskedFiles = 500;
  constexpr uint32_t kChainClusters = 256;
  BeginSave();
  const uint64_t clusterBytes = uint64_t{CurrentFileSystem.sectorsPerCluster} * 512;
  if (clusterBytes == 0 || CurrentFileSystem.clusterBase >= sectors) return;
  // As the saver bounds it: the clusters of the volume that its tables number.
  const uint64_t inVolume = (sectors - CurrentFileSystem.clusterBase) / CurrentFileSystem.sectorsPerCluster;
  const uint64_t limit = std::min<uint64_t>(inVolume, FatTableEntries(CurrentFileSystem));
  for (size_t i = 0; i < FatEntryList.size() && i < kAskedFiles; ++i) {
    const FatEntryRecord& entry = FatEntryList[i];
    save::FatFileRead read;
    read.first = entry.firstCluster;
    read.size = entry.size;
    read.clusters = static_cast<uint32_t>(
        std::min<uint64_t>((uint64_t{entry.size} + clusterBytes - 1) / clusterBytes, kChainClusters));
    read.deleted = entry.deleted != 0;
    read.date = entry.firstDateWord;
    read.name = &entry.name;
    ReadClusterChain(entry.firstCluster, read.clusters, 1);
    read.chained = !read.deleted && !ClusterList.empty();
    read.copy = 1;
    read.exact = ClusterList.size() == read.clusters;
    save::FatFileGivesWay(read, limit);
  }
}

void ScanAs(uint16_t code, uint32_t sectors) {
  FreeScanRecordLists();
  ScanRange = ScanRangeRecord{};
  ScanRange.fileSystemCode = code;
  ScanRange.sectorCount = sectors;
  ScanRange.endSector = sectors - 1;
  ScanThreadControl.stopFlag = 0;
  ScanThreadControl.runningFlag = 1;
  if (ReadBootParameters() != 1 && SearchFatParameters() != 1) return;
  ScanThreadControl.stopFlag = 0;
  QuickScanFat();
  ExpectBoundedListing(sectors);
  // The folders found, as the subfolder candidates of a file system an Extensive Scan found.
  FreeExtensiveScanLists();
  for (const FatFolderRecord& f : FatFolderList) {
    const uint64_t sector = CurrentFileSystem.clusterBase + uint64_t{f.firstCluster} * CurrentFileSystem.sectorsPerCluster;
    if (f.firstCluster < 2 || sector > 0xFFFFFFFFu) continue;
    AppendDirSectorCandidate(static_cast<uint32_t>(sector), f.firstCluster, f.parentId, 0, 0).mark = 1;
  }
  FindEntrySectors();
  CurrentFileSystem.id = 1;
  const FileSystemRecord found = CurrentFileSystem;
  ScanThreadProc();
  ExpectBoundedListing(sectors);
  WeighClaims(sectors);
  // Again as a file system rebuilt without its boot sector: its tables (and a FAT16 root) searched for.
  CurrentFileSystem = found;
  CurrentFileSystem.firstFatSector = CurrentFileSystem.secondFatSector = CurrentFileSystem.sectorsPerFat = 0;
  if (code == records::kFat16) CurrentFileSystem.rootDirectory = CurrentFileSystem.rootDirectorySectors = 0;
  ScanThreadProc();
  ExpectBoundedListing(sectors);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const uint32_t bytes = size < 4 ? 0 : fuzz_image::Le32(data) % (64u << 20);  // the file's size
  if (bytes < 512 || !fuzz_drive::OpenInput(data, size)) return 0;
  RecoveryMode = records::kExtensiveScan;
  for (uint16_t code : {records::kFat16, records::kFat32}) ScanAs(code, bytes / 512);
  VolumeHandle.Close();
  fuzz_drive::Messages().shown.clear();
  return 0;
}
