// The pane's band: "Preview:" and where the previewed item lies, on the command bars' look.
#include <windows.h>

#include <algorithm>
#include <utility>

#include "platform/classlib/win/cdc.h"
#include "preview/main_preview_view.h"
#include "toolkit/commandbars/paint/tkp_paint_manager.h"
#include "toolkit/common/aux_data.h"
#include "toolkit/common/color_manager.h"
#include "toolkit/common/draw_helpers.h"

namespace {

constexpr int kThemeGradient = 2;
constexpr int kThemeNativeStyles = 3;
constexpr COLORREF kContentBackground = 0x00FFD3BD;
constexpr int kTextTop = 18;
constexpr int kCaptionLeft = 4;
constexpr int kPathLeft = 75;

}  // namespace

void CMainPreviewView::OnDraw(CDC* pDC) {
  CRect window;
  GetWindowRect(window);
  ScreenToClient(window);
  pDC->FillSolidRect(window, TKPColor(5));
  m_rcBand = window;
  m_rcBand.bottom = m_rcBand.top + kBandHeight;
  m_rcContent = window;
  m_rcContent.top = m_rcBand.bottom;
  DrawBand(pDC, m_rcBand);

  CRect client;
  GetClientRect(client);
  client.top += kBandHeight;
  if (client.bottom > client.top) pDC->FillSolidRect(client, kContentBackground);
}

void CMainPreviewView::DrawBand(CDC* pDC, const CRect& band) {
  if (CTKPPaintManager::GetCurrent() == nullptr) CTKPPaintManager::SetTheme(0);
  const CTKPPaintManager* theme = CTKPPaintManager::GetCurrent();
  const int kind = theme != nullptr ? theme->GetThemeKind() : 0;
  if (kind == kThemeGradient) {
    const CTKPColorGradient& gradient = TKPColorManager()->GetGradient(0);
    TKPDrawHelpers()->GradientFill(pDC, band, gradient.clrDark, gradient.clrLight, FALSE);
    pDC->FillSolidRect(band.left, band.bottom - 1, band.Width(), 1, TKPColor(54));
  } else {
    pDC->FillSolidRect(band, TKPColor(13));
    CRect frame = band;
    frame.left += 1;
    frame.top += 1;
    if (kind != kThemeNativeStyles) frame.right -= 1;
    const COLORREF shadow = kind == kThemeNativeStyles ? TKPColor(57) : TKPColor(16);
    pDC->Draw3dRect(frame, TKPColor(20), shadow);
  }

  const int oldMode = pDC->SetBkMode(TRANSPARENT);
  const COLORREF oldColour = pDC->GetTextColor();
  CTKPAuxData& aux = TKPAuxData();
  CFont* oldFont = pDC->SelectObject(&aux.fontBold);
  // A long caption in a large font pushes the path on rather than under it.
  const int captionRight = kCaptionLeft + pDC->GetTextExtent(m_strCaption).cx;
  CRect where(std::max(kPathLeft, captionRight + 6), kTextTop, band.right - 6, band.bottom);
  const CString path = CString::FromUtf16(PreviewItemPath);
  // Light text keeps a dark shadow, so that it reads on a pale band too.
  for (const auto& [offset, colour] : {std::pair{1, TKPColor(21)}, std::pair{0, TKPColor(5)}}) {
    pDC->SetTextColor(colour);
    pDC->SelectObject(&aux.fontBold);
    pDC->TextOut(kCaptionLeft + offset, kTextTop + offset, m_strCaption);
    pDC->SelectObject(&aux.font);
    CRect at = where;
    at.OffsetRect(offset, offset);
    if (at.right > at.left) pDC->DrawText(path, at, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX | DT_PATH_ELLIPSIS);
  }
  pDC->SelectObject(oldFont);
  pDC->SetTextColor(oldColour);
  pDC->SetBkMode(oldMode);
}
