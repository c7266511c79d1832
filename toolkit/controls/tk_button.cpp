#include "toolkit/controls/tk_button.h"

#include <commctrl.h>

#include "platform/classlib/resource_win32.h"
#include "platform/classlib/win/cdc.h"
#include "toolkit/common/aux_data.h"
#include "toolkit/common/color_manager.h"
#include "toolkit/common/gdi_guards.h"
#include "toolkit/common/text_mnemonics.h"

IMPLEMENT_DYNAMIC(CTKButton, CButton)

namespace {
constexpr UINT_PTR kButtonHotTimer = 1;
}  // namespace

CTKButton::CTKButton(CRuntimeClass* pFactoryClass) : m_themeHost(pFactoryClass) {}

CTKButton::~CTKButton() {
  ReplaceIcon(nullptr);
  DestroyWindow();
}

void CTKButton::ReplaceIcon(CTKPImageManagerIcon* pIcon) {
  if (m_pIcon != nullptr) {
    m_pIcon->Refresh();
    delete m_pIcon;
  }
  m_pIcon = pIcon;
}

void CTKButton::DrawItem(LPDRAWITEMSTRUCT lpDIS) {
  if (CTKButtonTheme* pTheme = GetTheme()) pTheme->DrawItem(lpDIS, this);
}

BOOL CTKButton::SetIcon(CSize size, const CTKPImageManagerIconHandle& hNormal, const CTKPImageManagerIconHandle& hHot,
                        BOOL bRedraw) {
  if (size.cx == 0 && size.cy == 0) size = hNormal.GetExtent();
  m_szImage = size;
  auto* pIcon = new CTKPImageManagerIcon(0, size.cx, size.cy, nullptr);
  pIcon->SetIcon(hNormal);
  if (!hHot.IsEmpty()) pIcon->SetHotIcon(hHot);
  ReplaceIcon(pIcon);
  if (m_hWnd != nullptr && bRedraw) Invalidate(FALSE);
  return TRUE;
}

BOOL CTKButton::SetIconFromResource(int cx, int cy, UINT nIDNormal, UINT nIDHot, BOOL bRedraw) {
  HMODULE hModule = AfxGetResourceHandle();
  CTKPImageManagerIconHandle hNormal, hHot;
  if (!hNormal.LoadFromResource(hModule, MAKEINTRESOURCEW(LOWORD(nIDNormal)), cx, cy, TRUE)) return FALSE;
  if (LOWORD(nIDHot) != 0 && !hHot.LoadFromResource(hModule, MAKEINTRESOURCEW(LOWORD(nIDHot)), cx, cy, TRUE))
    return FALSE;
  return SetIcon(CSize(cx, cy), hNormal, hHot, bRedraw);
}

BOOL CTKButton::SetIconFromHICON(CSize size, HICON hNormal, HICON hHot, BOOL bRedraw) {
  // Handles made from the icons themselves do not own them: the button keeps copies.
  return SetIcon(size, CTKPImageManagerIconHandle(hNormal), CTKPImageManagerIconHandle(hHot), bRedraw);
}

BOOL CTKButton::SetBitmap(CSize size, UINT nIDBitmap, BOOL bRedraw) {
  // Loaded first: a bitmap that does not load leaves the image shown so far.
  HMODULE hModule = AfxGetResourceHandle();
  CTKPImageManagerIconHandle hImage;
  if (CTKPImageManager::IsAlphaBitmapResource(hModule, nIDBitmap)) {
    HBITMAP hAlpha = CTKPImageManager::LoadAlphaBitmap(hModule, nIDBitmap);
    if (hAlpha == nullptr) return FALSE;
    hImage.SetBitmap(hAlpha);
    ::DeleteObject(hAlpha);
  } else {
    HBITMAP hBitmap = ::LoadBitmapW(hModule, MAKEINTRESOURCEW(nIDBitmap));
    if (hBitmap == nullptr) return FALSE;
    HICON hIcon = CTKPTransparentBitmap(hBitmap).ConvertToIcon();
    ::DeleteObject(hBitmap);
    if (hIcon == nullptr) return FALSE;
    hImage.SetIcon(hIcon);
  }
  ReplaceIcon(nullptr);
  return SetIcon(size, hImage, CTKPImageManagerIconHandle(), bRedraw);
}

BOOL CTKButton::SetTextImagePos(CPoint ptImage, CPoint ptText, BOOL bRedraw) {
  m_ptImage = ptImage;
  m_ptText = ptText;
  m_bCustomPositions = TRUE;
  if (m_hWnd != nullptr && bRedraw) Invalidate(FALSE);
  return TRUE;
}

DWORD CTKButton::SetTKStyle(DWORD dwStyle, BOOL bRedraw) {
  const DWORD dwOld = m_dwStyle;
  m_dwStyle = dwStyle;
  if ((dwStyle & tkbutton::kStyleFlatTheme) != 0) {
    auto* pTheme = new CTKButtonThemeFlat;
    pTheme->m_nTheme = 1;
    m_themeHost.SetTheme(pTheme);
  } else if ((dwStyle & tkbutton::kStyleFlat) != 0) {
    m_themeHost.SetTheme(new CTKButtonTheme);
  } else {
    m_themeHost.SetTheme(nullptr);
  }
  if (m_hWnd != nullptr && bRedraw) Invalidate(FALSE);
  return dwOld;
}

void CTKButton::SetColors(COLORREF face, COLORREF light, COLORREF shadow, COLORREF text) {
  if (CTKButtonTheme* pTheme = GetTheme()) pTheme->SetColors(face, light, shadow, text);
}
void CTKButton::SetColorFace(COLORREF c) {
  if (CTKButtonTheme* pTheme = GetTheme()) pTheme->SetColorFace(c);
}
COLORREF CTKButton::GetColorFace() const {
  if (CTKButtonTheme* pTheme = GetTheme()) return pTheme->GetColorFace();
  return TKPAuxData().clrBtnFace;
}
void CTKButton::SetColorLight(COLORREF c) {
  if (CTKButtonTheme* pTheme = GetTheme()) pTheme->SetColorLight(c);
}
void CTKButton::SetColorShadow(COLORREF c) {
  if (CTKButtonTheme* pTheme = GetTheme()) pTheme->SetColorShadow(c);
}
void CTKButton::SetColorText(COLORREF c) {
  if (CTKButtonTheme* pTheme = GetTheme()) pTheme->SetColorText(c);
}

void CTKButton::SetFlatColors(COLORREF border, COLORREF hotFace, COLORREF pressedFace) {
  CTKButtonTheme* pTheme = GetTheme();
  if (pTheme == nullptr || pTheme->m_nTheme != 1) return;
  auto* pFlat = static_cast<CTKButtonThemeFlat*>(pTheme);
  pFlat->SetColorLight(border);
  pFlat->SetColorShadow(border);
  pFlat->SetHotFaceColor(hotFace);
  pFlat->SetPressedFaceColor(pressedFace);
}

void CTKButton::ToggleShowImages() {
  if (CTKButtonTheme* pTheme = GetTheme()) pTheme->SetShowImages(!pTheme->GetShowImages());
  if (m_hWnd != nullptr) Invalidate(FALSE);
}

CFont* CTKButton::SetButtonFont(CFont* pFont) {
  CFont* pOld = GetFont();
  SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(pFont != nullptr ? pFont->GetSafeHandle() : nullptr), TRUE);
  return pOld;
}

void CTKButton::InitButton() { ModifyStyle(0, BS_OWNERDRAW); }

void CTKButton::ResetImageCache() {
  if (m_pIcon != nullptr) m_pIcon->Refresh();
}

void CTKButton::GetButtonText(CString& text, BOOL bStripMnemonics) const {
  GetWindowText(text);
  if (bStripMnemonics) text = RemoveAmpersands(text);
}

CSize CTKButton::GetImageSize() const {
  const CTKButtonTheme* pTheme = GetTheme();
  return pTheme != nullptr && pTheme->GetShowImages() ? m_szImage : CSize(0, 0);
}
CPoint CTKButton::GetImagePosition() const {
  const CTKButtonTheme* pTheme = GetTheme();
  return pTheme != nullptr && pTheme->GetShowImages() ? m_ptImage : CPoint(0, 0);
}
CPoint CTKButton::GetTextPosition() const {
  const CTKButtonTheme* pTheme = GetTheme();
  return pTheme != nullptr && pTheme->GetShowImages() ? m_ptText : CPoint(0, 0);
}

tkbutton::Layout CTKButton::GetLayout(const CRect& rcItem) const {
  tkbutton::Layout layout;
  const CTKPClientRect client(this);
  layout.client = {client.left, client.top, client.right, client.bottom};
  layout.item = {rcItem.left, rcItem.top, rcItem.right, rcItem.bottom};
  layout.tkStyle = m_dwStyle;
  layout.windowStyle = GetStyle();
  if (m_pIcon != nullptr) {
    const CSize size = GetImageSize();
    layout.image = {size.cx, size.cy};
  }
  layout.borderGap = m_nBorderGap;
  layout.imageGap = m_nImageGap;
  layout.hasText = GetWindowTextLength() > 0;
  return layout;
}

BOOL CTKButton::PreCreateWindow(CREATESTRUCT& cs) {
  m_bInitOnSubclass = FALSE;
  return CButton::PreCreateWindow(cs);
}

void CTKButton::PreSubclassWindow() {
  CButton::PreSubclassWindow();
  if (m_bInitOnSubclass) InitButton();
}

void CTKButton::SetPressed(BOOL bPressed) {
  if (m_bPressed == bPressed) return;
  m_bPressed = bPressed;
  Invalidate(FALSE);
}

void CTKButton::OnTimerStep() {
  CTKButtonTheme* pTheme = GetTheme();
  POINT cursor{};
  ::GetCursorPos(&cursor);
  if (CTKPWindowRect(this).PtInRect(cursor) && !m_bPressed) {
    if (pTheme == nullptr || !pTheme->CanHotTrack(this) || m_bHotShown) return;
    m_bHot = TRUE;
    Invalidate(FALSE);
    m_bHotShown = TRUE;
    return;
  }
  KillTimer(kButtonHotTimer);
  m_bHot = FALSE;
  if (m_bHotShown) Invalidate(FALSE);
  m_bHotShown = FALSE;
}

void CTKButton::OnPaint() {
  CPaintDC dc(this);
  const CTKPClientRect rc(this);
  CTKMemDC memDC(&dc, rc, CTKPColorGradient(TKPColorManager()->GetColor(COLOR_BTNFACE)));
  DefWindowProc(WM_PAINT, reinterpret_cast<WPARAM>(memDC.GetSafeHdc()), 0);
}

LRESULT CTKButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SETTINGCHANGE:
    case WM_SYSCOLORCHANGE:
      if (CTKButtonTheme* pTheme = GetTheme()) pTheme->RefreshMetrics();
      break;
    case WM_CREATE: {
      const LRESULT result = CButton::WindowProc(message, wParam, lParam);
      if (result != -1) InitButton();
      return result;
    }
    case WM_MOUSEMOVE: {
      CTKButtonTheme* pTheme = GetTheme();
      if (pTheme != nullptr && pTheme->CanHotTrack(this)) {
        SetTimer(kButtonHotTimer, 10);
        OnTimerStep();
      }
      break;
    }
    case WM_LBUTTONDOWN:
      SetPressed(TRUE);
      break;
    case WM_LBUTTONUP:
      SetPressed(FALSE);
      break;
    case WM_LBUTTONDBLCLK: {
      // A double click counts as a second click.
      SendMessage(WM_LBUTTONDOWN, wParam, lParam);
      break;
    }
    case WM_TIMER:
      if (wParam != kButtonHotTimer) break;
      OnTimerStep();
      return 0;
    case WM_ERASEBKGND:
      return TRUE;
    case WM_PAINT:
      OnPaint();
      return 0;
    default:
      break;
  }
  return CButton::WindowProc(message, wParam, lParam);
}
