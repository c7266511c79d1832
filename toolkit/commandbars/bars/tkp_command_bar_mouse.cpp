// The command bar's mouse: the control under the pointer is selected and gets the moves, clicks and
// releases; a bar of an inactive window stays quiet unless it is a popup.
#include "platform/classlib/win/cframewnd.h"
#include "toolkit/commandbars/bars/tkp_bar_controls.h"
#include "toolkit/commandbars/bars/tkp_command_bar.h"
#include "toolkit/commandbars/frame/tkp_command_bars.h"
#include "toolkit/common/tkp_mouse_manager.h"

int CTKPCommandBar::HitTestControl(CPoint point) const { return tkp_bar::HitTest(m_pControls, point); }

void CTKPCommandBar::OnTrackedMouseMove(UINT nFlags, POINT client) { OnMouseMove(nFlags, CPoint(client.x, client.y)); }

void CTKPCommandBar::OnMouseMove(UINT, CPoint point) {
  CTKPMouseManager* mouse = TKPMouseManager();
  if (m_hWnd == nullptr || mouse->IsTrackedLock(this) || mouse->m_nLockButtonUp > 0) return;
  if (m_nTrackingMode == 0 && m_barType != tkpBarTypePopup && !TKPIsTopParentActive(m_hWnd)) return;
  if (IsCustomizeMode()) return;  // the customize drag follows the mouse itself
  const int hit = HitTestControl(point);
  if (CTKPControl* control = GetControl(hit)) {
    mouse->TrackMouseLeave(m_hWnd);
    tkp_bar::OnMouseMove(control, point);
    SetSelected(hit, FALSE);
    return;
  }
  const bool keep = m_nTrackingMode != 0 &&
                    (m_barType != tkpBarTypePopup || m_nPopuped >= 0 || m_bKeyboardSelected);
  if (!keep) SetSelected(-1, FALSE);
}

void CTKPCommandBar::OnMouseLeave() {
  if (TKPMouseManager()->m_nLockButtonUp > 0 || m_nLockTrack > 0) return;
  if (m_nTrackingMode != 0 && (m_barType != tkpBarTypePopup || m_nPopuped >= 0)) return;
  SetSelected(-1, FALSE);
}

void CTKPCommandBar::OnNcMouseMove(UINT nHitTest, CPoint point) {
  OnMouseLeave();
  CWnd::OnNcMouseMove(nHitTest, point);
}

CTKPControl* CTKPCommandBar::ClickedControl(CPoint point) const {
  return IsCustomizeMode() ? nullptr : GetControl(HitTestControl(point));
}

void CTKPCommandBar::OnLButtonDown(UINT nFlags, CPoint point) {
  if (CTKPControl* control = ClickedControl(point)) {
    tkp_bar::OnClick(control, FALSE, point);
  } else {
    CWnd::OnLButtonDown(nFlags, point);
  }
}

void CTKPCommandBar::OnLButtonDblClk(UINT nFlags, CPoint point) {
  if (CTKPControl* control = ClickedControl(point)) {
    tkp_bar::OnLButtonDblClk(control, point);
  } else {
    CWnd::OnLButtonDblClk(nFlags, point);
  }
}

void CTKPCommandBar::OnLButtonUp(UINT nFlags, CPoint point) {
  if (CTKPControl* control = ClickedControl(point)) {
    tkp_bar::OnLButtonUp(control, point);
  } else {
    CWnd::OnLButtonUp(nFlags, point);
  }
}

void CTKPCommandBar::OnRButtonUp(UINT nFlags, CPoint point) {
  CTKPControl* control = ClickedControl(point);
  if (control == nullptr) {
    CWnd::OnRButtonUp(nFlags, point);
    return;
  }
  CWnd* site = GetSite();
  if (site != nullptr && site->m_hWnd != nullptr &&
      site->SendMessage(TKP_WM_CONTROLRBUTTONUP, reinterpret_cast<WPARAM>(&point),
                        reinterpret_cast<LPARAM>(control)) == 1) {
    return;
  }
  if (GetRootParent()->m_bRightButtonSelects) {
    tkp_bar::OnLButtonUp(control, point);
  } else {
    tkp_bar::OnRButtonUp(control, point);
  }
}

// ---- context help ------------------------------------------------------------------------------------

BOOL CTKPCommandBar::IsSiteInHelpMode() const {
  CWnd* site = GetSite();
  CFrameWnd* frame = site != nullptr ? site->AsFrameWnd() : nullptr;
  return frame != nullptr && frame->m_bHelpMode;
}

LRESULT CTKPCommandBar::OnNcHitTest(CPoint point) {
  if (!IsSiteInHelpMode()) return CWnd::OnNcHitTest(point);
  ScreenToClient(point);
  const CTKPControl* control = GetControl(HitTestControl(point));
  if (control == nullptr || tkp_bar::Id(control) > 0) return HTCLIENT;
  const int type = tkp_bar::Type(control);
  if (type >= 2 && type <= 4) return HTMENU;  // a popup without a command of its own
  return CWnd::OnNcHitTest(point);
}

void CTKPCommandBar::OnNcLButtonDown(UINT nHitTest, CPoint point) {
  if (!IsSiteInHelpMode()) {
    CWnd::OnNcLButtonDown(nHitTest, point);
    return;
  }
  // Context help asks about the control under the click as a click would.
  ScreenToClient(point);
  OnLButtonDown(0, point);
}
