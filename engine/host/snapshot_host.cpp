#include "engine/host/snapshot_host.h"

std::atomic<uint32_t> SnapshotLoading{0};

namespace host {

ProgressDialogHost* SnapshotProgress() {
  return SnapshotLoading.load() == 1 ? Current().progressDialog : nullptr;
}

}  // namespace host
