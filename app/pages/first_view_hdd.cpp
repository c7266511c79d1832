#include "app/pages/first_view_hdd.h"

#include <string>

#include "app/pages/page_background.h"
#include "app/pages/source_dialogs.h"
#include "app/pages/source_logic.h"
#include "app/pages/source_wizard.h"
#include "engine/host/host.h"
#include "engine/image/source_values.h"
#include "engine/image/disk_image.h"
#include "engine/partitions/detect_partitions.h"
#include "engine/partitions/partition_table.h"
#include "engine/partitions/search_partitions.h"
#include "engine/records/pause_gate.h"
#include "engine/records/recovery_settings.h"
#include "engine/records/scan_control.h"
#include "engine/records/scan_parameters.h"
#include "engine/host/snapshot_host.h"
#include "res/resource.h"
#include "ui/msgbox/html_message_box.h"
#include "ui/msgbox/message_dialogs.h"

namespace {

constexpr UINT kAskChoiceMessage = WM_APP + 0x43;
constexpr UINT kDiskPanelId = 0xE901;

const char16_t kSelectDrive[] =
    u"Please select the drive that contain the lost data \r\nfrom the left panel and click [Next].";
// What the status line says once the page is back from page 2.
const char16_t kSourceNote[] =
    u" Please select the Virtual Hard Disk ( VHD\\VHDX ) that contains data from left panel and click [Next] to "
    u"continue with recovery.";
const char16_t kStopPartitionSearchQuestion[] = u"Do you want to stop partition searching ?";
const char16_t kUseExtensive[] = u"It is recommended to use extensive scan to recover data.";

source::SourceWizard* W() { return source::Wizard(); }

void WholeDiskRange() {
  const uint16_t disk = CurrentDriveIndex;
  const uint32_t total = disk < source::kMaxDisks ? source::DiskTable.slots[disk].totalSectors : 0;
  ScanRange = ScanRangeRecord{records::kNtfs, 0, total, total, 0};
}

}  // namespace

IMPLEMENT_DYNCREATE(CFirstView_HDD, CView)

BEGIN_MESSAGE_MAP(CFirstView_HDD, CView)
  ON_WM_CREATE()
  ON_WM_SIZE()
  ON_WM_ERASEBKGND()
  ON_WM_TIMER()
  ON_WM_DESTROY()
  ON_WM_SHOWWINDOW()
  ON_BN_CLICKED(IDC_NEXT, OnNext)
  ON_BN_CLICKED(IDC_BACK, OnBack)
  ON_BN_CLICKED(IDC_STOP, OnStop)
  ON_BN_CLICKED(IDC_HOME, OnBack)
  ON_MESSAGE(kAskChoiceMessage, OnAskChoice)
END_MESSAGE_MAP()

CFirstView_HDD::CFirstView_HDD() = default;

CFirstView_HDD::~CFirstView_HDD() { JoinWorker(); }

int CFirstView_HDD::OnCreate(LPCREATESTRUCT create) {
  if (CView::OnCreate(create) == -1) return -1;
  m_font.CreateFont(16, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                    CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, _T("Arial"));

  const CRect none(0, 0, 10, 10);
  m_tree.Create(WS_VISIBLE | WS_BORDER | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT |
                    TVS_SHOWSELALWAYS,
                none, this, IDC_SOURCE_TREE);
  // A size smaller than the page's keeps the disk's name inside the pane at its first width.
  m_treeFont.CreateFont(14, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                        CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, _T("Arial"));
  m_tree.SetFont(&m_treeFont);
  m_tree.LoadImages();
  m_tree.onSelect = [this](const source::SelectionActions& actions) { ApplySelection(actions); };
  m_tree.onTab = [this] { FocusStep(0); };
  m_tree.onEnter = [this] { OnNext(); };
  if (!m_panel.CreatePanel(this, kDiskPanelId, &m_font)) return -1;
  m_splitter.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | SplitterCtrl::kVertical, this, &m_tree, &m_panel,
                    IDC_SOURCE_SPLITTER, none, 50, 150);

  m_buttons.Create(this);
  m_panel.HideProgress();
  m_panel.HideStatus();
  host::Current().diskTable = this;
  return 0;
}

void CFirstView_HDD::OnDestroy() {
  KillTimer(kTimerId);
  JoinWorker();
  host::Hosts& hosts = host::Current();
  if (hosts.diskTable == this) hosts.diskTable = nullptr;
  CView::OnDestroy();
}

void CFirstView_HDD::OnSize(UINT type, int cx, int cy) {
  CView::OnSize(type, cx, cy);
  Layout(cx, cy);
}

void CFirstView_HDD::Layout(int cx, int cy) {
  if (m_splitter.GetSafeHwnd() == nullptr) return;
  m_buttons.next.MoveWindow(cx - 105, cy - 41, 85, 35);
  m_buttons.stop.MoveWindow(cx - 105, cy - 41, 85, 35);
  m_buttons.back.MoveWindow(cx - 190, cy - 41, 85, 35);
  m_buttons.home.MoveWindow(0, 0, 0, 0);
  m_splitter.MoveWindow(5, 45, cx > 10 ? cx - 10 : 0, cy > 95 ? cy - 95 : 0);
  Invalidate();
}

BOOL CFirstView_HDD::OnEraseBkgnd(CDC*) { return TRUE; }

void CFirstView_HDD::OnDraw(CDC* dc) {
  CRect client;
  GetClientRect(client);
  PaintPageBackground(dc, client, IDB_HEADER_START);
  if (W() == nullptr) return;
  CFont* old = dc->SelectObject(&m_font);
  dc->SetBkMode(TRANSPARENT);
  dc->SetTextColor(RGB(20, 42, 82));
  CRect where(client.left + 25, client.bottom - 40, client.left + 250, client.bottom);
  dc->DrawText(CString::FromUtf16(W()->ModeText()), where, DT_LEFT | DT_TOP | DT_NOPREFIX | DT_EXPANDTABS);
  dc->SelectObject(old);
}

void CFirstView_HDD::OnShowWindow(BOOL show, UINT status) {
  CView::OnShowWindow(show, status);
  if (!show) return;
  Invalidate();
  m_tree.Invalidate();
}

// ---- the disks and the selection ------------------------------------------------------------------

void CFirstView_HDD::EnumeratePhysicalDisks() {
  RecoverySettings = RecoverySettingsRecord{};
  source::ImageFacts facts;
  facts.imageFormat = ImageFormat;
  if (DiskImage* image = CurrentDiskImage()) {
    facts.cylinders = image->GetCylinders();
    facts.heads = image->GetHeads();
    facts.sectorsPerTrack = image->GetSectorsPerTrack();
    facts.diskBytes = image->GetDiskSize();
  }
  source::RegisterVirtualDisk registrar;
  registrar.Register(facts);
  for (uint32_t i = 0; i < source::DiskTable.diskCount; ++i) {
    CString path;
    path.Format(_T("My Computer\\Physical Devices\\Virtual Hard Disk %u \\"), i);
    m_tree.AddPath(path);
  }
  m_tree.ExpandRootNode();
  HTREEITEM devices = m_tree.GetChildItem(m_tree.GetRootItem());
  if (devices != nullptr) m_tree.Expand(devices, TVE_EXPAND);
  HTREEITEM disk = devices != nullptr ? m_tree.GetChildItem(devices) : nullptr;
  if (disk == nullptr) return;
  m_tree.SelectItem(disk);
  m_tree.OnSelectItem(disk);
}

void CFirstView_HDD::ApplySelection(const source::SelectionActions& actions) {
  source::SourceWizard* wizard = W();
  if (wizard != nullptr) wizard->SetSelectedPartition(actions.selectedPartition);
  if (actions.diskLabels) m_panel.SetDiskLabels();
  if (actions.resetPanel) m_panel.Reset();
  SourceKind = actions.sourceKind;
  if (actions.scanRangeWholeDisk) WholeDiskRange();
  if (actions.showDisk >= 0) {
    m_panel.ShowDiskInfo(actions.showDisk);
    CurrentDriveIndex = static_cast<uint16_t>(actions.showDisk);
    if (actions.detectPartitions) {
      DetectPartitions(0);
      m_panel.ShowPartitionPie();
    }
  }
  const int row = actions.selectedPartition;
  if (actions.scanPartition && row >= 0 && static_cast<uint32_t>(row) < PartitionsInUse()) {
    ScanRange = ScanRangeOfPartition(static_cast<uint32_t>(row));
  }
  if (wizard == nullptr) return;
  if (actions.setModeText) wizard->SetModeText(actions.modeText);
  wizard->ShowSelectionOnScanPage(actions);
  wizard->RedrawFrame();
}

// ---- Next, the worker, Stop, the timer ------------------------------------------------------------

void CFirstView_HDD::OnNext() {
  source::SourceWizard* wizard = W();
  if (wizard == nullptr || m_worker.joinable()) return;
  wizard->RememberActiveView();
  // Next acts on the disk the tree shows selected. The frame's selection is also written by page 2's tree
  // and a search leaves no source kind behind, so after a Back from page 2 they name nothing usable.
  HTREEITEM item = m_tree.GetSelectedItem();
  HTREEITEM parent = item != nullptr ? m_tree.GetParentItem(item) : nullptr;
  if (parent != nullptr && m_tree.GetItemText(parent).ToUtf16() == source::kPhysicalDevices) {
    m_tree.OnSelectItem(item);
  }
  if (wizard->SelectedPartition() < 0 || SourceKind != kSourceDisk) {
    MessageText = kSelectDrive;
    MessageKind = 2;
    MessageDialog().DoModal();
    return;
  }
  if (RecoveryMode != records::kQuickScan) wizard->SetSnapshotLoadEnabled(false);
  if (SourceKind == kSourceDisk) StartSearch();
  if (RecoveryMode == records::kExtensiveScan) {
    WholeDiskRange();
    m_panel.Reset();
  } else {
    SourceKind = kSourceNothing;
  }
  wizard->PrepareScanPageForSearch();
  if (RecoveryMode == records::kQuickScan) wizard->SetSnapshotLoadEnabled(false);
}

void CFirstView_HDD::StartSearch() {
  PartitionCount = 0;
  m_tree.EnableWindow(FALSE);
  DetectPartitionsWithFallback();
  m_panel.ShowProgress();
  m_panel.ShowStatus();
  PageToolButtons::Show(m_buttons.stop, true);
  PageToolButtons::Show(m_buttons.next, false);
  PageToolButtons::Show(m_buttons.back, false);
  PageToolButtons::Show(m_buttons.home, false);
  m_panel.SetStatusText(u"Please wait...");
  W()->SetModeText(source::ModeLine(RecoveryMode, false));
  RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);

  host::Hosts& hosts = host::Current();
  hosts.firstDisplay = &m_panel;
  hosts.sourceTree = W()->ScanTree();
  hosts.partitionChoice = this;
  hosts.diskTable = this;
  ScanThreadControl.stopFlag = 0;
  ScanThreadControl.runningFlag = 1;
  m_worker = std::thread([] { PartitionSearchThread(); });
  SetTimer(kTimerId, 1000);
}

host::PartitionChoice CFirstView_HDD::PartitionChoiceDialog() {
  return static_cast<host::PartitionChoice>(SendMessage(kAskChoiceMessage));
}

LRESULT CFirstView_HDD::OnAskChoice(WPARAM, LPARAM) {
  ::PartitionChoiceDialog dialog(this);
  if (dialog.DoModal() != IDOK) return host::kPartitionChoiceCancelled;
  return PartitionSearchWanted == 1 ? host::kSearchPartition : host::kUseExistingPartitions;
}

host::DiskGeometry CFirstView_HDD::GetDiskGeometry(uint32_t diskIndex) {
  host::DiskGeometry geometry;
  if (diskIndex >= source::kMaxDisks) return geometry;
  const source::DiskSlot& slot = source::DiskTable.slots[diskIndex];
  geometry.cylinders = slot.cylinders;
  geometry.heads = slot.heads;
  geometry.sectorsPerTrack = slot.sectorsPerTrack;
  return geometry;
}

void CFirstView_HDD::OnStop() {
  if (ScanThreadControl.runningFlag != 1 || ScanThreadControl.stopFlag != 0) return;
  // The worker waits at its next test of the stop flag until the question is answered. Yes only asks it
  // to stop: it writes running 0 itself as it leaves, and the timer moves on then.
  ClosedGate paused(ScanPauseGate);
  MessageText = kStopPartitionSearchQuestion;
  MessageKind = 3;
  if (ConfirmDialog().DoModal() == 1) ScanThreadControl.stopFlag = 1;
}

void CFirstView_HDD::JoinWorker() {
  if (m_worker.joinable()) m_worker.join();
}

void CFirstView_HDD::EndSearch() {
  JoinWorker();
  host::Hosts& hosts = host::Current();
  if (hosts.firstDisplay == &m_panel) hosts.firstDisplay = nullptr;
  if (hosts.partitionChoice == this) hosts.partitionChoice = nullptr;
  hosts.sourceTree = nullptr;
  // Page 1 is ready again for a return from page 2.
  ShowIdleControls();
}

void CFirstView_HDD::ShowIdleControls() {
  PageToolButtons::Show(m_buttons.stop, false);
  PageToolButtons::Show(m_buttons.next, true);
  PageToolButtons::Show(m_buttons.back, true);
  PageToolButtons::Show(m_buttons.home, true);
  m_tree.EnableWindow(TRUE);
}

void CFirstView_HDD::RestoreBeforeSearch() {
  m_panel.SetStatusText(kSourceNote);
  m_panel.SetProgressPos(0);
  m_panel.HideProgress();
  ShowIdleControls();
}

void CFirstView_HDD::OnTimer(UINT_PTR id) {
  if (id != kTimerId) {
    CView::OnTimer(id);
    return;
  }
  if (ScanThreadControl.runningFlag != 0 || ScanThreadControl.stopFlag == 0) return;
  KillTimer(kTimerId);
  EndSearch();
  source::SourceWizard* wizard = W();
  if (wizard == nullptr) return;
  wizard->SelectStage(app::PageStage(2));
  // Page 2 lists the partitions the search found, none of them picked yet: the disk picked on page 1 is
  // no partition, and what an earlier scan picked is not this search's. An Extensive Scan shows the whole
  // disk's range, which its Next takes as picked.
  wizard->SetSelectedPartition(RecoveryMode == records::kExtensiveScan ? source::kWholeDisk : source::kNothingPicked);
  wizard->ShowPage(2);
  wizard->EnterScanPage();
  if (RecoveryMode == records::kQuickScan && PartitionCount == 0) {
    const MessageBoxParams look = msgbox::ProtocolParams();
    if (HtmlMessageBox(GetParentFrame() != nullptr ? GetParentFrame()->m_hWnd : nullptr, kUseExtensive, ProductTitle,
                       MB_OK | MB_ICONINFORMATION, &look) == IDOK) {
      wizard->RestartWizard();
    }
  }
}

// ---- Back, Home and the keyboard ------------------------------------------------------------------

void CFirstView_HDD::OnBack() {
  source::SourceWizard* wizard = W();
  if (wizard == nullptr || m_worker.joinable()) return;
  wizard->ClearResults();
  wizard->SetSnapshotLoadEnabled(false);
  wizard->SetAtStart(true);
  DeviceHandle.Close();
  wizard->SelectStage(app::PageStage(1));
  SnapshotLoading = 0;
  m_panel.Reset();
  SourceKind = kSourceNothing;
  wizard->ShowPage(0);
  wizard->SetOpenEnabled(true);
}

void CFirstView_HDD::StepFocus() {
  int step = 0;
  while (step < 3 && m_focusStep[step] == 0) ++step;
  FocusStep((step + 1) % 3);
}

void CFirstView_HDD::FocusStep(int step) {
  for (int i = 0; i < 4; ++i) m_focusStep[i] = i == step ? 1 : 0;
  // The button the keys have reached shows pushed (in its lit picture) until Enter or the next Tab.
  m_buttons.next.SetState(step == 0 ? TRUE : FALSE);
  m_buttons.back.SetState(step == 1 ? TRUE : FALSE);
  CWnd* focus[3] = {&m_buttons.next, &m_buttons.back, &m_tree};
  focus[step]->SetFocus();
}

BOOL CFirstView_HDD::PreTranslateMessage(MSG* msg) {
  if (msg->message == WM_KEYDOWN && (msg->hwnd == m_buttons.next.m_hWnd || msg->hwnd == m_buttons.back.m_hWnd ||
                                     msg->hwnd == m_hWnd)) {
    if (msg->wParam == VK_TAB) {
      StepFocus();
      return TRUE;
    }
    if (msg->wParam == VK_RETURN) {
      const bool next = m_focusStep[0] != 0;
      const bool back = m_focusStep[1] != 0;
      // Pressed: the button is released before its page moves on, so it shows plain when it comes back.
      m_buttons.next.SetState(FALSE);
      m_buttons.back.SetState(FALSE);
      if (next) OnNext();
      if (back) OnBack();
      return TRUE;
    }
  }
  return CView::PreTranslateMessage(msg);
}
