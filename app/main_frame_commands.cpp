// The main frame's menu and toolbar commands and their update rules.
#include <windows.h>

#include <commctrl.h>
#include <shlwapi.h>

#include "app/dialogs/file_filters_dialog.h"
#include "app/ex_style_app.h"
#include "engine/host/result_tree_host.h"
#include "engine/host/host.h"
#include "app/main_frame.h"
#include "app/pages/ex_style_view.h"
#include "app/pages/file_system_view.h"
#include "app/pages/source_dialogs.h"
#include "app/pages/third_view_hdd.h"
#include "app/results/tool_dialogs.h"
#include "app/snapshot_open.h"
#include "engine/records/scan_parameters.h"
#include "engine/save/save_state.h"
#include "engine/save/savers.h"
#include "engine/snapshot/snapshot.h"
#include "platform/classlib/win/ccmdui.h"
#include "platform/seams/seams.h"
#include "res/resource.h"
#include "platform/os/markup_escape.h"
#include "ui/msgbox/message_dialogs.h"

static_assert(sizeof(wchar_t) == 2, "UTF-16 text");

namespace {

void ShowMessage(const std::u16string& text, uint32_t kind) {
  MessageText = text;
  MessageKind = kind;
  MessageDialog dialog;
  dialog.DoModal();
}

CThirdView_HDD* ResultsPage() {
  CEx_StyleApp* app = TheApp();
  return app != nullptr ? static_cast<CThirdView_HDD*>(app->PageViews[kPageResults]) : nullptr;
}

// The results list shows its items as icons, a list or details, as from its own context menu.
void SwitchListView(UINT command) {
  CThirdView_HDD* page = ResultsPage();
  if (page != nullptr && page->ResultList().m_hWnd != nullptr) page->ResultList().SwitchView(command);
}

}  // namespace

void CMainFrame::OnUpdateRuledCommand(CCmdUI* pCmdUI) {
  pCmdUI->Enable(app::IsCommandEnabled(pCmdUI->m_nID, RecoveryMode, CommandState()));
}

void CMainFrame::OnOpen() {
  auto* imagePage = static_cast<CEx_StyleView*>(Page0View);
  CEx_StyleApp* app = TheApp();
  if (imagePage == nullptr) return;
  if (app == nullptr || app->CurrentPage == kPageImage || app->PageViews[app->CurrentPage] == nullptr) {
    imagePage->OnBrowse();
    return;
  }
  // Another page is shown (the results of a snapshot opened at start): filling page 0's box behind it would
  // show nothing. The image chosen, the wizard goes Home to page 0, which shows it ready for a mode.
  const CString path = imagePage->ChooseImage();
  if (path.IsEmpty()) return;
  app->PageViews[app->CurrentPage]->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_HOME, BN_CLICKED));
  if (app->CurrentPage == kPageImage) imagePage->PathBox().SetWindowText(path);
}

void CMainFrame::OnRecoverSelected() {
  // The list runs it, as from its own context menu: the ticked folders join the save set, nothing ticked
  // asks the user to tick, else the folder is asked for and the saving dialog runs.
  if (CThirdView_HDD* page = ResultsPage()) page->ResultList().RecoverSelected();
}

void CMainFrame::OnSaveAll() {
  if (CThirdView_HDD* page = ResultsPage()) page->ResultList().SaveAll();
}

void CMainFrame::OnSaveSnapshot() {
  if (RecoveryMode == records::kFileTrace) {
    SaveRecoverySnapshot();
  } else {
    SaveFileSystemSnapshot();
  }
}

bool CMainFrame::LoadSnapshotFile(const std::u16string& path, uint32_t mode, app::Stage* stage) {
  CThirdView_HDD* page = ResultsPage();
  // The ticks name records and tree nodes of the results shown now; the loaded results number theirs
  // afresh, so ticks kept would mark files nobody ticked. They go before the loader lists the root.
  results::MarkSets ticks;
  if (page != nullptr) {
    ticks = page->ResultList().Sets();
    page->ResultList().Sets().Clear();
    page->ResultList().SetResultColumns(mode);
  }
  if (!app::LoadSnapshotInMode(path, mode, stage)) {
    // A refused snapshot changes nothing: the results shown before come back with their columns and ticks.
    if (page != nullptr) {
      page->ResultList().Sets() = ticks;
      page->ResultList().SetResultColumns(RecoveryMode);
      ResultTreeCtrl& tree = page->ResultTree();
      tree.ListNode(tree.CurrentNode());
    }
    return false;
  }
  if (page != nullptr) {
    // As Back leaves it: no preview, no temporary file of the results that went.
    page->ForgetPreview();
    page->ResetFocusRing();
    page->ShowSaveAndHome();
  }
  // The load freed the file systems an Extensive Scan found: page 3 lists none of them any more.
  if (CEx_StyleApp* app = TheApp()) {
    if (auto* fileSystems = static_cast<CFileSystemView*>(app->PageViews[kPageFileSystems])) {
      fileSystems->ForgetFileSystems();
    }
  }
  AtStart = 0;
  return true;
}

void CMainFrame::OnLoadSnapshot() {
  seams::FileDialogRequest request;
  request.owner = m_hWnd;
  request.open = true;
  request.filter = app::kSnapshotFilter;
  request.defaultExtension = app::kSnapshotExtension;
  request.flags = 0x206;
  const seams::FileDialogResult chosen = seams::FileDialogs().ChooseFiles(request);
  if (!chosen.ok || chosen.paths.empty()) return;
  const std::u16string path = app::SnapshotLoadPath(chosen.paths.back());
  uint32_t mode = 0;
  switch (app::ProbeSnapshotFile(path, &mode)) {
    case app::SnapshotProbe::kMissing:
      ShowMessage(msgbox::EscapeMarkup(path) + u" does not exists.", 3);
      return;
    case app::SnapshotProbe::kInvalid:
      ShowMessage(u"Invalid File.", 3);
      return;
    case app::SnapshotProbe::kValid:
      break;
  }
  ShowSnapshot(path, mode);
}

bool CMainFrame::ShowSnapshot(const std::u16string& path, uint32_t mode) {
  // A refused snapshot changes nothing: the stages stay those of the results still shown (or of the source
  // being chosen).
  app::Stage stage = app::kNoStage;
  if (!LoadSnapshotFile(path, mode, &stage)) return false;
  // The stage the loaded results give their commands, as the same results reached by a scan give them.
  SelectStage(stage);
  // The loaded results stand alone: there is no page of theirs to go back to, only Home.
  if (CThirdView_HDD* page = ResultsPage()) page->HideBack();
  return true;
}

void CMainFrame::OnExit() {
  if (ConfirmExit() == 1) CloseConfirmed();
}

void CMainFrame::OnViewIcons() { SwitchListView(ID_VIEW_ICONS); }

void CMainFrame::OnViewList() { SwitchListView(ID_VIEW_LIST); }

void CMainFrame::OnViewDetails() { SwitchListView(ID_VIEW_DETAILS); }

void CMainFrame::OnFindFiles() { results::RunToolDialog(this, ID_FIND_FILES); }

void CMainFrame::OnFileFilters() {
  FileFiltersDialog dialog(this);
  // Close gave the results tree the focus; the end of the modal loop gives it back to the page.
  if (dialog.DoModal() != IDCANCEL) return;
  if (host::ResultTreeHost* tree = host::Current().resultTree) tree->SetFocus();
}

void CMainFrame::OnSettings() { results::RunToolDialog(this, ID_SETTINGS); }

void CMainFrame::OnDriveInformation() {
  DriveInfoDialog dialog(this);
  dialog.DoModal();
}

void CMainFrame::OnNothing(UINT) {}

void CMainFrame::OnHelp() {
  const std::wstring path = std::wstring(ProgramFolder) + L"Dorvane.chm";
  if (!::PathFileExistsW(path.c_str())) {
    ShowMessage(u"Dorvane.chm not found", 2);
    return;
  }
  seams::ShellRequest request;
  request.owner = m_hWnd;
  request.verb = u"open";
  request.target = std::u16string(path.begin(), path.end());
  request.show = SW_SHOWNORMAL;
  seams::Shell().Execute(request);
}
