// enginectl extensive IMAGE --range CODE START COUNT [--sectors-per-read N]
//                     [--choose K [--rename-files PREFIX] [--list PATH] [--snapshot-save FILE]]:
// an Extensive Scan of the sectors START .. START + COUNT - 1 of the image, run as the scan page runs it
// (worker thread, 1000 ms end check, then the wait for both analysis-done flags), and the file systems it
// found, one line each in the order of page 3's tree:
//   k <TAB> code <TAB> label <TAB> first sector <TAB> last sector
// k is the file system's number (the mark of its candidates), code 100 FAT16, 200 FAT32 or 300 NTFS, the
// label as page 3 shows it, the first sector the cluster base and the last sector 0 when not known.
//   --range CODE START COUNT: the file system to search for (100 and 200 search FAT boot sectors and
//     folders, 300 NTFS ones), first sector, sectors.
//   --sectors-per-read N: the recovery settings' sectors per read (default 60; the engine keeps 1..100).
//   --choose K: instead of the list, file system K is read as page 3's Next reads it, and the results tree
//     is printed as `enginectl quick` prints it (tree_listing.h); with --list, the rows the results list
//     shows for the folder at PATH of the tree (folder_listing.h); with --snapshot-save, afterwards the
//     results are saved as an Extensive Scan snapshot to FILE, as the save command does (its file name in
//     lower case and ending ".vsnp"; an existing file is not replaced); with --rename-files, every file is first
//     renamed to PREFIX + its name, as page 4's Rename does.
// Messages go to standard error as "kind<TAB>text". Exit status: 0 with the list or tree printed (none
// found: no line); 1 when the image does not open, the worker did not end as the page expects, there is no
// file system K, the tree has no folder PATH or the snapshot was not saved; 2 for bad arguments.
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "engine/records/extensive_lists.h"
#include "engine/records/recovery_settings.h"
#include "engine/records/scan_parameters.h"
#include "engine/snapshot/snapshot.h"
#include "platform/os/os.h"
#include "tools/enginectl/chosen_scan.h"
#include "tools/enginectl/folder_listing.h"
#include "tools/enginectl/headless_scan.h"
#include "tools/enginectl/image_source.h"
#include "tools/enginectl/modes.h"
#include "tools/enginectl/rename_files.h"
#include "tools/enginectl/scan_source.h"
#include "tools/enginectl/snapshot_files.h"
#include "tools/enginectl/tree_listing.h"

namespace {

struct ExtensiveOptions {
  const char* image = nullptr;
  char** range = nullptr;  // "--range" and its three values
  unsigned long long sectorsPerRead = RecoverySettingsRecord{}.sectorsPerRead;
  unsigned long long choose = 0;  // the file system to read, from 1; 0: none
  const char* listPath = nullptr;
  const char* snapshot = nullptr;
  const char* renamePrefix = nullptr;
};

int ExtensiveUsage() {
  std::fprintf(stderr,
               "usage: enginectl extensive IMAGE --range CODE START COUNT [--sectors-per-read N]\n"
               "         [--choose K [--rename-files PREFIX] [--list PATH] [--snapshot-save FILE]]\n");
  return 2;
}

bool ParseOptions(int argc, char** argv, ExtensiveOptions* options) {
  if (argc < 1) return false;
  options->image = argv[0];
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--range") == 0 && ScanSourceArguments(argc - i, argv + i) == 4) {
      options->range = argv + i;
      i += 3;
    } else if (std::strcmp(argv[i], "--sectors-per-read") == 0 && i + 1 < argc) {
      // Passed on as it comes (the engine keeps 1..100), as long as the settings' field holds it.
      if (!ParseNumber(argv[++i], "sectors per read", &options->sectorsPerRead)) return false;
      if (options->sectorsPerRead > 0xFFFFFFFFu) return false;
    } else if (std::strcmp(argv[i], "--choose") == 0 && i + 1 < argc) {
      if (!ParseNumber(argv[++i], "file system", &options->choose) || options->choose == 0) return false;
    } else if (std::strcmp(argv[i], "--list") == 0 && i + 1 < argc) {
      options->listPath = argv[++i];
    } else if (std::strcmp(argv[i], "--snapshot-save") == 0 && i + 1 < argc) {
      options->snapshot = argv[++i];
    } else if (std::strcmp(argv[i], "--rename-files") == 0 && i + 1 < argc) {
      options->renamePrefix = argv[++i];
    } else {
      return false;
    }
  }
  return options->range != nullptr &&
         (options->choose != 0 ||
          (options->listPath == nullptr && options->snapshot == nullptr && options->renamePrefix == nullptr));
}

// The scan page's Next for an Extensive Scan: the range (its sector count is end - start), the recovery
// settings' sectors per read, and the lists of the last Extensive Scan freed.
bool PrepareScan(const ExtensiveOptions& options) {
  if (!SetScanSource(options.range)) return false;
  PrepareExtensiveScan();
  RecoverySettings.sectorsPerRead = static_cast<uint32_t>(options.sectorsPerRead);
  return true;
}

void PrintFoundFileSystems(const host::RecordingFileSystemTree& tree) {
  for (size_t i = 0; i < FoundFileSystemList.size(); ++i) {
    const FileSystemRecord& fs = FoundFileSystemList[i];
    const host::RecordingFileSystemTree::Node* node = tree.Find(fs.id);
    std::printf("%zu\t%u\t%s\t%u\t%u\n", i + 1, unsigned{fs.type}, node ? os::ToUtf8(node->text).c_str() : "",
                fs.clusterBase, fs.lastSector);
  }
}

}  // namespace

int RunExtensive(int argc, char** argv) {
  ExtensiveOptions options;
  if (!ParseOptions(argc, argv, &options)) return ExtensiveUsage();
  DiskImage image;
  if (!OpenImageSource(options.image, image)) return 1;
  if (!PrepareScan(options)) {
    SetCurrentDiskImage(nullptr);
    return 2;
  }
  HeadlessScan scan;
  const ScanOutcome outcome = options.choose != 0 ? ReadFoundFileSystem(scan, options.choose) : RunExtensiveScan(scan);
  int status = outcome == ScanOutcome::kFinished ? 0 : 1;
  if (status == 0 && options.renamePrefix != nullptr) RenameEveryFile(options.renamePrefix);
  if (status == 0) {
    if (options.listPath != nullptr) {
      status = PrintFolderListing(scan.tree(), options.listPath);
    } else if (options.choose != 0) {
      PrintResultTree(scan.tree());
    } else {
      PrintFoundFileSystems(scan.fileSystemTree());
    }
  }
  if (status == 0 && options.snapshot != nullptr && !SaveSnapshotTo(options.snapshot, SaveFileSystemSnapshot)) status = 1;
  if (outcome == ScanOutcome::kLost) std::fprintf(stderr, "enginectl: the worker ended without signalling its end\n");
  SetCurrentDiskImage(nullptr);
  if (status != 0) return status;
  return std::fflush(stdout) == 0 ? 0 : 1;
}
