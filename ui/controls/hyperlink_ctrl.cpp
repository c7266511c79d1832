#include "ui/controls/hyperlink_ctrl.h"

#include "platform/classlib/win/cdc.h"
#include "platform/seams/open_address.h"
#include "platform/seams/seams.h"
#include "ui/controls/hyperlink_text.h"

static_assert(sizeof(wchar_t) == 2, "UTF-16 wchar_t");

namespace ui {
namespace {

constexpr UINT_PTR kLeaveTimer = 100;

}  // namespace

BEGIN_MESSAGE_MAP(HyperLinkCtrl, CStatic)
  ON_WM_CTLCOLOR_REFLECT()
  ON_WM_SETCURSOR()
  ON_WM_MOUSEMOVE()
  ON_WM_TIMER()
  ON_CONTROL_REFLECT(STN_CLICKED, OnClicked)
  ON_WM_ERASEBKGND()
  ON_WM_DESTROY()
END_MESSAGE_MAP()

HyperLinkCtrl::~HyperLinkCtrl() {
  if (m_linkCursor) ::DestroyCursor(m_linkCursor);
}

void HyperLinkCtrl::SetURL(const CString& target) {
  m_target = target;
  if (!m_hWnd) return;
  AdjustSize();
  if (m_tooltip.GetSafeHwnd()) m_tooltip.UpdateTipText(m_target, this, 1);
}

void HyperLinkCtrl::SetUnderline(int mode) {
  if (mode == m_underline) return;
  m_underline = mode;
  if (!m_hWnd) return;
  SelectFont(mode == kUnderlineAlways);
  Invalidate();
}

void HyperLinkCtrl::SetVisited(BOOL on, BOOL repaint) {
  m_visited = on;
  if (repaint && m_hWnd) Invalidate();
}

void HyperLinkCtrl::SelectFont(bool underlined) {
  CFont& font = underlined ? m_underlinedFont : m_plainFont;
  if (font.GetSafeHandle()) SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font.GetSafeHandle()), TRUE);
}

void HyperLinkCtrl::PreSubclassWindow() {
  ModifyStyle(0, SS_NOTIFY);
  CString text;
  GetWindowText(text);
  if (m_target.IsEmpty()) m_target = text;
  if (text.IsEmpty()) SetWindowText(m_target);

  HFONT font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
  if (!font) font = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
  if (!font) font = static_cast<HFONT>(::GetStockObject(SYSTEM_FONT));
  LOGFONTW record{};
  ::GetObjectW(font, sizeof record, &record);
  m_plainFont.DeleteObject();
  m_underlinedFont.DeleteObject();
  m_plainFont.CreateFontIndirect(&record);
  record.lfUnderline = TRUE;
  m_underlinedFont.CreateFontIndirect(&record);
  SelectFont(m_underline == kUnderlineAlways);

  AdjustSize();
  LoadLinkCursor();
  m_underline = kUnderlineHover;
  m_tooltip.Create(this);
  CRect client;
  GetClientRect(client);
  m_tooltip.AddTool(this, m_target, client, 1);
  CStatic::PreSubclassWindow();
}

BOOL HyperLinkCtrl::PreTranslateMessage(MSG* msg) {
  if (m_tooltip.GetSafeHwnd()) m_tooltip.RelayEvent(msg);
  return CStatic::PreTranslateMessage(msg);
}

void HyperLinkCtrl::AdjustSize() {
  if (!m_adjustToFit || !m_hWnd) return;
  CWnd* parent = GetParent();
  if (parent == nullptr) return;
  CString text;
  GetWindowText(text);
  HDC dc = ::GetDC(m_hWnd);
  HGDIOBJ old = ::SelectObject(dc, m_underlinedFont.GetSafeHandle());
  SIZE extent{};
  ::GetTextExtentPoint32W(dc, text, text.GetLength(), &extent);
  ::SelectObject(dc, old);
  ::ReleaseDC(m_hWnd, dc);

  CRect window, client;
  GetWindowRect(window);
  GetClientRect(client);
  parent->ScreenToClient(window);
  const int width = extent.cx + window.Width() - client.Width();
  const int height = extent.cy + window.Height() - client.Height();
  const DWORD style = GetStyle();
  const DWORD horizontal = style & SS_TYPEMASK;
  LinkAlign align = horizontal == SS_CENTER ? LinkAlign::kCentre : horizontal == SS_RIGHT ? LinkAlign::kRight : LinkAlign::kLeft;
  LinkRect fitted = FitLinkToText(LinkRect{window.left, window.top, window.right, window.bottom}, width, height, align,
                                  (style & SS_CENTERIMAGE) != 0);
  SetWindowPos(nullptr, fitted.left, fitted.top, fitted.right - fitted.left, fitted.bottom - fitted.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void HyperLinkCtrl::LoadLinkCursor() {
  if (m_linkCursor) return;
  wchar_t folder[MAX_PATH] = {};
  ::GetWindowsDirectoryW(folder, MAX_PATH);
  CString path = CString(folder) + L"\\winhlp32.exe";
  HMODULE module = ::LoadLibraryExW(path, nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (module) {
    HCURSOR hand = ::LoadCursorW(module, MAKEINTRESOURCEW(106));
    if (hand) m_linkCursor = static_cast<HCURSOR>(::CopyImage(hand, IMAGE_CURSOR, 0, 0, 0));
    ::FreeLibrary(module);
  }
  // Where the help viewer has no hand, the system's own.
  if (!m_linkCursor) m_linkCursor = static_cast<HCURSOR>(::CopyImage(::LoadCursorW(nullptr, IDC_HAND), IMAGE_CURSOR, 0, 0, 0));
}

HBRUSH HyperLinkCtrl::CtlColor(CDC* dc, UINT) {
  dc->SetTextColor(m_over ? m_hoverColour : (m_visited ? m_visitedColour : m_linkColour));
  dc->SetBkMode(TRANSPARENT);
  return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
}

BOOL HyperLinkCtrl::OnSetCursor(CWnd*, UINT, UINT) {
  if (!m_linkCursor) return FALSE;
  ::SetCursor(m_linkCursor);
  return TRUE;
}

void HyperLinkCtrl::OnMouseMove(UINT, CPoint) {
  if (!m_over) {
    m_over = true;
    if (m_underline == kUnderlineHover) SelectFont(true);
    Invalidate();
    SetTimer(kLeaveTimer, 100);
  }
  Default();
}

void HyperLinkCtrl::OnTimer(UINT_PTR) {
  // The message's own cursor position: where the mouse was when the timer fired.
  POINT cursor{};
  DWORD position = ::GetMessagePos();
  cursor.x = static_cast<short>(LOWORD(position));
  cursor.y = static_cast<short>(HIWORD(position));
  ::ScreenToClient(m_hWnd, &cursor);
  CRect client;
  GetClientRect(client);
  if (!client.PtInRect(CPoint(cursor.x, cursor.y))) {
    m_over = false;
    KillTimer(kLeaveTimer);
    if (m_underline != kUnderlineAlways) SelectFont(false);
    client.bottom += 10;
    InvalidateRect(client);
  }
  Default();
}

intptr_t HyperLinkCtrl::GotoURL(HWND owner, const CString& target, int show) {
  return seams::OpenAddress(owner, target.ToUtf16(), show);
}

void HyperLinkCtrl::ReportError(intptr_t result) {
  seams::MessageBoxRequest box;
  box.owner = m_hWnd;
  box.text = HyperlinkErrorText(static_cast<int>(result));
  box.caption = u"Error";
  box.style = MB_OK | MB_ICONEXCLAMATION;
  seams::MessageBoxes().Show(box);
}

void HyperLinkCtrl::OnClicked() {
  m_over = false;
  const intptr_t result = GotoURL(m_hWnd, m_target, SW_SHOW);
  // Visited says whether the last open worked: a failed one clears it.
  SetVisited(result > 32, TRUE);
  if (result > 32) return;
  ::MessageBeep(MB_ICONEXCLAMATION);
  ReportError(result);
}

BOOL HyperLinkCtrl::OnEraseBkgnd(CDC* dc) {
  dc->SetBkMode(TRANSPARENT);
  return TRUE;
}

void HyperLinkCtrl::OnDestroy() {
  KillTimer(kLeaveTimer);
  Default();
}

}  // namespace ui
