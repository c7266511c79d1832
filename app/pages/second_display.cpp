#include "app/pages/second_display.h"

#include <string>

#include "app/pages/page_progress_bar.h"
#include "engine/host/host.h"
#include "engine/image/disk_image.h"
#include "engine/image/source_values.h"
#include "engine/partitions/partition_table.h"
#include "engine/records/scan_parameters.h"
#include "platform/os/win32.h"
#include "res/resource.h"

namespace {

constexpr COLORREF kPanelBackground = RGB(255, 255, 255);
constexpr int kRowTop = 70;
constexpr int kRowStep = 20;
constexpr int kRowHeight = 18;
constexpr int kLeft = 50;
constexpr int kRowCaptionLeft = 80;
constexpr int kValueRight = 500;
constexpr int kRight = 520;
constexpr int kBarTop = 345;

const wchar_t kHideProgress[] = L"Hide Progress";
const wchar_t kShowProgress[] = L"Show Progress";
const wchar_t kNoteText[] =
    L"Selecting \"Hide Progress\" will improve the performance. You may return to view the progress details at "
    L"any time by selecting \"Show Progress\".";


void CreateFont(CFont& font, int height, int weight) {
  font.CreateFont(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                  CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, _T("Arial"));
}

}  // namespace

IMPLEMENT_DYNAMIC(CSecondDisplay, CView)

BEGIN_MESSAGE_MAP(CSecondDisplay, CView)
  ON_WM_SIZE()
  ON_WM_CTLCOLOR()
  ON_WM_ERASEBKGND()
  ON_WM_SHOWWINDOW()
  ON_WM_LBUTTONDOWN()
  ON_WM_DESTROY()
  ON_BN_CLICKED(IDC_HIDE_PROGRESS, OnHideProgressClicked)
  ON_MESSAGE(kSetterMessage, OnSetter)
  ON_MESSAGE(kUpdatesMessage, OnUpdates)
END_MESSAGE_MAP()

BOOL CSecondDisplay::CreatePanel(CWnd* parent, UINT id, const CRect& rect) {
  if (!Create(nullptr, nullptr, WS_CHILD | WS_BORDER | WS_CLIPCHILDREN, rect, parent, id)) return FALSE;
  CreateFont(m_panelFont, 18, FW_SEMIBOLD);
  CreateFont(m_textFont, 16, FW_NORMAL);
  CreateFont(m_titleFont, 18, FW_BOLD);
  m_white.CreateSolidBrush(kPanelBackground);
  const CRect none(0, 0, 10, 10);

  m_infoBox.Create(_T("Partition Information"), WS_CHILD | WS_VISIBLE | BS_GROUPBOX, none, this, IDC_GROUP_BOX);
  m_driveBox.Create(_T("Selected Drive Information"), WS_CHILD | BS_GROUPBOX, none, this, IDC_GROUP_BOX);
  // The title and the status line carry the same id (170): they are told apart by member, never by id.
  m_title.Create(_T(""), WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, none, this, IDC_TITLE_LINE);
  for (int row = 0; row < kRows; ++row) {
    m_captions[row].Create(_T(""), WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, none, this, IDC_ROW_CAPTION_1 + row);
    m_values[row].Create(_T(""), WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS, none, this,
                         IDC_ROW_VALUE_1 + row);
  }
  m_inputCaptions[0].Create(_T("Select File System :"), WS_CHILD | SS_LEFT, none, this, IDC_SELECT_FILE_SYSTEM_LABEL);
  m_inputCaptions[1].Create(_T("Start Sector           :"), WS_CHILD | SS_LEFT, none, this, IDC_START_SECTOR_LABEL);
  m_inputCaptions[2].Create(_T("End Sector            :"), WS_CHILD | SS_LEFT, none, this, IDC_END_SECTOR_LABEL);
  const DWORD field = WS_CHILD | WS_BORDER | WS_TABSTOP | ES_NUMBER | ES_AUTOHSCROLL;
  m_startField.Create(field, none, this, IDC_START_SECTOR);
  m_endField.Create(field, none, this, IDC_END_SECTOR);
  // Ten digits hold every 32-bit sector; a longer number is refused anyway.
  m_startField.LimitText(10);
  m_endField.LimitText(10);
  m_fileSystems.Create(WS_CHILD | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWNLIST, CRect(0, 0, 10, 100), this,
                       IDC_FILE_SYSTEM_LIST);
  for (const wchar_t* name : {L"NTFS", L"FAT 32", L"FAT 16"}) m_fileSystems.AddString(name);
  m_fileSystems.SetCurSel(0);
  m_pie.Create(_T(""), WS_CHILD, CRect(0, 0, 200, 170), this, IDC_STATUS_LINE);
  m_hideProgress.Create(kHideProgress, WS_CHILD | BS_OWNERDRAW, none, this, IDC_HIDE_PROGRESS);
  m_note.Create(kNoteText, WS_CHILD | SS_LEFT, none, this, IDC_HIDE_PROGRESS_NOTE);
  m_progress.Create(WS_CHILD | WS_BORDER | WS_DISABLED, none, this, IDC_PROGRESS_BAR);
  m_progress.SetRange(0, 100);
  m_progress.SetPos(0);
  StylePageProgressBar(m_progress);
  m_status.Create(_T(""), WS_CHILD | WS_DISABLED | SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS, none, this, IDC_TITLE_LINE);

  for (CWnd* child = GetWindow(GW_CHILD); child != nullptr; child = child->GetWindow(GW_HWNDNEXT)) {
    child->SetFont(&m_textFont);
  }
  m_progress.SetFont(&m_panelFont);
  m_title.SetFont(&m_titleFont);
  for (ui::CXPGroupBox* box : {&m_infoBox, &m_driveBox}) {
    box->SetBoxStyle(ui::CXPGroupBox::kWindow)
        .SetBorderColor(RGB(160, 178, 206))
        .SetBackgroundColor(RGB(226, 234, 246), kPanelBackground)
        .SetCaptionTextColor(kPageCaptionColour)
        .SetFontName(_T("Arial"))
        .SetFontSize(10)
        .SetFontBold(TRUE);
  }
  m_infoBox.SetText(_T("Partition Information"));
  m_driveBox.SetText(_T("Selected Drive Information"));
  m_hideProgress.SetFlat(FALSE);
  SetCaptions(scanpage::PanelCaptions::kCreated);
  m_fileSystems.SetFocus();
  Layout();
  return TRUE;
}

void CSecondDisplay::OnDestroy() {
  host::Hosts& hosts = host::Current();
  if (hosts.secondDisplay == this) hosts.secondDisplay = nullptr;
  CView::OnDestroy();
}

void CSecondDisplay::OnDraw(CDC*) {}

BOOL CSecondDisplay::OnEraseBkgnd(CDC* dc) {
  CRect client;
  GetClientRect(client);
  dc->FillSolidRect(client, kPanelBackground);
  return TRUE;
}

HBRUSH CSecondDisplay::OnCtlColor(CDC* dc, CWnd* window, UINT) {
  const HWND hwnd = window->GetSafeHwnd();
  bool caption = false;
  for (const CWnd& c : m_captions) caption = caption || c.GetSafeHwnd() == hwnd;
  for (const CWnd& c : m_inputCaptions) caption = caption || c.GetSafeHwnd() == hwnd;
  if (hwnd == m_startField.GetSafeHwnd() || hwnd == m_endField.GetSafeHwnd()) {
    dc->SetTextColor(RGB(0, 0, 0));
    dc->SetBkColor(kPanelBackground);
    return static_cast<HBRUSH>(m_white.GetSafeHandle());
  }
  dc->SetBkMode(TRANSPARENT);
  dc->SetTextColor(caption ? kPageCaptionColour : RGB(0, 0, 0));
  return static_cast<HBRUSH>(m_white.GetSafeHandle());
}

void CSecondDisplay::OnShowWindow(BOOL show, UINT status) {
  CView::OnShowWindow(show, status);
  Invalidate();
  m_fileSystems.Invalidate();
}

void CSecondDisplay::OnLButtonDown(UINT flags, CPoint point) {
  CView::OnLButtonDown(flags, point);
  if (onActivatePage) onActivatePage();
}

void CSecondDisplay::OnSize(UINT type, int cx, int cy) {
  CView::OnSize(type, cx, cy);
  Layout();
}

void CSecondDisplay::Layout() {
  if (m_title.GetSafeHwnd() == nullptr) return;
  const int width = kRight - kLeft;
  // Two lines: the prompts are wider than the panel at the title's size, and their second line sits above the box.
  m_title.MoveWindow(kLeft, 6, width, 42);
  m_infoBox.MoveWindow(kLeft, 50, width, 280);
  m_driveBox.MoveWindow(0, 0, 0, 0);
  // The captions' colons in one column, the values and the fields a short way after it.
  const int valueX = kRowCaptionLeft + m_captions[0].ValueX();
  for (int row = 0; row < kRows; ++row) {
    const int y = kRowTop + 10 + row * kRowStep;
    m_captions[row].MoveWindow(kRowCaptionLeft, y, valueX - kRowCaptionLeft, kRowHeight);
    m_values[row].MoveWindow(valueX, y, kValueRight - valueX, kRowHeight);
  }
  const int inputTops[3] = {200, 232, 264};
  for (int i = 0; i < 3; ++i) {
    m_inputCaptions[i].MoveWindow(kRowCaptionLeft, inputTops[i] + 3, valueX - kRowCaptionLeft, kRowHeight);
  }
  m_fileSystems.MoveWindow(valueX, inputTops[0], 150, 120);
  m_startField.MoveWindow(valueX, inputTops[1], 150, 22);
  m_endField.MoveWindow(valueX, inputTops[2], 150, 22);
  m_pie.MoveWindow(300, 120, 200, 170);
  m_progress.MoveWindow(kLeft, kBarTop, width, 22);
  m_status.MoveWindow(kLeft, kBarTop + 30, width, kRowHeight);
  m_hideProgress.MoveWindow(kLeft, kBarTop + 62, 120, 28);
  m_note.MoveWindow(kLeft + 132, kBarTop + 58, width - 132, 56);
}

// ---- the workers' setters ------------------------------------------------------------------------------

void CSecondDisplay::Send(Op op, uint32_t number, const std::u16string* text) {
  if (GetSafeHwnd() == nullptr) return;
  if (Queue(op, number, text)) return;
  SetterCall call{op, number, text};
  SendMessage(kSetterMessage, 0, reinterpret_cast<LPARAM>(&call));
}

bool CSecondDisplay::Queue(Op op, uint32_t number, const std::u16string* text) {
  if (::GetWindowThreadProcessId(m_hWnd, nullptr) == ::GetCurrentThreadId()) return false;
  bool post = false;
  switch (op) {
    case Op::kPos:
      post = m_updates.SetPosition(number);
      break;
    case Op::kStatus:
      post = m_updates.SetStatus(*text);
      break;
    case Op::kRow:
      post = m_updates.SetRow(number, *text);
      break;
    default:
      return false;
  }
  if (post && !PostMessage(kUpdatesMessage)) m_updates.PostFailed();
  return true;
}

LRESULT CSecondDisplay::OnUpdates(WPARAM, LPARAM) {
  ApplyUpdates();
  return 0;
}

void CSecondDisplay::ApplyUpdates() {
  PanelUpdates::Batch batch = m_updates.Take();
  if (batch.position) m_progress.SetPos(static_cast<int>(*batch.position > 100 ? 100 : *batch.position));
  if (batch.status) m_status.SetWindowText(os::Wide(*batch.status));
  for (int row = 0; row < kRows; ++row) {
    if (batch.rows[static_cast<size_t>(row)]) m_values[row].SetWindowText(os::Wide(*batch.rows[static_cast<size_t>(row)]));
  }
}

void CSecondDisplay::SetProgressPos(uint32_t position) { Send(Op::kPos, position); }
void CSecondDisplay::SetStatusText(const std::u16string& text) { Send(Op::kStatus, 0, &text); }
void CSecondDisplay::SetCounterLabels() { Send(Op::kCounters); }
void CSecondDisplay::ShowProgressBar() { Send(Op::kShowBar); }
void CSecondDisplay::HideProgressBar() { Send(Op::kHideBar); }
void CSecondDisplay::ShowStatusText() { Send(Op::kShowStatus); }
void CSecondDisplay::HideStatusText() { Send(Op::kHideStatus); }
void CSecondDisplay::SetRowValue(host::SecondDisplayRow row, const std::u16string& text) {
  Send(Op::kRow, row, &text);
}

LRESULT CSecondDisplay::OnSetter(WPARAM, LPARAM lParam) {
  const SetterCall& call = *reinterpret_cast<const SetterCall*>(lParam);
  // What the worker reported before this call shows before it.
  ApplyUpdates();
  switch (call.op) {
    case Op::kPos:
      m_progress.SetPos(static_cast<int>(call.number > 100 ? 100 : call.number));
      break;
    case Op::kStatus:
      m_status.SetWindowText(os::Wide(*call.text));
      break;
    case Op::kCounters:
      SetCaptions(scanpage::PanelCaptions::kCounters);
      ClearValues();
      break;
    case Op::kShowBar:
    case Op::kHideBar:
      ShowWindows({&m_progress}, call.op == Op::kShowBar);
      break;
    case Op::kShowStatus:
    case Op::kHideStatus:
      ShowWindows({&m_status}, call.op == Op::kShowStatus);
      break;
    case Op::kRow:
      if (call.number >= 1 && call.number <= kRows) m_values[call.number - 1].SetWindowText(os::Wide(*call.text));
      break;
  }
  return 0;
}

// ---- what the pages prepare ----------------------------------------------------------------------------

void CSecondDisplay::ShowWindows(std::initializer_list<CWnd*> windows, bool shown) {
  for (CWnd* window : windows) {
    window->EnableWindow(shown ? TRUE : FALSE);
    window->ShowWindow(shown ? SW_SHOW : SW_HIDE);
  }
}

void CSecondDisplay::SetCaptions(scanpage::PanelCaptions kind) {
  const scanpage::RowTexts& captions = scanpage::CaptionsOf(kind);
  for (int row = 0; row < kRows; ++row) {
    m_captions[row].SetWindowText(os::Wide(captions[static_cast<size_t>(row)]));
    m_captions[row].ShowWindow(SW_SHOW);
    m_values[row].ShowWindow(SW_SHOW);
  }
}

void CSecondDisplay::ShowRange(const scanpage::PanelRange& shown) {
  m_updates.DropRows();
  SetCaptions(shown.captions);
  for (int row = 0; row < kRows; ++row) m_values[row].SetWindowText(os::Wide(shown.values[static_cast<size_t>(row)]));
  m_startField.SetWindowText(os::Wide(shown.startField));
  m_endField.SetWindowText(os::Wide(shown.endField));
  if (shown.listItem >= 0) m_fileSystems.SetCurSel(shown.listItem);
  ScanRange.endSector = shown.end;
  // Only a logical drive shows its pie, and this program lists none.
  HideDrivePie();
}

void CSecondDisplay::HideDrivePie() {
  m_pie.ShowWindow(SW_HIDE);
  m_driveBox.ShowWindow(SW_HIDE);
}

void CSecondDisplay::ShowPartitionInfo(int index) {
  if (index < 0) {
    ClearPartitionInfo();
    return;
  }
  // A partition past the engine's reach left ScanRange without sectors for its row: it is shown as the table
  // holds it.
  const PartitionEntry* beyond = PartitionBeyondReach(index);
  if (beyond != nullptr && ScanRange.driveField == index && ScanRange.sectorCount == 0) {
    ShowRange(scanpage::PartitionRange(*beyond));
    return;
  }
  const DiskImage* image = CurrentDiskImage();
  const uint64_t diskSectors = image != nullptr ? image->GetDiskSize() / 512 : 0;
  ShowRange(scanpage::PartitionRange(ScanRange, ImageFormat.load() == 1, diskSectors));
}

void CSecondDisplay::ShowScanRangeInfo() { ShowRange(scanpage::SectorRange(ScanRange)); }

// The program lists no logical drives (the source tree shows the opened image alone), so these show the
// captions with nothing selected.
void CSecondDisplay::ShowLogicalDriveInfo() {
  ClearPartitionInfo();
  SetCaptions(scanpage::PanelCaptions::kLogicalDrive);
}

void CSecondDisplay::ShowLogicalDriveSummary() {
  ShowLogicalDriveInfo();
  m_values[4].SetWindowText(_T(""));
}

void CSecondDisplay::ClearPartitionInfo() {
  SetCaptions(scanpage::PanelCaptions::kCleared);
  ClearValues();
  HideDrivePie();
}

void CSecondDisplay::ClearValues() {
  m_updates.DropRows();
  for (CStatic& value : m_values) value.SetWindowText(_T(""));
  m_startField.SetWindowText(_T(""));
  m_endField.SetWindowText(_T(""));
}

void CSecondDisplay::SetFatSearchLabels() {
  SetCaptions(scanpage::PanelCaptions::kFatSearch);
  for (int row = 0; row < 4; ++row) m_values[row].SetWindowText(_T(""));
}

void CSecondDisplay::SetNtfsSearchLabels() { SetCaptions(scanpage::PanelCaptions::kNtfsSearch); }

void CSecondDisplay::ShowRangeInput() {
  if (RecoveryMode != records::kExtensiveScan) return;
  ShowInputGroupCaption();
  const bool vhd = ImageFormat.load() == 0;
  ShowWindows({&m_inputCaptions[1], &m_inputCaptions[2], &m_startField, &m_endField}, vhd);
}

void CSecondDisplay::ShowFileSystemChoice() {
  ShowInputGroupCaption();
  ShowWindows({&m_inputCaptions[1], &m_inputCaptions[2], &m_startField, &m_endField}, false);
}

void CSecondDisplay::ShowInputGroupCaption() { ShowWindows({&m_inputCaptions[0], &m_fileSystems}, true); }

void CSecondDisplay::HideInputGroup() {
  ShowWindows({&m_inputCaptions[0], &m_inputCaptions[1], &m_inputCaptions[2], &m_fileSystems, &m_startField,
               &m_endField},
              false);
}

void CSecondDisplay::SetTitle(const CString& text) { m_title.SetWindowText(text); }

void CSecondDisplay::SetInfoBoxCaption(const CString& text) {
  m_infoBox.SetText(text);
  m_infoBox.SetWindowText(text);
}

void CSecondDisplay::ShowHideProgress(bool shown) { ShowWindows({&m_hideProgress, &m_note}, shown); }

void CSecondDisplay::ResetHideProgress() {
  m_hideProgress.SetWindowText(kHideProgress);
  ShowScanProgress = 1;
}

void CSecondDisplay::ToggleHideProgress() {
  const bool hiding = ShowScanProgress.load() == 1;
  m_hideProgress.SetWindowText(hiding ? kShowProgress : kHideProgress);
  m_hideProgress.Invalidate();
  ShowScanProgress = hiding ? 0 : 1;
}

void CSecondDisplay::OnHideProgressClicked() {
  ToggleHideProgress();
  if (onActivatePage) onActivatePage();
}

CString CSecondDisplay::Title() const { return WindowTextOf(m_title); }
CString CSecondDisplay::StartField() const { return WindowTextOf(m_startField); }
CString CSecondDisplay::EndField() const { return WindowTextOf(m_endField); }
int CSecondDisplay::FileSystemItem() const { return m_fileSystems.GetCurSel(); }
CString CSecondDisplay::RowCaption(int row) const { return WindowTextOf(m_captions[row]); }
CString CSecondDisplay::RowValue(int row) const { return WindowTextOf(m_values[row]); }
CString CSecondDisplay::StatusText() const { return WindowTextOf(m_status); }
