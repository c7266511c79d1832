// The FAT readers over arbitrary volumes: Quick Scan's reading of the folder tree as FAT16 and as FAT32 (boot
// sector, else the parameter search), then the same folders read as the file system an Extensive Scan found, with
// the tables the boot sector gave and as rebuilt without them (the tables searched for).
// Whatever the tables link (folders that run into one another's chains, in one copy or both, loops, chains
// through the whole table), each directory cluster is read at most twice per scan, so the work grows with the
// volume and never with folders times clusters; nothing is read past a buffer. The input is a sparse file (image_fuzz_file.h), read as a logical drive,
// so that a small input describes a volume of many MiB.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "engine/image/source_values.h"
#include "engine/records/extensive_lists.h"
#include "engine/records/scan_records.h"
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
  CurrentFileSystem.id = 1;
  const FileSystemRecord found = CurrentFileSystem;
  ScanThreadProc();
  ExpectBoundedListing(sectors);
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
