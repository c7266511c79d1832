// enginectl snapshot-load FILE [--image IMAGE] [--list PATH]: loads a recovery snapshot as the load command
// does (the image, when given, opened first as the source it refers to) and prints what it holds:
//   "D" and "A" snapshots: the results tree as enginectl quick prints it (tree_listing.h); with --list,
//     instead, the rows the results list shows for the folder at PATH of the tree (folder_listing.h)
//   "R" snapshots: one line per hit, in list order: start sector<TAB>name<TAB>group
// A refused load prints its message on standard error and exits with status 1; so does --list of a folder
// the tree does not have, or of an "R" snapshot. Bad arguments: status 2.
#include <cstdio>
#include <cstring>

#include "engine/records/file_trace_hits.h"
#include "engine/records/scan_parameters.h"
#include "platform/os/os.h"
#include "tools/enginectl/folder_listing.h"
#include "tools/enginectl/image_source.h"
#include "tools/enginectl/modes.h"
#include "tools/enginectl/snapshot_files.h"
#include "tools/enginectl/tree_listing.h"

namespace {

void PrintLoaded(const host::RecordingResultTree& tree) {
  if (RecoveryMode == records::kFileTrace) {
    for (const FileTraceHit& hit : FileTraceHitList) {
      std::printf("%u\t%s\t%s\n", hit.startSector, os::ToUtf8(hit.fileName).c_str(), os::ToUtf8(hit.group).c_str());
    }
    return;
  }
  PrintResultTree(tree);
}

// The rows of one folder; 1 when there is no such folder to list.
int ListLoaded(const host::RecordingResultTree& tree, const char* path) {
  if (RecoveryMode == records::kFileTrace) {
    std::fprintf(stderr, "enginectl: --list lists a folder of a Quick or Extensive Scan snapshot\n");
    return 1;
  }
  return PrintFolderListing(tree, path);
}

}  // namespace

int RunSnapshotLoad(int argc, char** argv) {
  const char* imagePath = nullptr;
  const char* listPath = nullptr;
  bool usable = argc >= 1 && argc % 2 == 1;
  for (int i = 1; usable && i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--image") == 0) {
      imagePath = argv[i + 1];
    } else if (std::strcmp(argv[i], "--list") == 0) {
      listPath = argv[i + 1];
    } else {
      usable = false;
    }
  }
  if (!usable) {
    std::fprintf(stderr, "usage: enginectl snapshot-load FILE [--image IMAGE] [--list PATH]\n");
    return 2;
  }
  DiskImage image;
  if (imagePath != nullptr && !OpenImageSource(imagePath, image)) return 1;
  host::SnapshotWindows windows;
  const bool loaded = LoadSnapshotInto(argv[0], windows);
  int status = loaded ? 0 : 1;
  if (loaded && listPath != nullptr) {
    status = ListLoaded(windows.tree, listPath);
  } else if (loaded) {
    PrintLoaded(windows.tree);
  }
  SetCurrentDiskImage(nullptr);
  if (status != 0) return status;
  return std::fflush(stdout) == 0 ? 0 : 1;
}
