// enginectl snapshot-load FILE [--image IMAGE]: loads a recovery snapshot as the load command does (the
// image, when given, opened first as the source it refers to) and prints what it holds.
//   "D" and "A" snapshots: the results tree as enginectl quick prints it (tree_listing.h)
//   "R" snapshots: one line per hit, in list order: start sector<TAB>name<TAB>group
// A refused load prints its message on standard error and exits with status 1.
#include <cstdio>
#include <cstring>
#include <string>

#include "engine/host/snapshot_fakes.h"
#include "engine/records/file_trace_hits.h"
#include "engine/records/scan_parameters.h"
#include "engine/snapshot/snapshot.h"
#include "platform/os/os.h"
#include "tools/enginectl/image_source.h"
#include "tools/enginectl/modes.h"
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

// The snapshot's mode letter, as the load command reads it first; 0 when the file cannot be read.
char16_t ModeLetter(const std::u16string& path) {
  os::File file;
  uint8_t bytes[2] = {};
  uint32_t got = 0;
  if (!file.OpenRead(path) || !file.Read(bytes, 2, &got) || got != 2) return 0;
  return static_cast<char16_t>(bytes[0] | bytes[1] << 8);
}

}  // namespace

int RunSnapshotLoad(int argc, char** argv) {
  const bool withImage = argc == 3 && std::strcmp(argv[1], "--image") == 0;
  if (argc != 1 && !withImage) {
    std::fprintf(stderr, "usage: enginectl snapshot-load FILE [--image IMAGE]\n");
    return 2;
  }
  DiskImage image;
  if (withImage && !OpenImageSource(argv[2], image)) return 1;
  host::SnapshotWindows windows;
  host::Hosts hosts = host::Current();
  windows.InstallIn(hosts);
  host::ScopedHosts installed(hosts);

  const std::u16string path = os::FromUtf8(argv[0]);
  const char16_t letter = ModeLetter(path);
  if (letter == 0) {
    std::fprintf(stderr, "cannot read %s\n", argv[0]);
    return 1;
  }
  RecoveryMode = letter == u'R' ? records::kFileTrace : letter == u'A' ? records::kExtensiveScan : records::kQuickScan;
  const uint32_t loaded = letter == u'R' ? LoadSnapshotFlat(path) : LoadSnapshotTree(path);
  for (const auto& shown : windows.messages.shown) {
    std::fprintf(stderr, "%u\t%s\n", shown.kind, os::ToUtf8(shown.text).c_str());
  }
  for (const auto& text : windows.frame.plainMessages) std::fprintf(stderr, "0\t%s\n", os::ToUtf8(text).c_str());
  if (loaded == 1) PrintLoaded(windows.tree);
  SetCurrentDiskImage(nullptr);
  if (loaded != 1) return 1;
  return std::fflush(stdout) == 0 ? 0 : 1;
}
