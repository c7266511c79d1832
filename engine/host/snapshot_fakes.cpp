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

}  // namespace host
