#include "engine/scan/chosen_fs.h"

#include "engine/host/file_system_form_host.h"
#include "engine/host/result_tree_host.h"
#include "engine/records/pause_gate.h"
#include "engine/records/scan_records.h"
#include "engine/listing/results_listing.h"
#include "engine/scan/chosen_fs_steps.h"
#include "engine/scan/extensive_report.h"
#include "engine/scan/scan_end.h"

namespace chosen {

bool IsChosenMark(uint16_t mark) {
  const uint16_t number = ChosenFileSystemNumber();
  return mark == number && number != 0 && number != records::kNoFileSystemMark;
}

void StopEndsOneStep() {
  ScanPauseGate.Pass();
  ScanThreadControl.stopFlag = 0;
}

void BeginStep(const std::u16string& status) {
  if (host::FileSystemFormHost* form = host::Current().fileSystemForm) {
    form->SetStatusText(status);
    form->SetProgressPos(0);
  }
}

void StepProgress::Show(uint64_t done, uint64_t total) {
  const uint32_t percent = extensive::HeldPercent(done, total);
  if (percent == shown_) return;
  shown_ = percent;
  if (host::FileSystemFormHost* form = host::Current().fileSystemForm) form->SetProgressPos(percent);
}

std::u16string DirName(uint64_t number) { return u"Dir" + extensive::Decimal(number); }

void BuildChosenTree(const std::u16string& status, void (*addFolders)(host::TreeKey parentNode, uint32_t parentId),
                     uint32_t rootId) {
  host::Hosts& hosts = host::Current();
  const host::TreeKey root =
      hosts.resultTree != nullptr ? hosts.resultTree->AddItem(u"Root", host::kNoTreeKey, host::TreeImage::kDrive, false)
                                  : host::kNoTreeKey;
  if (hosts.fileSystemForm != nullptr) hosts.fileSystemForm->SetStatusText(status);
  ScanThreadControl.stopFlag = 0;
  if (hosts.fileSystemView != nullptr) hosts.fileSystemView->HideStopButton();
  ScanCounters.processedCount = 0;
  addFolders(root, rootId);
  if (hosts.resultTree != nullptr) {
    hosts.resultTree->Expand(root);
    hosts.resultTree->SetCurrentNode(root);
  }
  if (hosts.resultList != nullptr) hosts.resultList->SetReportView();
}

}  // namespace chosen

uint16_t ChosenFileSystemNumber() { return static_cast<uint16_t>(CurrentFileSystem.id); }

uint32_t ScanThreadProc() {
  BeginScanWorker();
  NtfsFoundFolderLister = ListNtfsFoundFolder;
  // The root is listed before the end is signalled: the page shows the results once the worker has ended,
  // and by then nothing writes to the list any more.
  switch (CurrentFileSystem.type) {
    case records::kFat16:
    case records::kFat32:
      ReadChosenFat();
      ListFatFolder(records::kFatRootId);
      break;
    case records::kNtfs:
      ReadChosenNtfs();
      ListNtfsFolder(records::kNtfsRootRecord);
      break;
    default:
      break;
  }
  EndScanWorker();
  return 0;
}
