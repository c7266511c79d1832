// Both snapshot loaders over arbitrary file bytes: whatever the counts, lengths and texts say, a load
// ends, reads nothing past the file, and either loads or refuses with a message leaving every record
// list as it was. The input is written to the temporary folder, one file per process, and loaded twice:
// as a Quick Scan or Extensive Scan snapshot and as a File Trace one.
#include <unistd.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "engine/host/snapshot_fakes.h"
#include "engine/records/file_trace_hits.h"
#include "engine/records/scan_records.h"
#include "engine/scan/selected_signatures.h"
#include "engine/snapshot/snapshot.h"
#include "platform/os/os.h"

namespace {

const std::u16string& SnapshotPath() {
  static const std::u16string path =
      os::TempFolderPath() + u"dorvane_fuzz_snapshot_" + os::FromAscii(std::to_string(getpid())) + u".vsnp";
  return path;
}

// The sizes of the record lists a load replaces.
std::array<size_t, 6> ListSizes() {
  return {FatFolderList.size(), FatEntryList.size(),      NtfsFolderList.size(),
          NtfsEntryList.size(), FileTraceHitList.size(), SelectedSignatureList.size()};
}

void LoadWith(uint32_t (*load)(const std::u16string&), host::SnapshotWindows& windows) {
  windows.messages.shown.clear();
  windows.frame.plainMessages.clear();
  windows.tree = host::RecordingResultTree{};
  windows.progress = host::RecordingProgressDialog{};
  const std::array<size_t, 6> before = ListSizes();
  const uint32_t loaded = load(SnapshotPath());
  const size_t reports = windows.messages.shown.size() + windows.frame.plainMessages.size();
  if (loaded == 0 && (ListSizes() != before || reports != 1)) std::abort();
  if (loaded == 1 && reports != 0) std::abort();
  if (windows.progress.created) std::abort();  // every load closes its dialog
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static host::SnapshotWindows windows;
  static const bool installed = (windows.InstallIn(host::Current()), true);
  (void)installed;
  {
    os::File file;
    if (!file.OpenWrite(SnapshotPath())) return 0;
    if (size > 0 && !file.Write(data, static_cast<uint32_t>(size))) return 0;
    if (!file.Close()) return 0;
  }
  LoadWith(LoadSnapshotTree, windows);
  LoadWith(LoadSnapshotFlat, windows);
  return 0;
}
