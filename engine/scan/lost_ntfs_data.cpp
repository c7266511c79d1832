// CollectLostNtfsData: folders and files whose parent folder record is missing (overwritten, or never
// read) are gathered under "Lost Dir", in one folder per missing parent.
#include <algorithm>
#include <string>

#include "engine/host/host.h"
#include "engine/records/pause_gate.h"
#include "engine/records/scan_control.h"
#include "engine/records/scan_records.h"
#include "engine/scan/quick_scan.h"
#include "platform/os/os.h"

namespace {

void ShowStep(const char16_t* status) {
  if (host::SecondDisplayHost* panel = host::Current().secondDisplay) {
    panel->SetStatusText(status);
    panel->SetProgressPos(0);
  }
}

// Moves the bar when the percent of done out of total changes.
void ShowProgress(size_t done, size_t total, uint64_t& shown) {
  host::SecondDisplayHost* panel = host::ScanProgressPanel();
  if (panel == nullptr || total == 0) return;
  const uint64_t percent = std::min<uint64_t>(uint64_t{done} * 100 / total, 99);
  if (percent != shown) panel->SetProgressPos(static_cast<uint32_t>(percent));
  shown = percent;
}

}  // namespace

void AdoptLostNtfsParent(uint32_t parent, uint32_t& next) {
  if (parent == records::kNtfsRootRecord || FindNtfsFolder(parent) != nullptr) return;
  AppendNtfsFolder(u"Dir" + os::FromAscii(std::to_string(next++)), parent, records::kLostDirId, 0, 0,
                   host::kNoTreeKey, 0);
}

// This step is short and puts every record read so far into the tree: a stop asked for meanwhile is
// answered (the pause gate) but does not end it, or the files under a missing folder would be listed nowhere.
void CollectLostNtfsData() {
  ScanThreadControl.stopFlag = 0;
  ShowStep(u"Searching for Lost Data ( Step 1/2 )...");
  AppendNtfsFolder(u"Lost Dir", records::kLostDirId, records::kNtfsRootRecord, 0, 0, host::kNoTreeKey, 0);
  uint32_t next = 0;
  uint64_t shown = 0;
  // The folders appended here are walked too: their parent, "Lost Dir", is listed.
  for (size_t i = 0; i < NtfsFolderList.size(); ++i) {
    ScanPauseGate.Pass();
    ShowProgress(i, NtfsFolderList.size(), shown);
    AdoptLostNtfsParent(NtfsFolderList[i].parentId, next);
  }
  ShowStep(u"Searching for Lost Data ( Step 2/2 )...");
  shown = 0;
  for (size_t i = 0; i < NtfsEntryList.size(); ++i) {
    ScanPauseGate.Pass();
    ShowProgress(i, NtfsEntryList.size(), shown);
    AdoptLostNtfsParent(NtfsEntryList[i].parentId, next);
  }
  ScanThreadControl.stopFlag = 0;
}
