#include "engine/scan/results_tree_build.h"

#include "engine/host/result_tree_host.h"
#include "engine/records/scan_control.h"

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
