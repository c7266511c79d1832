#include "toolkit/commandbars/controls/tkp_control_custom.h"

#include <set>

#include "toolkit/commandbars/bars/tkp_command_bar.h"
#include "toolkit/commandbars/frame/tkp_command_bars.h"
#include "toolkit/commandbars/controls/tkp_control_edit.h"
#include "toolkit/commandbars/controls/tkp_controls.h"
#include "toolkit/common/tkp_prop_exchange.h"

IMPLEMENT_SERIAL(CTKPControlCustom, CTKPControlButton, 1)

CTKPControlCustom::CTKPControlCustom() {
  m_controlType = tkpControlCustom;
  m_dwFlags = tkpFlagNoMovable;
}

CTKPControlCustom::~CTKPControlCustom() { TKPHookManager()->RemoveAll(this); }

void CTKPControlCustom::SetControl(CWnd* pWnd) {
  m_hwndControl = pWnd != nullptr ? pWnd->GetSafeHwnd() : nullptr;
  m_nControlId = m_hwndControl != nullptr ? ::GetDlgCtrlID(m_hwndControl) : 0;
  Hook();
  DelayLayoutParent();
}

void CTKPControlCustom::Hook() {
  if (m_hwndHooked == m_hwndControl) return;
  // Registered once per window: a new window takes the old one's place.
  if (m_hwndHooked != nullptr) TKPHookManager()->RemoveHook(m_hwndHooked, this);
  m_hwndHooked = m_hwndControl;
  if (m_hwndHooked != nullptr) TKPHookManager()->SetHook(m_hwndHooked, this);
}

CSize CTKPControlCustom::GetSize(CDC* pDC) {
  if (HasWindow() && m_bControlVisible) {
    return CSize(m_szControl.cx + m_rcBorders.left + m_rcBorders.right,
                 m_szControl.cy + m_rcBorders.top + m_rcBorders.bottom);
  }
  return CTKPControlButton::GetSize(pDC);
}

void CTKPControlCustom::SetRect(CRect rc) {
  HWND bar = m_pParent != nullptr ? m_pParent->GetSafeHwnd() : nullptr;
  if (rc == m_rcControl && HasWindow() && ::GetParent(m_hwndControl) == bar) return;
  m_rcControl = rc;
  if (!HasWindow() || bar == nullptr) return;
  ::SetParent(m_hwndControl, bar);
  CWnd::ModifyStyle(m_hwndControl, WS_POPUP, WS_CHILD, 0);
  ::MoveWindow(m_hwndControl, rc.left + m_rcBorders.left, rc.top + m_rcBorders.top,
               rc.Width() - m_rcBorders.left - m_rcBorders.right, rc.Height() - m_rcBorders.top - m_rcBorders.bottom,
               TRUE);
  ApplyVisibility();
}

void CTKPControlCustom::ApplyVisibility() {
  if (!HasWindow()) return;
  const UINT show = m_bControlVisible && m_dwHideFlags == 0 ? SWP_SHOWWINDOW : SWP_HIDEWINDOW;
  ::SetWindowPos(m_hwndControl, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | show);
}

void CTKPControlCustom::SetEnabled(BOOL bEnabled) {
  CTKPControlButton::SetEnabled(bEnabled);
  if (HasWindow()) ::EnableWindow(m_hwndControl, bEnabled);
}

void CTKPControlCustom::SetHideFlags(DWORD dwFlags) {
  m_dwHideFlags = dwFlags;
  ApplyVisibility();
  DelayLayoutParent();
}

void CTKPControlCustom::OnCalcDynamicSize(DWORD dwMode) {
  const BOOL vertical = (dwMode & TKP_LAYOUT_VERTICAL_DOCK) != 0;
  if (m_nVerticalOptions == 0) {
    const DWORD flags = tkp_field::HideFlagsForMode(m_dwHideFlags, dwMode);
    if (flags != m_dwHideFlags) SetHideFlags(flags);
  } else if (m_nVerticalOptions == 2) {
    m_bControlVisible = !vertical;
    ApplyVisibility();
  }
}

void CTKPControlCustom::Copy(CTKPControl* pSource, BOOL bRecursive) {
  auto* source = tkp_field::KindOf<CTKPControlCustom>(pSource);
  if (source != nullptr && source != this) {
    m_rcBorders = source->m_rcBorders;
    m_nVerticalOptions = source->m_nVerticalOptions;
    m_szControl = source->m_szControl;
    m_hwndControl = source->m_hwndControl;  // the copy shares the window
    m_nControlId = source->m_nControlId;
    Hook();
  }
  CTKPControlButton::Copy(pSource, bRecursive);
}

void CTKPControlCustom::Draw(CDC* pDC) {
  if (IsWindowShown()) return;  // the window paints itself
  CTKPControlButton::Draw(pDC);
}

void CTKPControlCustom::OnClick(BOOL bKeyboard, CPoint pt) {
  if (IsWindowShown() && !IsCustomizeMode()) return;
  CTKPControlButton::OnClick(bKeyboard, pt);
}

void CTKPControlCustom::DoPropExchange(CTKPPropExchange* pPX) {
  CTKPControlButton::DoPropExchange(pPX);
  PX_Rect(pPX, _T("Borders"), m_rcBorders, CRect(0, 0, 0, 0));
  PX_Size(pPX, _T("ControlSize"), m_szControl, CSize(0, 0));
  LONG vertical = m_nVerticalOptions;
  PX_Long(pPX, _T("VerticalOptions"), vertical, 0);
  m_nVerticalOptions = static_cast<int>(vertical);
  if (pPX->GetSchema() > 5) {
    LONG id = m_nControlId;
    PX_Long(pPX, _T("ControlId"), id, 0);
    m_nControlId = static_cast<int>(id);
  }
  if (pPX->IsLoading() && m_nControlId != 0) FindWindowById();
}

namespace {

// Whether a custom control of these controls, their originals or their popups' hosts the window.
bool HostsWindow(CTKPControls* controls, HWND window, std::set<CTKPControls*>& seen) {
  for (CTKPControls* set : {controls, controls != nullptr ? controls->GetOriginalControls() : nullptr}) {
    if (set == nullptr || !seen.insert(set).second) continue;
    for (int i = 0; i < set->GetCount(); ++i) {
      CTKPControl* control = set->GetAt(i);
      if (auto* custom = dynamic_cast<CTKPControlCustom*>(control); custom != nullptr && custom->GetControl() == window) {
        return true;
      }
      CTKPCommandBar* popup = control->GetCommandBar();
      if (popup != nullptr && HostsWindow(popup->GetControls(), window, seen)) return true;
    }
  }
  return false;
}

}  // namespace

void CTKPControlCustom::FindWindowById() {
  CTKPCommandBars* bars = m_pParent != nullptr ? m_pParent->GetCommandBars() : nullptr;
  if (bars == nullptr) return;
  HWND found = nullptr;
  if (CWnd* site = bars->GetSite()) found = ::GetDlgItem(site->GetSafeHwnd(), m_nControlId);
  for (int i = 0; found == nullptr && i < bars->GetCount(); ++i) {
    CTKPCommandBar* bar = bars->GetAt(i);
    if (bar != nullptr && bar->GetSafeHwnd() != nullptr) found = ::GetDlgItem(bar->GetSafeHwnd(), m_nControlId);
  }
  if (found == nullptr) return;
  std::set<CTKPControls*> seen;
  bool hosted = false;
  for (int i = 0; !hosted && i < bars->GetCount(); ++i) {
    CTKPCommandBar* bar = bars->GetAt(i);
    hosted = bar != nullptr && HostsWindow(bar->GetControls(), found, seen);
  }
  if (!hosted) return;
  m_hwndControl = found;
  Hook();
}

int CTKPControlCustom::OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT&) {
  // The bar's hot tracking goes on over the window.
  if (nMessage == WM_MOUSEMOVE && hWnd == m_hwndControl && m_pParent != nullptr && m_pParent->GetSafeHwnd() != nullptr) {
    POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    ::MapWindowPoints(hWnd, m_pParent->GetSafeHwnd(), &point, 1);
    m_pParent->SendMessage(WM_MOUSEMOVE, wParam, MAKELPARAM(point.x, point.y));
  }
  return 0;
}
