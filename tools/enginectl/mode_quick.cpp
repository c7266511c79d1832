// enginectl quick IMAGE --partition N | --range CODE START COUNT [--rename-files PREFIX] [--list PATH]
//     [--snapshot-save FILE]: a Quick
// Scan of one file system of the image, run as the scan page runs it (worker thread, 1000 ms end check), then
// the results tree it built, one line per folder and file (tree_listing.h); with --list, instead, the rows the
// results list shows for the folder at PATH of the tree (folder_listing.h). Messages go to standard error as
// "kind<TAB>text".
//   --partition N: entry N (from 0) of the partition table as `enginectl partitions` lists it.
//   --range CODE START COUNT: file-system code (100 FAT16, 200 FAT32, 300 NTFS), first sector, sectors.
//   --rename-files PREFIX: once the scan has ended, every file is renamed to PREFIX + its name, as page 4's Rename
//     does, before the tree is printed or the snapshot saved.
//   --snapshot-save FILE: afterwards the results are saved as a Quick Scan snapshot to FILE, as the save
//     command does (its file name in lower case and ending ".vsnp"; an existing file is not replaced).
// Exit status: 0 with the tree printed; 1 when the scan could not run, the tree has no folder PATH or the
// snapshot was not saved (the reason is on standard error); 2 for bad arguments.
#include <cstdio>
#include <cstring>

#include "engine/records/scan_parameters.h"
#include "engine/scan/quick_scan.h"
#include "engine/snapshot/snapshot.h"
#include "tools/enginectl/folder_listing.h"
#include "tools/enginectl/headless_scan.h"
#include "tools/enginectl/image_source.h"
#include "tools/enginectl/modes.h"
#include "tools/enginectl/rename_files.h"
#include "tools/enginectl/scan_source.h"
#include "tools/enginectl/snapshot_files.h"
#include "tools/enginectl/tree_listing.h"

namespace {

int QuickUsage() {
  std::fprintf(stderr,
               "usage: enginectl quick IMAGE --partition N | --range CODE START COUNT [--rename-files PREFIX] "
               "[--list PATH] [--snapshot-save FILE]\n");
  return 2;
}

struct QuickOptions {
  const char* image = nullptr;
  char** source = nullptr;  // the source option and its values
  const char* listPath = nullptr;
  const char* snapshot = nullptr;
  const char* renamePrefix = nullptr;
};

bool ParseOptions(int argc, char** argv, QuickOptions* options) {
  if (argc < 2) return false;
  options->image = argv[0];
  const int taken = ScanSourceArguments(argc - 1, argv + 1);
  if (taken == 0) return false;
  options->source = argv + 1;
  for (int i = 1 + taken; i < argc; i += 2) {
    if (i + 1 >= argc) return false;
    if (std::strcmp(argv[i], "--list") == 0) {
      options->listPath = argv[i + 1];
    } else if (std::strcmp(argv[i], "--snapshot-save") == 0) {
      options->snapshot = argv[i + 1];
    } else if (std::strcmp(argv[i], "--rename-files") == 0) {
      options->renamePrefix = argv[i + 1];
    } else {
      return false;
    }
  }
  return true;
}

}  // namespace

int RunQuick(int argc, char** argv) {
  QuickOptions options;
  if (!ParseOptions(argc, argv, &options)) return QuickUsage();
  DiskImage image;
  if (!OpenImageSource(options.image, image)) return 1;
  RecoveryMode = records::kQuickScan;
  if (!SetScanSource(options.source)) {
    SetCurrentDiskImage(nullptr);
    return 2;
  }
  HeadlessScan scan;
  const ScanOutcome outcome = scan.Run(QuickScanThread);
  int status = outcome == ScanOutcome::kFinished ? 0 : 1;
  if (status == 0 && options.renamePrefix != nullptr) RenameEveryFile(options.renamePrefix);
  if (status == 0 && options.listPath != nullptr) status = PrintFolderListing(scan.tree(), options.listPath);
  if (status == 0 && options.listPath == nullptr) PrintResultTree(scan.tree());
  if (status == 0 && options.snapshot != nullptr && !SaveSnapshotTo(options.snapshot, SaveFileSystemSnapshot)) status = 1;
  if (outcome == ScanOutcome::kLost) std::fprintf(stderr, "enginectl: the worker ended without signalling its end\n");
  SetCurrentDiskImage(nullptr);
  if (status != 0) return status;
  return std::fflush(stdout) == 0 ? 0 : 1;
}
