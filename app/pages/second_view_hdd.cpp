#include "app/pages/second_view_hdd.h"

#include <string>

#include "app/dialogs/file_types_dialog.h"
#include "app/pages/page_background.h"
#include "app/pages/scan_range_check.h"
#include "engine/host/snapshot_host.h"
#include "engine/image/disk_image.h"
#include "engine/image/source_values.h"
#include "engine/records/extensive_lists.h"
#include "engine/records/pause_gate.h"
#include "engine/records/scan_control.h"
#include "engine/records/scan_parameters.h"
#include "engine/save/preview_temp_files.h"
#include "engine/scan/extensive_scan.h"
#include "engine/scan/file_trace.h"
#include "engine/scan/quick_scan.h"
#include "engine/scan/scan_end.h"
#include "platform/classlib/resource_win32.h"
#include "res/resource.h"
#include "ui/msgbox/message_dialogs.h"

namespace {

constexpr UINT kTreeId = 162;
constexpr UINT kScanPanelId = AFX_IDW_PANE_FIRST + 1;

const char16_t kStopScanQuestion[] =
    u"Do you want to stop file searching? This may result in incomplete \r\nrecovery and you will need to restart "
    u"the process again.";
const char16_t kQuickScanAdvice[] =
    u"If you don't find the required file(s) and folder(s) here then please go back \r\nto the first step and select "
    u"Extensive Scan for recovery.";
const wchar_t kNoFileSystemNote[] = L"Dorvane was unable to identify a file system in the selected sector range.";
const char16_t kNoFileSystemReport[] =
    u"Dorvane was unable to identify a file system in the selected sector range.\r\nPlease make sure that you made "
    u"appropriate selections on the previous step.\r\nPlease go back to the previous step and select VHD \\ VHDX "
    u"for full scan.";
const wchar_t kQuickScanPrompt[] =
    L"Please Select a Partition From The Left Panel and press [Next] to continue with recovery.";
const wchar_t kPartitionPrompt[] =
    L"Please select a partition from the left panel and press [Next] to continue with recovery";

CString ModeName() {
  switch (RecoveryMode) {
    case records::kQuickScan:
      return L"Quick Scan";
    case records::kFileTrace:
      return L"File Trace";
    default:
      return L"Extensive Scan";
  }
}

// "Selected Mode : <mode> \r\nDrive Type        : <drive>", or the mode alone for another source.
CString SummaryOf(uint16_t sourceKind) {
  CString text = L"Selected Mode : " + ModeName();
  if (sourceKind == kSourceLogicalDrive) return text + L" \r\nDrive Type        : Logical Drive";
  if (sourceKind == kSourceDisk) return text + L" \r\nDrive Type        : Virtual Hard Disk";
  return CString();
}

std::u16string Utf16(const CString& text) {
  return std::u16string(reinterpret_cast<const char16_t*>(text.GetString()), static_cast<size_t>(text.GetLength()));
}

}  // namespace

IMPLEMENT_DYNCREATE(CSecondView_HDD, CView)

BEGIN_MESSAGE_MAP(CSecondView_HDD, CView)
  ON_WM_CREATE()
  ON_WM_SIZE()
  ON_WM_ERASEBKGND()
  ON_WM_TIMER()
  ON_WM_DESTROY()
  ON_WM_KEYDOWN()
  ON_WM_SETCURSOR()
  ON_BN_CLICKED(IDC_NEXT, OnNext)
  ON_BN_CLICKED(IDC_BACK, OnBack)
  ON_BN_CLICKED(IDC_STOP, OnStop)
  ON_BN_CLICKED(IDC_HOME, OnHome)
  ON_MESSAGE(kPageRequest, OnPageRequest)
  ON_MESSAGE(kKillTimerRequest, OnKillTimerRequest)
END_MESSAGE_MAP()

CSecondView_HDD::CSecondView_HDD() = default;

CSecondView_HDD::~CSecondView_HDD() { JoinWorker(); }

int CSecondView_HDD::OnCreate(LPCREATESTRUCT create) {
  if (CView::OnCreate(create) == -1) return -1;
  m_font.CreateFont(16, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                    CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, _T("Arial"));
  const CRect none(0, 0, 10, 10);
  m_tree.Create(WS_VISIBLE | WS_BORDER | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS, none,
                this, kTreeId);
  m_tree.SetFont(&m_font);
  m_tree.LoadImages();
  m_tree.onTab = [this] {
    SetFocus();
    MoveHighlight();
  };
  m_tree.onEnter = [this] { OnNext(); };

  CRect client;
  GetClientRect(client);
  client.DeflateRect(20, 20);
  if (!m_panel.CreatePanel(this, kScanPanelId, client)) return -1;
  m_panel.onActivatePage = [this] {
    CFrameWnd* frame = GetParentFrame();
    if (frame != nullptr) frame->SetActiveView(this, FALSE);
  };
  m_panel.ShowWindow(SW_SHOW);
  m_splitter.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | SplitterCtrl::kVertical, this, &m_tree, &m_panel,
                    IDC_SCAN_PAGE_SPLITTER, none, 90, 110);

  struct ToolButton {
    ui::CToolButton& button;
    UINT id, normal, hover;
    LPCTSTR tip;
  };
  for (const ToolButton& tool : {ToolButton{m_next, IDC_NEXT, IDB_NEXT, IDB_NEXT_HOT, _T("Next")},
                                 ToolButton{m_back, IDC_BACK, IDB_BACK, IDB_BACK_HOT, _T("Back")},
                                 ToolButton{m_stop, IDC_STOP, IDB_STOP, IDB_STOP_HOT, _T("Stop")},
                                 ToolButton{m_home, IDC_HOME, IDB_HOME, IDB_HOME_HOT, _T("Home")}}) {
    tool.button.Create(_T(""), WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, none, this, tool.id);
    tool.button.LoadBitmaps(tool.normal, tool.hover);
    tool.button.SetTooltipText(tool.tip);
  }
  ShowButton(m_stop, false);
  host::Current().scanPage = this;
  host::Current().secondDisplay = ProgressHost();
  GetClientRect(client);
  SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.Width(), client.Height()));
  return 0;
}

void CSecondView_HDD::OnDestroy() {
  KillTimer(kTimerId);
  JoinWorker();
  host::Hosts& hosts = host::Current();
  if (hosts.scanPage == this) hosts.scanPage = nullptr;
  CView::OnDestroy();
}

CWnd& CSecondView_HDD::Button(UINT id) {
  switch (id) {
    case IDC_NEXT:
      return m_next;
    case IDC_BACK:
      return m_back;
    case IDC_STOP:
      return m_stop;
    default:
      return m_home;
  }
}

void CSecondView_HDD::ShowButton(CWnd& button, bool shown) {
  button.EnableWindow(shown ? TRUE : FALSE);
  button.ShowWindow(shown ? SW_SHOW : SW_HIDE);
}

void CSecondView_HDD::ShowNavigation(bool shown) {
  for (CWnd* button : {static_cast<CWnd*>(&m_next), static_cast<CWnd*>(&m_back), static_cast<CWnd*>(&m_home)}) {
    ShowButton(*button, shown);
  }
}

void CSecondView_HDD::SetSummary(const CString& text) {
  if (m_links.setSummaryText) m_links.setSummaryText(text);
}

// ---- the starters ----------------------------------------------------------------------------------------

void CSecondView_HDD::StartWorker(uint32_t (*scan)()) {
  host::Hosts& hosts = host::Current();
  hosts.scanPage = this;
  hosts.secondDisplay = ProgressHost();
  m_timerKillRequested = false;
  m_workerExited = false;
  // The flags go first: the timer must not take the last worker's end for this one's.
  ScanThreadControl.stopFlag = 0;
  ScanThreadControl.runningFlag = 1;
  m_worker = std::thread([this, scan] {
    scan();
    // The engine's workers end with running 0 and stop 1; a worker that did not is still seen as ended.
    m_workerExited = true;
  });
  SetTimer(kTimerId, 1000);
}

void CSecondView_HDD::StartQuickScanThread() { StartWorker(QuickScanThread); }

void CSecondView_HDD::StartExtensiveScanThread() {
  FreeExtensiveScanLists();
  if (m_links.fileSystemTree) host::Current().fileSystemTree = m_links.fileSystemTree();
  StartWorker(ExtensiveScanThread);
}

void CSecondView_HDD::StartFileTraceThread() { StartWorker(FileTraceThread); }

void CSecondView_HDD::JoinWorker() {
  if (m_worker.joinable()) m_worker.join();
}

// ---- Next ------------------------------------------------------------------------------------------------

void CSecondView_HDD::OnNext() {
  if (WorkerRunning()) return;
  JoinWorker();  // one that ended without the timer (it could not scan)
  const int selected = m_links.selectedPartition ? m_links.selectedPartition() : -2;
  const std::u16string refused = scanpage::CheckSelection(RecoveryMode, selected);
  if (!refused.empty()) {
    msgbox::ShowProtocolBox(refused, msgbox::kError, false);
    return;
  }
  const uint16_t source = SourceKind.load();
  if (RecoveryMode == records::kExtensiveScan) {
    if (!NextExtensive()) return;
  } else {
    if (RecoveryMode == records::kFileTrace) {
      FileTypesDialog types(m_links.programFolder ? m_links.programFolder() : CString(), this);
      if (types.DoModal() != IDOK) return;
    }
    PrepareScan(false);
    if (source == kSourceDisk || source == kSourceLogicalDrive) SetSummary(SummaryOf(source));
    if (RecoveryMode == records::kFileTrace) {
      StartFileTraceThread();
    } else {
      StartQuickScanThread();
    }
  }
  m_panel.SetTitle(CString::FromUtf16(scanpage::kSearchingTitle));
  ::Sleep(50);
  RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_INTERNALPAINT | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

bool CSecondView_HDD::NextExtensive() {
  const uint16_t code = scanpage::FileSystemCodeOfItem(m_panel.FileSystemItem());
  if (code != 0) ScanRange.fileSystemCode = code;
  const uint16_t source = SourceKind.load();
  if (source == kSourceLogicalDrive) {
    // A drive that does not open leaves the page as it is, without a word.
    if (OpenVolumeHandle(LogicalDriveName(ScanRange.driveField)) != 1) return false;
    SetSummary(SummaryOf(source));
  } else if (source == kSourceDisk) {
    if (!ReadSectorRange()) return false;
    SetSummary(SummaryOf(source));
  }
  PrepareScan(true);
  StartExtensiveScanThread();
  if (m_links.prepareFileSystemPage) m_links.prepareFileSystemPage(ScanRange.fileSystemCode);
  return true;
}

bool CSecondView_HDD::ReadSectorRange() {
  scanpage::RangeFields fields;
  fields.startText = Utf16(m_panel.StartField());
  fields.endText = Utf16(m_panel.EndField());
  fields.currentEnd = ScanRange.endSector;
  fields.vhdx = ImageFormat.load() == 1;
  const DiskImage* image = CurrentDiskImage();
  fields.diskSectors = image != nullptr ? image->GetDiskSize() / 512 : 0;
  const scanpage::RangeCheck range = scanpage::CheckSectorRange(fields);
  if (!range.error.empty()) {
    msgbox::ShowProtocolBox(range.error, msgbox::kError, false);
    return false;
  }
  if (range.limited) msgbox::ShowProtocolBox(scanpage::LimitedRangeMessage(range), msgbox::kInformation, false);
  ScanRange.startSector = range.start;
  ScanRange.sectorCount = range.count;
  ScanRange.endSector = range.end;
  return true;
}

// The panel and the buttons as a scan shows them.
void CSecondView_HDD::PrepareScan(bool extensive) {
  if (extensive) {
    if (ScanRange.fileSystemCode == records::kNtfs) {
      m_panel.ClearValues();
      m_panel.SetNtfsSearchLabels();
    } else {
      m_panel.SetFatSearchLabels();
    }
    m_panel.HideInputGroup();
  }
  m_panel.SetProgressPos(0);
  m_panel.SetStatusText(u"");
  m_panel.ShowProgressBar();
  m_panel.ShowHideProgress(true);
  m_panel.ShowStatusText();
  ShowButton(m_stop, true);
  ShowNavigation(false);
  if (m_links.setScanFinished) m_links.setScanFinished(false);
  m_tree.EnableWindow(FALSE);
}

// ---- Stop ------------------------------------------------------------------------------------------------

void CSecondView_HDD::OnStop() {
  if (ScanThreadControl.runningFlag != 1 || ScanThreadControl.stopFlag != 0) return;
  bool stop = false;
  {
    // The worker waits at its next test of the stop flag until the question is answered. A stopped
    // worker still builds its results; running 0 stays its own sign that it has ended.
    ClosedGate paused(ScanPauseGate);
    stop = msgbox::ShowProtocolBox(kStopScanQuestion, msgbox::kQuestion, true) == 1;
    if (stop) ScanThreadControl.stopFlag = 1;
  }
  if (!stop) return;
  ShowButton(m_stop, false);
  m_panel.ShowHideProgress(false);
  m_panel.ShowStatusText();
}

// ---- the timer -------------------------------------------------------------------------------------------

void CSecondView_HDD::OnTimer(UINT_PTR id) {
  if (id != kTimerId) {
    CView::OnTimer(id);
    return;
  }
  if (m_timerKillRequested) {
    KillTimer(kTimerId);
    return;
  }
  const bool exited = m_workerExited;
  const bool ended = ScanThreadControl.runningFlag == 0 && ScanThreadControl.stopFlag != 0;
  if (!ended && !exited) return;
  if (RecoveryMode == records::kExtensiveScan && !exited &&
      (BootSectorPassDone.load() == 0 || WithoutBootPassDone.load() == 0)) {
    EndBusy();
    return;
  }
  KillTimer(kTimerId);
  JoinWorker();
  ShowButton(m_stop, false);
  switch (RecoveryMode) {
    case records::kQuickScan:
      FinishQuickScan();
      break;
    case records::kExtensiveScan:
      FinishExtensiveScan();
      break;
    default:
      FinishFileTrace();
      break;
  }
  EndBusy();
  Invalidate();
}

void CSecondView_HDD::FinishQuickScan() {
  if (m_links.showPage) m_links.showPage(4);
  ::Sleep(500);
  msgbox::ShowProtocolBox(kQuickScanAdvice, msgbox::kInformation, false);
  SetCommandState();
  if (m_links.showResultsButtons) m_links.showResultsButtons();
}

void CSecondView_HDD::FinishExtensiveScan() {
  ::Sleep(500);
  if (m_links.enterFileSystemPage) m_links.enterFileSystemPage();
  m_panel.ShowProgressBar();
  BootSectorPassDone = 0;
  WithoutBootPassDone = 0;
  m_panel.ShowHideProgress(false);
  m_panel.ResetHideProgress();
  ::Sleep(500);
  if (m_links.showPage) m_links.showPage(3);
  if (m_links.fileSystemTreeEmpty && m_links.fileSystemTreeEmpty()) {
    if (m_links.setFileSystemNote) m_links.setFileSystemNote(kNoFileSystemNote);
    msgbox::ShowProtocolBox(kNoFileSystemReport, msgbox::kError, false);
  }
  SetCommandState();
}

void CSecondView_HDD::FinishFileTrace() {
  if (m_links.showPage) m_links.showPage(4);
  SetCommandState();
  ::Sleep(500);
  if (m_links.showResultsButtons) m_links.showResultsButtons();
}

void CSecondView_HDD::SetCommandState() {
  MarkScanEnded();
  // Every mode ends at the results stage: page 4's results, or page 3's file systems, which hold no
  // file's results yet (an Extensive Scan's commands wait for page 3's Next to read one).
  if (PartitionParametersFailed.load() == 0 && m_links.selectStage) m_links.selectStage(app::kResultsStage);
}

// Whichever way a scan ended, a partition picked in the tree from now on is the one the next Next scans:
// while the flag stays cleared a pick only relabels the panel and the last scan's range is kept.
void CSecondView_HDD::MarkScanEnded() {
  if (m_links.setScanFinished) m_links.setScanFinished(true);
}

// The page as it was before Next: its prompt instead of the searching line, no Hide Progress.
void CSecondView_HDD::ShowIdleTitle() {
  m_panel.SetTitle(RecoveryMode == records::kQuickScan ? kQuickScanPrompt : kPartitionPrompt);
  m_panel.ShowHideProgress(false);
  m_panel.ResetHideProgress();
}

void CSecondView_HDD::EndBusy() {
  m_busy = 0;
  ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
}

// ---- Back and Home ---------------------------------------------------------------------------------------

void CSecondView_HDD::OnBack() {
  if (WorkerRunning()) return;
  m_tree.DeleteAllItems();
  m_panel.ClearValues();
  if (m_links.selectStage) m_links.selectStage(app::PageStage(1));
  if (m_links.setModeChosen) m_links.setModeChosen();
  if (m_links.resetResultsList) m_links.resetResultsList();
  SnapshotLoading = 0;
  DeletePreviewTempFiles();
  m_panel.ResetHideProgress();
  if (m_links.restoreSourcePage) m_links.restoreSourcePage();
  SetSummary(L"Selected Mode : " + ModeName());
  if (m_links.showPage) m_links.showPage(1);
}

void CSecondView_HDD::OnHome() {
  OnBack();
  if (m_links.backFromSourcePage) m_links.backFromSourcePage();
}

// ---- what the other pages ask ----------------------------------------------------------------------------

void CSecondView_HDD::PrepareForPartitionSearch() {
  m_panel.SetTitle(RecoveryMode == records::kQuickScan ? kQuickScanPrompt : kPartitionPrompt);
  m_splitter.ShowFirstPane();
  m_tree.ShowWindow(SW_SHOW);
  m_panel.SetInfoBoxCaption(L"Partition Information");
  if (RecoveryMode == records::kExtensiveScan) {
    m_panel.ShowScanRangeInfo();
  } else {
    m_panel.ClearPartitionInfo();
  }
  m_panel.HideInputGroup();
  m_panel.Invalidate();
}

void CSecondView_HDD::EnterAfterSearch() {
  ShowButton(m_next, true);
  ShowButton(m_back, true);
  m_home.EnableWindow(TRUE);
  // An Extensive Scan asks for its file system here (and, on a VHD, its sector range).
  m_panel.ShowRangeInput();
  m_panel.Invalidate();
}

void CSecondView_HDD::RestoreBeforeScan() {
  KillTimer(kTimerId);
  ShowButton(m_stop, false);
  ShowNavigation(true);
  m_tree.EnableWindow(TRUE);
  m_panel.HideProgressBar();
  m_panel.HideStatusText();
  m_panel.SetStatusText(u"");
  m_panel.SetProgressPos(0);
  ShowIdleTitle();
  MarkScanEnded();
  // Page 2 is entered again: a partition picked in its tree is taken as the next scan's, as after the search.
  if (m_links.selectStage) m_links.selectStage(app::PageStage(2));
  if (RecoveryMode == records::kExtensiveScan) {
    m_panel.ShowScanRangeInfo();
    m_panel.ShowRangeInput();
    // A disk's range is shown again as the partition it was scanned as.
    if (SourceKind.load() == kSourceDisk) m_panel.ShowPartitionInfo(0);
  } else {
    m_panel.ShowPartitionInfo(m_links.selectedPartition ? m_links.selectedPartition() : -2);
  }
  Invalidate();
}

// ---- host::ScanPageHost ----------------------------------------------------------------------------------

void CSecondView_HDD::DisableNavigationButtons() { SendMessage(kPageRequest, static_cast<WPARAM>(Request::kDisableNavigation)); }
void CSecondView_HDD::ShowNavigationButtons() { SendMessage(kPageRequest, static_cast<WPARAM>(Request::kShowNavigation)); }
void CSecondView_HDD::ShowStopButton() { SendMessage(kPageRequest, static_cast<WPARAM>(Request::kShowStop)); }
void CSecondView_HDD::HideStopButton() { SendMessage(kPageRequest, static_cast<WPARAM>(Request::kHideStop)); }
void CSecondView_HDD::BeginBusy() { SendMessage(kPageRequest, static_cast<WPARAM>(Request::kBusy)); }

void CSecondView_HDD::KillScanTimer() {
  // Another thread's timer cannot be killed: the page kills its own. The flag holds even when a tick comes
  // before the request is read.
  m_timerKillRequested = true;
  PostMessage(kKillTimerRequest);
}

std::u16string CSecondView_HDD::LogicalDriveName(uint16_t) {
  // The source tree lists the opened image alone: there is no logical drive to name.
  return std::u16string();
}

LRESULT CSecondView_HDD::OnKillTimerRequest(WPARAM, LPARAM) {
  if (m_timerKillRequested) KillTimer(kTimerId);
  return 0;
}

LRESULT CSecondView_HDD::OnPageRequest(WPARAM op, LPARAM) {
  switch (static_cast<Request>(op)) {
    case Request::kDisableNavigation:
      for (CWnd* button : {static_cast<CWnd*>(&m_next), static_cast<CWnd*>(&m_back), static_cast<CWnd*>(&m_home)}) {
        button->EnableWindow(FALSE);
      }
      break;
    case Request::kShowNavigation:
      // A worker that could not scan: the page is idle again, as before its Next.
      ShowNavigation(true);
      m_tree.EnableWindow(TRUE);
      ShowIdleTitle();
      MarkScanEnded();
      EndBusy();
      break;
    case Request::kShowStop:
    case Request::kHideStop:
      ShowButton(m_stop, static_cast<Request>(op) == Request::kShowStop);
      break;
    case Request::kBusy:
      m_busy = 1;
      ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
      break;
  }
  Invalidate(FALSE);
  return 0;
}

// ---- keyboard, cursor, painting, layout ------------------------------------------------------------------

void CSecondView_HDD::MoveHighlight() {
  if (m_treeHighlight) {
    m_treeHighlight = false;
    m_nextHighlight = true;
    m_next.SetState(TRUE);
  } else if (m_nextHighlight) {
    m_nextHighlight = false;
    m_backHighlight = true;
    m_next.SetState(FALSE);
    m_back.SetState(TRUE);
  } else {
    m_backHighlight = false;
    m_treeHighlight = true;
    m_back.SetState(FALSE);
    m_tree.SetFocus();
  }
}

void CSecondView_HDD::OnKeyDown(UINT key, UINT repeat, UINT flags) {
  if (key == VK_TAB) {
    MoveHighlight();
    return;
  }
  if (key == VK_RETURN) {
    const bool next = m_nextHighlight && (m_next.GetState() & BST_PUSHED) != 0;
    const bool back = m_backHighlight && (m_back.GetState() & BST_PUSHED) != 0;
    // The pressed button is released first: it would otherwise come back drawn pushed.
    m_next.SetState(FALSE);
    m_back.SetState(FALSE);
    if (next) {
      OnNext();
    } else if (back) {
      OnBack();
    }
    return;
  }
  CView::OnKeyDown(key, repeat, flags);
}

BOOL CSecondView_HDD::OnSetCursor(CWnd* window, UINT hitTest, UINT message) {
  if (m_busy != 0) {
    ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
    return TRUE;
  }
  return CView::OnSetCursor(window, hitTest, message);
}

UINT CSecondView_HDD::HeaderBitmap() const {
  if (WorkerRunning()) return IDB_HEADER_SCANNING;
  if (SourceKind.load() == kSourceLogicalDrive) return IDB_HEADER_SCAN_DRIVE;
  return RecoveryMode == records::kExtensiveScan ? IDB_HEADER_SCAN_RANGE : IDB_HEADER_SCAN_PARTITION;
}

BOOL CSecondView_HDD::OnEraseBkgnd(CDC*) { return TRUE; }

void CSecondView_HDD::OnDraw(CDC* dc) {
  CRect client;
  GetClientRect(client);
  PaintPageBackground(dc, client, HeaderBitmap());
  if (!m_links.summaryText) return;
  const CString summary = m_links.summaryText();
  CFont* old = dc->SelectObject(&m_font);
  dc->SetBkMode(TRANSPARENT);
  dc->SetTextColor(RGB(20, 42, 82));
  CRect where(25, client.bottom - 40, 250, client.bottom);
  dc->DrawText(summary, where, DT_LEFT | DT_TOP | DT_NOPREFIX);
  dc->SelectObject(old);
}

void CSecondView_HDD::OnSize(UINT type, int cx, int cy) {
  CView::OnSize(type, cx, cy);
  Layout(cx, cy);
}

void CSecondView_HDD::Layout(int cx, int cy) {
  if (m_splitter.GetSafeHwnd() == nullptr) return;
  const int nextLeft = cx - 105;
  const int buttonTop = cy - 41;
  m_next.MoveWindow(nextLeft, buttonTop, 85, 35);
  m_stop.MoveWindow(nextLeft, buttonTop, cx - 20 - nextLeft > 0 ? cx - 20 - nextLeft : 0, 35);
  m_back.MoveWindow(nextLeft - 90, buttonTop, 85, 35);
  m_home.MoveWindow(0, 0, 0, 0);
  m_splitter.MoveWindow(5, 45, cx > 10 ? cx - 10 : 0, cy > 95 ? cy - 95 : 0);
  Invalidate();
}
