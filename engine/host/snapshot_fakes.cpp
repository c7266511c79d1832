#include "engine/host/snapshot_fakes.h"

namespace host {

bool RecordingProgressDialog::Create() {
  created = true;
  ++createCount;
  return true;
}

void RecordingProgressDialog::SetRange(uint32_t lowerBound, uint32_t upperBound) {
  lower = lowerBound;
  upper = upperBound;
}

void RecordingProgressDialog::DestroyWindow() {
  created = false;
  shown = false;
  ++destroyCount;
}

bool ScriptedSnapshotFrame::AskSnapshotSavePath(std::u16string* path) {
  ++saveDialogCount;
  if (!savePathChosen) return false;
  *path = savePath;
  return true;
}

void SnapshotWindows::InstallIn(Hosts& hosts) {
  hosts.messages = &messages;
  hosts.resultTree = &tree;
  hosts.resultList = &list;
  hosts.progressDialog = &progress;
  hosts.snapshotFrame = &frame;
  hosts.scanPage = &scanPage;
}

}  // namespace host
