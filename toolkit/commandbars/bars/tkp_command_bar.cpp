// The command bar's lifetime, its managers and sizes, painting and the idle update.
#include "toolkit/commandbars/bars/tkp_command_bar.h"

#include <cwchar>

#include "platform/classlib/win/cdc.h"
#include "platform/classlib/win/cframewnd.h"
#include "platform/classlib/win/cmenu.h"
#include "platform/classlib/win/cwinapp.h"
#include "toolkit/commandbars/bars/tkp_bar_controls.h"
#include "toolkit/commandbars/bars/tkp_command_bar_accessible.h"
#include "toolkit/commandbars/frame/tkp_command_bars.h"
#include "toolkit/commandbars/controls/tkp_edit_window.h"
#include "toolkit/commandbars/customize/tkp_customize_drop_source.h"
#include "toolkit/commandbars/paint/tkp_paint_manager.h"
#include "toolkit/common/tkp_image_manager.h"
#include "toolkit/common/tkp_mouse_manager.h"
#include "toolkit/common/tkp_tooltip_context.h"

IMPLEMENT_SERIAL(CTKPCommandBar, CWnd, 1)

BEGIN_MESSAGE_MAP(CTKPCommandBar, CWnd)
  ON_WM_CREATE()
  ON_WM_DESTROY()
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
  ON_MESSAGE(WM_PRINT, OnPrint)
  ON_WM_TIMER()
  ON_WM_MOUSEMOVE()
  ON_WM_MOUSELEAVE()
  ON_WM_NCMOUSEMOVE()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONDBLCLK()
  ON_WM_LBUTTONUP()
  ON_WM_RBUTTONUP()
  ON_WM_NCHITTEST()
  ON_WM_NCLBUTTONDOWN()
  ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
  ON_MESSAGE(WM_INITIALUPDATE, OnInitialUpdate)
  ON_MESSAGE(WM_HELPHITTEST, OnHelpHitTest)
  ON_MESSAGE(WM_GETOBJECT, OnGetObject)
END_MESSAGE_MAP()

CWnd* TKPCommandBarEditWithFocus() {
  HWND focus = ::GetFocus();
  if (focus == nullptr) return nullptr;
  CWnd* parent = CWnd::FromHandlePermanent(::GetParent(focus));
  if (parent == nullptr || !parent->IsKindOf(RUNTIME_CLASS(CTKPCommandBar))) return nullptr;
  wchar_t name[16] = {};
  ::GetClassNameW(focus, name, 16);
  // The bar's fields are rich-edit windows when a rich-edit library loads: they say so themselves.
  const bool edit = ::_wcsicmp(name, L"Edit") == 0 || ::SendMessageW(focus, TKP_WM_ISBARCHILD, 0, 0) == TRUE;
  return edit ? CWnd::FromHandle(focus) : nullptr;
}

BOOL TKPIsTopParentActive(HWND hWnd) {
  HWND top = hWnd != nullptr ? ::GetAncestor(hWnd, GA_ROOT) : nullptr;
  return top != nullptr && ::GetActiveWindow() == top;
}

CTKPCommandBar::CTKPCommandBar() { m_pControls = tkp_bar::NewControls(this); }

CTKPCommandBar::~CTKPCommandBar() {
  if (m_hWnd != nullptr) DestroyWindow();
  // A window that went without its destroy handler (its handle let go) leaves the registry here.
  if (m_pDropRegistry != nullptr) m_pDropRegistry->UnregisterDropTarget(this);
  delete m_pAccessible;
  tkp_bar::ReleaseControls(m_pControls);
  m_pControls = nullptr;
  if (m_pPaintManager != nullptr) m_pPaintManager->InternalRelease();
  if (m_pImageManager != nullptr) m_pImageManager->InternalRelease();
  if (m_pToolTipContext != nullptr) m_pToolTipContext->InternalRelease();
}

void CTKPCommandBar::OnFinalRelease() {
  // The last holder lets go: the window goes with the object.
  if (m_hWnd != nullptr) DestroyWindow();
  delete this;
}

// ---- what the bar is ----------------------------------------------------------------------------------

CTKPControl* CTKPCommandBar::GetControl(int nIndex) const { return tkp_bar::At(m_pControls, nIndex); }

int CTKPCommandBar::GetControlCount() const { return tkp_bar::Count(m_pControls); }

CTKPCommandBars* CTKPCommandBar::GetCommandBars() const {
  for (const CTKPCommandBar* bar = this; bar != nullptr; bar = bar->GetParentCommandBar()) {
    if (bar->m_pCommandBars != nullptr) return bar->m_pCommandBars;
  }
  return nullptr;
}

CTKPCommandBar* CTKPCommandBar::GetRootParent() const {
  const CTKPCommandBar* bar = this;
  while (CTKPCommandBar* parent = bar->GetParentCommandBar()) bar = parent;
  return const_cast<CTKPCommandBar*>(bar);
}

CWnd* CTKPCommandBar::GetSite() const {
  if (CTKPCommandBars* bars = GetCommandBars()) return bars->GetSite();
  CTKPCommandBar* root = GetRootParent();
  if (root->m_pNotifyWnd != nullptr) return root->m_pNotifyWnd;
  if (root->m_hWnd != nullptr) {
    if (CWnd* parent = root->GetParent()) return parent;
  }
  return AfxGetMainWnd();
}

CWnd* CTKPCommandBar::GetOwnerSite() const {
  CTKPCommandBar* root = GetRootParent();
  return root->m_pCommandTarget != nullptr ? root->m_pCommandTarget : GetSite();
}

void CTKPCommandBar::SetTitle(LPCTSTR lpszTitle) {
  m_strTitle = lpszTitle;
  if (m_hWnd != nullptr) SetWindowText(lpszTitle);
}

BOOL CTKPCommandBar::IsLayoutRTL() const {
  return m_hWnd != nullptr && (GetExStyle() & WS_EX_LAYOUTRTL) != 0;
}

BOOL CTKPCommandBar::IsCustomizeMode() const {
  CTKPCommandBars* bars = GetCommandBars();
  if (bars == nullptr || !bars->IsCustomizeMode()) return FALSE;
  const CTKPCommandBar* root = GetRootParent();
  return root->m_barType != tkpBarTypePopup || root->IsCustomizable();
}

BOOL CTKPCommandBar::IsKeyboardCuesVisible() const {
  CTKPCommandBars* bars = GetCommandBars();
  return bars == nullptr || bars->IsKeyboardCuesVisible();
}

// ---- paint and image managers ---------------------------------------------------------------------------

CTKPPaintManager* CTKPCommandBar::GetPaintManager() const {
  if (m_pPaintManager != nullptr) return m_pPaintManager;
  if (CTKPCommandBars* bars = GetCommandBars()) return bars->GetPaintManager();
  CTKPCommandBar* root = GetRootParent();
  if (root != this && root->m_pPaintManager != nullptr) return root->m_pPaintManager;
  return CTKPPaintManager::GetCurrentOrDefault();
}

void CTKPCommandBar::SetPaintManager(CTKPPaintManager* pPaintManager) {
  if (pPaintManager == m_pPaintManager) return;
  if (m_pPaintManager != nullptr) m_pPaintManager->InternalRelease();
  m_pPaintManager = pPaintManager;
  // The caller's reference passes to the bar.
  if (m_pPaintManager != nullptr) m_pPaintManager->RefreshMetrics();
  DelayLayout();
  Redraw();
}

CTKPImageManager* CTKPCommandBar::GetImageManager() const {
  if (m_pImageManager != nullptr) return m_pImageManager;
  if (CTKPCommandBars* bars = GetCommandBars()) return bars->GetImageManager();
  CTKPCommandBar* root = GetRootParent();
  if (root != this && root->m_pImageManager != nullptr) return root->m_pImageManager;
  return TKPImageManager();
}

void CTKPCommandBar::SetImageManager(CTKPImageManager* pImageManager) {
  if (pImageManager == m_pImageManager) return;
  if (m_pImageManager != nullptr) m_pImageManager->InternalRelease();
  m_pImageManager = pImageManager;
}

// ---- sizes ---------------------------------------------------------------------------------------------

CSize CTKPCommandBar::GetIconSize() const {
  const bool own = m_szIcons.cx != 0 && m_szIcons.cy != 0;
  CTKPCommandBars* bars = GetCommandBars();
  if (bars == nullptr) return own ? m_szIcons : CSize(16, 16);
  const CTKPCommandBarsOptions* options = bars->GetOptions();
  if (m_barType == tkpBarTypePopup) return own ? m_szIcons : options->szPopupIcons;
  CSize size = own ? m_szIcons : options->szIcons;
  if (size.cx == 0 || size.cy == 0) size = CSize(16, 16);
  if (options->bLargeIcons && (m_szButtons.cx == 0 || m_szButtons.cy == 0)) {
    const CSize large = options->szLargeIcons;
    size = large.cx != 0 && large.cy != 0 ? large : CSize(size.cx * 2, size.cy * 2);
  }
  return size;
}

CSize CTKPCommandBar::GetButtonSize() const {
  if (m_szButtons.cx != 0 && m_szButtons.cy != 0) return m_szButtons;
  const CSize icon = GetIconSize();
  return CSize(icon.cx + 7, icon.cy + 7);
}

void CTKPCommandBar::ShowTextBelowIcons(int nMode) {
  m_nTextBelowIcons = nMode;
  DelayLayout();
}

BOOL CTKPCommandBar::IsTextBelowIcons() const {
  if (m_nTextBelowIcons != 2) return m_nTextBelowIcons != 0;
  CTKPCommandBars* bars = GetCommandBars();
  return bars != nullptr && bars->GetOptions()->bShowTextBelowIcons;
}

// ---- redraw and layout -----------------------------------------------------------------------------------

void CTKPCommandBar::Redraw() {
  if (m_nLockRedraw > 0) {
    DelayRedraw();
    return;
  }
  m_dwState &= ~stateRedrawPending;
  if (m_hWnd != nullptr) ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

void CTKPCommandBar::UnlockRedraw() {
  if (m_nLockRedraw > 0 && --m_nLockRedraw == 0) Redraw();
}

void CTKPCommandBar::DelayLayout() {
  m_nSelected = -1;
  m_nPopuped = -1;
  m_dwState |= stateLayoutPending;
}

CSize CTKPCommandBar::CalcDynamicLayout(int, DWORD) { return CSize(0, 0); }

// ---- operations the bar kinds fill in -------------------------------------------------------------------

BOOL CTKPCommandBar::LoadToolBar(UINT, BOOL) { return FALSE; }
BOOL CTKPCommandBar::Popup(CTKPControlPopup*, BOOL) { return FALSE; }
void CTKPCommandBar::SetVisible(BOOL) {}
BOOL CTKPCommandBar::IsVisible() const { return FALSE; }
BOOL CTKPCommandBar::SetPosition(int) { return FALSE; }

int CTKPCommandBar::HitTestTracking(CPoint ptScreen) const {
  if (m_hWnd == nullptr) return 0;
  CRect window;
  ::GetWindowRect(m_hWnd, window);
  return window.PtInRect(ptScreen) ? 1 : 0;
}

void CTKPCommandBar::Copy(CTKPCommandBar* pSource, BOOL bRecursive) {
  if (pSource == nullptr || pSource == this) return;
  m_dwFlags = pSource->m_dwFlags;
  m_dwBarStyle = pSource->m_dwBarStyle;
  m_strTitle = pSource->m_strTitle;
  m_barType = pSource->m_barType;
  m_nBarID = pSource->m_nBarID;
  m_bCustomizable = pSource->m_bCustomizable;
  m_nMRUWidth = pSource->m_nMRUWidth;
  m_szIcons = pSource->m_szIcons;
  m_szButtons = pSource->m_szButtons;
  CTKPControls* copy = tkp_bar::DuplicateControls(pSource->m_pControls, this, bRecursive);
  if (copy != nullptr) {
    tkp_bar::ReleaseControls(m_pControls);
    m_pControls = copy;
  }
}

CTKPCommandBar* CTKPCommandBar::Clone(BOOL bRecursive) {
  auto* clone = static_cast<CTKPCommandBar*>(GetRuntimeClass()->CreateObject());
  if (clone != nullptr) clone->Copy(this, bRecursive);
  return clone;
}

BOOL CTKPCommandBar::LoadMenu(CMenu* pMenu, BOOL bRemoveOld) {
  if (pMenu == nullptr || pMenu->m_hMenu == nullptr || !::IsMenu(pMenu->m_hMenu)) return FALSE;
  if (bRemoveOld) tkp_bar::RemoveAll(m_pControls);
  BOOL separator = FALSE;
  const int count = ::GetMenuItemCount(pMenu->m_hMenu);
  for (int i = 0; i < count; ++i) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STATE | MIIM_SUBMENU;
    if (!::GetMenuItemInfoW(pMenu->m_hMenu, static_cast<UINT>(i), TRUE, &info)) continue;
    // An item with id 0 and no sub-menu counts as a separator.
    if ((info.fType & MFT_SEPARATOR) != 0 || (info.wID == 0 && info.hSubMenu == nullptr)) {
      separator = TRUE;
      continue;
    }
    CTKPControl* control = tkp_bar::AddMenuItem(m_pControls, pMenu, i);
    if (control == nullptr) continue;
    if (separator) tkp_bar::SetBeginGroup(control, TRUE);
    separator = FALSE;
    if ((info.fState & MFS_DEFAULT) != 0) tkp_bar::SetDefaultItem(control, TRUE);
    if ((info.fState & (MFS_DISABLED | MFS_GRAYED)) != 0) tkp_bar::SetEnabled(control, FALSE);
    // A menu tracked without update notifications shows the marks its owner set on it.
    if ((info.fState & MFS_CHECKED) != 0) tkp_bar::SetChecked(control, TRUE);
  }
  if (m_hWnd != nullptr) {
    if (CFrameWnd* frame = GetParentFrame()) frame->m_nIdleFlags |= CFrameWnd::idleNotify | CFrameWnd::idleLayout;
  }
  return TRUE;
}

int CTKPCommandBar::FindControl(int nStart, UINT nID, int nType) const {
  for (int i = nStart < 0 ? 0 : nStart; i < GetControlCount(); ++i) {
    const CTKPControl* control = GetControl(i);
    if (tkp_bar::Id(control) == nID && tkp_bar::Type(control) == nType) return i;
  }
  return -1;
}

// ---- window messages ----------------------------------------------------------------------------------

BOOL CTKPCommandBar::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  // The tooltips see every message before the handlers do.
  if (m_pToolTipContext != nullptr) m_pToolTipContext->FilterToolTipMessage(this, message, wParam, lParam);
  if ((IsCustomizeMode() || message == WM_LBUTTONDOWN) && OnCustomizeMessage(message, wParam, lParam)) {
    *pResult = message == WM_SETCURSOR ? TRUE : 0;  // a cursor set stops the parent's choice
    return TRUE;
  }
  return CWnd::OnWndMsg(message, wParam, lParam, pResult);
}

void CTKPCommandBar::RelayToolTipMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (m_pToolTipContext != nullptr) m_pToolTipContext->FilterToolTipMessage(this, message, wParam, lParam);
}

int CTKPCommandBar::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CWnd::OnCreate(lpCreateStruct) == -1) return -1;
  CTKPCommandBars* bars = GetCommandBars();
  if (bars != nullptr) {
    bars->RegisterDropTarget(this);
    m_pDropRegistry = bars;
  }
  if (bars != nullptr && m_pToolTipContext == nullptr && bars->GetToolTipContext() != nullptr) {
    m_pToolTipContext = bars->GetToolTipContext();
    m_pToolTipContext->InternalAddRef();
  } else if (bars == nullptr && m_barType != tkpBarTypePopup) {
    EnableToolTips();  // a bar on its own (in a dialog) still names its buttons
  }
  return 0;
}

void CTKPCommandBar::OnDestroy() {
  if (m_nTrackingMode != 0) SetTrackingMode(0, TRUE, TRUE);
  StopTimers();
  TKPHookManager()->RemoveAll(this);
  CTKPMouseManager* mouse = TKPMouseManager();
  if (mouse->m_pTrackModeBar == this) mouse->m_pTrackModeBar = nullptr;
  if (CTKPCustomizeDropSource* drag = CTKPCustomizeDropSource::GetActive()) drag->RemoveBar(this);
  if (m_pDropRegistry != nullptr) m_pDropRegistry->UnregisterDropTarget(this);
  m_pDropRegistry = nullptr;
  CWnd::OnDestroy();
}

void CTKPCommandBar::OnPaint() {
  CPaintDC paint(this);
  CRect client;
  GetClientRect(client);
  if (client.IsRectEmpty()) return;
  // Drawn off screen in one go, so that nothing flickers.
  CDC dc;
  dc.CreateCompatibleDC(&paint);
  CBitmap bitmap;
  bitmap.CreateCompatibleBitmap(&paint, client.Width(), client.Height());
  CBitmap* old = dc.SelectObject(&bitmap);
  DrawCommandBar(&dc, client);
  paint.BitBlt(0, 0, client.Width(), client.Height(), &dc, 0, 0, SRCCOPY);
  dc.SelectObject(old);
}

BOOL CTKPCommandBar::OnEraseBkgnd(CDC*) { return TRUE; }

LRESULT CTKPCommandBar::OnPrint(WPARAM wParam, LPARAM) {
  CRect client;
  GetClientRect(client);
  CDC* dc = CDC::FromHandle(reinterpret_cast<HDC>(wParam));
  if (dc != nullptr) DrawCommandBar(dc, client);
  return 0;
}

void CTKPCommandBar::DrawCommandBar(CDC* pDC, CRect rcClipBox) {
  (void)rcClipBox;
  CTKPPaintManager* paint = GetPaintManager();
  paint->FillCommandBar(pDC, this);
  if ((m_dwBarStyle & TKP_BAR_GRIPPER) != 0) paint->DrawCommandBarGripper(pDC, this, TRUE);
  const BOOL customize = IsCustomizeMode();
  CTKPCommandBars* bars = GetCommandBars();
  bool first = true;
  for (int i = 0; i < GetControlCount(); ++i) {
    CTKPControl* control = GetControl(i);
    if (!tkp_bar::IsVisible(control)) continue;
    if (tkp_bar::BeginsGroup(control) && !first) paint->DrawCommandBarSeparator(pDC, this, control, TRUE);
    first = false;
    CFont* font = paint->GetRegularFont(this, tkp_bar::IsDefaultItem(control));
    CFont* old = font != nullptr ? pDC->SelectObject(font) : nullptr;
    tkp_bar::Draw(control, pDC);
    if (old != nullptr) pDC->SelectObject(old);
    if (customize && bars != nullptr && bars->GetDragControl() == control) {
      // The control being dragged in customize mode: a two-pixel black frame.
      CRect frame = tkp_bar::Rect(control);
      pDC->Draw3dRect(frame, RGB(0, 0, 0), RGB(0, 0, 0));
      frame.DeflateRect(1, 1);
      pDC->Draw3dRect(frame, RGB(0, 0, 0), RGB(0, 0, 0));
    }
  }
  if (customize) DrawCustomizeMarker(pDC);
}

LRESULT CTKPCommandBar::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM) {
  if (m_hWnd == nullptr || !IsWindowVisible()) return 0;
  CWnd* target = GetOwnerSite();
  if (target != nullptr) OnUpdateCmdUI(target, static_cast<BOOL>(wParam));
  return 0;
}

LRESULT CTKPCommandBar::OnInitialUpdate(WPARAM, LPARAM) {
  if (CWnd* target = GetOwnerSite()) OnUpdateCmdUI(target, TRUE);
  return 0;
}

void CTKPCommandBar::StopTimers() {
  if (m_hWnd == nullptr) return;
  KillTimer(TKP_TIMER_HOVER);
  KillTimer(TKP_TIMER_FULLMENU);
}

void CTKPCommandBar::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent != TKP_TIMER_HOVER && nIDEvent != TKP_TIMER_FULLMENU) {
    CWnd::OnTimer(nIDEvent);
    return;
  }
  if (m_nLockTrack > 0) return;
  KillTimer(nIDEvent);
  if (nIDEvent == TKP_TIMER_HOVER) {
    if (CTKPControl* selected = GetControl(m_nSelected)) tkp_bar::OnMouseHover(selected);
    return;
  }
  if (m_nPopuped >= 0 && m_nPopuped == m_nSelected) tkp_bar::ExpandPopup(GetControl(m_nPopuped));
}
