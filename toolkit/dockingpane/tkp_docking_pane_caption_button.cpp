// The caption buttons' hover, their modal press and their tips.
#include "toolkit/dockingpane/tkp_docking_pane_base.h"

#include "toolkit/common/resource_manager.h"
#include "toolkit/common/tkp_tooltip_context.h"

void CTKPDockingPaneCaptionButton::Redraw() { m_pOwner->RedrawPane(); }

BOOL CTKPDockingPaneCaptionButton::CheckForMouseOver(CPoint pt) {
  if (m_bHot && !m_rcButton.PtInRect(pt)) {
    m_bHot = FALSE;
    Redraw();
  }
  if (!m_bHot && m_rcButton.PtInRect(pt) && IsVisible()) {
    if (HWND hWnd = m_pOwner->GetPaneHwnd()) {
      TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE, hWnd, 0};
      ::TrackMouseEvent(&tme);
    }
    m_bHot = TRUE;
    Redraw();
    return TRUE;
  }
  return FALSE;
}

BOOL CTKPDockingPaneCaptionButton::Click(CWnd* pWnd, CPoint pt, BOOL bClientCoordinates) {
  if (::GetCapture() != nullptr || pWnd == nullptr) return FALSE;
  HWND hWnd = pWnd->GetSafeHwnd();
  ::SetCapture(hWnd);
  BOOL result = FALSE;
  for (;;) {
    const BOOL pressed = m_rcButton.PtInRect(pt);
    if (pressed != m_bPressed) {
      m_bPressed = pressed;
      Redraw();
    }
    MSG msg;
    if (::GetMessageW(&msg, nullptr, 0, 0) <= 0) {
      if (msg.message == WM_QUIT) ::PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (::GetCapture() != hWnd) {
      ::DispatchMessageW(&msg);
      break;
    }
    if (msg.message == WM_LBUTTONUP) {
      result = m_bPressed;
      break;
    }
    if (msg.message == WM_MOUSEMOVE) {
      POINT p{static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam))};
      if (!bClientCoordinates) {
        ::ClientToScreen(hWnd, &p);
        RECT rc;
        ::GetWindowRect(hWnd, &rc);
        p.x -= rc.left;
        p.y -= rc.top;
      }
      pt = p;
      continue;
    }
    if (msg.message == WM_CANCELMODE || msg.message == WM_RBUTTONDOWN ||
        (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE)) {
      break;
    }
    if (msg.message == WM_NCMOUSEMOVE) continue;
    ::DispatchMessageW(&msg);
  }
  if (::GetCapture() == hWnd) ::ReleaseCapture();
  m_bPressed = FALSE;
  CheckForMouseOver(pt);
  Redraw();
  return result;
}

INT_PTR CTKPDockingPaneCaptionButton::FillToolInfo(HWND hWnd, const CRect& rcTool, TOOLINFO* pTI) const {
  CString tip;
  if (!TKPResourceManager()->LoadString(&tip, m_nID) || tip.IsEmpty()) return -1;
  CTKPToolTipContext::FillInToolInfo(pTI, hWnd, rcTool, static_cast<INT_PTR>(m_nID), tip);
  return static_cast<INT_PTR>(m_nID);
}
