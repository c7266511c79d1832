// CReBar: bands over the common rebar window and their place in the frame's layout.
#include "platform/classlib/win/crebar.h"

#include "platform/classlib/win/cframewnd.h"
#include "platform/classlib/win/cgdiobject.h"
#include "platform/classlib/win/controlsupport.h"
#include "platform/classlib/win/messages.h"

IMPLEMENT_DYNAMIC(CReBar, CControlBar)

BEGIN_MESSAGE_MAP(CReBar, CControlBar)
  ON_NOTIFY_REFLECT(RBN_HEIGHTCHANGE, OnHeightChange)
END_MESSAGE_MAP()

BOOL CReBar::Create(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, UINT nID) {
  AfxInitCommonControls(ICC_COOL_CLASSES | ICC_BAR_CLASSES);
  SetBarStyle(dwStyle);
  // The frame places the bar: the rebar must not move or size itself along its parent.
  DWORD windowStyle = (dwStyle & ~CBRS_ALL) | dwCtrlStyle | CCS_NOPARENTALIGN | CCS_NODIVIDER | CCS_NORESIZE;
  return CWnd::Create(REBARCLASSNAMEW, nullptr, windowStyle, RECT{0, 0, 0, 0}, pParentWnd, nID);
}

BOOL CReBar::AddBar(CWnd* pBar, LPCTSTR pszText, CBitmap* pbmp, DWORD dwStyle) {
  if (m_hWnd == nullptr || pBar == nullptr || pBar->m_hWnd == nullptr) return FALSE;
  if (::GetParent(pBar->m_hWnd) != m_hWnd) pBar->SetParent(this);
  CRect rect;
  pBar->GetWindowRect(rect);
  REBARBANDINFOW band{};
  band.cbSize = sizeof(band);
  band.fMask = RBBIM_STYLE | RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_SIZE;
  band.fStyle = dwStyle;
  band.hwndChild = pBar->m_hWnd;
  band.cxMinChild = static_cast<UINT>(rect.Width());
  band.cyMinChild = static_cast<UINT>(rect.Height());
  band.cx = static_cast<UINT>(rect.Width());
  if (pszText != nullptr) {
    band.fMask |= RBBIM_TEXT;
    band.lpText = const_cast<LPWSTR>(pszText);
  }
  if (pbmp != nullptr && pbmp->GetSafeHandle() != nullptr) {
    band.fMask |= RBBIM_BACKGROUND;
    band.hbmBack = static_cast<HBITMAP>(pbmp->GetSafeHandle());
  }
  return SendMessage(RB_INSERTBANDW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&band)) != 0;
}

CSize CReBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
  CSize size = CControlBar::CalcFixedLayout(FALSE, bHorz);
  size.cy += static_cast<LONG>(SendMessage(RB_GETBARHEIGHT));
  if (bStretch) size.cx = 32767;
  return size;
}

void CReBar::OnUpdateCmdUI(CCmdTarget*, BOOL bDisableIfNoHandler) {
  for (int i = 0; i < GetBandCount(); ++i) {
    REBARBANDINFOW band{};
    band.cbSize = sizeof(band);
    band.fMask = RBBIM_CHILD;
    if (SendMessage(RB_GETBANDINFOW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&band)) && band.hwndChild) {
      ::SendMessageW(band.hwndChild, WM_IDLEUPDATECMDUI, static_cast<WPARAM>(bDisableIfNoHandler), 0);
    }
  }
}

void CReBar::OnHeightChange(NMHDR*, LRESULT* pResult) {
  if (CFrameWnd* pFrame = GetParentFrame()) pFrame->RecalcLayout();
  *pResult = 0;
}
