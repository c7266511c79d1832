#include "toolkit/commandbars/paint/tkp_paint_manager.h"

#include <new>

#include "platform/classlib/win/cdc.h"
#include "toolkit/commandbars/paint/paint_geometry.h"
#include "toolkit/commandbars/bars/tkp_command_bar.h"
#include "toolkit/commandbars/paint/tkp_theme_gradient.h"
#include "toolkit/commandbars/paint/tkp_theme_visual_style.h"
#include "toolkit/common/color_manager.h"
#include "toolkit/common/draw_helpers.h"
#include "toolkit/common/nonclient_metrics.h"

IMPLEMENT_DYNAMIC(CTKPPaintManager, CCmdTarget)

namespace {

CTKPPaintManager* g_pCurrentPaintManager = nullptr;

// Releases the process's paint manager when the program ends.
struct CurrentPaintManagerRelease {
  ~CurrentPaintManagerRelease() { CTKPPaintManager::Done(); }
} g_releaseAtExit;

// A font from the record, or none when the system refuses it (drawing then keeps the DC's font).
void Recreate(CFont& font, const LOGFONTW& log) {
  font.DeleteObject();
  font.CreateFontIndirect(&log);
}

}  // namespace

CTKPPaintManager::CTKPPaintManager() = default;
CTKPPaintManager::~CTKPPaintManager() = default;

// ---- the theme factory ---------------------------------------------------------------------------

CTKPPaintManager* CTKPPaintManager::CreateTheme(int nTheme) {
  // Null when it cannot be allocated: the current theme then stays.
  CTKPPaintManager* pTheme = nullptr;
  switch (nTheme) {
    case tkpThemeFlat:
      pTheme = new (std::nothrow) CTKPFlatTheme;
      break;
    case tkpThemeGradient:
      pTheme = new (std::nothrow) CTKPGradientTheme;
      break;
    case tkpThemeNative:
      pTheme = new (std::nothrow) CTKPNativeTheme;
      break;
    case tkpThemeSoftGradient:
      pTheme = new (std::nothrow) CTKPSoftGradientTheme;
      break;
    default:
      pTheme = new (std::nothrow) CTKPDefaultTheme;
      break;
  }
  if (pTheme != nullptr) pTheme->m_nTheme = nTheme;
  return pTheme;
}

void CTKPPaintManager::SetCustomTheme(CTKPPaintManager* pTheme) {
  if (pTheme == nullptr) return;
  // The new theme is held before the old one goes, so that installing the current theme again does
  // not free it on the way; then the caller's reference stands for the process's.
  pTheme->InternalAddRef();
  CTKPPaintManager* pOld = g_pCurrentPaintManager;
  g_pCurrentPaintManager = pTheme;
  if (pOld != nullptr) pOld->InternalRelease();
  pTheme->InternalRelease();
  pTheme->m_nTheme = tkpThemeCustom;
  pTheme->RefreshMetrics();
}

void CTKPPaintManager::SetTheme(int nTheme) {
  CTKPPaintManager* pTheme = CreateTheme(nTheme);
  if (pTheme == nullptr) return;
  SetCustomTheme(pTheme);
  pTheme->m_nTheme = nTheme;
}

CTKPPaintManager* CTKPPaintManager::GetCurrent() { return g_pCurrentPaintManager; }

CTKPPaintManager* CTKPPaintManager::GetCurrentOrDefault() {
  if (g_pCurrentPaintManager == nullptr) SetTheme(tkpThemeDefault);
  return g_pCurrentPaintManager;
}

void CTKPPaintManager::Done() {
  CTKPPaintManager* pOld = g_pCurrentPaintManager;
  g_pCurrentPaintManager = nullptr;
  if (pOld != nullptr) pOld->InternalRelease();
}

// ---- colours -------------------------------------------------------------------------------------

COLORREF CTKPPaintManager::GetPaintColor(int nIndex) const {
  if (nIndex >= kColorCount || nIndex < 0) return static_cast<COLORREF>(nIndex);
  return m_arrColor[nIndex];
}

void CTKPPaintManager::SetColors(int nCount, const int* pIndexes, const COLORREF* pColors) {
  for (int i = 0; i < nCount; ++i) {
    if (pIndexes[i] >= 0 && pIndexes[i] < kColorCount) m_arrColor[pIndexes[i]].SetStandardValue(pColors[i]);
  }
}

void CTKPPaintManager::SetCustomColor(int nIndex, COLORREF clr) {
  if (nIndex >= 0 && nIndex < kColorCount) m_arrColor[nIndex].SetCustomValue(clr);
}

int CTKPPaintManager::GetCurrentSystemTheme() const {
  CTKPColorManager* colors = TKPColorManager();
  if (m_nColorSchemeMode == 5) return colors->IsLunaColorsDisabled() ? 0 : colors->GetCurrentSystemTheme();
  if (m_nColorSchemeMode == 4) return colors->GetSystemTheme();
  return m_nColorSchemeMode;
}

// ---- fonts and metrics ---------------------------------------------------------------------------

void CTKPPaintManager::SetCommandBarsFontIndirect(const LOGFONT* pLogFont, BOOL bUseStandardFont) {
  m_bUseStandardFont = bUseStandardFont;
  if (pLogFont == nullptr) return;
  m_fontRegular.DeleteObject();
  m_fontRegularBold.DeleteObject();
  m_fontVert.DeleteObject();
  m_fontVertBold.DeleteObject();
  m_fontIconTitleBold.DeleteObject();

  LOGFONTW log = *pLogFont;
  if (_wcsicmp(log.lfFaceName, L"Tahoma") == 0) m_bUseTahoma = TRUE;
  // Western sets may turn to Tahoma; a font of another set keeps its face.
  const bool western = log.lfCharSet == ANSI_CHARSET || log.lfCharSet == DEFAULT_CHARSET ||
                       log.lfCharSet == SYMBOL_CHARSET;
  if (western && bUseStandardFont && m_bUseTahoma && CTKPDrawHelpers::FontExists(_T("Tahoma"))) {
    lstrcpynW(log.lfFaceName, L"Tahoma", LF_FACESIZE);
  }
  Recreate(m_fontRegular, log);
  const LONG weight = log.lfWeight;
  log.lfWeight = FW_BOLD;
  Recreate(m_fontRegularBold, log);

  log.lfOrientation = 900;
  log.lfEscapement = 2700;
  log.lfWeight = weight;
  const CString face = CTKPDrawHelpers::GetDefaultFontName(m_bUseTahoma);
  lstrcpynW(log.lfFaceName, face.GetString(), LF_FACESIZE);
  Recreate(m_fontVert, log);
  log.lfWeight = FW_BOLD;
  Recreate(m_fontVertBold, log);

  HDC screen = ::GetDC(nullptr);
  HGDIOBJ old = ::SelectObject(screen, m_fontRegular.GetSafeHandle() != nullptr
                                           ? static_cast<HGDIOBJ>(m_fontRegular.GetSafeHandle())
                                           : ::GetStockObject(DEFAULT_GUI_FONT));
  SIZE blank = {};
  ::GetTextExtentPoint32W(screen, L" ", 1, &blank);
  ::SelectObject(screen, old);
  ::ReleaseDC(nullptr, screen);
  m_nRowHeight = blank.cy + 6;
}

void CTKPPaintManager::RefreshFonts() {
  CTKPNonClientMetrics ncm;
  if (m_bUseStandardFont && ncm.IsValid()) {
    LOGFONTW log = ncm.lfMenuFont;
    HDC screen = ::GetDC(nullptr);
    log.lfCharSet = static_cast<BYTE>(::GetTextCharsetInfo(screen, nullptr, 0));
    ::ReleaseDC(nullptr, screen);
    log.lfHeight = tkppaint::MenuFontHeight(ncm.lfMenuFont.lfHeight);
    SetCommandBarsFontIndirect(&log, TRUE);
  }
  if (ncm.IsValid() && (m_fontSmallCaption.m_bStandardFont || m_fontSmallCaption.GetSafeHandle() == nullptr)) {
    Recreate(m_fontSmallCaption, ncm.lfSmCaptionFont);
  }
  LOGFONTW icon = {};
  if (!::SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof icon, &icon, 0)) return;
  if (m_fontIconTitle.m_bStandardFont || m_fontIconTitle.GetSafeHandle() == nullptr) Recreate(m_fontIconTitle, icon);
  if (m_fontIconTitleBold.m_bStandardFont || m_fontIconTitleBold.GetSafeHandle() == nullptr) {
    icon.lfWeight = FW_BOLD;
    Recreate(m_fontIconTitleBold, icon);
  }
}

void CTKPPaintManager::RefreshMetrics() {
  RefreshFonts();
  RefreshToolkitColors();
  CTKPColorManager* colors = TKPColorManager();
  for (int i = 0; i < kColorCount; ++i) m_arrColor[i].SetStandardValue(colors->GetColor(i));
  m_clrShadowFactor = 0;
  m_clrStatusTextColor = GetPaintColor(COLOR_BTNTEXT);
  m_clrDisabledIcon.SetStandardValue(GetPaintColor(COLOR_BTNFACE), GetPaintColor(COLOR_BTNSHADOW), 0.5f);
}

CFont* CTKPPaintManager::GetRegularFont(CTKPCommandBar* pBar, BOOL bBold) {
  const int position = pBar != nullptr ? pBar->GetPosition() : tkpBarTop;
  const bool vertical = position == tkpBarLeft || position == tkpBarRight;
  if (vertical) return bBold ? &m_fontVertBold : &m_fontVert;
  return bBold ? &m_fontRegularBold : &m_fontRegular;
}

CRect CTKPPaintManager::GetCommandBarBorders(CTKPCommandBar* /*pBar*/) { return CRect(2, 2, 2, 2); }
