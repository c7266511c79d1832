// enginectl quick IMAGE --partition N | --range CODE START COUNT [--list PATH]: a Quick Scan of one file
// system of the image, run as the scan page runs it (worker thread, 1000 ms end check), then the results
// tree it built, one line per folder and file (tree_listing.h); with --list, instead, the rows the results
// list shows for the folder at PATH of the tree (folder_listing.h). Messages go to standard error as
// "kind<TAB>text".
//   --partition N: entry N (from 0) of the partition table as `enginectl partitions` lists it.
//   --range CODE START COUNT: file-system code (100 FAT16, 200 FAT32, 300 NTFS), first sector, sectors.
// Exit status: 0 with the tree printed; 1 when the scan could not run or the tree has no folder PATH (the
// reason is on standard error); 2 for bad arguments.
#include <cstdio>
#include <cstring>

#include "engine/partitions/detect_partitions.h"
#include "engine/partitions/partition_table.h"
#include "engine/records/scan_parameters.h"
#include "engine/scan/quick_scan.h"
#include "tools/enginectl/folder_listing.h"
#include "tools/enginectl/headless_scan.h"
#include "tools/enginectl/image_source.h"
#include "tools/enginectl/modes.h"
#include "tools/enginectl/tree_listing.h"

namespace {

int Usage() {
  std::fprintf(stderr, "usage: enginectl quick IMAGE --partition N | --range CODE START COUNT [--list PATH]\n");
  return 2;
}

bool IsFileSystemCode(unsigned long long code) {
  return code == records::kFat16 || code == records::kFat32 || code == records::kNtfs;
}

// The range the scan page writes for a partition chosen on the source page.
bool ChoosePartition(const char* text) {
  unsigned long long index = 0;
  if (!ParseNumber(text, "partition", &index)) return false;
  DetectPartitionsWithFallback();
  if (index >= PartitionsInUse()) {
    std::fprintf(stderr, "enginectl: the image has no partition %llu (%u found)\n", index, PartitionsInUse());
    return false;
  }
  const PartitionEntry& entry = PartitionTable[index];
  ScanRange.fileSystemCode = entry.fileSystemCode;
  ScanRange.startSector = entry.firstSector;
  ScanRange.sectorCount = entry.sectorCount;
  return true;
}

bool ChooseRange(char** argv) {
  unsigned long long code = 0, start = 0, count = 0;
  if (!ParseNumber(argv[0], "file-system code", &code) || !ParseNumber(argv[1], "start sector", &start) ||
      !ParseNumber(argv[2], "sector count", &count)) {
    return false;
  }
  if (!IsFileSystemCode(code) || start > 0xFFFFFFFFu || count == 0 || count > 0xFFFFFFFFu - start + 1) {
    std::fprintf(stderr, "enginectl: the range must be code 100, 200 or 300 and 32-bit sectors\n");
    return false;
  }
  ScanRange.fileSystemCode = static_cast<uint16_t>(code);
  ScanRange.startSector = static_cast<uint32_t>(start);
  ScanRange.sectorCount = static_cast<uint32_t>(count);
  return true;
}

}  // namespace

int RunQuick(int argc, char** argv) {
  const char* listPath = nullptr;
  if (argc >= 2 && std::strcmp(argv[argc - 2], "--list") == 0) {
    listPath = argv[argc - 1];
    argc -= 2;
  }
  const bool partition = argc == 3 && std::strcmp(argv[1], "--partition") == 0;
  const bool range = argc == 5 && std::strcmp(argv[1], "--range") == 0;
  if (!partition && !range) return Usage();
  DiskImage image;
  if (!OpenImageSource(argv[0], image)) return 1;
  RecoveryMode = records::kQuickScan;
  ScanRange = ScanRangeRecord{};
  if (!(partition ? ChoosePartition(argv[2]) : ChooseRange(argv + 2))) {
    SetCurrentDiskImage(nullptr);
    return 2;
  }
  ScanRange.endSector = ScanRange.startSector + ScanRange.sectorCount - 1;
  HeadlessScan scan;
  const ScanOutcome outcome = scan.Run(QuickScanThread);
  int listed = 0;
  if (outcome == ScanOutcome::kFinished && listPath != nullptr) listed = PrintFolderListing(scan.tree(), listPath);
  if (outcome == ScanOutcome::kFinished && listPath == nullptr) PrintResultTree(scan.tree());
  if (outcome == ScanOutcome::kLost) std::fprintf(stderr, "enginectl: the worker ended without signalling its end\n");
  SetCurrentDiskImage(nullptr);
  if (outcome != ScanOutcome::kFinished || listed != 0) return 1;
  return std::fflush(stdout) == 0 ? 0 : 1;
}
