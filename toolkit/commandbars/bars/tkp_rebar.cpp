// CTKPReBar: toolbars as bands of a rebar.
#include "toolkit/commandbars/bars/tkp_rebar.h"

#include "platform/classlib/win/cdc.h"
#include "platform/classlib/win/layout.h"
#include "toolkit/commandbars/bars/tkp_dock_bar.h"
#include "toolkit/commandbars/bars/tkp_tool_bar.h"
#include "toolkit/common/gdi_guards.h"

IMPLEMENT_DYNAMIC(CTKPReBar, CReBar)

BEGIN_MESSAGE_MAP(CTKPReBar, CReBar)
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
  ON_NOTIFY_REFLECT(RBN_CHILDSIZE, OnHeightChange)
END_MESSAGE_MAP()

namespace {
REBARBANDINFOW BandInfo(UINT mask) {
  REBARBANDINFOW band{};
  band.cbSize = sizeof(band);
  band.fMask = mask;
  return band;
}
}  // namespace

BOOL CTKPReBar::AddToolBar(CTKPToolBar* pBar, DWORD dwStyle) {
  if (pBar == nullptr || pBar->m_hWnd == nullptr || m_hWnd == nullptr) return FALSE;
  const CSize size = pBar->CalcDockingLayout(32000, LM_COMMIT | LM_HORZDOCK | LM_HORZ);
  pBar->SetWindowPos(nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (CTKPDockBar* dock = pBar->GetDockBar()) dock->RemoveCommandBar(pBar);
  pBar->SetDockBar(nullptr);
  pBar->EnableDocking(0);
  pBar->SetBarStyle(pBar->GetBarStyle() & ~TKP_BAR_GRIPPER);
  if (!AddBar(pBar, nullptr, nullptr, dwStyle)) return FALSE;
  REBARBANDINFOW band = BandInfo(RBBIM_ID);
  band.wID = pBar->GetBarID();
  SendMessage(RB_SETBANDINFOW, static_cast<WPARAM>(GetBandCount() - 1), reinterpret_cast<LPARAM>(&band));
  return TRUE;
}

void CTKPReBar::RemoveToolBar(CTKPToolBar* pBar) {
  for (int i = GetBandCount() - 1; i >= 0; --i) {
    if (GetToolBar(i) == pBar) {
      SendMessage(RB_DELETEBAND, static_cast<WPARAM>(i));
      return;
    }
  }
}

CTKPToolBar* CTKPReBar::GetToolBar(int nBand) const {
  REBARBANDINFOW band = BandInfo(RBBIM_STYLE | RBBIM_CHILD | RBBIM_SIZE);
  if (!SendMessage(RB_GETBANDINFOW, static_cast<WPARAM>(nBand), reinterpret_cast<LPARAM>(&band))) return nullptr;
  CWnd* child = CWnd::FromHandlePermanent(band.hwndChild);
  return child != nullptr && child->IsKindOf(RUNTIME_CLASS(CTKPToolBar)) ? static_cast<CTKPToolBar*>(child) : nullptr;
}

CSize CTKPReBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
  CSize size = CReBar::CalcFixedLayout(bStretch, bHorz);
  for (int i = GetBandCount() - 1; i >= 0; --i) {
    CTKPToolBar* pBar = GetToolBar(i);
    if (pBar == nullptr) continue;
    REBARBANDINFOW info = BandInfo(RBBIM_SIZE);
    SendMessage(RB_GETBANDINFOW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&info));
    const CSize full = pBar->CalcDockingLayout(32000, LM_HORZ | LM_HORZDOCK);
    DWORD mode = LM_COMMIT | LM_HORZDOCK | LM_HORZ | LM_STRETCH;
    if (pBar->GetType() != tkpBarTypeMenuBar) mode |= TKP_LM_HIDEWRAP;
    const CSize fitted = pBar->CalcDockingLayout(static_cast<int>(info.cx), mode);
    REBARBANDINFOW band = BandInfo(RBBIM_CHILDSIZE | RBBIM_IDEALSIZE);
    band.cxMinChild = 0;
    band.cyMinChild = static_cast<UINT>(fitted.cy);
    band.cxIdeal = static_cast<UINT>(full.cx);
    SendMessage(RB_SETBANDINFOW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&band));
    pBar->Invalidate(FALSE);
  }
  return size;
}

void CTKPReBar::OnPaint() {
  CPaintDC paint(this);
  CRect client;
  GetClientRect(client);
  CTKPBufferDC dc(paint, client);
  dc.FillSolidRect(client, ::GetSysColor(COLOR_BTNFACE));
  DefWindowProc(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc.m_hDC), 0);
  DefWindowProc(WM_PAINT, reinterpret_cast<WPARAM>(dc.m_hDC), 0);
}

BOOL CTKPReBar::OnEraseBkgnd(CDC*) { return TRUE; }
