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

#include "engine/records/scan_parameters.h"
#include "engine/scan/quick_scan.h"
#include "tools/enginectl/folder_listing.h"
#include "tools/enginectl/headless_scan.h"
#include "tools/enginectl/image_source.h"
#include "tools/enginectl/modes.h"
#include "tools/enginectl/scan_source.h"
#include "tools/enginectl/tree_listing.h"

namespace {

int Usage() {
  std::fprintf(stderr, "usage: enginectl quick IMAGE --partition N | --range CODE START COUNT [--list PATH]\n");
  return 2;
}

}  // namespace

int RunQuick(int argc, char** argv) {
  const char* listPath = nullptr;
  if (argc >= 2 && std::strcmp(argv[argc - 2], "--list") == 0) {
    listPath = argv[argc - 1];
    argc -= 2;
  }
  if (argc < 2 || ScanSourceArguments(argc - 1, argv + 1) != argc - 1) return Usage();
  DiskImage image;
  if (!OpenImageSource(argv[0], image)) return 1;
  RecoveryMode = records::kQuickScan;
  if (!SetScanSource(argv + 1)) {
    SetCurrentDiskImage(nullptr);
    return 2;
  }
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
