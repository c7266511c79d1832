#include "app/main_frame.h"

#include "app/banner_theme.h"
#include "app/dialogs/progress_dialog.h"
#include "app/ex_style_app.h"
#include "app/frame_hosts.h"
#include "app/scenario_seams.h"
#include "app/pages/third_view_hdd.h"
#include "app/source_wizard_frame.h"
#include "engine/image/disk_image.h"
#include "platform/classlib/cexception.h"
#include "platform/classlib/win/cmenu.h"
#include "platform/seams/open_address.h"
#include "preview/dxf/dxf_library.h"
#include "preview/main_preview_view.h"
#include "res/resource.h"
#include "platform/classlib/win/ccmdui.h"
#include "toolkit/commandbars/bars/tkp_command_bar.h"
#include "toolkit/commandbars/controls/tkp_control.h"
#include "toolkit/commandbars/frame/tkp_command_bars.h"
#include "toolkit/commandbars/state/tkp_shortcut_manager.h"
#include "toolkit/commandbars/bars/tkp_tool_bar.h"
#include "toolkit/common/tkp_image_manager.h"
#include "app/message_host.h"
#include "ui/msgbox/message_protocol.h"

IMPLEMENT_DYNCREATE(CMainFrame, CTKPFrameWnd)

static const UINT kCommandStateQuery = ::RegisterWindowMessageW(kCommandStateMessage);

BEGIN_MESSAGE_MAP(CMainFrame, CTKPFrameWnd)
  ON_WM_CREATE()
  ON_WM_SIZE()
  ON_WM_GETMINMAXINFO()
  ON_WM_CLOSE()
  ON_WM_DESTROY()
  ON_COMMAND(ID_OPEN_IMAGE, OnOpen)
  ON_COMMAND(ID_RECOVER_SELECTED, OnRecoverSelected)
  ON_COMMAND(ID_SAVE_ALL, OnSaveAll)
  ON_COMMAND(ID_SAVE_SNAPSHOT, OnSaveSnapshot)
  ON_COMMAND(ID_LOAD_SNAPSHOT, OnLoadSnapshot)
  ON_COMMAND(ID_EXIT, OnExit)
  ON_COMMAND(ID_VIEW_ICONS, OnViewIcons)
  ON_COMMAND(ID_VIEW_LIST, OnViewList)
  ON_COMMAND(ID_VIEW_DETAILS, OnViewDetails)
  ON_COMMAND(ID_FIND_FILES, OnFindFiles)
  ON_COMMAND(ID_FILE_FILTERS, OnFileFilters)
  ON_COMMAND(ID_SETTINGS, OnSettings)
  ON_COMMAND(ID_DRIVE_INFORMATION, OnDriveInformation)
  ON_COMMAND(ID_HELP, OnHelp)
  ON_COMMAND_RANGE(32790, 32792, OnNothing)
  ON_UPDATE_COMMAND_UI(ID_RECOVER_SELECTED, OnUpdateRuledCommand)
  ON_UPDATE_COMMAND_UI(ID_SAVE_SNAPSHOT, OnUpdateRuledCommand)
  ON_UPDATE_COMMAND_UI(ID_VIEW_ICONS, OnUpdateRuledCommand)
  ON_UPDATE_COMMAND_UI(ID_VIEW_LIST, OnUpdateRuledCommand)
  ON_UPDATE_COMMAND_UI(ID_VIEW_DETAILS, OnUpdateRuledCommand)
  ON_UPDATE_COMMAND_UI(ID_FILE_FILTERS, OnUpdateRuledCommand)
  ON_UPDATE_COMMAND_UI(ID_SAVE_ALL, OnUpdateRuledCommand)
  ON_UPDATE_COMMAND_UI(ID_DRIVE_INFORMATION, OnUpdateRuledCommand)
  ON_UPDATE_COMMAND_UI(ID_FIND_FILES, OnUpdateRuledCommand)
  ON_UPDATE_COMMAND_UI(ID_SETTINGS, OnUpdateRuledCommand)
  ON_UPDATE_COMMAND_UI(ID_LOAD_SNAPSHOT, OnUpdateRuledCommand)
  ON_UPDATE_COMMAND_UI(ID_OPEN_IMAGE, OnUpdateRuledCommand)
  ON_REGISTERED_MESSAGE(kCommandStateQuery, OnCommandStateQuery)
END_MESSAGE_MAP()

namespace {

const UINT kIndicators[] = {ID_SEPARATOR, 101, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL};
const UINT kToolCommands[] = {ID_OPEN_IMAGE, ID_RECOVER_SELECTED, ID_SAVE_SNAPSHOT, ID_LOAD_SNAPSHOT,
                              ID_FIND_FILES,  ID_SETTINGS,         ID_HELP};
const UINT kToolIcons[] = {IDI_TOOL_OPEN,  IDI_TOOL_RECOVER,  IDI_TOOL_SAVE_SNAPSHOT, IDI_TOOL_LOAD_SNAPSHOT,
                           IDI_TOOL_FIND,  IDI_TOOL_SETTINGS, IDI_TOOL_HELP};
const UINT kHiddenCommands[] = {ID_FILE_PRINT, ID_FILE_PRINT_PREVIEW};
const char16_t kProductPage[] = u"https://www.dorvane.example";
constexpr int kMinWidth = 875;
constexpr int kMinHeight = 690;

}  // namespace

CMainFrame* MainFrame() {
  CWinApp* app = AfxGetApp();
  return app != nullptr && app->m_pMainWnd != nullptr && app->m_pMainWnd->IsKindOf(RUNTIME_CLASS(CMainFrame))
             ? static_cast<CMainFrame*>(app->m_pMainWnd)
             : nullptr;
}

CMainFrame::CMainFrame() = default;

CMainFrame::~CMainFrame() {
  if (HandCursor != nullptr) ::DestroyCursor(HandCursor);
  if (DiskImagePtr != nullptr) {
    if (CurrentDiskImage() == DiskImagePtr) SetCurrentDiskImage(nullptr);
    delete DiskImagePtr;
  }
}

DiskImage* CMainFrame::EnsureDiskImage() {
  if (DiskImagePtr == nullptr) {
    DiskImagePtr = new DiskImage;
    SetCurrentDiskImage(DiskImagePtr);
  }
  return DiskImagePtr;
}

app::CommandFlags CMainFrame::CommandState() const {
  app::CommandFlags f;
  f.resultsReady = ResultsReady;
  f.fileSystemResultsReady = FileSystemResultsReady;
  f.snapshotLoadEnabled = SnapshotLoadEnabled;
  f.openEnabled = OpenEnabled;
  return f;
}

void CMainFrame::SelectStage(app::Stage stage) {
  const app::StageFlags flags = app::FlagsOfStage(stage);
  AtSourceStage = flags.atSource;
  AtScanStage = flags.atScan;
  ResultsReady = flags.results;
  FileSystemResultsReady = flags.fileSystemResults;
}

namespace {

// Asks the frame's command route for a command's state, as a menu item asks it when its menu opens.
class CommandProbe : public CCmdUI {
 public:
  bool enabled = true;  // a command without an update handler stays enabled
  void Enable(BOOL on) override {
    enabled = on != FALSE;
    m_bEnableChanged = TRUE;
  }
  void SetCheck(int) override {}
  void SetRadio(BOOL) override {}
  void SetText(LPCTSTR) override {}
};

}  // namespace

bool CMainFrame::CommandShownEnabled(UINT id) {
  if (m_pToolBar != nullptr) {
    for (int i = 0; i < m_pToolBar->GetControlCount(); ++i) {
      const CTKPControl* control = m_pToolBar->GetControl(i);
      if (!control->IsTemporary() && static_cast<UINT>(control->GetID()) == id) return control->GetEnabled() != FALSE;
    }
  }
  CommandProbe probe;
  probe.m_nID = id;
  probe.m_pOther = this;
  OnCmdMsg(id, CN_UPDATE_COMMAND_UI, &probe, nullptr);
  return probe.enabled;
}

LRESULT CMainFrame::OnCommandStateQuery(WPARAM id, LPARAM) {
  return CommandShownEnabled(static_cast<UINT>(id)) ? 2 : 1;
}

int CMainFrame::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CTKPFrameWnd::OnCreate(lpCreateStruct) == -1) {
    AfxMessageBox(_T("OnCreate failed"));
    return -1;
  }
  SetWindowText(reinterpret_cast<const wchar_t*>(ProductTitle));
  HandCursor = static_cast<HCURSOR>(
      ::LoadImageW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDC_HAND_CURSOR), IMAGE_CURSOR, 0, 0, 0));
  if (!m_wndStatusBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, AFX_IDW_STATUS_BAR) ||
      !m_wndStatusBar.SetIndicators(kIndicators, 5)) {
    AfxMessageBox(_T("OnCreate failed"));
    return -1;
  }
  m_wndStatusBar.SetPaneWidths(lpCreateStruct->cy);
  m_wndStatusBar.SetPaneText(1, _T("Contact Support"));
  if (!CreateCommandBars()) {
    AfxMessageBox(_T("OnCreate failed"));
    return -1;
  }
  m_paneManager.InstallOnFrame(this);
  m_paneManager.SetTheme(2);
  if (CTKPDockingPane* pane = m_paneManager.FindPane(4001)) m_paneManager.ClosePane(pane);
  EnsureDiskImage();
  WritePreviewRegistryFlags();
  return 0;
}

bool CMainFrame::CreateCommandBars() {
  if (CTKPPaintManager::GetCurrent() == nullptr) CTKPPaintManager::SetTheme(0);
  m_pCommandBars = static_cast<CTKPCommandBars*>(RUNTIME_CLASS(CTKPCommandBars)->CreateObject());
  if (m_pCommandBars == nullptr) return false;
  m_pCommandBars->SetSite(this);
  try {
    m_pCommandBars->EnableDocking();
  } catch (CResourceException* e) {
    e->Delete();  // a dock bar's window could not be made: the frame fails with its message
    return false;
  }
  m_pCommandBars2 = m_pCommandBars;
  if (!m_pCommandBars->SetMenu(_T("Menu Bar"), IDR_MAIN_MENU)) return false;
  m_pToolBar = m_pCommandBars->Add(_T("Standard"), tkpBarTop);
  if (m_pToolBar == nullptr || !m_pToolBar->LoadToolBar(IDR_MAINFRAME)) return false;
  m_toolIcons.Create(32, 32, ILC_COLOR32 | ILC_MASK, 7, 1);
  for (UINT icon : kToolIcons) {
    HICON loaded = static_cast<HICON>(
        ::LoadImageW(AfxGetResourceHandle(), MAKEINTRESOURCEW(icon), IMAGE_ICON, 32, 32, 0));
    m_toolIcons.Add(loaded);
    if (loaded != nullptr) ::DestroyIcon(loaded);
  }
  m_pCommandBars->GetImageManager()->SetIconsFromImageList(&m_toolIcons, kToolCommands, 7, CSize(32, 32));
  m_pToolBar->ShowTextBelowIcons(TRUE);
  CTKPPaintManager::SetCustomTheme(new BannerTheme);
  m_pToolBar->SetPaintManager(new BannerTheme);
  m_pCommandBars->HideCommands(kHiddenCommands, 2);
  // Hidden commands stay out of the menus until they are used.
  m_pCommandBars->GetCommandBarsOptions()->bAlwaysShowFullMenus = FALSE;
  m_pCommandBars->GetShortcutManager()->SetAccelerators(IDR_MAINFRAME);
  m_pCommandBars->LoadOptions(kBarsSection);
  m_pCommandBars->LoadBarState(kBarsSection, FALSE);
  m_pCommandBars->GetShortcutManager()->LoadShortcuts(kBarsSection);
  return true;
}

void CMainFrame::WritePreviewRegistryFlags() {
  // Spreadsheets open inside the preview pane rather than in their own window. Only keys that the
  // spreadsheet program installed are changed: where it is missing (or the keys cannot be opened for
  // writing) nothing is created.
  struct Value {
    const wchar_t* key;
    const wchar_t* name;
    DWORD data;
  };
  const Value values[] = {{L"SOFTWARE\\Classes\\Excel.Sheet.8", L"EditFlags", 0x00010000},
                          {L"SOFTWARE\\Classes\\Excel.Sheet.8", L"BrowserFlags", 0},
                          {L"SOFTWARE\\Classes\\Excel.Sheet.12", L"BrowserFlags", 0}};
  for (const Value& v : values) {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, v.key, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) continue;
    ::RegSetValueExW(key, v.name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v.data), sizeof v.data);
    ::RegCloseKey(key);
  }
}

BOOL CMainFrame::PreCreateWindow(CREATESTRUCT& cs) {
  if (!CTKPFrameWnd::PreCreateWindow(cs)) return FALSE;
  cs.style &= ~static_cast<LONG>(FWS_ADDTOTITLE);
  return TRUE;
}

void CMainFrame::OnSize(UINT nType, int cx, int cy) {
  if (IsWindowVisible() && m_wndStatusBar.m_hWnd != nullptr) m_wndStatusBar.SetPaneWidths(cy);
  CTKPFrameWnd::OnSize(nType, cx, cy);
}

void CMainFrame::OnGetMinMaxInfo(MINMAXINFO* lpMMI) {
  lpMMI->ptMinTrackSize.x = kMinWidth;
  lpMMI->ptMinTrackSize.y = kMinHeight;
}

CMainPreviewView* CMainFrame::PreviewPane() const {
  return static_cast<CMainPreviewView*>(m_pPreviewView != nullptr ? m_pPreviewView : PreviewView);
}

void CMainFrame::ShowPreview(CString path, CString extension) {
  CMainPreviewView* preview = PreviewPane();
  if (preview == nullptr) return;
  SetActiveView(preview, FALSE);
  preview->ClosePreviewViews();
  preview->ShowPreviewForFile(path, extension);
}

// The DXF library moves the bar of the window it is given.
static_assert(kDxfProgressMessage == ProgressDialog::kSetPosMessage, "the library moves the dialog's bar");

std::unique_ptr<CWnd> CMainFrame::ShowLoadProgress(CWnd* parent) {
  auto progress = std::make_unique<ProgressDialog>();
  progress->Create(parent);
  progress->SetRange(0, 100);
  if (progress->GetSafeHwnd() != nullptr) progress->ShowWindow(SW_SHOW);
  return progress;
}

void CMainFrame::FocusResultList() {
  CEx_StyleApp* app = TheApp();
  CView* page = app != nullptr ? app->PageViews[kPageResults] : nullptr;
  if (page == nullptr || page->m_hWnd == nullptr) return;
  ResultListCtrl& list = static_cast<CThirdView_HDD*>(page)->ResultList();
  if (list.m_hWnd != nullptr) list.SetFocus();
}

void CMainFrame::ShowSavedPosition(int) {
  if (!m_windowPos.LoadWindowPos(this)) ShowWindow(SW_SHOW);
  ShowWindow(SW_SHOW);
}

BOOL CMainFrame::PreTranslateMessage(MSG* pMsg) {
  // The banner near the toolbar's right end: a hand over it, and a click opens the product's page.
  if ((pMsg->message == WM_MOUSEMOVE || pMsg->message == WM_LBUTTONDOWN) && m_hWnd != nullptr &&
      (pMsg->hwnd == m_hWnd || ::IsChild(m_hWnd, pMsg->hwnd))) {
    CPoint point(static_cast<short>(LOWORD(pMsg->lParam)), static_cast<short>(HIWORD(pMsg->lParam)));
    POINT raw{point.x, point.y};
    ::MapWindowPoints(pMsg->hwnd, m_hWnd, &raw, 1);
    point = CPoint(raw.x, raw.y);
    CRect client;
    GetClientRect(client);
    if (pMsg->message == WM_MOUSEMOVE && HandCursor != nullptr &&
        CRect(client.right - 380, 20, client.right - 5, 70).PtInRect(point)) {
      ::SetCursor(HandCursor);
    } else if (pMsg->message == WM_LBUTTONDOWN && CRect(client.right - 245, 25, client.right - 5, 60).PtInRect(point)) {
      seams::OpenAddress(m_hWnd, kProductPage, SW_SHOWMAXIMIZED);
    }
  }
  return CTKPFrameWnd::PreTranslateMessage(pMsg);
}

void CMainFrame::OnClose() {
  if (m_closing) return;
  if (IsIconic()) {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    ::GetWindowPlacement(m_hWnd, &placement);
    placement.showCmd = SW_RESTORE;
    ::SetWindowPlacement(m_hWnd, &placement);
  }
  if (ConfirmExit() == 1) CloseConfirmed();
}

void CMainFrame::CloseConfirmed() {
  m_closing = true;
  CTKPFrameWnd::OnClose();
}

void CMainFrame::OnDestroy() {
  RemoveFrameHosts();
  RemoveSourceWizard();
  CTKPFrameWnd::OnDestroy();
}
