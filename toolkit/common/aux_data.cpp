#include "toolkit/common/aux_data.h"

#include <cstddef>

#include "toolkit/common/color_manager.h"
#include "toolkit/common/draw_helpers.h"
#include "toolkit/common/font_choice.h"
#include "toolkit/common/nonclient_metrics.h"
#include "toolkit/common/registry_manager.h"
#include "toolkit/common/resource_manager.h"
#include "toolkit/common/visual_style_theme.h"

namespace {

BOOL Remake(CFont& font, const LOGFONTW& log) {
  font.DeleteObject();
  return font.CreateFontIndirect(&log);
}

LOGFONTW Bold(LOGFONTW log) {
  log.lfWeight = FW_BOLD;
  return log;
}

}  // namespace

CTKPNonClientMetrics::CTKPNonClientMetrics() : NONCLIENTMETRICSW() {
  // Systems before Windows Vista know the record without its last field and refuse the longer one.
  const UINT sizes[] = {sizeof(NONCLIENTMETRICSW),
                        static_cast<UINT>(offsetof(NONCLIENTMETRICSW, iPaddedBorderWidth))};
  for (UINT size : sizes) {
    cbSize = size;
    if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, size, static_cast<NONCLIENTMETRICSW*>(this), 0)) {
      m_bValid = TRUE;
      return;
    }
  }
}

CTKPAuxData::CTKPAuxData() {
  const CTKPOSVersion& os = TKPOSVersion();
  bWin95 = os.IsWin95();
  bWin98 = os.IsWin98();
  bWinNT4 = os.IsWinNT4();
  bWin2K = os.IsWin2K();
  bWinXP = os.IsWinXP();
  pstrINIFileName = &CTKRegistryManager::GetINIFileName();
  UpdateSysColors();
  UpdateSysMetrics();
  LoadSysCursors();
  UpdateFonts();
}

void CTKPAuxData::UpdateSysColors() {
  RefreshToolkitColors();
  CTKPColorManager* colours = TKPColorManager();
  COLORREF* const fields[] = {&clrBtnFace, &clrBtnShadow, &clr3DDkShadow, &clrBtnHilite, &clr3DLight,
                              &clrBtnText, &clrGrayText, &clrHighlight, &clrHighlightText, &clrMenu,
                              &clrMenuText, &clrWindow, &clrWindowFrame, &clrWindowText, &clrActiveCaption,
                              &clrInActiveCaption, &clrGradientActiveCaption, &clrGradientInActiveCaption,
                              &clrActiveCaptionText, &clrInactiveCaptionText};
  const int indices[] = {15, 16, 21, 20, 22, 18, 17, 13, 14, 4, 7, 5, 6, 8, 2, 3, 27, 28, 9, 19};
  for (size_t i = 0; i < sizeof indices / sizeof indices[0]; ++i) *fields[i] = colours->GetColor(indices[i]);
  for (int i = 0; i < 20; ++i) clrToolkit[i] = colours->GetColor(30 + i);
}

void CTKPAuxData::UpdateSysMetrics() {
  cxSmIcon = ::GetSystemMetrics(SM_CXSMICON);
  cySmIcon = ::GetSystemMetrics(SM_CYSMICON);
  cxSize = 18;
  cySize = 18;
  cxHThumb = ::GetSystemMetrics(SM_CXHTHUMB);
  cyVThumb = ::GetSystemMetrics(SM_CYVTHUMB);
  cyMenuItem = ::GetSystemMetrics(SM_CYMENU);
}

BOOL CTKPAuxData::LoadSysCursors() {
  CTKPResourceManager* resources = TKPResourceManager();
  if (!(hcurDragMove = resources->LoadCursor(kTKPCursorDragMove))) return FALSE;
  if (!(hcurDragCopy = resources->LoadCursor(kTKPCursorDragCopy))) return FALSE;
  if (!(hcurDragNone = resources->LoadCursor(kTKPCursorDragNone))) return FALSE;
  hcurHand = ::LoadCursorW(nullptr, IDC_HAND);
  if (!hcurHand && !(hcurHand = resources->LoadCursor(kTKPCursorHand))) return FALSE;
  if (!(hcurSplitHorz = resources->LoadCursor(kTKPCursorSplitHorz))) return FALSE;
  if (!(hcurSplitVert = resources->LoadCursor(kTKPCursorSplitVert))) return FALSE;
  return (hcurMove = ::LoadCursorW(nullptr, IDC_SIZEALL)) != nullptr;
}

BOOL CTKPAuxData::UpdateFonts() {
  CTKPNonClientMetrics metrics;
  LOGFONTW base{};
  const LOGFONTW& menu = metrics.lfMenuFont;
  base.lfHeight = menu.lfHeight;
  base.lfWeight = menu.lfWeight;
  base.lfItalic = menu.lfItalic;
  base.lfUnderline = menu.lfUnderline;
  base.lfStrikeOut = menu.lfStrikeOut;
  ::lstrcpynW(base.lfFaceName, menu.lfFaceName, LF_FACESIZE);
  HDC screen = ::GetDC(nullptr);
  base.lfCharSet = static_cast<BYTE>(::GetTextCharsetInfo(screen, nullptr, 0));
  ::ReleaseDC(nullptr, screen);

  LOGFONTW underline = base;
  underline.lfUnderline = TRUE;
  LOGFONTW vertical = base;
  const CString face =
      ChooseVerticalFontFace(menu.lfFaceName, CTKPDrawHelpers::FontExists(_T("Arial")) != FALSE);
  ::lstrcpynW(vertical.lfFaceName, face, LF_FACESIZE);
  vertical.lfEscapement = 2700;
  vertical.lfOrientation = 900;
  LOGFONTW icon{};
  ::SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof icon, &icon, 0);
  LOGFONTW marlett{};
  marlett.lfHeight = icon.lfHeight;
  marlett.lfCharSet = DEFAULT_CHARSET;
  ::lstrcpynW(marlett.lfFaceName, L"Marlett", LF_FACESIZE);

  return Remake(font, base) && Remake(fontBold, Bold(base)) && Remake(fontUnderline, underline) &&
         Remake(fontVert, vertical) && Remake(fontVertBold, Bold(vertical)) && Remake(fontIcon, icon) &&
         Remake(fontIconBold, Bold(icon)) && Remake(fontMarlett, marlett) &&
         Remake(fontStatus, metrics.lfStatusFont) && Remake(fontSmCaption, metrics.lfSmCaptionFont);
}

DWORD CTKPAuxData::GetComCtlVersion() {
  if (m_nComCtlVersion == static_cast<DWORD>(-1)) m_nComCtlVersion = TKPComCtlVersion();
  return m_nComCtlVersion;
}

CTKPAuxData& TKPAuxData() {
  static CTKPAuxData data;
  return data;
}
