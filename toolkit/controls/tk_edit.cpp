#include "toolkit/controls/tk_edit.h"

#include "platform/classlib/win/cdc.h"
#include "platform/classlib/win/cmenu.h"
#include "platform/classlib/win/stdids.h"
#include "res/toolkit_resource.h"
#include "toolkit/common/aux_data.h"
#include "toolkit/common/color_manager.h"
#include "toolkit/common/gdi_guards.h"
#include "toolkit/common/resource_manager.h"
#include "toolkit/common/tkp_popup_menu.h"

IMPLEMENT_DYNAMIC(CTKEdit, CEdit)
IMPLEMENT_DYNAMIC(CTKFlatEdit, CTKEdit)

namespace {
constexpr UINT_PTR kEditHotTimer = 1000;
constexpr int kEditSubMenu = 1;

COLORREF FaceColor(const CWnd* pWnd) {
  return TKPColorManager()->GetColor(pWnd->IsWindowEnabled() ? COLOR_WINDOW : COLOR_BTNFACE);
}
}  // namespace

// ---- CTKEdit ----

BOOL CTKEdit::CanPaste() { return ::IsClipboardFormatAvailable(CF_TEXT); }

BOOL CTKEdit::HasSelection() {
  int nStart = 0, nEnd = 0;
  GetSel(nStart, nEnd);
  return nStart < nEnd;
}

BOOL CTKEdit::Initialize(CWnd* pParentWnd) {
  if (m_hWnd == nullptr || pParentWnd == nullptr || !::IsWindow(m_hWnd) || !::IsWindow(pParentWnd->m_hWnd))
    return FALSE;
  SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(TKPAuxData().font.GetSafeHandle()), TRUE);
  m_pParentWnd = pParentWnd;
  return TRUE;
}

bool CTKEdit::Changes(UINT nID) {
  return nID == ID_EDIT_UNDO || nID == ID_EDIT_CUT || nID == ID_EDIT_PASTE || nID == ID_EDIT_CLEAR;
}

BOOL CTKEdit::IsCommandEnabled(UINT nID) {
  // A read-only edit's text can be copied and selected, never changed.
  if (Changes(nID) && (GetStyle() & ES_READONLY) != 0) return FALSE;
  switch (nID) {
    case ID_EDIT_UNDO: return CanUndo();
    case ID_EDIT_CUT:
    case ID_EDIT_COPY:
    case ID_EDIT_CLEAR: return HasSelection();
    case ID_EDIT_PASTE: return CanPaste();
    case ID_EDIT_SELECT_ALL: return GetWindowTextLength() > 0;
    default: return FALSE;
  }
}

BOOL CTKEdit::RunCommand(UINT nID) {
  if (Changes(nID) && (GetStyle() & ES_READONLY) != 0) return FALSE;
  switch (nID) {
    case ID_EDIT_UNDO: SendMessage(EM_UNDO); return TRUE;
    case ID_EDIT_CUT: SendMessage(WM_CUT); return TRUE;
    case ID_EDIT_COPY: SendMessage(WM_COPY); return TRUE;
    case ID_EDIT_PASTE: SendMessage(WM_PASTE); return TRUE;
    case ID_EDIT_CLEAR: SendMessage(WM_CLEAR); return TRUE;
    case ID_EDIT_SELECT_ALL:
      SendMessage(EM_SETSEL, 0, -1);
      SendMessage(EM_SCROLLCARET);
      return TRUE;
    default: return FALSE;
  }
}

void CTKEdit::UpdateMenuItems(CMenu* pPopup) {
  HMENU hMenu = pPopup->GetSafeHmenu();
  const int count = ::GetMenuItemCount(hMenu);
  for (int i = 0; i < count; ++i) {
    UINT nID = ::GetMenuItemID(hMenu, i);
    if (nID == 0) continue;  // separator
    if (nID == static_cast<UINT>(-1)) {
      // A popup item follows its first item.
      HMENU hSub = ::GetSubMenu(hMenu, i);
      if (hSub == nullptr || ::GetMenuItemCount(hSub) == 0) continue;
      nID = ::GetMenuItemID(hSub, 0);
    }
    if (nID >= 0xF000) continue;  // system commands are left alone
    const BOOL bEnable = IsCommandEnabled(nID);
    ::EnableMenuItem(hMenu, static_cast<UINT>(i), MF_BYPOSITION | (bEnable ? MF_ENABLED : MF_GRAYED));
  }
}

CPoint CTKEdit::ContextMenuPoint(CPoint point) const {
  if (point.x != -1 || point.y != -1) return point;
  POINT corner{0, 0};
  ::ClientToScreen(m_hWnd, &corner);
  return CPoint(corner.x + 5, corner.y + 5);
}

void CTKEdit::OnContextMenu(CPoint point) {
  const CPoint at = ContextMenuPoint(point);
  CMenu menu;
  if (!TKPResourceManager()->LoadMenu(&menu, IDR_TK_MENUS)) return;
  HMENU hPopup = ::GetSubMenu(menu.GetSafeHmenu(), kEditSubMenu);
  if (hPopup != nullptr) TKPTrackPopupMenu(hPopup, TPM_RIGHTBUTTON, at.x, at.y, m_hWnd, IDR_TK_EDIT_TOOLBAR);
  menu.DestroyMenu();
}

void CTKEdit::OnPaint() {
  CPaintDC dc(this);
  const CTKPClientRect rc(this);
  CTKMemDC memDC(&dc, rc, CTKPColorGradient(FaceColor(this)));
  DefWindowProc(WM_PAINT, reinterpret_cast<WPARAM>(memDC.GetSafeHdc()), 0);
}

LRESULT CTKEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CONTEXTMENU:
      OnContextMenu(CPoint(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))));
      return 0;
    case WM_INITMENUPOPUP: {
      const LRESULT result = CEdit::WindowProc(message, wParam, lParam);
      if (!HIWORD(lParam)) {
        CMenu popup;
        popup.m_hMenu = reinterpret_cast<HMENU>(wParam);
        UpdateMenuItems(&popup);
        popup.m_hMenu = nullptr;
      }
      return result;
    }
    case WM_COMMAND:
      if (lParam == 0 && RunCommand(LOWORD(wParam))) return 0;
      break;
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_ERASEBKGND:
      return TRUE;
    default:
      break;
  }
  return CEdit::WindowProc(message, wParam, lParam);
}

// ---- CTKFlatEdit ----

CTKFlatEdit::CTKFlatEdit() : m_themeHost(RUNTIME_CLASS(CTKFlatEditThemeFactory)) {}

BOOL CTKFlatEdit::PointInControl() const { return tkflat::CursorOver(m_hWnd); }

int CTKFlatEdit::GetDrawState() const {
  if (m_bHasFocus) return tkflat::kStatePressed;
  return m_bHotShown ? tkflat::kStateHot : tkflat::kStateNormal;
}

void CTKFlatEdit::OnTimerStep() {
  const bool bInside = PointInControl() != FALSE;
  if (!bInside) KillTimer(kEditHotTimer);
  if (tkflat::StepHot(bInside, m_bHotShown)) SendMessage(WM_NCPAINT, 1);
}

void CTKFlatEdit::OnNcPaint() {
  CWindowDC dc(this);
  CRect window, client;
  GetWindowRect(window);
  GetClientRect(client);
  ClientToScreen(client);
  client.OffsetRect(-window.left, -window.top);
  window.OffsetRect(-window.left, -window.top);
  dc.ExcludeClipRect(client);
  CTKMemDC memDC(&dc, window, CTKPColorGradient(FaceColor(this)));
  if (auto* pTheme = static_cast<CTKFlatEditTheme*>(m_themeHost.GetSafeTheme()))
    pTheme->DrawBorders(&memDC, this, window, GetDrawState());
}

LRESULT CTKFlatEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (!m_bFlat) return CTKEdit::WindowProc(message, wParam, lParam);
  switch (message) {
    case WM_SETCURSOR:
      if (HIWORD(lParam) == WM_MOUSEMOVE) {
        SetTimer(kEditHotTimer, 10);
        OnTimerStep();
      }
      break;
    case WM_TIMER:
      if (wParam != kEditHotTimer) break;
      OnTimerStep();
      return 0;
    case WM_NCPAINT:
      OnNcPaint();
      return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
      const LRESULT result = CTKEdit::WindowProc(message, wParam, lParam);
      m_bHasFocus = message == WM_SETFOCUS;
      Invalidate();
      SendMessage(WM_NCPAINT, 1);
      return result;
    }
    default:
      break;
  }
  return CTKEdit::WindowProc(message, wParam, lParam);
}
