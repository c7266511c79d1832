#include "tools/enginectl/snapshot_files.h"

#include <cstdio>
#include <string>

#include "engine/records/scan_parameters.h"
#include "engine/snapshot/snapshot.h"
#include "platform/os/os.h"

namespace {

// The snapshot's mode letter, as the load command reads it first; 0 when the file cannot be read.
char16_t ModeLetter(const std::u16string& path) {
  os::File file;
  uint8_t bytes[2] = {};
  uint32_t got = 0;
  if (!file.OpenRead(path) || !file.Read(bytes, 2, &got) || got != 2) return 0;
  return static_cast<char16_t>(bytes[0] | bytes[1] << 8);
}

}  // namespace

bool SaveSnapshotTo(const char* path, uint32_t (*saver)()) {
  host::ScriptedSnapshotFrame frame;
  frame.savePath = os::FromUtf8(path);
  host::Hosts hosts = host::Current();
  hosts.snapshotFrame = &frame;
  host::ScopedHosts installed(hosts);
  if (saver() == 1) return true;
  std::fprintf(stderr, "enginectl: the snapshot was not saved to %s\n", path);
  return false;
}

bool LoadSnapshotInto(const char* path, host::SnapshotWindows& windows) {
  host::Hosts hosts = host::Current();
  windows.InstallIn(hosts);
  host::ScopedHosts installed(hosts);
  const std::u16string file = os::FromUtf8(path);
  const char16_t letter = ModeLetter(file);
  if (letter == 0) {
    std::fprintf(stderr, "cannot read %s\n", path);
    return false;
  }
  RecoveryMode = letter == u'R' ? records::kFileTrace : letter == u'A' ? records::kExtensiveScan : records::kQuickScan;
  const uint32_t loaded = letter == u'R' ? LoadSnapshotFlat(file) : LoadSnapshotTree(file);
  for (const auto& shown : windows.messages.shown) {
    std::fprintf(stderr, "%u\t%s\n", shown.kind, os::ToUtf8(shown.text).c_str());
  }
  for (const auto& text : windows.frame.plainMessages) std::fprintf(stderr, "0\t%s\n", os::ToUtf8(text).c_str());
  return loaded == 1;
}
