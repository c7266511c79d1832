#include "ui/controls/hover_button.h"

#include "platform/classlib/win/cwinapp.h"
#include "res/resource.h"

namespace ui {

uint32_t HoveredModeButton = 0;

BOOL HoverBitmaps::Load(CWnd* button, UINT normalId, UINT hoverId) {
  normal_.DeleteObject();
  hover_.DeleteObject();
  if (!normal_.LoadMappedBitmap(normalId) || !hover_.LoadMappedBitmap(hoverId)) return FALSE;
  BITMAP info{};
  normal_.GetBitmap(&info);
  width_ = info.bmWidth;
  height_ = info.bmHeight;
  if (button->GetSafeHwnd()) button->SetWindowPos(nullptr, 0, 0, width_, height_, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  return TRUE;
}

void HoverBitmaps::Draw(HDC dc, bool hovered, bool pressed) const {
  const CBitmap& picture = hovered || pressed ? hover_ : normal_;
  if (!picture.GetSafeHandle()) return;
  HDC memory = ::CreateCompatibleDC(dc);
  if (!memory) return;
  HGDIOBJ old = ::SelectObject(memory, picture.GetSafeHandle());
  ::BitBlt(dc, 0, 0, width_, height_, memory, 0, 0, SRCCOPY);
  // Pressed: the picture moves one pixel down and right over itself, so its own edge stays at the top
  // and left instead of a gap.
  if (pressed) ::BitBlt(dc, 1, 1, width_ - 1, height_ - 1, memory, 0, 0, SRCCOPY);
  ::SelectObject(memory, old);
  ::DeleteDC(memory);
}

void TrackHoverAndLeave(HWND window) {
  TRACKMOUSEEVENT track{};
  track.cbSize = sizeof track;
  track.dwFlags = TME_HOVER | TME_LEAVE;
  track.hwndTrack = window;
  track.dwHoverTime = 1;
  ::TrackMouseEvent(&track);
}

void SetButtonTip(CToolTipCtrl& tip, CWnd* button, LPCTSTR text) {
  if (tip.GetToolCount() == 0) {
    CRect client;
    button->GetClientRect(client);
    tip.AddTool(button, text, client, 1);
  }
  tip.UpdateTipText(text, button, 1);
}

// ---- HoverBitmapButton -------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(HoverBitmapButton, CBitmapButton)

BEGIN_MESSAGE_MAP(HoverBitmapButton, CBitmapButton)
  ON_WM_MOUSEMOVE()
  ON_WM_MOUSEHOVER()
  ON_WM_MOUSELEAVE()
  ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

void HoverBitmapButton::OnMouseMove(UINT, CPoint) {
  if (!m_tracking) {
    TrackHoverAndLeave(m_hWnd);
    m_tracking = true;
  }
  Default();
}

void HoverBitmapButton::OnMouseHover(UINT, CPoint) {
  m_hovered = true;
  OnHoverChanged();
}

void HoverBitmapButton::OnMouseLeave() {
  m_tracking = false;
  m_hovered = false;
  OnHoverChanged();
}

BOOL HoverBitmapButton::OnEraseBkgnd(CDC*) { return TRUE; }

// ---- CHoverButton ------------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CHoverButton, HoverBitmapButton)

BEGIN_MESSAGE_MAP(CHoverButton, HoverBitmapButton)
  ON_WM_MOUSEMOVE()
  ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

CHoverButton::CHoverButton() {
  HINSTANCE module = AfxGetResourceHandle();
  m_handCursor = static_cast<HCURSOR>(::LoadImageW(module, MAKEINTRESOURCEW(IDC_HAND_CURSOR), IMAGE_CURSOR, 0, 0, LR_DEFAULTSIZE));
  m_pressedCursor =
      static_cast<HCURSOR>(::LoadImageW(module, MAKEINTRESOURCEW(IDC_PRESSED_HAND_CURSOR), IMAGE_CURSOR, 0, 0, LR_DEFAULTSIZE));
}

CHoverButton::~CHoverButton() {
  if (m_handCursor) ::DestroyCursor(m_handCursor);
  if (m_pressedCursor) ::DestroyCursor(m_pressedCursor);
}

void CHoverButton::DrawItem(LPDRAWITEMSTRUCT item) { m_bitmaps.Draw(item->hDC, m_hovered, false); }

void CHoverButton::OnMouseMove(UINT flags, CPoint point) {
  HoverBitmapButton::OnMouseMove(flags, point);
  if (m_handCursor) ::SetCursor(m_handCursor);
}

void CHoverButton::OnLButtonDown(UINT, CPoint) {
  if (m_pressedCursor) ::SetCursor(m_pressedCursor);
  Default();
}

void CHoverButton::OnHoverChanged() {
  if (m_hovered && m_handCursor) ::SetCursor(m_handCursor);
  HoveredModeButton = m_hovered ? m_hoverId : 0;
  if (m_companion != nullptr && m_companion->GetSafeHwnd()) m_companion->Invalidate();
  Invalidate(FALSE);
}

// ---- CToolButton -------------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CToolButton, HoverBitmapButton)

void CToolButton::EnsureTooltip() {
  if (m_tooltip.GetSafeHwnd()) return;
  m_tooltip.Create(this);
  m_tooltip.Activate(FALSE);
}

void CToolButton::SetTooltipText(LPCTSTR text, BOOL activate) {
  if (text == nullptr) return;
  EnsureTooltip();
  SetButtonTip(m_tooltip, this, text);
  m_tooltip.Activate(activate);
}

BOOL CToolButton::PreTranslateMessage(MSG* msg) {
  EnsureTooltip();
  m_tooltip.RelayEvent(msg);
  return HoverBitmapButton::PreTranslateMessage(msg);
}

void CToolButton::DrawItem(LPDRAWITEMSTRUCT item) {
  const bool pressed = (item->itemState & ODS_SELECTED) != 0;
  m_bitmaps.Draw(item->hDC, m_hovered, pressed);
}

}  // namespace ui
