// The toolbar: its controls from a resource, its docked and floating layouts, visibility, and the
// mouse that drags, resizes and toggles it.
#include "toolkit/commandbars/bars/tkp_tool_bar.h"

#include <algorithm>
#include <vector>

#include "platform/classlib/win/cdc.h"
#include "platform/classlib/win/cminiframewnd.h"
#include "platform/classlib/win/cwinapp.h"
#include "platform/classlib/win/layout.h"
#include "platform/classlib/win/threadstate.h"
#include "toolkit/commandbars/bars/tkp_bar_controls.h"
#include "toolkit/commandbars/frame/tkp_command_bars.h"
#include "toolkit/commandbars/controls/tkp_control_button.h"
#include "toolkit/commandbars/controls/tkp_controls.h"
#include "toolkit/commandbars/bars/tkp_dock_bar.h"
#include "toolkit/commandbars/bars/tkp_dock_context.h"
#include "toolkit/commandbars/paint/tkp_paint_manager.h"
#include "toolkit/commandbars/bars/tkp_tool_bar_expand.h"
#include "res/toolkit_resource.h"
#include "toolkit/common/gdi_guards.h"
#include "toolkit/common/resource_manager.h"
#include "toolkit/common/tkp_image_manager.h"

IMPLEMENT_SERIAL(CTKPToolBar, CTKPCommandBar, 1)

BEGIN_MESSAGE_MAP(CTKPToolBar, CTKPCommandBar)
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONDBLCLK()
  ON_WM_NCLBUTTONDOWN()
  ON_WM_NCHITTEST()
  ON_WM_RBUTTONDOWN()
  ON_WM_MOUSEACTIVATE()
  ON_WM_NCACTIVATE()
  ON_MESSAGE(WM_FLOATSTATUS, OnFloatStatus)
  ON_WM_CLOSE()
  ON_WM_DESTROY()
  ON_WM_SETFOCUS()
  ON_WM_KILLFOCUS()
  ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
END_MESSAGE_MAP()

namespace {

constexpr int kExpandRoom = 11;   // reserved at the far end for the expand button
constexpr int kFloatBorder = 3;   // around a floating bar
constexpr int kSpecialButton = 15;  // the close and expand buttons of the title row
constexpr int kMinCaption = 15;
constexpr DWORD kFloatingStyle = WS_POPUP | 0x100;

// The close button of a floating bar: it hides the bar.
class CloseButton : public CTKPControlButton {
 public:
  CloseButton() { m_controlType = TKP_CONTROL_TYPE_CLOSE; }
  void OnExecute() override {
    if (m_pParent != nullptr) m_pParent->SetVisible(FALSE);
  }
};

// The toolbar's own buttons sit outside the controls' layout: hidden while it runs, placed afterwards
// (whatever it marked them).
void HideControl(CTKPControl* pControl, BOOL bHide) {
  const DWORD flags = pControl->GetHideFlags() & ~static_cast<DWORD>(tkpHideGeneric | tkpHideWrap);
  pControl->SetHideFlags(bHide ? flags | tkpHideGeneric : flags);
}

}  // namespace

CTKPToolBar::CTKPToolBar() {
  m_dwBarStyle = TKP_BAR_GRIPPER;
  m_bCloseable = TRUE;
}

CTKPToolBar::~CTKPToolBar() { delete m_pDockContext; }

void CTKPToolBar::EnableDocking(DWORD dwFlags) {
  m_dwFlags = dwFlags;
  if (m_pDockContext == nullptr) m_pDockContext = new CTKPDockContext(this);
}

BOOL CTKPToolBar::Create(CWnd* pParentWnd, int nPosition) {
  CTKPCommandBars* bars = GetCommandBars();
  if (bars == nullptr) {
    // Without a manager (a bar inside a dialog) nothing docks it, but its keys follow its side.
    if (nPosition >= tkpBarTop && nPosition <= tkpBarFloating) m_barPosition = nPosition;
    return Attach(pParentWnd, nPosition == tkpBarFloating);
  }
  if (m_pDockContext == nullptr) EnableDocking(m_dwFlags);
  return nPosition == tkpBarFloating ? bars->FloatCommandBar(this) : bars->DockCommandBar(this, nPosition);
}

BOOL CTKPToolBar::Attach(CWnd* pSite, BOOL bFloating) {
  if (m_hWnd == nullptr) {
    CTKPCommandBars* bars = GetCommandBars();
    const DWORD exStyle = bars != nullptr && bars->IsLayoutRTL() ? WS_EX_LAYOUTRTL : 0;
    LPCTSTR cls = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorW(nullptr, IDC_ARROW));
    const CPoint at = m_pDockContext != nullptr ? m_pDockContext->m_ptMRUFloatPos : CPoint(100, 100);
    const DWORD style = WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | 0x100;
    if (!CreateEx(exStyle, cls, m_strTitle, style, CRect(at, CSize(0, 0)), pSite, 0)) return FALSE;
    if (m_bVisible) ShowWindow(SW_SHOWNA);
  }
  if (bFloating) {
    // A floating bar never takes the activation (see OnMouseActivate), but a window reparented to the
    // desktop may be activated by the move (Wine does): it moves hidden, the activation goes back to where it
    // was, and the bar shows above its frame without taking it.
    const HWND active = ::GetActiveWindow();
    const BOOL visible = IsWindowVisible();
    if (visible) ShowWindow(SW_HIDE);
    ::SetWindowLongPtrW(m_hWnd, GWLP_HWNDPARENT, 0);
    ModifyStyle(WS_CHILD, kFloatingStyle);
    ::SetParent(m_hWnd, nullptr);
    if (pSite != nullptr) ::SetWindowLongPtrW(m_hWnd, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(pSite->m_hWnd));
    if (active != nullptr && active != m_hWnd && ::GetActiveWindow() == m_hWnd) ::SetActiveWindow(active);
    if (visible) ShowWindow(SW_SHOWNA);
  } else {
    ModifyStyle(kFloatingStyle, WS_CHILD);
    // (a popup's GetParent names its owner: the real parent is asked)
    if (pSite != nullptr && m_pDockBar == nullptr && ::GetAncestor(m_hWnd, GA_PARENT) != pSite->m_hWnd) {
      ::SetParent(m_hWnd, pSite->m_hWnd);
    }
  }
  return TRUE;
}

// ---- controls ------------------------------------------------------------------------------------------

BOOL CTKPToolBar::LoadToolBar(UINT nIDResource, BOOL bLoadIcons) {
  m_nBarID = nIDResource;
  tkp_bar::RemoveAll(m_pControls);
  HINSTANCE module = AfxFindResourceHandle(MAKEINTRESOURCE(nIDResource), MAKEINTRESOURCE(241));
  HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(nIDResource), MAKEINTRESOURCEW(241));
  if (found == nullptr) return FALSE;
  const DWORD bytes = ::SizeofResource(module, found);
  HGLOBAL loaded = ::LoadResource(module, found);
  const WORD* words = loaded != nullptr ? static_cast<const WORD*>(::LockResource(loaded)) : nullptr;
  // version, width, height, count, then count commands: all inside the resource.
  if (words == nullptr || bytes < 4 * sizeof(WORD)) return FALSE;
  const WORD count = words[3];
  if (bytes < (4u + count) * sizeof(WORD)) return FALSE;
  const std::vector<UINT> ids(words + 4, words + 4 + count);
  if (!SetButtons(ids.data(), static_cast<int>(ids.size()))) return FALSE;
  BOOL result = TRUE;
  if (bLoadIcons) {
    const CSize size(words[1], words[2]);
    result = GetImageManager()->SetIconsFromResource(nIDResource, ids.data(), static_cast<int>(ids.size()), size);
    if (size.cx != 16) m_szIcons = size;
  }
  if (result) m_pControls->CreateOriginalControls();
  DelayLayout();
  return result;
}

BOOL CTKPToolBar::SetButtons(const UINT* ids, int nCount) {
  tkp_bar::RemoveAll(m_pControls);
  CWnd* site = GetCommandBars() != nullptr ? GetSite() : nullptr;
  BOOL group = FALSE;
  for (int i = 0; ids != nullptr && i < nCount; ++i) {
    if (ids[i] == 0) {
      group = TRUE;
      continue;
    }
    TKP_CREATE_CONTROL create{static_cast<int>(ids[i]), nullptr, TRUE, i, nullptr, this, m_strTitle,
                              tkpControlButton, 0};
    CTKPControl* control = nullptr;
    if (site != nullptr && site->m_hWnd != nullptr &&
        site->SendMessage(TKP_WM_BEFORE_CREATE_CONTROL, 0, reinterpret_cast<LPARAM>(&create)) != 0 &&
        create.pControl != nullptr) {
      control = m_pControls->Add(create.pControl, create.nID);
    } else {
      control = m_pControls->Add(create.controlType, create.nID);
      if (control != nullptr) control->SetStyle(create.buttonStyle);  // the site may have chosen one
    }
    if (control == nullptr) continue;
    if (create.controlType == tkpControlPopup) control->SetIconId(create.nID);
    if (group) control->SetBeginGroup(TRUE);
    group = FALSE;
    create.pControl = control;
    if (site != nullptr && site->m_hWnd != nullptr) {
      site->SendMessage(TKP_WM_AFTER_CREATE_CONTROL, 0, reinterpret_cast<LPARAM>(&create));
    }
  }
  DelayLayout();
  return TRUE;
}

CTKPControl* CTKPToolBar::GetExpandButton() {
  if (CTKPControl* found = m_pControls->FindControl(TKP_ID_TOOLBAR_EXPAND)) return found;
  CTKPControl* button = m_pControls->Add(new CTKPToolBarExpandButton, TKP_ID_TOOLBAR_EXPAND, CString(), -1, TRUE);
  button->SetTooltip(_T("Toolbar Options"));
  button->SetFlags(button->GetFlags() | tkpFlagManualUpdate);  // no command of the program updates it
  return button;
}

CTKPControl* CTKPToolBar::GetCloseButton() {
  if (CTKPControl* found = m_pControls->FindControl(TKP_ID_TOOLBAR_CLOSE)) return found;
  CTKPControl* button = m_pControls->Add(new CloseButton, TKP_ID_TOOLBAR_CLOSE, CString(), -1, TRUE);
  button->SetTooltip(_T("Close"));
  button->SetFlags(button->GetFlags() | tkpFlagNoMovable | tkpFlagManualUpdate);
  return button;
}

// ---- layout --------------------------------------------------------------------------------------------

int CTKPToolBar::CaptionHeight(CDC* pDC) {
  const CSize caption = GetPaintManager()->DrawCommandBarGripper(pDC, this, FALSE);
  return std::max<int>(caption.cy, kMinCaption);
}

CSize CTKPToolBar::LayoutControls(CDC* pDC, int nLength, DWORD dwMode, CRect rcBorders, BOOL bFloating, int nWidth) {
  CTKPCommandBars* bars = GetCommandBars();
  const BOOL always = bars != nullptr && bars->GetOptions()->bShowExpandButtonAlways;
  const bool expand = m_bShowExpandButton && bars != nullptr;
  CTKPControl* expandButton = expand ? GetExpandButton() : m_pControls->FindControl(TKP_ID_TOOLBAR_EXPAND);
  if (expandButton != nullptr) HideControl(expandButton, TRUE);
  const bool vert = (dwMode & LM_VERTDOCK) != 0;
  if (expand && !bFloating && !always) {
    // Room for the expand button only when something would not fit.
    CSize size = m_pControls->CalcDynamicSize(pDC, nLength, dwMode, rcBorders, nWidth);
    if (!(dwMode & LM_COMMIT)) {
      // Measured: a bar that can be squeezed until buttons go keeps room for the button that lists them.
      BOOL squeezed = FALSE;
      const CSize minimal = m_pControls->CalcDynamicSize(pDC, 0, dwMode, rcBorders, nWidth, &squeezed);
      if (squeezed) {
        LONG& along = vert ? size.cy : size.cx;
        along = std::max<LONG>(along, (vert ? minimal.cy : minimal.cx) + kExpandRoom);
      }
      return size;
    }
    bool hidden = false;
    for (int i = 0; i < GetControlCount(); ++i) hidden = hidden || (GetControl(i)->GetHideFlags() & tkpHideWrap) != 0;
    if (!hidden) return size;
  }
  const bool reserve = expand && !bFloating;
  if (reserve) (vert ? rcBorders.bottom : rcBorders.right) += kExpandRoom;
  CSize size = m_pControls->CalcDynamicSize(pDC, nLength, dwMode, rcBorders, nWidth);
  if (reserve) {
    HideControl(expandButton, FALSE);
    GetPaintManager()->DrawSpecialControl(pDC, tkpSpecialToolbarExpand, expandButton, this, FALSE, size);
  }
  return size;
}

CSize CTKPToolBar::CalcDockingLayout(int nLength, DWORD dwMode, int) {
  CClientDC dc(m_hWnd != nullptr ? this : nullptr);
  CTKPPaintManager* paint = GetPaintManager();
  CTKPFontDC font(&dc, paint->GetRegularFont(this));
  CRect borders = paint->GetCommandBarBorders(this);
  if ((m_dwBarStyle & TKP_BAR_GRIPPER) != 0) {
    const CSize gripper = paint->DrawCommandBarGripper(&dc, this, FALSE);
    borders.left += gripper.cx;
    borders.top += gripper.cy;
  }
  if (CTKPControl* close = m_pControls->FindControl(TKP_ID_TOOLBAR_CLOSE)) HideControl(close, TRUE);
  m_dwState &= ~stateLayoutPending;
  return LayoutControls(&dc, nLength, dwMode, borders, FALSE, 0);
}

CSize CTKPToolBar::CalcDynamicLayout(int nLength, DWORD dwMode) {
  CClientDC dc(m_hWnd != nullptr ? this : nullptr);
  CTKPPaintManager* paint = GetPaintManager();
  CTKPFontDC font(&dc, paint->GetRegularFont(this));
  const int caption = CaptionHeight(&dc);
  const CRect borders(kFloatBorder, caption + 4, kFloatBorder, kFloatBorder);
  m_dwState &= ~stateLayoutPending;
  CTKPControl* close = m_bCloseable && m_barType != tkpBarTypeMenuBar ? GetCloseButton() : nullptr;
  if (close != nullptr) HideControl(close, TRUE);
  const DWORD mode = dwMode & ~(TKP_LM_HIDEWRAP | LM_HORZDOCK | LM_VERTDOCK);
  // Wide enough for the title beside the buttons of the title row.
  const int titleWidth = dc.GetTextExtent(m_strTitle).cx + 12 + 2 * kSpecialButton + 2 * kFloatBorder;
  CSize size = LayoutControls(&dc, nLength, mode, borders, TRUE, titleWidth);
  // The title row: the close button at its right end, the expand button left of it.
  int right = size.cx - kFloatBorder;
  if (close != nullptr && (dwMode & LM_COMMIT) != 0) {
    HideControl(close, FALSE);
    close->SetRect(CRect(right - kSpecialButton, kFloatBorder, right, kFloatBorder + caption));
    right -= kSpecialButton;
  }
  CTKPCommandBars* bars = GetCommandBars();
  CTKPControl* expand = m_pControls->FindControl(TKP_ID_TOOLBAR_EXPAND);
  if (expand != nullptr && bars != nullptr && bars->GetOptions()->bShowExpandButtonAlways &&
      (dwMode & LM_COMMIT) != 0) {
    HideControl(expand, FALSE);
    expand->SetRect(CRect(right - kSpecialButton, kFloatBorder, right, kFloatBorder + caption));
  }
  return size;
}

void CTKPToolBar::OnRecalcLayout() {
  if (m_hWnd == nullptr) return;
  if (m_barPosition == tkpBarFloating) {
    const CSize size = CalcDynamicLayout(0, LM_COMMIT | LM_MRUWIDTH | LM_HORZ);
    SetWindowPos(nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Invalidate();
  } else if (CTKPCommandBars* bars = GetCommandBars()) {
    bars->RecalcFrameLayout(FALSE);
  }
}

void CTKPToolBar::DrawCommandBar(CDC* pDC, CRect rcClipBox) {
  CTKPCommandBar::DrawCommandBar(pDC, rcClipBox);
  CTKPPaintManager* paint = GetPaintManager();
  const bool floating = m_barPosition == tkpBarFloating;
  if (CTKPControl* expand = m_pControls->FindControl(TKP_ID_TOOLBAR_EXPAND)) {
    if (expand->IsVisible()) {
      paint->DrawSpecialControl(pDC, floating ? tkpSpecialFloatingOptions : tkpSpecialToolbarExpand, expand, this,
                                TRUE, CSize());
    }
  }
  CTKPControl* close = m_pControls->FindControl(TKP_ID_TOOLBAR_CLOSE);
  if (close != nullptr && close->IsVisible() && floating) {
    paint->DrawSpecialControl(pDC, tkpSpecialFloatingClose, close, this, TRUE, CSize());
  }
}

// ---- place and visibility --------------------------------------------------------------------------------

BOOL CTKPToolBar::SetPosition(int nPosition) {
  CTKPCommandBars* bars = GetCommandBars();
  if (bars == nullptr) return FALSE;
  if (nPosition >= tkpBarTop && nPosition <= tkpBarRight) return bars->DockCommandBar(this, nPosition);
  if (nPosition == tkpBarFloating) return bars->FloatCommandBar(this);
  return FALSE;
}

void CTKPToolBar::SetVisible(BOOL bVisible) {
  if (!m_bVisible == !bVisible) return;
  m_bVisible = bVisible;
  if (!bVisible && m_nTrackingMode != 0) SetTrackingMode(0);
  if (m_hWnd != nullptr) ShowWindow(bVisible ? SW_SHOWNA : SW_HIDE);
  CTKPCommandBars* bars = GetCommandBars();
  if (bars == nullptr) return;
  if (m_pDockBar != nullptr) bars->RecalcFrameLayout(FALSE);
  if (CWnd* site = bars->GetSite()) {
    if (site->m_hWnd != nullptr) site->SendMessage(TKP_WM_BARVISIBLECHANGED, reinterpret_cast<WPARAM>(this), bVisible);
  }
  if (m_bTearOff && !bVisible) bars->Remove(this);
}

BOOL CTKPToolBar::IsVisible() const { return m_bVisible; }

void CTKPToolBar::SetPreviewMode(BOOL bPreview) {
  if (!m_bPreview == !bPreview) return;
  m_bPreview = bPreview;
  if (bPreview) {
    m_bPreviewVisible = m_bVisible;
    if (!m_bVisible) return;
    m_bVisible = FALSE;  // no keyboard or layout finds it meanwhile
    if (m_hWnd != nullptr) ShowWindow(SW_HIDE);
    return;
  }
  if (!m_bPreviewVisible) return;
  m_bVisible = TRUE;
  if (m_hWnd != nullptr) ShowWindow(SW_SHOWNA);
  if (m_barType == tkpBarTypeMenuBar) RefreshSiteMenu();
}

// The frame's menu line is drawn again now that the menu bar is back.
void CTKPToolBar::RefreshSiteMenu() {
  CWnd* site = GetSite();
  if (site != nullptr && site->m_hWnd != nullptr) site->DrawMenuBar();
}

// The site frame owns the question, wherever the bar floats and whichever window is the main one.
int CTKPToolBar::AskOnSite(LPCTSTR lpszText, UINT nType) const {
  CWnd* site = GetSite();
  CPushRoutingFrame routing(site != nullptr && site->m_hWnd != nullptr ? site : nullptr);
  return AfxMessageBox(lpszText, nType);
}

BOOL CTKPToolBar::ConfirmReset() const {
  CString format;
  if (!TKPResourceManager()->LoadString(&format, IDS_TK_RESET_TOOLBAR)) {
    format = _T("Are you sure you want to reset the changes made to the '%s' toolbar?");
  }
  CString question;
  question.Format(format, static_cast<LPCTSTR>(m_strTitle));
  return AskOnSite(question, MB_OKCANCEL | MB_ICONWARNING) == IDOK;
}

void CTKPToolBar::ResetToolBar() {
  if (!m_bBuiltIn || m_nBarID == 0 || !IsCustomizable()) return;
  if (!ConfirmReset()) return;
  if (CTKPControls* original = m_pControls->GetOriginalControls()) {
    tkp_bar::RemoveAll(m_pControls);
    for (int i = 0; i < original->GetCount(); ++i) {
      // Whole copies, menus included: the originals must stay as they are for the next reset.
      if (!original->GetAt(i)->IsTemporary()) m_pControls->AddClone(original->GetAt(i), -1, TRUE);
    }
  } else {
    LoadToolBar(m_nBarID, FALSE);
  }
  if (CWnd* site = GetOwnerSite()) OnUpdateCmdUI(site, TRUE);
  OnRecalcLayout();
}

// ---- the mouse -----------------------------------------------------------------------------------------

BOOL CTKPToolBar::IsOverControl(CPoint point) const {
  return !IsCustomizeMode() && HitTestControl(point) >= 0;
}

void CTKPToolBar::OnLButtonDown(UINT nFlags, CPoint point) {
  if (m_barPosition == tkpBarFloating) SetWindowPos(&CWnd::wndTop, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
  if (IsOverControl(point)) {
    CTKPCommandBar::OnLButtonDown(nFlags, point);
    return;
  }
  if (CTKPCommandBars* bars = GetCommandBars()) bars->ClosePopups();
  if (m_pDockContext != nullptr && (m_dwFlags & (TKP_DOCK_TOP | TKP_DOCK_BOTTOM | TKP_DOCK_LEFT | TKP_DOCK_RIGHT |
                                                TKP_DOCK_FLOAT)) != 0) {
    ClientToScreen(point);
    m_pDockContext->StartDrag(point);
  }
}

void CTKPToolBar::OnLButtonDblClk(UINT nFlags, CPoint point) {
  if (!IsOverControl(point) && m_pDockContext != nullptr) {
    m_pDockContext->ToggleDocking();
    return;
  }
  CTKPCommandBar::OnLButtonDblClk(nFlags, point);
}

void CTKPToolBar::OnNcLButtonDown(UINT nHitTest, CPoint point) {
  if (nHitTest >= HTLEFT && nHitTest <= HTBOTTOMRIGHT && m_pDockContext != nullptr) {
    if (CWnd* site = GetSite()) {
      if (CWnd* top = site->GetTopLevelParent()) top->SetActiveWindow();
    }
    SetWindowPos(&CWnd::wndTop, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    if (CTKPCommandBars* bars = GetCommandBars()) bars->ClosePopups();
    m_pDockContext->StartResize(static_cast<int>(nHitTest), point);
    return;
  }
  CTKPCommandBar::OnNcLButtonDown(nHitTest, point);
}

LRESULT CTKPToolBar::OnNcHitTest(CPoint point) {
  if (m_barPosition != tkpBarFloating) return CTKPCommandBar::OnNcHitTest(point);
  CRect window;
  GetWindowRect(window);
  CRect inner = window;
  inner.DeflateRect(kFloatBorder, kFloatBorder);
  if (inner.PtInRect(point)) return CTKPCommandBar::OnNcHitTest(point);
  if (point.y < inner.top) return HTTOP;
  if (point.y >= inner.bottom) return HTBOTTOM;
  if (point.x < inner.left) return HTLEFT;
  return HTRIGHT;
}

void CTKPToolBar::OnRButtonDown(UINT nFlags, CPoint point) {
  CTKPCommandBars* bars = GetCommandBars();
  if (bars == nullptr || IsCustomizeMode()) {
    CWnd::OnRButtonDown(nFlags, point);
    return;
  }
  SetTrackingMode(0);
  SetSelected(-1);
  Invalidate();
  ClientToScreen(point);
  bars->ContextMenu(this, point);
}

namespace {

// The focus lies in a mini frame (a floating or sliding panel) whose own frame is the active window: a
// click on a bar must leave the focus there.
bool FocusInMiniFrameOfActiveFrame() {
  for (HWND h = ::GetFocus(); h != nullptr; h = ::GetParent(h)) {
    CWnd* wnd = CWnd::FromHandlePermanent(h);
    if (wnd == nullptr || !wnd->IsKindOf(RUNTIME_CLASS(CMiniFrameWnd))) continue;
    CFrameWnd* frame = wnd->GetParentFrame();
    return frame != nullptr && frame->m_hWnd == ::GetActiveWindow();
  }
  return false;
}

}  // namespace

int CTKPToolBar::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message) {
  if (m_barPosition == tkpBarFloating || FocusInMiniFrameOfActiveFrame() || IsCustomizeMode()) return MA_NOACTIVATE;
  return CTKPCommandBar::OnMouseActivate(pDesktopWnd, nHitTest, message);
}

BOOL CTKPToolBar::OnNcActivate(BOOL bActive) {
  // A floating bar never shows an active caption.
  return bActive ? FALSE : CTKPCommandBar::OnNcActivate(bActive);
}

LRESULT CTKPToolBar::OnFloatStatus(WPARAM wParam, LPARAM) {
  if (m_barPosition != tkpBarFloating || !m_bVisible || m_hWnd == nullptr) return 0;
  CTKPCommandBars* bars = GetCommandBars();
  const UINT flags = static_cast<UINT>(wParam);
  if (bars == nullptr || bars->GetOptions()->bSyncFloatingBars) {
    CWnd* site = GetSite();
    const BOOL frameActive = site != nullptr && site->m_hWnd != nullptr && TKPIsTopParentActive(site->m_hWnd);
    if ((flags & FS_DEACTIVATE) != 0 && !frameActive) ShowWindow(SW_HIDE);
    HWND foreground = ::GetForegroundWindow();
    if ((flags & FS_ACTIVATE) != 0 && frameActive && foreground != nullptr && ::IsWindowVisible(foreground) &&
        !::IsIconic(foreground)) {
      ShowWindow(SW_SHOWNA);
    }
  }
  if ((flags & (FS_SHOW | FS_HIDE)) != 0) {
    SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE |
                                          ((flags & FS_SHOW) != 0 ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
  }
  if ((flags & (FS_ENABLE | FS_DISABLE)) != 0) EnableWindow((flags & FS_ENABLE) != 0);
  return (GetStyle() & 0x100) != 0 && (flags & FS_SYNCACTIVE) != 0;
}

void CTKPToolBar::OnClose() {}

void CTKPToolBar::OnDestroy() {
  // The dock bar keeps plain pointers in its rows: a bar without a window, soon to be released, leaves them.
  if (m_pDockBar != nullptr) m_pDockBar->RemoveCommandBar(this);
  m_pDockBar = nullptr;
  CTKPCommandBar::OnDestroy();
}

void CTKPToolBar::OnSetFocus(CWnd* pOldWnd) {
  CTKPCommandBar::OnSetFocus(pOldWnd);
  if (m_hwndCaret == nullptr && pOldWnd != nullptr) m_hwndCaret = pOldWnd->GetSafeHwnd();
  if (m_pDockContext == nullptr && !IsTrackingMode()) SetTrackingMode(1, TRUE, TRUE);
}

void CTKPToolBar::OnKillFocus(CWnd* pNewWnd) {
  CTKPCommandBar::OnKillFocus(pNewWnd);
  const HWND to = pNewWnd != nullptr ? pNewWnd->GetSafeHwnd() : nullptr;
  if (m_pDockContext == nullptr && IsTrackingMode() && (to == nullptr || !::IsChild(m_hWnd, to))) {
    SetTrackingMode(0);
  }
}

int CTKPToolBar::OnHookKeyDown(UINT nChar, LPARAM lParam) {
  if (nChar != VK_TAB || m_pDockContext != nullptr || IsCustomizeMode()) {
    return CTKPCommandBar::OnHookKeyDown(nChar, lParam);
  }
  CWnd* parent = GetParent();
  CWnd* next = parent != nullptr ? parent->GetNextDlgTabItem(this, TKPIsKeyDown(VK_SHIFT)) : nullptr;
  if (next != nullptr && next != this) next->SetFocus();
  SetTrackingMode(0);
  return 1;
}

LRESULT CTKPToolBar::OnSizeParent(WPARAM, LPARAM lParam) {
  auto* layout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
  if (layout == nullptr || !m_bVisible || m_pDockBar != nullptr || m_barPosition == tkpBarFloating) return 0;
  DWORD mode = LM_HORZDOCK | LM_HORZ;
  if (layout->hDWP != nullptr) mode |= LM_COMMIT;
  if ((m_dwFlags & TKP_DOCK_HIDEWRAP) != 0) mode |= TKP_LM_HIDEWRAP;
  if ((m_dwFlags & TKP_DOCK_STRETCHED) != 0) mode |= LM_STRETCH;
  CRect rect(layout->rect);
  CSize size = CalcDockingLayout(rect.Width(), mode);
  size.cx = std::max<LONG>(0, std::min<LONG>(size.cx, rect.Width()));
  size.cy = std::max<LONG>(0, std::min<LONG>(size.cy, rect.Height()));
  rect.right = rect.left + size.cx;
  rect.bottom = rect.top + size.cy;
  layout->rect.top += size.cy;
  layout->sizeTotal.cy += size.cy;
  layout->sizeTotal.cx = std::max<LONG>(layout->sizeTotal.cx, size.cx);
  if (layout->hDWP != nullptr) AfxRepositionWindow(layout, m_hWnd, rect);
  Redraw();
  return 0;
}
