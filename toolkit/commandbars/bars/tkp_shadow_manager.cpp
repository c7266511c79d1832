#include "toolkit/commandbars/bars/tkp_shadow_manager.h"

#include <algorithm>
#include <vector>

#include "toolkit/commandbars/bars/shadow_geometry.h"
#include "toolkit/commandbars/bars/tkp_command_bar.h"
#include "toolkit/commandbars/controls/tkp_control_popup.h"
#include "toolkit/commandbars/paint/tkp_paint_manager.h"
#include "toolkit/commandbars/bars/tkp_popup_bar.h"
#include "toolkit/common/color_manager.h"

BEGIN_MESSAGE_MAP(CTKPShadowWnd, CWnd)
  ON_WM_PAINT()
  ON_WM_SIZE()
  ON_WM_NCHITTEST()
END_MESSAGE_MAP()

namespace {

bool IsTrue(BOOL b) { return b != FALSE; }

}  // namespace

// ---- the shadow window -------------------------------------------------------------------------------

void CTKPShadowWnd::ExcludeRect(const CRect& rcScreen) {
  CRect window;
  GetWindowRect(window);
  CRect overlap;
  if (!overlap.IntersectRect(window, rcScreen)) return;
  overlap.OffsetRect(-window.left, -window.top);
  // Cut from the region the window already has, so that several cut-outs add up.
  HRGN region = ::CreateRectRgn(0, 0, window.Width(), window.Height());
  ::GetWindowRgn(m_hWnd, region);
  HRGN cut = ::CreateRectRgn(overlap.left, overlap.top, overlap.right, overlap.bottom);
  ::CombineRgn(region, region, cut, RGN_DIFF);
  ::DeleteObject(cut);
  if (::SetWindowRgn(m_hWnd, region, FALSE) == 0) ::DeleteObject(region);
}

void CTKPShadowWnd::OnPaint() {
  CPaintDC dc(this);
  CRect client;
  GetClientRect(client);
  const COLORREF colour = TKPShadowsManager()->IsLayered() ? RGB(0, 0, 0) : TKPColorManager()->GetColor(COLOR_BTNSHADOW);
  dc.FillSolidRect(client, colour);
}

void CTKPShadowWnd::OnSize(UINT nType, int cx, int cy) {
  CWnd::OnSize(nType, cx, cy);
  if (cx > 0 && cy > 0 && TKPShadowsManager()->IsLayered() && m_pOwner != nullptr) UpdateLayered();
}

void CTKPShadowWnd::UpdateLayered() {
  CRect window;
  GetWindowRect(window);
  const int cx = window.Width();
  const int cy = window.Height();
  if (cx <= 0 || cy <= 0 || m_pOwner == nullptr) return;
  const std::vector<uint32_t> pixels = TKPShadowPixels(IsTrue(m_bHorizontal), cx, cy,
                                                       m_pOwner->GetPaintManager()->m_clrShadowFactor,
                                                       m_bThemeShadow ? 1 : 2);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = cx;
  info.bmiHeader.biHeight = -cy;  // rows from the top, as the pixels come
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC screen = ::GetDC(nullptr);
  HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap != nullptr && bits != nullptr) {
    std::copy(pixels.begin(), pixels.end(), static_cast<uint32_t*>(bits));
    HDC memory = ::CreateCompatibleDC(screen);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    POINT position{window.left, window.top};
    SIZE size{cx, cy};
    POINT origin{0, 0};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    TKPShadowsManager()->GetUpdateLayeredWindow()(m_hWnd, screen, &position, &size, memory, &origin, 0, &blend,
                                                  ULW_ALPHA);
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
  }
  if (bitmap != nullptr) ::DeleteObject(bitmap);
  ::ReleaseDC(nullptr, screen);
}

LRESULT CTKPShadowWnd::OnNcHitTest(CPoint) { return HTTRANSPARENT; }

int CTKPShadowWnd::OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM&, LRESULT&) {
  if (nMessage == WM_SHOWWINDOW && m_hWnd != nullptr) {
    ::ShowWindow(m_hWnd, wParam != 0 ? SW_SHOWNA : SW_HIDE);
  } else if (nMessage == WM_DESTROY) {
    TKPHookManager()->RemoveHook(hWnd, this);
    TKPShadowsManager()->DestroyShadow(this);  // deletes this
  }
  return 0;
}

// ---- the manager ---------------------------------------------------------------------------------------

CTKPShadowsManager* TKPShadowsManager() {
  static CTKPShadowsManager manager;
  return &manager;
}

CTKPShadowsManager::CTKPShadowsManager() {
  if (HMODULE user = ::GetModuleHandleW(L"USER32")) {
    m_pUpdateLayeredWindow =
        reinterpret_cast<UpdateLayeredWindowProc>(reinterpret_cast<void*>(::GetProcAddress(user, "UpdateLayeredWindow")));
  }
}

CTKPShadowsManager::~CTKPShadowsManager() {
  while (!m_shadows.empty()) {
    CTKPShadowWnd* shadow = m_shadows.front();
    TKPHookManager()->RemoveAll(shadow);
    DestroyShadow(shadow);
  }
}

void CTKPShadowsManager::SetShadow(CTKPCommandBar* pBar, const CRect& rcExclude) {
  if (pBar == nullptr || pBar->GetSafeHwnd() == nullptr || pBar->IsCustomizeMode()) return;
  if (!pBar->GetPaintManager()->IsShadowSupported()) {
    BOOL dropShadow = FALSE;
    if (!IsLayered() || !::SystemParametersInfoW(SPI_GETDROPSHADOW, 0, &dropShadow, 0) || !dropShadow) return;
  }
  CRect rc;
  pBar->GetWindowRect(rc);
  CreateShadow(TRUE, rc, rcExclude, pBar);
  CreateShadow(FALSE, rc, rcExclude, pBar);
}

void CTKPShadowsManager::SetShadow(CTKPControlPopup* pControl) {
  if (pControl == nullptr || pControl->IsCustomizeMode() || !pControl->GetPaintManager()->IsShadowSupported()) return;
  CTKPCommandBar* parent = pControl->GetParent();
  CTKPCommandBar* popup = pControl->GetCommandBar();
  if (parent == nullptr || parent->GetSafeHwnd() == nullptr || popup == nullptr) return;
  CRect rc = pControl->GetRect();
  parent->ClientToScreen(rc);
  CreateShadow(TRUE, rc, CRect(), popup);
  CreateShadow(FALSE, rc, CRect(), popup);
}

void CTKPShadowsManager::RemoveShadow(CTKPCommandBar* pBar) {
  std::vector<CTKPShadowWnd*> owned;
  for (CTKPShadowWnd* shadow : m_shadows) {
    if (shadow->GetOwnerBar() == pBar) owned.push_back(shadow);
  }
  for (CTKPShadowWnd* shadow : owned) {
    if (pBar->GetSafeHwnd() != nullptr) TKPHookManager()->RemoveHook(pBar->GetSafeHwnd(), shadow);
    DestroyShadow(shadow);
  }
}

int CTKPShadowsManager::GetShadowCount(const CTKPCommandBar* pBar) const {
  return static_cast<int>(std::count_if(m_shadows.begin(), m_shadows.end(), [&](const CTKPShadowWnd* shadow) {
    return pBar == nullptr || shadow->GetOwnerBar() == pBar;
  }));
}

CTKPShadowWnd* CTKPShadowsManager::GetShadow(const CTKPCommandBar* pBar, BOOL bHorizontal) const {
  for (CTKPShadowWnd* shadow : m_shadows) {
    if (shadow->GetOwnerBar() == pBar && IsTrue(shadow->IsHorizontal()) == IsTrue(bHorizontal)) return shadow;
  }
  return nullptr;
}

void CTKPShadowsManager::CreateShadow(BOOL bHorizontal, const CRect& rc, const CRect& rcExclude,
                                      CTKPCommandBar* pOwner) {
  CTKPPaintManager* paint = pOwner->GetPaintManager();
  if (!paint->m_bShowShadow) return;
  auto* shadow = new CTKPShadowWnd(bHorizontal, paint->IsShadowSupported(), pOwner);
  LPCTSTR cls = AfxRegisterWndClass(CS_SAVEBITS | CS_OWNDC, ::LoadCursorW(nullptr, IDC_ARROW));
  const DWORD exStyle = WS_EX_TOOLWINDOW | (IsLayered() ? WS_EX_LAYERED : 0);
  if (!shadow->CreateEx(exStyle, cls, _T(""), WS_POPUP, RECT{0, 0, 0, 0}, pOwner->GetSite(), 0)) {
    delete shadow;
    return;
  }
  ::SetWindowRgn(shadow->GetSafeHwnd(), nullptr, FALSE);

  std::vector<TKPShadowStripRef> others;
  for (const CTKPShadowWnd* other : m_shadows) {
    CRect otherRect;
    ::GetWindowRect(other->GetSafeHwnd(), otherRect);
    others.push_back({otherRect, IsTrue(other->IsHorizontal())});
  }
  const bool horizontal = IsTrue(bHorizontal);
  const CRect strip =
      TKPShortenShadowStrip(TKPShadowStrip(horizontal, rc, TKPShadowDepth(IsLayered())), horizontal, others);
  shadow->SetWindowPos(nullptr, strip.left, strip.top, strip.Width(), strip.Height(),
                       SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
  m_shadows.push_back(shadow);

  if (paint->IsShadowSupported() && !rcExclude.IsRectEmpty()) shadow->ExcludeRect(rcExclude);
  for (const CTKPShadowWnd* other : m_shadows) {
    if (other->GetOwnerBar() != nullptr && other->GetOwnerBar()->GetSafeHwnd() != nullptr) {
      CRect ownerRect;
      other->GetOwnerBar()->GetWindowRect(ownerRect);
      shadow->ExcludeRect(ownerRect);
    }
  }
  shadow->SetWindowPos(&CWnd::wndTopMost, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_SHOWWINDOW | SWP_NOOWNERZORDER);
  TKPHookManager()->SetHook(pOwner->GetSafeHwnd(), shadow);
}

void CTKPShadowsManager::DestroyShadow(CTKPShadowWnd* pShadow) {
  if (pShadow->GetSafeHwnd() != nullptr) ::ShowWindow(pShadow->GetSafeHwnd(), SW_HIDE);
  pShadow->Detach();
  m_shadows.remove(pShadow);
  if (pShadow->GetSafeHwnd() != nullptr && ::IsWindow(pShadow->GetSafeHwnd())) pShadow->DestroyWindow();
  delete pShadow;
}

// ---- the popup bar's shadow -------------------------------------------------------------------------------

void CTKPPopupBar::CastShadow() {
  if (m_barPosition == tkpBarPopup && m_bShadow && m_hWnd != nullptr) TKPShadowsManager()->SetShadow(this, m_rcExclude);
}

void CTKPControlPopup::UpdateShadow() {
  const int type = GetType();
  CTKPCommandBar* parent = GetParent();
  CTKPCommandBar* bar = GetCommandBar();
  if (parent == nullptr || parent->GetType() == tkpBarTypePopup || type < tkpControlPopup ||
      type > tkpControlSplitButtonPopup || bar == nullptr || !bar->IsKindOf(RUNTIME_CLASS(CTKPPopupBar)) ||
      !static_cast<CTKPPopupBar*>(bar)->HasShadow()) {
    return;
  }
  TKPShadowsManager()->SetShadow(this);
}
