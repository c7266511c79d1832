// The command bar's mouse: the control under the pointer is selected and gets the moves, clicks and
// releases; a bar of an inactive window stays quiet unless it is a popup.
#include "toolkit/commandbars/tkp_bar_controls.h"
#include "toolkit/commandbars/tkp_command_bar.h"
#include "toolkit/commandbars/tkp_command_bars.h"
#include "toolkit/common/tkp_mouse_manager.h"

namespace {

BOOL TopParentActive(HWND hWnd) {
  HWND top = ::GetAncestor(hWnd, GA_ROOT);
  return top != nullptr && ::GetActiveWindow() == top;
}

}  // namespace

int CTKPCommandBar::HitTestControl(CPoint point) const { return tkp_bar::HitTest(m_pControls, point); }

void CTKPCommandBar::OnTrackedMouseMove(UINT nFlags, POINT client) { OnMouseMove(nFlags, CPoint(client.x, client.y)); }

void CTKPCommandBar::OnMouseMove(UINT, CPoint point) {
  CTKPMouseManager* mouse = TKPMouseManager();
  if (m_hWnd == nullptr || mouse->IsTrackedLock(this) || mouse->m_nLockButtonUp > 0) return;
  if (m_nTrackingMode == 0 && m_barType != tkpBarTypePopup && !TopParentActive(m_hWnd)) return;
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

void CTKPCommandBar::OnLButtonDown(UINT nFlags, CPoint point) {
  CTKPControl* control = GetControl(HitTestControl(point));
  if (control == nullptr || IsCustomizeMode()) {
    CWnd::OnLButtonDown(nFlags, point);
    return;
  }
  tkp_bar::OnClick(control, FALSE, point);
}

void CTKPCommandBar::OnLButtonDblClk(UINT nFlags, CPoint point) {
  CTKPControl* control = GetControl(HitTestControl(point));
  if (control != nullptr && !IsCustomizeMode()) {
    tkp_bar::OnLButtonDblClk(control, point);
    return;
  }
  CWnd::OnLButtonDblClk(nFlags, point);
}

void CTKPCommandBar::OnLButtonUp(UINT nFlags, CPoint point) {
  CTKPControl* control = GetControl(HitTestControl(point));
  if (control != nullptr && !IsCustomizeMode()) {
    tkp_bar::OnLButtonUp(control, point);
    return;
  }
  CWnd::OnLButtonUp(nFlags, point);
}

void CTKPCommandBar::OnRButtonUp(UINT nFlags, CPoint point) {
  CTKPControl* control = GetControl(HitTestControl(point));
  if (control == nullptr || IsCustomizeMode()) {
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
