#include "app/frame_hosts.h"

#include "app/ex_style_app.h"
#include "app/main_frame.h"
#include "app/pages/third_view_hdd.h"
#include "app/scan_page_links.h"
#include "app/results_page_links.h"
#include "engine/listing/results_listing.h"
#include "engine/scan/results_tree_build.h"
#include "engine/snapshot/snapshot.h"
#include "platform/seams/seams.h"
#include "app/message_host.h"
#include "ui/msgbox/message_protocol.h"

namespace {

FrameSnapshotHost g_snapshotHost;

}  // namespace

bool FrameSnapshotHost::AskSnapshotSavePath(std::u16string* path) {
  seams::FileDialogRequest request;
  CMainFrame* frame = MainFrame();
  request.owner = frame != nullptr ? frame->m_hWnd : nullptr;
  request.open = false;
  request.filter = u"*.vsnp|*.vsnp||";
  request.defaultExtension = u"vsnp";
  request.flags = 0x1802;
  const seams::FileDialogResult chosen = seams::FileDialogs().ChooseFiles(request);
  if (!chosen.ok || chosen.paths.empty()) return false;
  *path = chosen.paths.back();
  return true;
}

void FrameSnapshotHost::PlainMessageBox(const std::u16string& text) {
  seams::MessageBoxRequest request;
  CMainFrame* frame = MainFrame();
  request.owner = frame != nullptr ? frame->m_hWnd : nullptr;
  request.text = text;
  request.caption = ProductTitle;
  request.style = MB_OK;
  seams::MessageBoxes().Show(request);
}

void FrameSnapshotHost::ShowResultsPage() {
  CEx_StyleApp* app = TheApp();
  CMainFrame* frame = MainFrame();
  if (app == nullptr || frame == nullptr) return;
  app->SwitchView(kPageResults);
}

void InstallFrameHosts(CMainFrame* frame) {
  msgbox::InstallProgramMessages(frame->m_hWnd);
  host::Hosts& hosts = host::Current();
  hosts.snapshotFrame = &g_snapshotHost;
  CEx_StyleApp* app = TheApp();
  if (app != nullptr && app->PageViews[kPageResults] != nullptr) {
    auto* results = static_cast<CThirdView_HDD*>(app->PageViews[kPageResults]);
    hosts.resultList = &results->ResultList();
    hosts.resultTree = &results->ResultTree();
  }
  // A Quick Scan or File Trace that ends lists the root folder (the groups) on page 4, as a chosen file system
  // and a loaded snapshot do.
  ResultListers = {ListFatFolder, ListNtfsFolder, ListFileTraceGroups};
  InstallResultsPageLinks(frame);
  InstallScanPageLinks(frame);
}

void RemoveFrameHosts() {
  host::Hosts& hosts = host::Current();
  hosts.snapshotFrame = nullptr;
  hosts.resultList = nullptr;
  hosts.resultTree = nullptr;
  hosts.shellFileInfo = nullptr;
  ResultListers = {};
  msgbox::RemoveProgramMessages();
}
