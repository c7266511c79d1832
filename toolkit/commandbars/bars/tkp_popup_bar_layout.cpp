// The popup bar's layout: a menu of one item per row with its rarely used commands hidden behind the
// expand button until expanded, or a small wrapped toolbar; re-layout while shown, and painting.
#include <algorithm>

#include "platform/classlib/win/cdc.h"
#include "toolkit/commandbars/bars/toolbar_layout.h"
#include "toolkit/commandbars/frame/tkp_command_bars.h"
#include "toolkit/commandbars/controls/tkp_control.h"
#include "toolkit/commandbars/controls/tkp_control_popup.h"
#include "toolkit/commandbars/controls/tkp_controls.h"
#include "toolkit/commandbars/paint/tkp_paint_manager.h"
#include "toolkit/commandbars/bars/tkp_popup_bar.h"
#include "toolkit/commandbars/bars/tkp_shadow_manager.h"
#include "toolkit/commandbars/state/tkp_shortcut_manager.h"
#include "toolkit/common/tkp_sound_manager.h"
#include "toolkit/common/tkp_tooltip_context.h"

IMPLEMENT_SERIAL(CTKPPopupToolBar, CTKPPopupBar, 1)

namespace {

// Hide bits that do not keep a control out of a menu for good: scrolled out, hidden by usage.
constexpr DWORD kSoftHide = tkpHideScroll | tkpHideExpand;
// The smallest item area of a menu.
constexpr int kMinimumItemExtent = 22;
// A menu item is never wider than this part of the work area.
constexpr int kWidthFactorDivisor = 3;

// The client DC of the bar, or of the screen before the bar has a window.
class MeasureDC : public CDC {
 public:
  explicit MeasureDC(CWnd* pWnd) : m_hWnd(pWnd != nullptr ? pWnd->GetSafeHwnd() : nullptr) {
    Attach(::GetDC(m_hWnd));
  }
  ~MeasureDC() override { ::ReleaseDC(m_hWnd, Detach()); }
  MeasureDC(const MeasureDC&) = delete;
  MeasureDC& operator=(const MeasureDC&) = delete;

 private:
  HWND m_hWnd;
};

}  // namespace

// ---- personalization ---------------------------------------------------------------------------------

void CTKPPopupBar::Personalize() {
  CTKPCommandBars* bars = GetCommandBars();
  const BOOL fullMenus = bars == nullptr || bars->GetOptions()->bAlwaysShowFullMenus;
  const int count = GetControlCount();
  for (int i = 0; i < count; ++i) {
    CTKPControl* control = GetControl(i);
    const BOOL hidden = !fullMenus && (control->GetHideFlags() & ~kSoftHide) == 0 && bars->IsControlHidden(control);
    control->SetHiddenByUsage(hidden);
    control->SetHideFlags(control->GetHideFlags() & ~static_cast<DWORD>(tkpHideExpand));
  }
  if (fullMenus) {
    m_bExpanded = TRUE;
    return;
  }
  if (m_bExpanded) return;
  // A menu whose every command is rarely used shows them all.
  bool anyShown = false;
  for (int i = 0; i < count && !anyShown; ++i) {
    const CTKPControl* control = GetControl(i);
    anyShown = control->GetID() != TKP_ID_POPUP_EXPAND && !control->IsHiddenByUsage() &&
               (control->GetHideFlags() & ~kSoftHide) == 0;
  }
  if (!anyShown) return;
  for (int i = 0; i < count; ++i) {
    CTKPControl* control = GetControl(i);
    if (!control->IsHiddenByUsage()) continue;
    control->SetHideFlags(control->GetHideFlags() | tkpHideExpand);
    m_bHasHiddenCommands = TRUE;
  }
}

void CTKPPopupBar::Expand() {
  if (m_bExpanded || !m_bHasHiddenCommands) return;
  if (m_pToolTipContext != nullptr) m_pToolTipContext->CancelToolTips();
  m_bAnimateExpansion = TRUE;
  m_bExpanded = TRUE;
  PopupControl(-1);
  SetSelected(-1);
  OnRecalcLayout();
  TKPPopupsExpandedWhileTracking() = TRUE;
}

// ---- the menu layout ----------------------------------------------------------------------------------

CSize CTKPPopupBar::CalcDynamicLayout(int, DWORD) { return CalcMenuLayout(); }

CSize CTKPPopupBar::CalcMenuLayout() {
  m_bInLayout = TRUE;
  CTKPPaintManager* paint = GetPaintManager();
  MeasureDC dc(this);
  CFont* oldFont = dc.SelectObject(paint->GetRegularFont(this, FALSE));
  RECT work{0, 0, 0, 0};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  CRect borders = paint->GetCommandBarBorders(this);
  const int separator = paint->DrawCommandBarSeparator(&dc, this, nullptr, FALSE).cy;
  const int gripper = m_bTearOffPopup ? paint->DrawTearOffGripper(&dc, CRect(), FALSE, FALSE).cy : 0;
  borders.top += gripper;
  CTKPControls* controls = GetControls();
  for (int i = 0; i < GetControlCount(); ++i) GetControl(i)->OnCalcDynamicSize(0);
  m_bHasHiddenCommands = FALSE;
  Personalize();

  CTKPControl* expand = controls->FindControl(TKP_ID_POPUP_EXPAND);
  if (m_bHasHiddenCommands && expand == nullptr) {
    expand = controls->Add(new CTKPControlExpandButton, TKP_ID_POPUP_EXPAND, CString(), -1, TRUE);
  }
  int expandHeight = 0;
  if (expand != nullptr) {
    expand->SetHideFlags(tkpHideGeneric);
    if (m_bHasHiddenCommands) expandHeight = paint->DrawSpecialControl(&dc, tkpSpecialPopupExpand, expand, this, FALSE, CSize()).cy;
  }
  borders.bottom += expandHeight;
  UpdateShortcuts();

  const int cap = work.right > 0 ? work.right / kWidthFactorDivisor : 0;
  int y = borders.top;
  int widest = 0;
  bool first = true;
  for (int i = 0; i < GetControlCount(); ++i) {
    CTKPControl* control = GetControl(i);
    control->SetHideFlags(control->GetHideFlags() & ~static_cast<DWORD>(tkpHideScroll));
    if (control->GetHideFlags() != tkpNoHide) continue;
    if (control->GetBeginGroup() && !first) y += separator;
    first = false;
    dc.SelectObject(paint->GetRegularFont(this, control->GetDefaultItem()));
    CSize size = control->GetSize(&dc);
    if (cap > 0 && size.cx > cap) size.cx = cap;
    control->SetRect(CRect(borders.left, y, borders.left + size.cx, y + size.cy));
    control->SetWrap(FALSE);
    y += size.cy;
    widest = std::max<int>(widest, size.cx);
  }
  const int width = std::max(widest, kMinimumItemExtent);
  if (first) y = borders.top + kMinimumItemExtent;
  for (int i = 0; i < GetControlCount(); ++i) {
    CTKPControl* control = GetControl(i);
    if (!control->IsVisible()) continue;
    CRect rc = control->GetRect();
    control->SetRect(CRect(rc.left, rc.top, rc.left + width, rc.bottom));
  }
  if (m_bHasHiddenCommands && expand != nullptr) {
    expand->SetHideFlags(tkpNoHide);
    expand->SetRect(CRect(borders.left, y, borders.left + width, y + expandHeight));
  }
  m_rcTearOff = gripper > 0 ? CRect(borders.left, borders.top - gripper, borders.left + width, borders.top) : CRect();
  dc.SelectObject(oldFont);
  m_bInLayout = FALSE;
  return CSize(borders.left + borders.right + width, y + borders.bottom);
}

CTKPPopupToolBar* CTKPPopupToolBar::CreatePopupToolBar(CTKPCommandBars* pCommandBars) {
  auto* bar = static_cast<CTKPPopupToolBar*>(RUNTIME_CLASS(CTKPPopupToolBar)->CreateObject());
  bar->SetCommandBars(pCommandBars);
  return bar;
}

CSize CTKPPopupToolBar::CalcDynamicLayout(int, DWORD) {
  m_bInLayout = TRUE;
  UpdateShortcuts();
  MeasureDC dc(this);
  // A tear-off popup toolbar keeps its gripper strip above the buttons, across the whole bar.
  const int gripper =
      m_bTearOffPopup ? GetPaintManager()->DrawTearOffGripper(&dc, CRect(), FALSE, FALSE).cy : 0;
  CRect margins = m_rcMargins;
  margins.top += gripper;
  const CSize size = GetControls()->CalcDynamicSize(
      &dc, 0, kTKPLayoutHorizontal | kTKPLayoutCommit | kTKPLayoutPopupWrap, margins);
  m_rcTearOff = gripper > 0 ? CRect(m_rcMargins.left, m_rcMargins.top, size.cx - m_rcMargins.right,
                                    m_rcMargins.top + gripper)
                            : CRect();
  m_bInLayout = FALSE;
  return size;
}

void CTKPPopupBar::UpdateShortcuts() {
  CTKPCommandBars* bars = GetCommandBars();
  CTKPShortcutManager* shortcuts = bars != nullptr ? bars->GetShortcutManager() : nullptr;
  if (shortcuts == nullptr) return;
  for (int i = 0; i < GetControlCount(); ++i) {
    CTKPControl* control = GetControl(i);
    if (!control->IsVisible() || control->GetID() == 0) continue;
    // Without any table the item keeps the text its caption carried.
    CString text = control->GetShortcutTextAuto();
    if (shortcuts->GetMenuShortcut(control->GetID(), text)) control->SetShortcutTextAuto(text);
  }
}

// ---- layout while shown ----------------------------------------------------------------------------

void CTKPPopupBar::DelayLayout() {
  if (m_bInLayout) return;
  if (m_hWnd == nullptr || !IsTrackingMode()) {
    CTKPCommandBar::DelayLayout();
    return;
  }
  CRect before;
  GetWindowRect(before);
  TKPShadowsManager()->RemoveShadow(this);
  UpdateShortcuts();
  UpdateLocation();
  const CRect rc = PlacePopup(CalcDynamicLayout(0, 0));
  SetWindowPos(nullptr, rc.left, rc.top, rc.Width(), rc.Height(),
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW | SWP_NOOWNERZORDER);
  if (m_bAnimateExpansion) {
    if (CWnd* owner = GetOwnerSite()) {
      if (owner->GetSafeHwnd() != nullptr) owner->UpdateWindow();
    }
    const int type = GetAnimationType();
    if (type >= tkpAnimateUnfold && type <= tkpAnimateFade) {
      const BOOL down = rc.bottom > before.bottom;
      PlayAnimation(CSize(rc.Width(), rc.Height()), [&](CDC* dest, CDC* buffer, CRect) {
        GetPaintManager()->AnimateExpanding(this, dest, buffer, down);
      });
    }
    TKPSoundManager()->PlaySystemSound(2);
  }
  CastShadow();
  if (m_pControlPopup != nullptr) m_pControlPopup->UpdateShadow();
  m_dwState &= ~(stateRedrawPending | stateLayoutPending);
  if (m_nLockRedraw == 0) Invalidate(FALSE);
  m_bAnimateExpansion = FALSE;
}

// ---- painting and lookups ----------------------------------------------------------------------------

void CTKPPopupBar::DrawCommandBar(CDC* pDC, CRect rcClipBox) {
  CTKPCommandBar::DrawCommandBar(pDC, rcClipBox);
  DrawScrollArrows(pDC);
  DrawTearOffGripper(pDC);
}

int CTKPPopupBar::GetDefaultItem(BOOL byIndex) const {
  for (int i = 0; i < GetControlCount(); ++i) {
    const CTKPControl* control = GetControl(i);
    if (control->IsVisible() && control->GetDefaultItem()) return byIndex ? i : control->GetID();
  }
  return -1;
}
