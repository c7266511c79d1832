// The tips of a bar's controls, for toolbars and popup bars alike: a popup tracked as a menu shows its
// own tips while the bars behind it stay quiet.
#include "toolkit/commandbars/bars/tkp_command_bar.h"

#include "toolkit/commandbars/controls/tkp_control.h"
#include "toolkit/commandbars/frame/tkp_command_bars.h"
#include "toolkit/commandbars/frame/tkp_command_bars_options.h"
#include "toolkit/commandbars/state/tkp_shortcut_manager.h"
#include "toolkit/common/tkp_mouse_manager.h"
#include "toolkit/common/tkp_tooltip_context.h"

INT_PTR CTKPCommandBar::OnToolHitTest(CPoint point, TOOLINFO* pTI) const {
  CTKPCommandBars* bars = GetCommandBars();
  CTKPMouseManager* mouse = TKPMouseManager();
  const bool keyboardOnBar = m_nTrackingMode == 2 && m_barType != tkpBarTypePopup;
  if (keyboardOnBar || mouse->m_nLockButtonUp > 0 || mouse->IsTrackedLock(this)) return -1;
  if (bars != nullptr && !bars->GetOptions()->bToolBarScreenTips) return -1;
  CTKPControl* control = GetControl(HitTestControl(point));
  if (control == nullptr) return -1;
  const bool popupTips = bars != nullptr && bars->GetOptions()->bShowPopupBarToolTips;
  if (m_barType == tkpBarTypePopup && (control->GetFlags() & tkpFlagExpandButton) == 0 && !popupTips) return -1;
  CString tip = control->GetTooltip();
  if (tip.IsEmpty()) tip = control->GetCaption();
  CString description = control->GetDescription();
  CString shortcut = control->GetShortcutText();
  if (bars != nullptr && bars->GetOptions()->bToolBarAccelTips) {
    if (shortcut.IsEmpty() && bars->GetShortcutManager() != nullptr) {
      bars->GetShortcutManager()->FindDefaultAccelerator(control->GetID(), shortcut);
    }
    if (!shortcut.IsEmpty()) {
      tip += _T(" (") + shortcut + _T(")");
      description += _T(" (") + shortcut + _T(")");
    }
  }
  const INT_PTR id = control->GetID() != 0 ? control->GetID() : -1;
  CTKPToolTipContext::FillInToolInfo(pTI, m_hWnd, control->GetRect(), id, tip, tip, description);
  return id;
}

