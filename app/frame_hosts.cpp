#include "app/frame_hosts.h"

#include "app/dialogs/progress_dialog.h"
#include "app/ex_style_app.h"
#include "app/ex_style_doc.h"
#include "app/main_frame.h"
#include "app/pages/third_view_hdd.h"
#include "app/scan_page_links.h"
#include "app/results_page_links.h"
#include "engine/listing/results_listing.h"
#include "engine/scan/results_tree_build.h"
#include "engine/snapshot/snapshot.h"
#include "platform/seams/seams.h"
#include "app/message_host.h"
#include "app/snapshot_open.h"
#include "ui/msgbox/message_protocol.h"

namespace {

FrameSnapshotHost g_snapshotHost;
FrameProgressHost g_progressHost;
FrameDocumentHost g_documentHost;

}  // namespace

bool FrameSnapshotHost::AskSnapshotSavePath(std::u16string* path) {
  seams::FileDialogRequest request;
  CMainFrame* frame = MainFrame();
  request.owner = frame != nullptr ? frame->m_hWnd : nullptr;
  request.open = false;
  request.filter = app::kSnapshotFilter;
  request.defaultExtension = app::kSnapshotExtension;
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

FrameProgressHost::FrameProgressHost() = default;

FrameProgressHost::~FrameProgressHost() = default;

bool FrameProgressHost::Create() {
  DestroyWindow();
  CEx_StyleApp* app = TheApp();
  CWnd* owner = app != nullptr ? app->PageViews[kPageResults] : nullptr;
  auto dialog = std::make_unique<ProgressDialog>();
  if (!dialog->Create(owner != nullptr ? owner : MainFrame())) return false;
  dialog_ = std::move(dialog);
  if (CMainFrame* frame = MainFrame()) frame->ProgressWindow = dialog_->m_hWnd;
  return true;
}

void FrameProgressHost::SetRange(uint32_t lower, uint32_t upper) {
  if (dialog_ != nullptr) dialog_->SetRange(static_cast<int>(lower), static_cast<int>(upper));
}

void FrameProgressHost::ShowWindow(bool show) {
  if (dialog_ != nullptr) dialog_->ShowWindow(show ? SW_SHOW : SW_HIDE);
}

void FrameProgressHost::SetPos(uint32_t position) {
  if (dialog_ != nullptr) ::SendMessageW(dialog_->m_hWnd, ProgressDialog::kSetPosMessage, position, 0);
}

void FrameProgressHost::DestroyWindow() {
  CMainFrame* frame = MainFrame();
  if (frame != nullptr && dialog_ != nullptr && frame->ProgressWindow == dialog_->m_hWnd) frame->ProgressWindow = nullptr;
  dialog_.reset();  // the dialog closes its window and gives its owner back
}

void FrameDocumentHost::EmptyThumbnailFolder(const std::u16string& folder) {
  if (document_ != nullptr) document_->EmptyThumbnailFolder(CString::FromUtf16(folder));
}

void InstallFrameHosts(CMainFrame* frame) {
  msgbox::InstallProgramMessages(frame->m_hWnd);
  host::Hosts& hosts = host::Current();
  hosts.snapshotFrame = &g_snapshotHost;
  hosts.progressDialog = &g_progressHost;
  CDocument* document = frame->GetActiveDocument();
  g_documentHost = FrameDocumentHost(document != nullptr && document->IsKindOf(RUNTIME_CLASS(CEx_StyleDoc))
                                         ? static_cast<CEx_StyleDoc*>(document)
                                         : nullptr);
  hosts.document = &g_documentHost;
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
  g_progressHost.DestroyWindow();
  hosts.progressDialog = nullptr;
  hosts.document = nullptr;
  g_documentHost = FrameDocumentHost();
  hosts.resultList = nullptr;
  hosts.resultTree = nullptr;
  hosts.shellFileInfo = nullptr;
  ResultListers = {};
  msgbox::RemoveProgramMessages();
}
