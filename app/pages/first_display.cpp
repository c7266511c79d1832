#include "app/pages/first_display.h"

#include <string>

#include "app/pages/page_progress_bar.h"
#include "engine/image/disk_image.h"
#include "engine/image/source_values.h"
#include "engine/partitions/partition_table.h"
#include "platform/classlib/win/cframewnd.h"
#include "res/resource.h"

namespace {

constexpr COLORREF kBackground = RGB(255, 255, 255);
constexpr UINT kLabelId = 0xE910;
constexpr UINT kValueId = 0xE918;
constexpr UINT kPieId = 0xE920;
constexpr UINT kVolumePieId = 0xE921;
constexpr UINT kSecondGroupId = 0xE922;

const char16_t* const kDiskLabels[CFirstDisplay::kRows] = {u"Model\t\t\t:", u"Capacity\t\t:", u"Cylinders\t\t:",
                                                           u"Head\t\t\t:", u"Sectors Per Track\t:"};
const char16_t* const kVolumeLabels[CFirstDisplay::kRows] = {u"Volume Name\t\t:", u"Capacity\t\t:", u"SPC\t\t\t:",
                                                             u"Byte Per Sector\t\t:", u"File System\t\t:"};


}  // namespace

// ---- the partition pie ------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(PartitionPieCtrl, CStatic)
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

BOOL PartitionPieCtrl::OnEraseBkgnd(CDC*) { return TRUE; }

void PartitionPieCtrl::OnPaint() {
  CPaintDC paint(this);
  CRect client;
  GetClientRect(client);
  CDC* dc = &paint;
  dc->FillSolidRect(client, kBackground);
  const int size = client.Height() - 4;
  if (size <= 0) return;
  const CRect pie(client.left + 2, client.top + 2, client.left + 2 + size, client.top + 2 + size);
  const CPoint centre = pie.CenterPoint();
  // Slices go anticlockwise from twelve o'clock, in the chart's order.
  double start = 90.0;
  HGDIOBJ oldPen = ::SelectObject(dc->m_hDC, ::GetStockObject(BLACK_PEN));
  int legendX = pie.right + 16;
  const int legendY = client.top + (client.Height() - 16) / 2;
  dc->SetBkMode(TRANSPARENT);
  HGDIOBJ oldFont = ::SelectObject(dc->m_hDC, reinterpret_cast<HGDIOBJ>(SendMessage(WM_GETFONT)));
  for (int i = 0; i < m_chart.GetSliceCount(); ++i) {
    const CPieSlice* slice = m_chart.GetSlice(i);
    HBRUSH brush = ::CreateSolidBrush(slice->m_colour);
    HGDIOBJ oldBrush = ::SelectObject(dc->m_hDC, brush);
    const double sweep = slice->m_nPercent * 3.6;
    if (slice->m_nPercent >= 100) {
      ::Ellipse(dc->m_hDC, pie.left, pie.top, pie.right, pie.bottom);
    } else if (slice->m_nPercent > 0) {
      ::BeginPath(dc->m_hDC);
      ::MoveToEx(dc->m_hDC, centre.x, centre.y, nullptr);
      ::AngleArc(dc->m_hDC, centre.x, centre.y, static_cast<DWORD>(size / 2), static_cast<FLOAT>(start),
                 static_cast<FLOAT>(sweep));
      ::LineTo(dc->m_hDC, centre.x, centre.y);
      ::EndPath(dc->m_hDC);
      ::StrokeAndFillPath(dc->m_hDC);
    }
    start += sweep;
    // The legend: a swatch and "NAME n %".
    ::Rectangle(dc->m_hDC, legendX, legendY + 2, legendX + 12, legendY + 14);
    CString line;
    line.Format(_T("%s %d %%"), static_cast<LPCTSTR>(slice->m_strDescription), slice->m_nPercent);
    dc->SetTextColor(kPageCaptionColour);
    dc->TextOut(legendX + 16, legendY, line);
    legendX += 16 + dc->GetTextExtent(line).cx + 18;
    ::SelectObject(dc->m_hDC, oldBrush);
    ::DeleteObject(brush);
  }
  ::SelectObject(dc->m_hDC, oldFont);
  ::SelectObject(dc->m_hDC, oldPen);
}

// ---- the panel ----------------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CFirstDisplay, CView)

BEGIN_MESSAGE_MAP(CFirstDisplay, CView)
  ON_WM_SIZE()
  ON_WM_ERASEBKGND()
  ON_WM_CTLCOLOR()
  ON_WM_MOUSEACTIVATE()
END_MESSAGE_MAP()

BOOL CFirstDisplay::CreatePanel(CWnd* parent, UINT id, CFont* font) {
  if (!Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | WS_BORDER | WS_CLIPCHILDREN, CRect(0, 0, 400, 300), parent,
              id)) {
    return FALSE;
  }
  m_background.CreateSolidBrush(kBackground);
  const CRect none(0, 0, 10, 10);
  m_pie.Create(_T(""), SS_LEFT, none, this, kPieId);
  m_group.Create(_T("Selected Drive Information"), WS_VISIBLE | BS_GROUPBOX, none, this, IDC_GROUP_BOX);
  m_secondGroup.Create(_T(""), BS_GROUPBOX, CRect(0, 0, 0, 0), this, kSecondGroupId);
  for (int row = 0; row < kRows; ++row) {
    m_labels[row].Create(_T(""), WS_VISIBLE | SS_LEFT | SS_NOPREFIX, none, this, kLabelId + row);
    m_values[row].Create(_T(""), WS_VISIBLE | SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS, none, this, kValueId + row);
  }
  m_volumePie.Create(_T(""), SS_LEFT, none, this, kVolumePieId);
  m_status.Create(_T(""), SS_LEFT | SS_ENDELLIPSIS | SS_NOPREFIX, none, this, IDC_STATUS_LINE);
  m_progress.Create(WS_BORDER, none, this, IDC_PROGRESS_BAR);
  m_progress.SetRange(0, 100);
  StylePageProgressBar(m_progress);
  for (CWnd* child = GetWindow(GW_CHILD); child != nullptr; child = child->GetWindow(GW_HWNDNEXT)) {
    child->SetFont(font);
  }
  m_group.SetBoxStyle(ui::CXPGroupBox::kWindow)
      .SetBorderColor(RGB(160, 178, 206))
      .SetBackgroundColor(RGB(226, 234, 246), kBackground)
      .SetCaptionTextColor(kPageCaptionColour)
      .SetFontName(_T("Arial"))
      .SetFontSize(10)
      .SetFontBold(TRUE)
      .SetAlignment(ui::CXPGroupBox::kCentre)
      .SetText(_T("Selected Drive Information"));
  SetDiskLabels();
  CRect client;
  GetClientRect(client);
  Layout(client.Width(), client.Height());
  return TRUE;
}

void CFirstDisplay::OnDraw(CDC*) {}

BOOL CFirstDisplay::OnEraseBkgnd(CDC* dc) {
  CRect client;
  GetClientRect(client);
  dc->FillSolidRect(client, kBackground);
  return TRUE;
}

HBRUSH CFirstDisplay::OnCtlColor(CDC* dc, CWnd* window, UINT) {
  dc->SetBkMode(TRANSPARENT);
  const int id = window->GetDlgCtrlID();
  const bool label = id >= static_cast<int>(kLabelId) && id < static_cast<int>(kLabelId) + kRows;
  dc->SetTextColor(label ? kPageCaptionColour : RGB(0, 0, 0));
  return static_cast<HBRUSH>(m_background.GetSafeHandle());
}

int CFirstDisplay::OnMouseActivate(CWnd*, UINT, UINT) {
  // A click on the panel makes its page, not the panel, the frame's active view.
  CFrameWnd* frame = GetParentFrame();
  for (CWnd* up = GetParent(); frame != nullptr && up != nullptr; up = up->GetParent()) {
    if (up->IsKindOf(RUNTIME_CLASS(CView))) {
      frame->SetActiveView(static_cast<CView*>(up), FALSE);
      break;
    }
  }
  return MA_ACTIVATE;
}

void CFirstDisplay::OnSize(UINT type, int cx, int cy) {
  CView::OnSize(type, cx, cy);
  Layout(cx, cy);
}

void CFirstDisplay::Layout(int cx, int cy) {
  if (m_group.GetSafeHwnd() == nullptr) return;
  m_pie.MoveWindow(10, 20, cx > 20 ? cx - 20 : 0, 60);
  m_group.MoveWindow(10, 80, 510, 265);
  for (int row = 0; row < kRows; ++row) {
    // Each row one line high: taller labels would lie over the rows below them.
    m_labels[row].MoveWindow(30, 100 + 20 * row, 190, 20);
    m_values[row].MoveWindow(220, 100 + 20 * row, 290, 20);
  }
  m_volumePie.MoveWindow(60, 160, 200, 190);
  const int base = (cy - 345) / 2;
  m_status.MoveWindow(10, base + 327, 510, 18);
  m_progress.MoveWindow(10, base + 345, 510, 18);
}

void CFirstDisplay::SetLabels(const char16_t* const* labels) {
  for (int row = 0; row < kRows; ++row) m_labels[row].SetWindowText(CString::FromUtf16(labels[row]));
}

void CFirstDisplay::SetDiskLabels() { SetLabels(kDiskLabels); }
void CFirstDisplay::SetVolumeLabels() { SetLabels(kVolumeLabels); }

void CFirstDisplay::Reset() {
  for (CStatic& value : m_values) value.SetWindowText(_T(""));
  m_pie.ShowWindow(SW_HIDE);
  m_pie.EnableWindow(FALSE);
  m_pie.Chart().RemoveAllSlices();
  Invalidate();
}

void CFirstDisplay::ShowDiskInfo(int index) {
  SetDiskLabels();
  if (index < 0 || static_cast<uint32_t>(index) >= source::kMaxDisks) {
    Reset();
    return;
  }
  m_volumePie.ShowWindow(SW_HIDE);
  m_volumePie.EnableWindow(FALSE);
  DiskImage* image = CurrentDiskImage();
  const source::DiskInfoTexts texts =
      source::DiskInfoFor(source::DiskTable.slots[index], ImageFormat, image != nullptr ? image->GetDiskSize() : 0);
  const std::u16string* values[kRows] = {&texts.model, &texts.capacity, &texts.cylinders, &texts.heads,
                                         &texts.sectorsPerTrack};
  for (int row = 0; row < kRows; ++row) m_values[row].SetWindowText(CString::FromUtf16(*values[row]));
}

void CFirstDisplay::ShowPartitionPie() {
  m_pie.Chart().RemoveAllSlices();
  m_pie.Chart().m_bOwnsSlices = 1;
  const uint16_t disk = CurrentDriveIndex;
  // The image's own size: the disk table holds at most 32 bits of sectors.
  const DiskImage* image = CurrentDiskImage();
  const uint64_t total = image != nullptr && image->GetDiskSize() > 0 ? image->GetDiskSize() / 512
                         : disk < source::kMaxDisks                  ? source::DiskTable.slots[disk].totalSectors
                                                                     : 0;
  for (const source::PieSliceValues& values : source::PartitionPie(PartitionTable, PartitionsInUse(), total)) {
    auto* slice = new CPieSlice;
    slice->m_strDescription = CString::FromUtf16(values.text);
    slice->m_colour = values.colour;
    slice->m_nPercent = values.percent;
    m_pie.Chart().AddSlice(slice);
  }
  m_pie.EnableWindow(TRUE);
  m_pie.ShowWindow(SW_SHOW);
  m_pie.Invalidate();
}

void CFirstDisplay::ShowProgress() {
  m_progress.SetPos(0);
  m_progress.EnableWindow(TRUE);
  m_progress.ShowWindow(SW_SHOW);
}

void CFirstDisplay::HideProgress() {
  m_progress.ShowWindow(SW_HIDE);
  m_progress.EnableWindow(FALSE);
}

void CFirstDisplay::ShowStatus() {
  m_status.EnableWindow(TRUE);
  m_status.ShowWindow(SW_SHOW);
}

void CFirstDisplay::HideStatus() {
  m_status.ShowWindow(SW_HIDE);
  m_status.EnableWindow(FALSE);
}

void CFirstDisplay::SetStatusText(const std::u16string& text) { m_status.SetWindowText(CString::FromUtf16(text)); }

void CFirstDisplay::SetProgressPos(uint32_t position) { m_progress.SendMessage(PBM_SETPOS, position); }

CString CFirstDisplay::ValueText(int row) const { return WindowTextOf(m_values[row]); }
CString CFirstDisplay::LabelText(int row) const { return WindowTextOf(m_labels[row]); }
CString CFirstDisplay::StatusText() const { return WindowTextOf(m_status); }
