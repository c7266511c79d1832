#include "app/snapshot_open.h"

#include "engine/records/scan_parameters.h"
#include "engine/snapshot/snapshot.h"
#include "platform/os/os.h"

namespace app {

bool SnapshotModeOfLetter(char16_t letter, uint32_t* mode) {
  switch (letter) {
    case u'D': *mode = records::kQuickScan; return true;
    case u'A': *mode = records::kExtensiveScan; return true;
    case u'R': *mode = records::kFileTrace; return true;
    default: return false;
  }
}

SnapshotProbe ProbeSnapshotFile(const std::u16string& path, uint32_t* mode) {
  os::File file;
  if (!file.OpenRead(path, os::Share::Read)) return SnapshotProbe::kMissing;
  unsigned char bytes[2] = {};
  uint32_t got = 0;
  if (!file.Read(bytes, 2, &got) || got != 2) return SnapshotProbe::kInvalid;
  const char16_t letter = static_cast<char16_t>(bytes[0] | (bytes[1] << 8));
  return SnapshotModeOfLetter(letter, mode) ? SnapshotProbe::kValid : SnapshotProbe::kInvalid;
}

std::u16string SnapshotLoadPath(const std::u16string& chosen) { return snapshot::SavePathFor(chosen); }

std::u16string CommandLineSnapshotPath(const std::u16string& commandLine) {
  // Only the name is lower-cased, as for a chosen file: folders keep the case they were given in.
  std::u16string path = snapshot::LoadPathFor(commandLine);
  const size_t slash = path.find_last_of(u"\\/");
  for (size_t i = slash == std::u16string::npos ? 0 : slash + 1; i < path.size(); ++i) {
    if (path[i] >= u'A' && path[i] <= u'Z') path[i] = static_cast<char16_t>(path[i] + 0x20);
  }
  // Blanks around a quoted path are not part of it.
  const size_t first = path.find_first_not_of(u' ');
  const size_t last = path.find_last_not_of(u' ');
  return first == std::u16string::npos ? std::u16string() : path.substr(first, last - first + 1);
}

bool LoadSnapshotInMode(const std::u16string& path, uint32_t mode, Stage* stage) {
  const uint32_t before = RecoveryMode;
  RecoveryMode = mode;
  const bool loaded = mode == records::kFileTrace ? LoadSnapshotFlat(path) != 0 : LoadSnapshotTree(path) != 0;
  if (!loaded) {
    RecoveryMode = before;
    return false;
  }
  *stage = ResultsStage(RecoveryMode);
  return true;
}

}  // namespace app
