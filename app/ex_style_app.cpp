#include "app/ex_style_app.h"

#include "app/about_dialog.h"
#include "app/ex_style_doc.h"
#include "app/file_type_access.h"
#include "app/frame_hosts.h"
#include "app/instance_mutex.h"
#include "app/main_frame.h"
#include "app/pages/ex_style_view.h"
#include "app/pages/file_system_view.h"
#include "app/pages/first_view_hdd.h"
#include "app/pages/second_view_hdd.h"
#include "app/pages/third_view_hdd.h"
#include "app/results/preview_temp.h"
#include "app/snapshot_open.h"
#include "app/source_wizard_frame.h"
#include "app/worker_shutdown.h"
#include "engine/host/snapshot_host.h"
#include "engine/records/scan_parameters.h"
#include "engine/save/preview_temp_files.h"
#include "platform/classlib/win/ccreatecontext.h"
#include "platform/classlib/win/cdoctemplate.h"
#include "platform/os/markup_escape.h"
#include "res/resource.h"
#include "ui/msgbox/message_dialogs.h"

wchar_t ProgramFolder[260] = {};
CString SelectedModeText;

BEGIN_MESSAGE_MAP(CEx_StyleApp, CWinApp)
  ON_COMMAND(ID_APP_ABOUT, OnAppAbout)
  ON_COMMAND(ID_FILE_NEW, CWinApp::OnFileNew)
  ON_COMMAND(ID_FILE_OPEN, CWinApp::OnFileOpen)
  ON_COMMAND(ID_FILE_PRINT_SETUP, CWinApp::OnFilePrintSetup)
END_MESSAGE_MAP()

namespace {

// The ids of pages 1 to 4; page 0 has the first-view id the frame lays out.
constexpr UINT kFirstPageId = AFX_IDW_PANE_FIRST;

void ShowMessage(const char16_t* text, uint32_t kind) {
  MessageText = text;
  MessageKind = kind;
  MessageDialog dialog;
  dialog.DoModal();
}

void RecordProgramFolder() {
  ::GetCurrentDirectoryW(260, ProgramFolder);
  wchar_t module[260] = {};
  const DWORD length = ::GetModuleFileNameW(nullptr, module, 260);
  if (length == 0 || length >= 260) return;
  wchar_t* slash = wcsrchr(module, L'\\');
  if (slash == nullptr) return;
  slash[1] = L'\0';
  wcscpy(ProgramFolder, module);
}

}  // namespace

CEx_StyleApp* TheApp() { return static_cast<CEx_StyleApp*>(AfxGetApp()); }

CEx_StyleApp::CEx_StyleApp() : CWinApp(_T("Dorvane")) { UseDatabaseSettings(this); }

CEx_StyleApp::~CEx_StyleApp() {
  if (&DatabaseSettings() == this) UseDatabaseSettings(nullptr);
}

CMainFrame* CEx_StyleApp::GetMainFrame() const {
  return m_pMainWnd != nullptr && m_pMainWnd->IsKindOf(RUNTIME_CLASS(CMainFrame)) ? static_cast<CMainFrame*>(m_pMainWnd)
                                                                                  : nullptr;
}

void CEx_StyleApp::RegisterFileType() {
  wchar_t module[260] = {};
  ::GetModuleFileNameW(nullptr, module, 260);
  // The program's path is quoted: a folder with blanks would otherwise split the command.
  const CString openCommand = CString(_T("\"")) + module + _T("\" \"%0\"");
  CGCFileTypeAccess fileTypes;
  fileTypes.SetExtension(_T("vsnp"));
  fileTypes.SetShellOpenCommand(openCommand);
  fileTypes.SetDocumentShellOpenCommand(openCommand);
  fileTypes.SetDocumentClassName(_T("Vantor.Document"));
  fileTypes.SetDocumentDefaultIcon(CString(module) + _T(",0"));
  fileTypes.WriteAll();
}

int CEx_StyleApp::ExitInstance() {
  SetPreviewTempPaths(DeleteFiles(PreviewTempPaths()));
  return CWinApp::ExitInstance();
}

BOOL CEx_StyleApp::InitInstance() {
  if (InstanceMutexError == ERROR_ALREADY_EXISTS) {
    AfxMessageBox(_T("Another instance of the application is already running."));
    return FALSE;
  }
  AfxEnableControlContainer();
  if (!AfxOleInit()) {
    AfxMessageBox(IDS_OLE_INIT_FAILED);
    return FALSE;
  }
  // The database engine is reached only when a database is previewed, through its automation objects: there
  // is nothing to start here, and a preview says when the engine is missing.
  RecordProgramFolder();
  SnapshotLoading = 0;
  RegisterFileType();
  SetRegistryKey(_T("Local AppWizard-Generated Applications"));
  LoadStdProfileSettings(4);
  AddDocTemplate(new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CEx_StyleDoc), RUNTIME_CLASS(CMainFrame),
                                        RUNTIME_CLASS(CEx_StyleView)));
  // A snapshot opened while the program runs goes to this copy.
  EnableShellOpen();
  RegisterShellFileTypes(TRUE);
  CCommandLineInfo given;
  ParseCommandLine(given);
  m_shellOpenPending = given.m_nShellCommand == CCommandLineInfo::FileDDE;
  m_strCommandLine = m_lpCmdLine != nullptr && !m_shellOpenPending ? m_lpCmdLine : _T("");
  m_strCommandLine.TrimLeft();
  m_strCommandLine.TrimRight();
  // The command line names a snapshot, not a document: the frame starts with a new document, and the
  // snapshot is opened once the pages exist.
  CCommandLineInfo start;
  start.m_nShellCommand = CCommandLineInfo::FileNew;
  if (!ProcessShellCommand(start)) return FALSE;
  CMainFrame* frame = GetMainFrame();
  if (frame == nullptr) return FALSE;
  frame->Page0View = frame->GetActiveView();
  PageViews[kPageImage] = frame->GetActiveView();
  CurrentPage = kPageImage;
  if (!CreatePages()) return FALSE;
  InstallFrameHosts(frame);
  InstallSourceWizard();
  ShowFrameInTurn();
  frame->ShowSavedPosition();
  // The bars take their states from the update rules now: the start-up's dialogs come before the loop's
  // first idle turn.
  OnIdle(0);
  // Started by the shell: its open request comes next, so nothing else is opened or asked for.
  if (m_shellOpenPending) return TRUE;
  if (!OpenStartDocument()) return TRUE;
  // The image is asked for on page 0 only: a snapshot named on the command line shows its results, which the
  // image would go Home from (Open offers it there, the Open way).
  if (CurrentPage == kPageImage && PageViews[kPageImage] != nullptr) {
    static_cast<CEx_StyleView*>(PageViews[kPageImage])->OnBrowse();
  }
  return TRUE;
}

BOOL CEx_StyleApp::CreatePages() {
  CMainFrame* frame = GetMainFrame();
  CCreateContext context;
  context.m_pCurrentDoc = frame->GetActiveDocument();
  CView* pages[kPageCount] = {nullptr, new CFirstView_HDD, new CSecondView_HDD, new CFileSystemView,
                              new CThirdView_HDD};
  for (UINT i = 1; i < kPageCount; ++i) {
    if (!pages[i]->Create(nullptr, nullptr, WS_CHILD | WS_BORDER, RECT{0, 0, 0, 0}, frame, kFirstPageId + i,
                          &context)) {
      return FALSE;  // a view that failed deletes itself with its window
    }
    PageViews[i] = pages[i];
  }
  for (UINT i = 1; i < kPageCount; ++i) PageViews[i]->SendMessage(WM_INITIALUPDATE);
  return TRUE;
}

void CEx_StyleApp::ShowFrameInTurn() {
  CMainFrame* frame = GetMainFrame();
  frame->ShowWindow(SW_HIDE);
  frame->ShowWindow(SW_MINIMIZE);
  frame->ShowWindow(SW_SHOWNORMAL);
  frame->ShowWindow(SW_SHOW);
  frame->UpdateWindow();
}

void CEx_StyleApp::GetRecentDocumentName(CString& name) {
  name = GetProfileString(_T("Most Recent Check Book File"), _T("File"), _T(""));
}

bool CEx_StyleApp::OpenStartDocument() {
  if (!m_strCommandLine.IsEmpty()) {
    const std::u16string given = m_strCommandLine.ToUtf16();
    m_strCommandLine.Empty();
    return OpenSnapshot(given, true);
  }
  CString recent;
  GetRecentDocumentName(recent);
  if (!recent.IsEmpty()) OpenDocumentFile(recent);
  return true;
}

bool CEx_StyleApp::OpenSnapshot(const std::u16string& given, bool atStart) {
  CMainFrame* frame = GetMainFrame();
  const std::u16string path = app::CommandLineSnapshotPath(given);
  uint32_t mode = RecoveryMode;
  const app::SnapshotProbe probe = app::ProbeSnapshotFile(path, &mode);
  if (probe != app::SnapshotProbe::kValid) {
    const std::u16string said = probe == app::SnapshotProbe::kMissing ? msgbox::EscapeMarkup(path) + u" does not exists."
                                                                        : std::u16string(u"Invalid File.");
    ShowMessage(said.c_str(), 3);
    // A window that is starting takes its saved place; one already running stays where the user has it.
    if (atStart) frame->ShowSavedPosition();
    return false;
  }
  // The same state as the Load command leaves, whatever page was shown before; and the Load command itself
  // is offered, as on every page after a mode was chosen.
  if (frame->ShowSnapshot(path, mode)) frame->SnapshotLoadEnabled = 1;
  frame->AtStart = 0;
  return true;
}

BOOL CEx_StyleApp::OnDDECommand(LPTSTR lpszCommand) {
  CString path;
  CMainFrame* frame = GetMainFrame();
  if (!DdeOpenPath(lpszCommand, &path) || frame == nullptr) return FALSE;
  // Not under a dialog (a question, the saving, a file dialog) nor while a worker reads the records that a
  // load replaces.
  if (!frame->IsWindowEnabled() || app::AnyWorkerRunning()) return FALSE;
  m_shellOpenPending = false;
  if (frame->IsIconic()) frame->ShowWindow(SW_RESTORE);
  ::SetForegroundWindow(frame->m_hWnd);
  return OpenSnapshot(path.ToUtf16(), false) ? TRUE : FALSE;
}

void CEx_StyleApp::SwitchView(UINT nPage) {
  CMainFrame* frame = GetMainFrame();
  if (frame == nullptr || nPage >= kPageCount) return;
  CView* next = PageViews[nPage];
  // The preview pane becomes the frame's active view when it shows a file: the page shown is the current one.
  CView* current = PageViews[CurrentPage] != nullptr ? PageViews[CurrentPage] : frame->GetActiveView();
  if (current == nullptr || next == nullptr || next == current) return;
  CurrentPage = nPage;
  // The shown page always carries the first-view id, which the frame lays out.
  const int currentId = ::GetDlgCtrlID(current->m_hWnd);
  ::SetWindowLongPtrW(current->m_hWnd, GWLP_ID, ::GetDlgCtrlID(next->m_hWnd));
  ::SetWindowLongPtrW(next->m_hWnd, GWLP_ID, currentId);
  current->ShowWindow(SW_HIDE);
  next->ShowWindow(SW_SHOW);
  frame->SetActiveView(next);
  frame->RecalcLayout();
  next->Invalidate();
  next->UpdateWindow();
}

void CEx_StyleApp::RestartWizard() {
  CMainFrame* frame = GetMainFrame();
  if (frame == nullptr) return;
  m_pMainWnd = frame;
  // Back on the scan page, then on the source page, leads to page 0 with their state undone.
  for (UINT page : {kPageScan, kPageSource}) {
    if (PageViews[page] != nullptr) PageViews[page]->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_BACK, BN_CLICKED));
  }
  SwitchView(kPageImage);
  ShowFrameInTurn();
  OpenStartDocument();
  frame->ShowSavedPosition();
}

void CEx_StyleApp::OnAppAbout() {
  CAboutDlg about;
  about.DoModal();
}
