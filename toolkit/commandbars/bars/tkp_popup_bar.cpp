// The popup bar's window, showing and closing it, where it goes, tracking, its keys, mouse and timers.
#include "toolkit/commandbars/bars/tkp_popup_bar.h"

#include "platform/classlib/win/cdc.h"
#include "platform/classlib/win/cmenu.h"
#include "toolkit/commandbars/bars/popup_placement.h"
#include "toolkit/commandbars/frame/tkp_command_bars.h"
#include "toolkit/commandbars/controls/tkp_control.h"
#include "toolkit/commandbars/controls/tkp_control_popup.h"
#include "toolkit/commandbars/controls/tkp_controls.h"
#include "toolkit/commandbars/paint/tkp_paint_manager.h"
#include "toolkit/commandbars/bars/tkp_shadow_manager.h"
#include "toolkit/common/draw_helpers.h"
#include "toolkit/common/tkp_image_manager.h"
#include "toolkit/common/tkp_mouse_manager.h"
#include "toolkit/common/tkp_popup_menu.h"
#include "toolkit/common/tkp_sound_manager.h"
#include "toolkit/common/tkp_tooltip_context.h"

IMPLEMENT_SERIAL(CTKPPopupBar, CTKPCommandBar, 1)

BEGIN_MESSAGE_MAP(CTKPPopupBar, CTKPCommandBar)
  ON_WM_MOUSEMOVE()
  ON_WM_MOUSEACTIVATE()
  ON_WM_TIMER()
  ON_WM_NCCREATE()
  ON_MESSAGE(WM_FLOATSTATUS, OnFloatStatus)
  ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

namespace {

constexpr DWORD kSyncActiveStyle = 0x100;  // the popup mirrors its frame's active state

}  // namespace

BOOL& TKPPopupsExpandedWhileTracking() {
  static thread_local BOOL expanded = FALSE;
  return expanded;
}

CTKPPopupBar::CTKPPopupBar() {
  m_barType = tkpBarTypePopup;
  m_barPosition = tkpBarPopup;
}

CTKPPopupBar* CTKPPopupBar::CreatePopupBar(CTKPCommandBars* pCommandBars) {
  auto* bar = static_cast<CTKPPopupBar*>(RUNTIME_CLASS(CTKPPopupBar)->CreateObject());
  bar->SetCommandBars(pCommandBars);
  return bar;
}

CTKPCommandBar* CTKPPopupBar::GetParentCommandBar() const {
  return m_pControlPopup != nullptr ? m_pControlPopup->GetParent() : nullptr;
}

BOOL CTKPPopupBar::IsVisible() const { return m_hWnd != nullptr && ::IsWindowVisible(m_hWnd); }

void CTKPPopupBar::DelayRedraw() {
  m_dwState &= ~stateRedrawPending;
  if (m_nLockRedraw == 0 && m_hWnd != nullptr) ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

// ---- the window ------------------------------------------------------------------------------------

BOOL CTKPPopupBar::CreatePopupWindow() {
  if (m_hWnd != nullptr) return TRUE;
  CTKPCommandBars* bars = GetCommandBars();
  // Without a manager the bar's images say which way it reads.
  CTKPImageManager* images = bars == nullptr ? GetImageManager() : nullptr;
  const BOOL rtl = bars != nullptr ? bars->IsLayoutRTL() : images != nullptr && images->IsRightToLeft();
  LPCTSTR cls = AfxRegisterWndClass(CS_SAVEBITS | CS_DBLCLKS, ::LoadCursorW(nullptr, IDC_ARROW));
  const DWORD style = WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | kSyncActiveStyle;
  const DWORD exStyle = WS_EX_TOOLWINDOW | (rtl ? WS_EX_LAYOUTRTL : 0);
  CWnd* site = GetSite();
  return CreateEx(exStyle, cls, m_strTitle, style, RECT{0, 0, 0, 0}, site, 0);
}

BOOL CTKPPopupBar::OnNcCreate(LPCREATESTRUCT lpCreateStruct) {
  if (!CTKPCommandBar::OnNcCreate(lpCreateStruct)) return FALSE;
  HWND top = lpCreateStruct->hwndParent != nullptr ? ::GetAncestor(lpCreateStruct->hwndParent, GA_ROOT) : nullptr;
  HWND foreground = ::GetForegroundWindow();
  // Only the frame's own active popup is asked whether it stands for the frame: another program's window
  // is never sent to (it might not answer).
  BOOL active = top != nullptr && top == foreground;
  if (top != nullptr && !active && foreground != nullptr && ::GetLastActivePopup(top) == foreground) {
    active = ::SendMessageW(foreground, WM_FLOATSTATUS, FS_SYNCACTIVE, 0) != 0;
  }
  SendMessage(WM_FLOATSTATUS, active ? FS_ACTIVATE : FS_DEACTIVATE, 0);
  return TRUE;
}

LRESULT CTKPPopupBar::OnFloatStatus(WPARAM wParam, LPARAM) {
  return (GetStyle() & kSyncActiveStyle) != 0 && (wParam & FS_SYNCACTIVE) != 0;
}

int CTKPPopupBar::OnMouseActivate(CWnd*, UINT, UINT) { return MA_NOACTIVATE; }

BOOL CTKPPopupBar::DestroyWindow() {
  if (m_hWnd == nullptr) return FALSE;
  CWnd* site = GetSite();
  for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child != nullptr; child = ::GetWindow(m_hWnd, GW_CHILD)) {
    ::ShowWindow(child, SW_HIDE);
    if (::SetParent(child, site != nullptr ? site->GetSafeHwnd() : nullptr) == nullptr) break;
  }
  return CTKPCommandBar::DestroyWindow();
}

BOOL CTKPPopupBar::HasChildWindow() const { return m_hWnd != nullptr && ::GetWindow(m_hWnd, GW_CHILD) != nullptr; }

// ---- showing ---------------------------------------------------------------------------------------

BOOL CTKPPopupBar::Popup(int x, int y, LPCRECT rcExclude) {
  m_ptPopup = CPoint(x, y);
  m_rcExclude = rcExclude != nullptr ? CRect(*rcExclude) : CRect();
  return Popup(static_cast<CTKPControlPopup*>(nullptr), FALSE);
}

BOOL CTKPPopupBar::Popup(CTKPControlPopup* pControl, BOOL bSelectFirst) {
  m_pControlPopup = pControl;
  if (!CreatePopupWindow()) return FALSE;
  LockRedraw();
  CWnd* site = GetSite();
  if (site != nullptr && site->GetSafeHwnd() != nullptr) {
    site->SendMessage(TKP_WM_INITCOMMANDSPOPUP, 0, reinterpret_cast<LPARAM>(this));
  }
  m_bTearOffHot = FALSE;
  m_bHasHiddenCommands = FALSE;
  m_bExpanded = IsCustomizeMode() || TKPPopupsExpandedWhileTracking();
  UpdateLocation();
  const CRect rc = PlacePopup(CalcDynamicLayout(0, 0));
  const UINT flags = SWP_NOACTIVATE | SWP_NOOWNERZORDER | SWP_SHOWWINDOW | (IsWindowVisible() ? SWP_NOZORDER : 0);
  SetWindowPos(&CWnd::wndTopMost, rc.left, rc.top, rc.Width(), rc.Height(), flags);

  // The opening control may have gone with its bar while the site filled the popup.
  CTKPCommandBar* parent = GetParentCommandBar();
  if (pControl != nullptr && (parent == nullptr || parent->GetSafeHwnd() == nullptr)) {
    UnlockRedraw();
    DestroyWindow();
    m_pControlPopup = nullptr;
    return FALSE;
  }
  SetTrackingMode(1, bSelectFirst, FALSE);
  m_dwState &= ~(stateLayoutPending | stateRedrawPending);
  if (!GetRootParent()->m_bNoControlUpdate) {
    if (CWnd* target = GetOwnerSite()) OnUpdateCmdUI(target, TRUE);
  }
  AnimatePopup(rc);
  TKPSoundManager()->PlaySystemSound(2);
  CastShadow();
  m_bAnimateNextPopup = TRUE;
  UnlockRedraw();
  return TRUE;
}

void CTKPPopupBar::UpdateLocation() {
  if (m_pControlPopup == nullptr) return;
  CTKPCommandBar* parent = m_pControlPopup->GetParent();
  if (parent == nullptr || parent->GetSafeHwnd() == nullptr) return;
  const int position = parent->GetPosition();
  DWORD flags = 0;
  if ((m_pControlPopup->GetFlags() & tkpFlagLeftPopup) != 0 || parent->IsLayoutRTL()) flags |= kTKPPopupLeft;
  if (position != tkpBarLeft && position != tkpBarRight && position != tkpBarPopup) flags |= kTKPPopupDropDown;
  const CTKPPopupBar* parentPopup =
      parent->IsKindOf(RUNTIME_CLASS(CTKPPopupBar)) ? static_cast<const CTKPPopupBar*>(parent) : nullptr;
  if (position == tkpBarRight || (parentPopup != nullptr && (parentPopup->m_popupFlags & kTKPPopupLeft) != 0)) {
    flags = kTKPPopupLeft;
  }
  CRect rc = m_pControlPopup->GetRect();
  if (m_pControlPopup->GetType() == tkpControlComboBox && parent->GetType() != tkpBarTypePopup) {
    flags |= kTKPPopupDropDown;
  } else {
    m_pControlPopup->AdjustExcludeRect(rc);
  }
  parent->ClientToScreen(rc);
  m_requestedFlags = flags;
  m_rcExclude = rc;
  m_ptPopup = TKPPopupOrigin(rc, flags);
}

CRect CTKPPopupBar::PlacePopup(CSize size) {
  TKPPopupPlacementRequest request;
  request.work = m_rcExclude.IsRectEmpty() ? CTKPDrawHelpers::GetWorkAreaFromPoint(POINT{m_ptPopup.x, m_ptPopup.y})
                                           : CTKPDrawHelpers::GetWorkAreaFromRect(static_cast<LPCRECT>(m_rcExclude));
  request.exclude = m_rcExclude;
  request.position = m_ptPopup;
  request.size = size;
  request.flags = m_requestedFlags;
  const TKPPopupPlacement placed = TKPPlacePopup(request);
  m_popupFlags = placed.flags;
  m_bScrolling = placed.cut && m_barType == tkpBarTypePopup;
  UpdateScrolling(placed.rect);
  return placed.rect;
}

int CTKPPopupBar::GetAnimationType() const {
  CTKPCommandBars* bars = GetCommandBars();
  if (bars == nullptr || HasChildWindow()) return TKP_ANIMATION_NONE;
  const int option = bars->GetOptions()->nAnimationType;
  if (option == 0) {
    BOOL on = FALSE;
    if (!::SystemParametersInfoW(SPI_GETMENUANIMATION, 0, &on, 0) || !on) return TKP_ANIMATION_NONE;
    BOOL fade = FALSE;
    if (!::SystemParametersInfoW(SPI_GETMENUFADE, 0, &fade, 0)) return tkpAnimateSlide;
    return fade ? tkpAnimateFade : tkpAnimateSlide;
  }
  if (option == 1) {
    static const int kPicks[3] = {tkpAnimateFade, tkpAnimateSlide, tkpAnimateUnfold};
    return kPicks[::GetTickCount() % 3];
  }
  return option;
}

void CTKPPopupBar::AnimatePopup(CRect rcWindow) {
  CTKPCommandBar* parent = GetParentCommandBar();
  CTKPPopupBar* parentPopup =
      parent != nullptr && parent->IsKindOf(RUNTIME_CLASS(CTKPPopupBar)) ? static_cast<CTKPPopupBar*>(parent) : nullptr;
  const BOOL wanted = parent == nullptr || parentPopup == nullptr || parentPopup->m_bAnimateNextPopup;
  if (!wanted || IsCustomizeMode() || HasChildWindow()) return;
  const int type = GetAnimationType();
  if (type >= tkpAnimateUnfold && type <= tkpAnimateFade) {
    if (parent != nullptr && parent->GetSafeHwnd() != nullptr) parent->UpdateWindow();
    if (CWnd* site = GetSite()) {
      if (site->GetSafeHwnd() != nullptr) site->UpdateWindow();
    }
    PlayAnimation(CSize(rcWindow.Width(), rcWindow.Height()), [&](CDC* dest, CDC* buffer, CRect rc) {
      GetPaintManager()->Animate(dest, buffer, rc, type);
    });
  }
  if (parentPopup != nullptr) parentPopup->m_bAnimateNextPopup = FALSE;
}

void CTKPPopupBar::PlayAnimation(CSize size, const std::function<void(CDC*, CDC*, CRect)>& play) {
  CClientDC dest(this);
  const CRect rc(0, 0, size.cx, size.cy);
  CDC buffer;
  buffer.CreateCompatibleDC(&dest);
  CBitmap bitmap;
  bitmap.CreateCompatibleBitmap(&dest, rc.Width(), rc.Height());
  CBitmap* old = buffer.SelectObject(&bitmap);
  DrawCommandBar(&buffer, rc);
  play(&dest, &buffer, rc);
  buffer.SelectObject(old);
}

// ---- tracking --------------------------------------------------------------------------------------

BOOL CTKPPopupBar::SetTrackingMode(int nMode, BOOL bSelectFirst, BOOL bKeyboard) {
  if (!CTKPCommandBar::SetTrackingMode(nMode, bSelectFirst, bKeyboard)) return FALSE;
  CWnd* site = GetSite();
  if (nMode == 0) {
    ::NotifyWinEvent(EVENT_SYSTEM_MENUPOPUPEND, m_hWnd, OBJID_MENU, CHILDID_SELF);
    if (m_hWnd != nullptr) KillTimer(TKP_TIMER_EXPAND);
    StopScrolling();
    if (m_nTearOffTimer != 0 && m_hWnd != nullptr) KillTimer(TKP_TIMER_TEAROFF);
    m_nTearOffTimer = 0;
    m_bTearOffHot = FALSE;
    DestroyWindow();
    if (CTKPCommandBar* parent = GetParentCommandBar()) parent->PopupControl(-1);
    if (site != nullptr && site->GetSafeHwnd() != nullptr) {
      site->SendMessage(TKP_WM_UNINITCOMMANDSPOPUP, 0, reinterpret_cast<LPARAM>(this));
    }
    ::Sleep(1);
    m_pControlPopup = nullptr;
    if (!TKPMouseManager()->IsTracked()) TKPPopupsExpandedWhileTracking() = FALSE;
  } else {
    ::NotifyWinEvent(EVENT_SYSTEM_MENUPOPUPSTART, m_hWnd, OBJID_MENU, CHILDID_SELF);
  }
  if (site != nullptr && site->GetSafeHwnd() != nullptr) site->UpdateWindow();
  return TRUE;
}

BOOL CTKPPopupBar::SetSelected(int nIndex, BOOL bKeyboard) {
  if (!CTKPCommandBar::SetSelected(nIndex, bKeyboard)) return FALSE;
  if (m_hWnd == nullptr) return TRUE;
  KillTimer(TKP_TIMER_EXPAND);
  CTKPControl* selected = GetControl(nIndex);
  CTKPCommandBars* bars = GetCommandBars();
  if (selected != nullptr && selected->GetID() == TKP_ID_POPUP_EXPAND && !bKeyboard && bars != nullptr &&
      bars->GetOptions()->bShowFullAfterDelay) {
    SetTimer(TKP_TIMER_EXPAND, TKP_EXPAND_DELAY, nullptr);
  }
  ScrollSelectionIntoView(nIndex);
  return TRUE;
}

int CTKPPopupBar::OnHookKeyDown(UINT nChar, LPARAM lParam) {
  if (m_bHasHiddenCommands && !m_bExpanded && nChar == VK_DOWN) {
    // Down on the last shown item (or Ctrl+Down anywhere) shows the hidden commands first.
    const int next = GetControls()->GetNext(m_nSelected, +1, TRUE, FALSE, TRUE);
    if (TKPIsKeyDown(VK_CONTROL) || next <= m_nSelected) Expand();
  }
  return CTKPCommandBar::OnHookKeyDown(nChar, lParam);
}

void CTKPPopupBar::OnMouseMove(UINT nFlags, CPoint point) {
  if (m_nLockTrack > 0) return;
  CTKPCommandBar* parent = GetParentCommandBar();
  CRect client;
  GetClientRect(client);
  if (parent != nullptr && m_pControlPopup != nullptr && client.PtInRect(point) &&
      parent->GetSelected() != m_pControlPopup->GetIndex()) {
    parent->SetSelected(m_pControlPopup->GetIndex(), FALSE);  // the opening item stays lit
  }
  OnScrollMouseMove(point);
  OnTearOffMouseMove(point);
  CTKPCommandBar::OnMouseMove(nFlags, point);
}

void CTKPPopupBar::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent == TKP_TIMER_EXPAND) {
    KillTimer(TKP_TIMER_EXPAND);
    CTKPControl* selected = GetControl(m_nSelected);
    if (selected != nullptr && selected->GetID() == TKP_ID_POPUP_EXPAND) selected->OnExecute();
    return;
  }
  if (OnScrollTimer(nIDEvent) || OnTearOffTimer(nIDEvent)) return;
  CTKPCommandBar::OnTimer(nIDEvent);
}

void CTKPPopupBar::Copy(CTKPCommandBar* pSource, BOOL bRecursive) {
  CTKPCommandBar::Copy(pSource, bRecursive);
  if (pSource == nullptr || pSource == this || !pSource->IsKindOf(RUNTIME_CLASS(CTKPPopupBar))) return;
  const auto* source = static_cast<const CTKPPopupBar*>(pSource);
  m_bShadow = source->m_bShadow;
  m_bDoubleGripper = source->m_bDoubleGripper;
  m_rcMargins = source->m_rcMargins;
  m_bTearOffPopup = source->m_bTearOffPopup;
  m_strTearOffCaption = source->m_strTearOffCaption;
  m_nTearOffID = source->m_nTearOffID;
  m_nTearOffWidth = source->m_nTearOffWidth;
}

// ---- the toolkit controls' context menus ---------------------------------------------------------------

namespace {

// One popup bar as the toolkit's context-menu function uses it.
class PopupBarForMenu : public ITKPPopupBar {
 public:
  PopupBarForMenu() : m_pBar(CTKPPopupBar::CreatePopupBar(nullptr)) {}
  void SetImageManager(CTKPImageManager* pImageManager) override { m_pBar->SetImageManager(pImageManager); }
  BOOL LoadMenu(HMENU hMenu, BOOL bRemoveControls) override {
    return m_pBar->LoadMenu(CMenu::FromHandle(hMenu), bRemoveControls);
  }
  UINT Track(UINT nFlags, int x, int y, HWND hWndOwner) override {
    return CTKPCommandBars::TrackPopupBar(m_pBar, nFlags, x, y, CWnd::FromHandle(hWndOwner));
  }
  void Release() override {
    m_pBar->InternalRelease();
    delete this;
  }

 private:
  CTKPPopupBar* m_pBar;
};

// With the command bars in the program, the toolkit controls' menus are popup bars in the current theme.
class CommandBarsMenuHost : public ITKPPopupMenuHost {
 public:
  CommandBarsMenuHost() { TKPSetPopupMenuHost(this); }
  BOOL HasPaintManager() override { return CTKPPaintManager::GetCurrent() != nullptr; }
  void SetDefaultTheme() override { CTKPPaintManager::SetTheme(tkpThemeDefault); }
  ITKPPopupBar* CreatePopupBar() override { return new PopupBarForMenu; }
};

CommandBarsMenuHost g_menuHost;

}  // namespace
