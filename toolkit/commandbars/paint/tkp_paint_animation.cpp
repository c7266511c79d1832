// The popup animations: unfold from the top-left corner, slide down, fade in, and the expansion of a
// popup whose hidden items appear.
#include <vector>

#include "platform/classlib/win/cdc.h"
#include "toolkit/commandbars/paint/paint_geometry.h"
#include "toolkit/commandbars/bars/tkp_command_bar.h"
#include "toolkit/commandbars/controls/tkp_control.h"
#include "toolkit/commandbars/controls/tkp_controls.h"
#include "toolkit/commandbars/paint/tkp_paint_manager.h"

namespace {

// A 32-bit top-down DIB section of the size; null when it cannot be made.
HBITMAP CreateDib(HDC hDC, CSize size, void** ppBits) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = size.cx;
  info.bmiHeader.biHeight = -size.cy;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return ::CreateDIBSection(hDC, &info, DIB_RGB_COLORS, ppBits, nullptr, 0);
}

// A memory DC with a DIB section of the size selected, freed at the end of the scope.
struct DibDC {
  HDC hDC = nullptr;
  HBITMAP hBitmap = nullptr;
  HGDIOBJ hOld = nullptr;
  void* pBits = nullptr;
  DibDC(HDC hRef, CSize size) {
    hDC = ::CreateCompatibleDC(hRef);
    hBitmap = CreateDib(hRef, size, &pBits);
    if (hDC != nullptr && hBitmap != nullptr) hOld = ::SelectObject(hDC, hBitmap);
  }
  ~DibDC() {
    if (hOld != nullptr) ::SelectObject(hDC, hOld);
    if (hBitmap != nullptr) ::DeleteObject(hBitmap);
    if (hDC != nullptr) ::DeleteDC(hDC);
  }
  bool Ready() const { return hOld != nullptr && pBits != nullptr; }
};

void Fade(CDC* pDestDC, CDC* pSrcDC, const CRect& rc, int steps, int delay) {
  const CSize size = rc.Size();
  if (size.cx <= 0 || size.cy <= 0) return;
  DibDC source(pDestDC->GetSafeHdc(), size), background(pDestDC->GetSafeHdc(), size), frame(pDestDC->GetSafeHdc(), size);
  if (!source.Ready() || !background.Ready() || !frame.Ready()) return;
  ::BitBlt(source.hDC, 0, 0, size.cx, size.cy, pSrcDC->GetSafeHdc(), rc.left, rc.top, SRCCOPY);
  ::BitBlt(background.hDC, 0, 0, size.cx, size.cy, pDestDC->GetSafeHdc(), rc.left, rc.top, SRCCOPY);
  const std::size_t pixels = static_cast<std::size_t>(size.cx) * static_cast<std::size_t>(size.cy);
  for (int i = 1; i < steps; ++i) {
    const DWORD start = ::GetTickCount();
    ::GdiFlush();
    tkppaint::BlendPixels(static_cast<const std::uint8_t*>(source.pBits), static_cast<const std::uint8_t*>(background.pBits),
                          static_cast<std::uint8_t*>(frame.pBits), pixels, 255 * i / steps);
    ::BitBlt(pDestDC->GetSafeHdc(), rc.left, rc.top, size.cx, size.cy, frame.hDC, 0, 0, SRCCOPY);
    const DWORD spent = ::GetTickCount() - start;
    if (spent < static_cast<DWORD>(delay)) ::Sleep(delay - spent);
  }
}

}  // namespace

void CTKPPaintManager::Animate(CDC* pDestDC, CDC* pSrcDC, CRect rc, int nType) {
  const int steps = m_nAnimationSteps;
  if (steps < 1 || pDestDC == nullptr || pSrcDC == nullptr) return;
  const int delay = m_nAnimationTime / steps;
  const CSize size = rc.Size();
  switch (nType) {
    case tkpAnimateUnfold:
    case tkpAnimateSlide:
      for (int i = 1; i <= steps; ++i) {
        const CRect src = nType == tkpAnimateUnfold ? tkppaint::UnfoldSource(size, i, steps)
                                                    : tkppaint::SlideSource(size, i, steps);
        pDestDC->BitBlt(rc.left, rc.top, src.Width(), src.Height(), pSrcDC, rc.left + src.left, rc.top + src.top,
                        SRCCOPY);
        ::Sleep(delay);
      }
      break;
    case tkpAnimateFade:
      Fade(pDestDC, pSrcDC, rc, steps, delay);
      break;
    default:
      break;
  }
}

void CTKPPaintManager::AnimateExpanding(CTKPCommandBar* pBar, CDC* pDestDC, CDC* pSrcDC, BOOL bExpandDown) {
  const int steps = m_nAnimationSteps;
  CTKPControls* pControls = pBar != nullptr ? pBar->GetControls() : nullptr;
  if (steps < 1 || pControls == nullptr || pDestDC == nullptr || pSrcDC == nullptr) return;
  const int delay = m_nAnimationTime / steps;
  CRect client;
  pBar->GetClientRect(client);

  // Bands of neighbouring controls that share the shown-only-when-expanded state.
  struct Band {
    int top, bottom;
    bool expanding;
  };
  std::vector<Band> bands;
  for (int i = 0; i < pControls->GetCount(); ++i) {
    CTKPControl* pControl = pControls->GetAt(i);
    if (!pControl->IsVisible()) continue;
    const bool expanding = pControl->IsHiddenByUsage() != FALSE;
    const CRect rc = pControl->GetRect();
    if (!bands.empty() && bands.back().expanding == expanding) {
      bands.back().bottom = rc.bottom;
    } else {
      bands.push_back({rc.top, rc.bottom, expanding});
    }
  }
  if (bands.empty()) return;
  for (int i = 1; i <= steps; ++i) {
    int y = bExpandDown ? 0 : client.bottom;
    auto place = [&](const Band& band) {
      const int height = band.expanding ? (band.bottom - band.top) * i / steps : band.bottom - band.top;
      const int top = bExpandDown ? y : y - height;
      pDestDC->StretchBlt(0, top, client.Width(), height, pSrcDC, 0, band.top, client.Width(), band.bottom - band.top,
                          SRCCOPY);
      y = bExpandDown ? y + height : top;
    };
    if (bExpandDown) {
      for (const Band& band : bands) place(band);
    } else {
      for (auto it = bands.rbegin(); it != bands.rend(); ++it) place(*it);
    }
    ::Sleep(delay);
  }
}
