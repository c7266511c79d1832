#include <windows.h>

#include "platform/classlib/win/cdc.h"
#include "toolkit/tabmanager/tab_capture_loop.h"
#include "toolkit/tabmanager/tab_navigation.h"
#include "toolkit/tabmanager/tkp_tab_color_set.h"
#include "toolkit/tabmanager/tkp_tab_manager.h"
#include "toolkit/tabmanager/tkp_tab_paint_manager.h"

CTKPTabManagerNavigateButton::CTKPTabManagerNavigateButton(CTKPTabManager* pOwner, int nId, int nShowMode)
    : m_nId(nId), m_nShowMode(nShowMode), m_pOwner(pOwner) {}

void CTKPTabManagerNavigateButton::PerformClick(HWND hWnd, CPoint pt) {
  if (::GetCapture() != nullptr || !m_bEnabled) return;
  BOOL bClicked = FALSE;
  {
    CTKPTabCaptureLoop loop(hWnd);
    tktab::RepeatPace pace(m_pOwner->Now());
    for (;;) {
      if (m_bEnabled && pace.Due(m_pOwner->Now())) OnExecute(TRUE);
      const BOOL bPressed = m_rcButton.PtInRect(pt);
      if (bPressed != m_bPressed) {
        m_bPressed = bPressed;
        m_pOwner->RedrawControl();
      }
      MSG msg;
      if (!::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
        // Sleep until a message comes or the next step is due; a disabled button waits for messages only.
        const DWORD wait = m_bEnabled ? pace.WaitTime(m_pOwner->Now()) : INFINITE;
        ::MsgWaitForMultipleObjectsEx(0, nullptr, wait, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        continue;
      }
      const CTKPTabCaptureLoop::Event event = loop.Next(pt);
      if (event == CTKPTabCaptureLoop::kReleased) bClicked = m_rcButton.PtInRect(pt);
      if (event == CTKPTabCaptureLoop::kReleased || event == CTKPTabCaptureLoop::kEnded) break;
    }
  }
  m_bPressed = FALSE;
  OnMouseMove(hWnd, pt);
  m_pOwner->RedrawControl();
  if (bClicked) OnExecute(FALSE);
}

void CTKPTabManagerNavigateButton::OnMouseMove(HWND hWnd, CPoint pt) {
  if (!m_rcButton.PtInRect(pt)) {
    if (m_bHot) {
      m_bHot = FALSE;
      m_pOwner->RedrawControl();
    }
    return;
  }
  if (m_bEnabled && !m_bHot) {
    m_bHot = TRUE;
    m_pOwner->RedrawControl();
    TRACKMOUSEEVENT tme = {sizeof(TRACKMOUSEEVENT), TME_LEAVE, hWnd, 0};
    ::_TrackMouseEvent(&tme);
  }
}

void CTKPTabManagerNavigateButtonBack::OnExecute(BOOL bRepeating) {
  if (bRepeating) m_pOwner->OnScroll(FALSE);
}

void CTKPTabManagerNavigateButtonForward::OnExecute(BOOL bRepeating) {
  if (bRepeating) m_pOwner->OnScroll(TRUE);
}

void CTKPTabManagerNavigateButtonClose::OnExecute(BOOL bRepeating) {
  if (!bRepeating) m_pOwner->OnNavigateButtonClick(tktab::kButtonClose);
}

void CTKPTabManagerNavigateButton::Draw(CDC* pDC) {
  if (m_rcButton.IsRectEmpty()) return;
  CTKPTabPaintManager* pPaintManager = m_pOwner->GetPaintManager();
  CRect rc = m_rcButton;
  if (pPaintManager) pPaintManager->GetColorSet()->FillNavigateButton(pDC, this, rc);
  const COLORREF clr = pDC->GetTextColor();
  HPEN hPen = ::CreatePen(PS_SOLID, 1, clr);
  HBRUSH hBrush = m_bEnabled ? ::CreateSolidBrush(clr) : nullptr;
  HGDIOBJ hOldPen = ::SelectObject(*pDC, hPen);
  HGDIOBJ hOldBrush = ::SelectObject(*pDC, hBrush ? static_cast<HGDIOBJ>(hBrush) : ::GetStockObject(NULL_BRUSH));
  DrawEntry(pDC, rc);
  ::SelectObject(*pDC, hOldPen);
  ::SelectObject(*pDC, hOldBrush);
  ::DeleteObject(hPen);
  if (hBrush) ::DeleteObject(hBrush);
}

namespace {

void Triangle(CDC* pDC, POINT a, POINT b, POINT c) {
  const POINT pts[3] = {a, b, c};
  pDC->Polygon(pts, 3);
}

bool Horizontal(const CTKPTabManager* pOwner) { return tktab::IsHorizontal(pOwner->GetPosition()); }

}  // namespace

void CTKPTabManagerNavigateButtonBack::DrawEntry(CDC* pDC, CRect rc) {
  const CPoint c = rc.CenterPoint();
  if (Horizontal(m_pOwner)) {
    Triangle(pDC, {c.x + 2, c.y - 5}, {c.x - 2, c.y - 1}, {c.x + 2, c.y + 3});
  } else {
    Triangle(pDC, {c.x - 5, c.y + 2}, {c.x - 1, c.y - 2}, {c.x + 3, c.y + 2});
  }
}

void CTKPTabManagerNavigateButtonForward::DrawEntry(CDC* pDC, CRect rc) {
  const CPoint c = rc.CenterPoint();
  if (Horizontal(m_pOwner)) {
    Triangle(pDC, {c.x - 2, c.y - 5}, {c.x + 2, c.y - 1}, {c.x - 2, c.y + 3});
  } else {
    Triangle(pDC, {c.x - 5, c.y - 2}, {c.x - 1, c.y + 2}, {c.x + 3, c.y - 2});
  }
}

void CTKPTabManagerNavigateButtonClose::DrawEntry(CDC* pDC, CRect rc) {
  const LONG l = rc.left, t = rc.top, r = rc.right, b = rc.bottom;
  const POINT lines[4][2] = {{{l + 3, t + 3}, {r - 4, b - 5}}, {{l + 4, t + 3}, {r - 3, b - 5}},
                             {{l + 3, b - 6}, {r - 4, t + 2}}, {{l + 4, b - 6}, {r - 3, t + 2}}};
  for (const auto& line : lines) {
    pDC->MoveTo(line[0].x, line[0].y);
    pDC->LineTo(line[1].x, line[1].y);
  }
}
