// Tearing a popup menu off: the gripper strip at its top lights while the mouse rests on it, and a drag
// out of it turns the menu into a floating toolbar with its commands that follows the mouse; dragged
// back in, the menu shows again and the toolbar goes.
#include "platform/classlib/win/cdc.h"
#include "toolkit/commandbars/frame/tkp_command_bars.h"
#include "toolkit/commandbars/controls/tkp_control.h"
#include "toolkit/commandbars/controls/tkp_control_popup.h"
#include "toolkit/commandbars/controls/tkp_controls.h"
#include "toolkit/commandbars/paint/tkp_paint_manager.h"
#include "toolkit/commandbars/bars/tkp_paint_pump.h"
#include "toolkit/commandbars/bars/tkp_popup_bar.h"
#include "toolkit/commandbars/bars/tkp_tool_bar.h"
#include "toolkit/common/tkp_mouse_manager.h"

namespace {

constexpr UINT kTearOffPeriod = 80;
// The drag stays "in the menu" this far around the gripper.
constexpr int kGripperSlack = 10;
// The torn-off toolbar's layout: horizontal, at its remembered width, committed.
constexpr DWORD kTearOffLayout = 0x46;

}  // namespace

void CTKPPopupBar::SetTearOffPopup(LPCTSTR lpszCaption, UINT nBarID, int nWidth) {
  m_bTearOffPopup = TRUE;
  m_strTearOffCaption = lpszCaption;
  m_nTearOffID = nBarID;
  m_nTearOffWidth = nWidth;
}

void CTKPPopupBar::OnTearOffMouseMove(CPoint point) {
  if (!m_bTearOffPopup || IsCustomizeMode() || m_bTearOffHot || m_nTearOffTimer != 0) return;
  if (!m_rcTearOff.PtInRect(point)) return;
  SetSelected(-1);
  PopupControl(-1);
  m_nTearOffTimer = SetTimer(TKP_TIMER_TEAROFF, kTearOffPeriod, nullptr);
}

BOOL CTKPPopupBar::OnTearOffTimer(UINT_PTR nIDEvent) {
  if (nIDEvent != TKP_TIMER_TEAROFF) return FALSE;
  CPoint cursor;
  ::GetCursorPos(cursor);
  ScreenToClient(cursor);
  if (m_rcTearOff.PtInRect(cursor)) {
    if (!m_bTearOffHot) {
      m_bTearOffHot = TRUE;
      Invalidate(FALSE);
    }
  } else if (!m_bTearOffDragging) {
    m_bTearOffHot = FALSE;
    Invalidate(FALSE);
    KillTimer(TKP_TIMER_TEAROFF);
    m_nTearOffTimer = 0;
  }
  return TRUE;
}

void CTKPPopupBar::OnLButtonDown(UINT nFlags, CPoint point) {
  if (m_bTearOffPopup && !IsCustomizeMode() && m_rcTearOff.PtInRect(point)) {
    TrackTearOff();
    if (m_hWnd == nullptr || !IsTrackingMode()) return;  // torn off: the menus closed
  }
  CTKPCommandBar::OnLButtonDown(nFlags, point);
}

void CTKPPopupBar::TrackTearOff() {
  ::SetCursor(::LoadCursorW(nullptr, IDC_SIZEALL));
  CTKPMouseManager* mouse = TKPMouseManager();
  ++mouse->m_nLockButtonUp;
  m_bTearOffDragging = TRUE;
  m_pTearOffBar = nullptr;
  SetCapture();
  CRect gripper = m_rcTearOff;
  ClientToScreen(gripper);
  gripper.InflateRect(kGripperSlack, kGripperSlack);
  CPoint last(-32768, -32768);
  for (;;) {
    MSG msg;
    if (!TKPDispatchPendingPaints()) break;
    const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) {
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (got < 0) break;
    if (msg.message == WM_LBUTTONUP || (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE)) break;
    if (msg.message == WM_MOUSEMOVE) {
      CPoint point(static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam)));
      ::ClientToScreen(msg.hwnd, point);
      if (point != last) MoveTearOff(point, gripper);
      last = point;
      continue;
    }
    ::DispatchMessageW(&msg);
    if (m_hWnd == nullptr || ::GetCapture() != m_hWnd) break;  // the capture went elsewhere
  }
  if (m_hWnd != nullptr && ::GetCapture() == m_hWnd) ::ReleaseCapture();
  --mouse->m_nLockButtonUp;
  m_bTearOffDragging = FALSE;
  CTKPToolBar* torn = m_pTearOffBar;
  m_pTearOffBar = nullptr;
  if (torn != nullptr) {
    if (CTKPCommandBars* bars = GetCommandBars()) bars->ClosePopups();
  } else if (m_hWnd != nullptr && !IsWindowVisible()) {
    ShowWindow(SW_SHOWNA);  // no toolbar could be made: the menu is not left open unseen
  }
}

void CTKPPopupBar::MoveTearOff(CPoint ptScreen, const CRect& rcGripper) {
  if (rcGripper.PtInRect(ptScreen)) {
    ShowWindow(SW_SHOWNA);
    if (m_pTearOffBar != nullptr) {
      m_pTearOffBar->SetVisible(FALSE);
      m_pTearOffBar = nullptr;
    }
    return;
  }
  ShowWindow(SW_HIDE);
  if (m_pTearOffBar == nullptr) m_pTearOffBar = TakeTearOffBar();
  if (m_pTearOffBar == nullptr || m_pTearOffBar->GetSafeHwnd() == nullptr) return;
  CRect rc;
  m_pTearOffBar->GetWindowRect(rc);
  m_pTearOffBar->SetWindowPos(nullptr, ptScreen.x - rc.Width() / 2, ptScreen.y - 10, rc.Width(), rc.Height(),
                              SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

CTKPToolBar* CTKPPopupBar::TakeTearOffBar() {
  CTKPCommandBars* bars = GetCommandBars();
  if (bars == nullptr) return nullptr;
  CTKPToolBar* bar = bars->GetToolBar(m_nTearOffID);
  if (bar != nullptr) {
    bars->FloatCommandBar(bar);
    bar->SetVisible(TRUE);
    bars->RecalcFrameLayout();
  } else {
    bar = bars->AddCustomBar(m_strTearOffCaption, m_nTearOffID, TRUE);
    if (bar == nullptr) return nullptr;
    m_nTearOffID = bar->GetBarID();  // a popup without an id tears off this bar from now on
    bar->SetMRUWidth(m_nTearOffWidth);
    for (int i = 0; i < GetControlCount(); ++i) {
      CTKPControl* control = GetControl(i);
      if (control->GetID() == TKP_ID_POPUP_EXPAND) continue;
      if (CTKPControl* clone = bar->GetControls()->AddClone(control, -1)) {
        clone->SetHideFlags(clone->GetHideFlags() & ~static_cast<DWORD>(tkpHideScroll | tkpHideExpand));
      }
    }
  }
  const CSize size = bar->CalcDynamicLayout(-1, kTearOffLayout);
  if (bar->GetSafeHwnd() != nullptr) {
    bar->SetWindowPos(nullptr, 0, 0, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
  }
  return bar;
}

void CTKPPopupBar::DrawTearOffGripper(CDC* pDC) {
  if (!m_bTearOffPopup || GetControlCount() == 0 || m_rcTearOff.IsRectEmpty()) return;
  GetPaintManager()->DrawTearOffGripper(pDC, m_rcTearOff, m_bTearOffHot, TRUE);
}
