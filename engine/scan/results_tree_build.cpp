#include "engine/scan/results_tree_build.h"

#include "engine/host/result_tree_host.h"
#include "engine/records/scan_control.h"
#include "engine/scan/scan_end.h"

ResultListersRecord ResultListers;

host::TreeKey BuildScanResultsTree(const std::u16string& status, const std::function<void(host::TreeKey root)>& addNodes,
                                   const std::function<void()>& listRoot) {
  host::Hosts& hosts = host::Current();
  if (hosts.scanPage != nullptr) {
    hosts.scanPage->DisableNavigationButtons();
    hosts.scanPage->BeginBusy();
  }
  const host::TreeKey root =
      hosts.resultTree != nullptr ? hosts.resultTree->AddItem(u"Root", host::kNoTreeKey, host::TreeImage::kDrive, false)
                                  : host::kNoTreeKey;
  ScanCounters.processedCount = 0;
  if (hosts.secondDisplay != nullptr) hosts.secondDisplay->SetStatusText(status);
  ScanThreadControl.stopFlag = 0;
  if (hosts.scanPage != nullptr) hosts.scanPage->HideStopButton();
  addNodes(root);
  if (hosts.resultTree != nullptr) hosts.resultTree->Expand(root);
  if (hosts.resultList != nullptr) hosts.resultList->SetReportView();
  if (hosts.resultTree != nullptr) hosts.resultTree->SetCurrentNode(root);
  if (listRoot) listRoot();
  return root;
}

void BuildFolderResults(const std::u16string& status, void (*addFolders)(host::TreeKey parentNode, uint32_t parentId),
                        uint32_t rootId, void (*lister)(uint32_t folderId)) {
  BuildScanResultsTree(
      status, [&](host::TreeKey root) { addFolders(root, rootId); },
      [&] {
        if (lister != nullptr) lister(rootId);
      });
  EndScanWorker();
}
