#include "app/pages/file_system_form.h"

#include <string>

#include "app/pages/page_progress_bar.h"
#include "platform/os/win32.h"
#include "res/resource.h"

namespace {

constexpr COLORREF kFormBackground = RGB(255, 255, 255);
// Ids of the status line and the note. Both carry the title line's id on page 2's panel; held by member.
constexpr UINT kStatusId = IDC_TITLE_LINE;
constexpr UINT kNoteId = IDC_TITLE_LINE + 1;
constexpr int kFormCaptionLeft = 35;
// The longest caption, "Sectors Per Cluster" in the page's font, ends short of it.
constexpr int kColonX = 135;


}  // namespace

IMPLEMENT_DYNAMIC(CFileSystemForm, CView)

BEGIN_MESSAGE_MAP(CFileSystemForm, CView)
  ON_WM_SIZE()
  ON_WM_CTLCOLOR()
  ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

BOOL CFileSystemForm::CreateForm(CWnd* parent, UINT id, CFont* font) {
  if (!Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, RECT{0, 0, 400, 300}, parent, id)) {
    return FALSE;
  }
  m_background.CreateSolidBrush(kFormBackground);
  const RECT none{0, 0, 10, 10};
  m_group.Create(_T("FileSystem Information"), WS_VISIBLE | BS_GROUPBOX, none, this, IDC_GROUP_BOX);
  for (int row = 0; row < kRows; ++row) {
    m_captions[row].SetColonX(kColonX);
    m_captions[row].Create(_T(""), WS_VISIBLE | SS_LEFT, none, this, IDC_ROW_CAPTION_1 + row);
    m_values[row].Create(_T(""), WS_VISIBLE | SS_LEFT, none, this, IDC_ROW_VALUE_1 + row);
  }
  m_progress.Create(WS_BORDER, none, this, IDC_PROGRESS_BAR);
  m_progress.SetRange(0, 100);
  StylePageProgressBar(m_progress);
  m_status.Create(_T(""), SS_LEFT | SS_ENDELLIPSIS, none, this, kStatusId);
  m_note.Create(_T(""), WS_VISIBLE | SS_LEFT, none, this, kNoteId);
  for (CWnd* child = GetWindow(GW_CHILD); child != nullptr; child = child->GetWindow(GW_HWNDNEXT)) {
    child->SetFont(font);
  }
  m_group.SetBoxStyle(ui::CXPGroupBox::kWindow)
      .SetBorderColor(RGB(160, 178, 206))
      .SetBackgroundColor(RGB(226, 234, 246), kFormBackground)
      .SetCaptionTextColor(kPageCaptionColour)
      .SetFontName(_T("Arial"))
      .SetFontSize(10)
      .SetFontBold(TRUE)
      .SetText(_T("FileSystem Information"));
  SetFatCaptions();
  CRect client;
  GetClientRect(client);
  Layout(client.Width(), client.Height());
  return TRUE;
}

void CFileSystemForm::OnDraw(CDC*) {}

BOOL CFileSystemForm::OnEraseBkgnd(CDC* dc) {
  CRect client;
  GetClientRect(client);
  dc->FillSolidRect(client, kFormBackground);
  return TRUE;
}

HBRUSH CFileSystemForm::OnCtlColor(CDC* dc, CWnd* window, UINT) {
  dc->SetBkMode(TRANSPARENT);
  const int id = window->GetDlgCtrlID();
  const bool caption = id == IDC_GROUP_BOX || (id >= IDC_ROW_CAPTION_1 && id < IDC_ROW_CAPTION_1 + kRows);
  dc->SetTextColor(caption ? kPageCaptionColour : RGB(0, 0, 0));
  return static_cast<HBRUSH>(m_background.GetSafeHandle());
}

void CFileSystemForm::OnSize(UINT type, int cx, int cy) {
  CView::OnSize(type, cx, cy);
  Layout(cx, cy);
}

void CFileSystemForm::Layout(int cx, int) {
  if (m_group.GetSafeHwnd() == nullptr) return;
  const int width = cx > 60 ? cx - 30 : 30;
  const int rowHeight = 24;
  m_group.MoveWindow(15, 12, width, 36 + kRows * rowHeight);
  // The captions' colons in one column, the values a short way after it.
  const int valueX = kFormCaptionLeft + m_captions[0].ValueX();
  for (int row = 0; row < kRows; ++row) {
    const int y = 40 + row * rowHeight;
    m_captions[row].MoveWindow(kFormCaptionLeft, y, valueX - kFormCaptionLeft, 18);
    m_values[row].MoveWindow(valueX, y, width > valueX ? width + 5 - valueX : 10, 18);
  }
  const int below = 12 + 30 + kRows * rowHeight + 20;
  m_progress.MoveWindow(15, below, width, 22);
  m_status.MoveWindow(15, below + 32, width, 18);
  m_note.MoveWindow(15, below + 60, width, 40);
}

void CFileSystemForm::SetProgressPos(uint32_t position) { m_progress.SetPos(static_cast<int>(position)); }

void CFileSystemForm::SetStatusText(const std::u16string& text) { m_status.SetWindowText(os::Wide(text)); }

void CFileSystemForm::ShowProgressBar() { m_progress.ShowWindow(SW_SHOW); }
void CFileSystemForm::HideProgressBar() { m_progress.ShowWindow(SW_HIDE); }
void CFileSystemForm::ShowStatusText() { m_status.ShowWindow(SW_SHOW); }
void CFileSystemForm::HideStatusText() { m_status.ShowWindow(SW_HIDE); }

void CFileSystemForm::SetCaptions(FormCaptions kind) {
  const auto& captions = RowCaptions(kind);
  for (int row = 0; row < kRows; ++row) {
    m_captions[row].SetWindowText(os::Wide(captions[static_cast<size_t>(row)]));
    m_values[row].ShowWindow(SW_SHOW);
  }
}

void CFileSystemForm::SetFatCaptions() {
  SetCaptions(FormCaptions::kFat);
  ClearValues();
}

void CFileSystemForm::SetNtfsCaptions() {
  SetCaptions(FormCaptions::kNtfs);
  ClearValues();
}

void CFileSystemForm::ClearValues() {
  for (CStatic& value : m_values) value.SetWindowText(_T(""));
}

void CFileSystemForm::ShowChoice(const FileSystemChoice& choice) {
  if (!choice.changed) return;
  SetCaptions(choice.captions);
  if (choice.captionsOnly) return;
  for (int row = 0; row < kRows; ++row) {
    m_values[row].SetWindowText(os::Wide(choice.values[static_cast<size_t>(row)]));
  }
  if (choice.firstRowHidden) m_values[0].ShowWindow(SW_HIDE);
}

void CFileSystemForm::SetNote(LPCTSTR text) { m_note.SetWindowText(text); }

CString CFileSystemForm::RowCaption(int row) const {
  CString text;
  m_captions[row].GetWindowText(text);
  return text;
}

CString CFileSystemForm::RowValue(int row) const {
  CString text;
  m_values[row].GetWindowText(text);
  return text;
}

BOOL CFileSystemForm::RowValueVisible(int row) const { return m_values[row].IsWindowVisible(); }
