#include "app/pages/file_system_view.h"

#include "app/pages/page_background.h"
#include "app/pages/source_wizard.h"

#include <string>

#include "engine/records/extensive_lists.h"
#include "engine/records/pause_gate.h"
#include "engine/records/scan_control.h"
#include "engine/records/scan_parameters.h"
#include "engine/records/scan_records.h"
#include "engine/save/preview_temp_files.h"
#include "engine/scan/chosen_fs.h"
#include "platform/classlib/resource_win32.h"
#include "res/resource.h"
#include "ui/msgbox/message_dialogs.h"

namespace {

constexpr int kButtonBarHeight = 56;
constexpr int kSplitterId = IDC_FILE_SYSTEMS_SPLITTER;
constexpr int kFormId = AFX_IDW_PANE_FIRST + 3;

const char16_t kSelectFirst[] =
    u"Please select a File System from the left panel and then click [Next] to continue with recovery.";
const char16_t kStopFileSearchQuestion[] = u"Do you want to stop file searching ?";

int HeaderHeight() {
  BITMAP info{};
  HBITMAP header = static_cast<HBITMAP>(::LoadImageW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDB_HEADER_FILE_SYSTEMS),
                                                     IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  if (header == nullptr) return 60;
  ::GetObjectW(header, sizeof info, &info);
  ::DeleteObject(header);
  return info.bmHeight;
}

// The links through the application's wizard, for a page whose owner gave none.
FileSystemPageLinks WizardLinks() {
  FileSystemPageLinks links;
  links.showPage = [](int page) {
    if (source::SourceWizard* wizard = source::Wizard()) wizard->ShowPage(page);
  };
  links.recordActiveView = [] {
    if (source::SourceWizard* wizard = source::Wizard()) wizard->RememberActiveView();
  };
  links.selectStage = [](app::Stage stage) {
    if (source::SourceWizard* wizard = source::Wizard()) wizard->SelectStage(stage);
  };
  links.setSelectedItem = [](const CString&, int position) {
    if (source::SourceWizard* wizard = source::Wizard()) wizard->SetSelectedPartition(position);
  };
  links.summaryText = [] {
    source::SourceWizard* wizard = source::Wizard();
    return wizard != nullptr ? CString::FromUtf16(wizard->ModeText()) : CString();
  };
  return links;
}

}  // namespace

IMPLEMENT_DYNCREATE(CFileSystemView, CView)

BEGIN_MESSAGE_MAP(CFileSystemView, CView)
  ON_WM_CREATE()
  ON_WM_SIZE()
  ON_WM_ERASEBKGND()
  ON_WM_TIMER()
  ON_WM_DESTROY()
  ON_BN_CLICKED(IDC_NEXT, OnNext)
  ON_BN_CLICKED(IDC_BACK, OnBack)
  ON_BN_CLICKED(IDC_STOP, OnStop)
  ON_BN_CLICKED(IDC_HOME, OnHome)
  ON_MESSAGE(kHideStopMessage, OnHideStop)
END_MESSAGE_MAP()

CFileSystemView::CFileSystemView() : m_links(WizardLinks()) {}

CFileSystemView::~CFileSystemView() { JoinWorker(); }

int CFileSystemView::OnCreate(LPCREATESTRUCT create) {
  if (CView::OnCreate(create) == -1) return -1;
  m_font.CreateFont(16, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                    CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, _T("Arial"));

  const RECT none{0, 0, 10, 10};
  m_tree.Create(WS_VISIBLE | WS_BORDER | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS, none,
                this, IDC_SOURCE_TREE);
  m_tree.SetFont(&m_font);
  m_tree.LoadImages();
  m_tree.onChoose = [this](HTREEITEM item) { ChooseFileSystem(item); };
  if (!m_form.CreateForm(this, kFormId, &m_font)) return -1;
  m_splitter.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | SplitterCtrl::kVertical, this, &m_tree, &m_form, kSplitterId,
                    none, 90, 170);

  m_buttons.Create(this);
  return 0;
}

void CFileSystemView::OnDestroy() {
  KillTimer(kTimerId);
  if (m_worker.joinable()) ScanThreadControl.stopFlag = 1;
  JoinWorker();
  CView::OnDestroy();
}

void CFileSystemView::OnSize(UINT type, int cx, int cy) {
  CView::OnSize(type, cx, cy);
  Layout(cx, cy);
}

void CFileSystemView::Layout(int cx, int cy) {
  if (m_splitter.GetSafeHwnd() == nullptr) return;
  const int top = HeaderHeight() + 6;
  const int bottom = cy - kButtonBarHeight;
  m_splitter.MoveWindow(10, top, cx > 20 ? cx - 20 : 0, bottom > top ? bottom - top : 0);
  const int buttonTop = cy - kButtonBarHeight + 10;
  const int nextLeft = cx - 105;
  const UINT flags = SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;
  m_buttons.next.SetWindowPos(nullptr, nextLeft, buttonTop, 0, 0, flags);
  m_buttons.stop.SetWindowPos(nullptr, nextLeft, buttonTop, 0, 0, flags);
  m_buttons.back.SetWindowPos(nullptr, nextLeft - 95, buttonTop, 0, 0, flags);
  m_buttons.home.SetWindowPos(nullptr, nextLeft - 150, buttonTop - 5, 0, 0, flags);
  Invalidate();
}

BOOL CFileSystemView::OnEraseBkgnd(CDC*) { return TRUE; }

void CFileSystemView::OnDraw(CDC* dc) {
  CRect client;
  GetClientRect(client);
  PaintPageBackground(dc, client, m_worker.joinable() && m_stopShown ? IDB_HEADER_SCANNING : IDB_HEADER_FILE_SYSTEMS);
  if (m_links.summaryText) {
    const CString summary = m_links.summaryText();
    CFont* old = dc->SelectObject(&m_font);
    dc->SetBkMode(TRANSPARENT);
    dc->SetTextColor(RGB(20, 42, 82));
    CRect where(25, client.bottom - 40, 250, client.bottom);
    dc->DrawText(summary, where, DT_LEFT | DT_TOP | DT_NOPREFIX);
    dc->SelectObject(old);
  }
}

void CFileSystemView::ChooseFileSystem(HTREEITEM item) {
  const CString text = m_tree.GetItemText(item);
  m_selectedPosition = m_tree.VisiblePosition(item);
  if (m_links.setSelectedItem) m_links.setSelectedItem(text, m_selectedPosition);
  const std::u16string label(text.GetString(), text.GetString() + text.GetLength());
  m_form.ShowChoice(::ChooseFileSystem(FileSystemTreeCtrl::KeyOfItem(item), label));
}

void CFileSystemView::OnNext() {
  if (m_worker.joinable()) return;
  if (m_selectedPosition < 0) {
    msgbox::ShowProtocolBox(kSelectFirst, msgbox::kInformation, false);
    return;
  }
  if (m_links.recordActiveView) m_links.recordActiveView();
  FreeScanRecordLists();
  // While the chosen file system is read, the frame stands at the scan stage.
  if (m_links.selectStage) m_links.selectStage(app::kScanStage);
  m_form.ShowProgressBar();
  m_form.SetProgressPos(0);
  m_form.ShowStatusText();
  PageToolButtons::Show(Button(IDC_STOP), true);
  m_stopShown = true;
  ShowNavigation(false);
  if (m_links.setScanFinished) m_links.setScanFinished(false);
  m_tree.EnableWindow(FALSE);

  host::Hosts& hosts = host::Current();
  hosts.fileSystemForm = &m_form;
  hosts.fileSystemView = this;
  ScanThreadControl.stopFlag = 0;
  ScanThreadControl.runningFlag = 1;
  m_worker = std::thread([] { ScanThreadProc(); });
  SetTimer(kTimerId, 1000);
  ::Sleep(50);
  RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_INTERNALPAINT | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void CFileSystemView::OnStop() {
  if (ScanThreadControl.runningFlag != 1 || ScanThreadControl.stopFlag != 0) return;
  bool stop = false;
  {
    // The worker waits at its next test of the stop flag until the question is answered.
    ClosedGate paused(ScanPauseGate);
    stop = msgbox::ShowProtocolBox(kStopFileSearchQuestion, msgbox::kQuestion, true) == 1;
    // While the box was up the worker may have reached the results tree, which is no longer stopped:
    // then the answer comes too late and the tree is built whole.
    if (stop && m_stopShown) ScanThreadControl.stopFlag = 1;
  }
  if (!stop || !m_stopShown) return;
  m_form.HideProgressBar();
  PageToolButtons::Show(Button(IDC_STOP), false);
  m_stopShown = false;
  m_form.HideStatusText();
  if (m_links.selectStage) m_links.selectStage(app::PageStage(3));
  Invalidate();
}

void CFileSystemView::HideStopButton() { SendMessage(kHideStopMessage); }

LRESULT CFileSystemView::OnHideStop(WPARAM, LPARAM) {
  PageToolButtons::Show(Button(IDC_STOP), false);
  m_stopShown = false;
  return 0;
}

void CFileSystemView::RestoreBeforeReading() {
  // Page 3 stands at the scan, as its own Back and Next leave it: the results it read are gone.
  if (m_links.selectStage) m_links.selectStage(app::PageStage(3));
  m_form.SetStatusText(u"");
  m_form.SetProgressPos(0);
  PageToolButtons::Show(Button(IDC_STOP), false);
  m_stopShown = false;
  ShowNavigation(true);
}

void CFileSystemView::ShowNavigation(bool shown) {
  for (CWnd* button : {static_cast<CWnd*>(&m_buttons.next), static_cast<CWnd*>(&m_buttons.back),
                       static_cast<CWnd*>(&m_buttons.home)}) {
    PageToolButtons::Show(*button, shown);
  }
}

void CFileSystemView::JoinWorker() {
  if (!m_worker.joinable()) return;
  // A page that goes while its worker runs: the worker may be sending to this thread, so its messages
  // are let through (posted ones stay queued) until it has ended.
  while (ScanThreadControl.runningFlag != 0) {
    MSG message;
    ::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);
    ::Sleep(1);
  }
  m_worker.join();
}

void CFileSystemView::OnTimer(UINT_PTR id) {
  if (id != kTimerId) {
    CView::OnTimer(id);
    return;
  }
  if (ScanThreadControl.runningFlag != 0 || ScanThreadControl.stopFlag == 0) return;
  KillTimer(kTimerId);
  // Running 0 is the worker's last act: it is leaving, and nothing writes the results any more.
  JoinWorker();
  host::Hosts& hosts = host::Current();
  if (hosts.fileSystemView == this) hosts.fileSystemView = nullptr;
  if (hosts.fileSystemForm == &m_form) hosts.fileSystemForm = nullptr;
  m_form.HideProgressBar();
  m_form.HideStatusText();
  PageToolButtons::Show(Button(IDC_STOP), false);
  m_stopShown = false;
  m_tree.EnableWindow(TRUE);
  ShowNavigation(true);
  if (m_links.selectStage) m_links.selectStage(app::ResultsStage(RecoveryMode));
  if (m_links.showPage) m_links.showPage(4);
  ::Sleep(500);
  if (m_links.showResultsButtons) m_links.showResultsButtons();
}

void CFileSystemView::ForgetFileSystems() {
  m_tree.DeleteAllItems();
  m_form.ClearValues();
  m_selectedPosition = -2;
}

void CFileSystemView::OnBack() {
  if (m_worker.joinable()) return;
  ForgetFileSystems();
  DeletePreviewTempFiles();
  if (m_links.restoreScanPage) m_links.restoreScanPage();
  if (m_links.selectStage) m_links.selectStage(app::PageStage(2));
  if (m_links.setScanFinished) m_links.setScanFinished(true);
  FreeExtensiveScanLists();
  if (m_links.showPage) m_links.showPage(2);
}

void CFileSystemView::OnHome() {
  OnBack();
  if (m_links.backFromScanPage) m_links.backFromScanPage();
}
