#include "toolkit/common/gdi_guards.h"

#include <commctrl.h>

#include "platform/classlib/win/cwnd.h"
#include "toolkit/common/draw_helpers.h"

namespace {

HWND HandleOf(const CWnd* pWnd) { return pWnd ? pWnd->GetSafeHwnd() : nullptr; }

// Selects a newly made object in place of the one this guard made before (deleted), remembering the
// object that was selected before the guard's first.
template <class H>
void SelectReplacing(HDC dc, H made, H* current, HGDIOBJ* original) {
  if (!made) return;
  HGDIOBJ previous = ::SelectObject(dc, made);
  if (!*original) *original = previous;
  if (*current) ::DeleteObject(*current);
  *current = made;
}

}  // namespace

// ---- selections -----------------------------------------------------------------------------------

CTKPFontDC::CTKPFontDC(CDC* pDC, CFont* pFont) : m_hDC(pDC ? pDC->GetSafeHdc() : nullptr) { SetFont(pFont); }

CTKPFontDC::~CTKPFontDC() {
  if (m_hDC && m_hOld) ::SelectObject(m_hDC, m_hOld);
}

void CTKPFontDC::SetFont(CFont* pFont) {
  if (!m_hDC || !pFont || !pFont->GetSafeHandle()) return;
  HGDIOBJ previous = ::SelectObject(m_hDC, pFont->GetSafeHandle());
  if (!m_hOld) m_hOld = previous;  // the font to put back is the one before the first change
}

CTKPBitmapDC::CTKPBitmapDC(CDC* pDC, CBitmap* pBitmap) : m_hDC(pDC ? pDC->GetSafeHdc() : nullptr) {
  if (m_hDC && pBitmap && pBitmap->GetSafeHandle()) m_hOld = ::SelectObject(m_hDC, pBitmap->GetSafeHandle());
}

CTKPBitmapDC::~CTKPBitmapDC() {
  if (m_hDC && m_hOld) ::SelectObject(m_hDC, m_hOld);
}

CTKPPenDC::CTKPPenDC(HDC hDC, COLORREF crColor) : m_hDC(hDC) { SetColor(crColor); }

CTKPPenDC::~CTKPPenDC() {
  if (m_hOld) ::SelectObject(m_hDC, m_hOld);
  if (m_hPen) ::DeleteObject(m_hPen);
}

void CTKPPenDC::SetColor(COLORREF crColor) {
  if (m_hDC) SelectReplacing(m_hDC, ::CreatePen(PS_SOLID, 1, crColor), &m_hPen, &m_hOld);
}

COLORREF CTKPPenDC::GetColor() const {
  LOGPEN log{};
  if (!m_hPen || !::GetObjectW(m_hPen, sizeof log, &log)) return 0;
  return log.lopnColor;
}

CTKPBrushDC::CTKPBrushDC(HDC hDC, COLORREF crColor) : m_hDC(hDC) { SetColor(crColor); }

CTKPBrushDC::~CTKPBrushDC() {
  if (m_hOld) ::SelectObject(m_hDC, m_hOld);
  if (m_hBrush) ::DeleteObject(m_hBrush);
}

void CTKPBrushDC::SetColor(COLORREF crColor) {
  if (m_hDC) SelectReplacing(m_hDC, ::CreateSolidBrush(crColor), &m_hBrush, &m_hOld);
}

// ---- memory DCs -----------------------------------------------------------------------------------

CTKPCompatibleDC::CTKPCompatibleDC(CDC* pDC, CBitmap* pBitmap) {
  CreateCompatibleDC(pDC);
  if (m_hDC && pBitmap && pBitmap->GetSafeHandle()) m_hOld = ::SelectObject(m_hDC, pBitmap->GetSafeHandle());
}

CTKPCompatibleDC::~CTKPCompatibleDC() {
  if (m_hDC && m_hOld) ::SelectObject(m_hDC, m_hOld);
  DeleteDC();
}

CTKPBufferDC::CTKPBufferDC(HDC hDestDC, const CRect& rect) : m_hDestDC(hDestDC), m_rect(rect) {
  HDC memory = ::CreateCompatibleDC(hDestDC);
  if (!memory) return;
  Attach(memory);
  if (rect.right > 0 && rect.bottom > 0) m_hBitmap = ::CreateCompatibleBitmap(hDestDC, rect.right, rect.bottom);
  if (m_hBitmap) m_hOld = ::SelectObject(m_hDC, m_hBitmap);
}

CTKPBufferDC::~CTKPBufferDC() {
  if (!m_hDC) return;
  if (m_hBitmap) {
    ::BitBlt(m_hDestDC, m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(), m_hDC, m_rect.left, m_rect.top,
             SRCCOPY);
    ::SelectObject(m_hDC, m_hOld);
    ::DeleteObject(m_hBitmap);
  }
  DeleteDC();
}

CTKMemDC::CTKMemDC(CDC* pDC, const CRect& rect, CTKPColorGradient clrBack, BOOL bHorz) : m_pDC(pDC), m_rect(rect) {
  if (!pDC || !pDC->GetSafeHdc()) return;
  if (m_rect.IsRectEmpty()) pDC->GetClipBox(m_rect);
  if (!CreateCompatibleDC(pDC)) return;
  SetMapMode(pDC->GetMapMode());
  if (m_rect.Width() > 0 && m_rect.Height() > 0)
    m_hBitmap = ::CreateCompatibleBitmap(pDC->GetSafeHdc(), m_rect.Width(), m_rect.Height());
  if (m_hBitmap) m_hOld = ::SelectObject(m_hDC, m_hBitmap);
  const bool unfilled = clrBack.clrDark.GetStandardColor() == kTKPNoColor &&
                        clrBack.clrDark.GetCustomColor() == kTKPNoColor;
  if (!unfilled) {
    const CRect area(0, 0, m_rect.Width(), m_rect.Height());
    TKPDrawHelpers()->FillColorGradient(this, area, clrBack, bHorz);
  }
  m_bValid = TRUE;
}

CTKMemDC::~CTKMemDC() {
  if (!m_bValid) return;
  if (m_hBitmap) {
    ::BitBlt(m_pDC->GetSafeHdc(), m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(), m_hDC, 0, 0, SRCCOPY);
    ::SelectObject(m_hDC, m_hOld);
    ::DeleteObject(m_hBitmap);
  }
  DeleteDC();
}

// ---- rectangles -----------------------------------------------------------------------------------

CTKPWindowRect::CTKPWindowRect(HWND hWnd) {
  if (hWnd && ::IsWindow(hWnd)) ::GetWindowRect(hWnd, *this);
}
CTKPWindowRect::CTKPWindowRect(const CWnd* pWnd) : CTKPWindowRect(HandleOf(pWnd)) {}

CTKPClientRect::CTKPClientRect(HWND hWnd) {
  if (hWnd && ::IsWindow(hWnd)) ::GetClientRect(hWnd, *this);
}
CTKPClientRect::CTKPClientRect(const CWnd* pWnd) : CTKPClientRect(HandleOf(pWnd)) {}

CTKPClientCursorPos::CTKPClientCursorPos(HWND hWnd) {
  POINT point{};
  ::GetCursorPos(&point);
  if (hWnd) ::ScreenToClient(hWnd, &point);
  x = point.x;
  y = point.y;
}
CTKPClientCursorPos::CTKPClientCursorPos(const CWnd* pWnd) : CTKPClientCursorPos(HandleOf(pWnd)) {}

// ---- the transparent bitmap -----------------------------------------------------------------------

COLORREF CTKPTransparentBitmap::GetTransparentColor() const {
  if (!m_hBitmap || ::GetObjectType(m_hBitmap) != OBJ_BITMAP) return static_cast<COLORREF>(-1);
  HDC dc = ::CreateCompatibleDC(nullptr);
  HGDIOBJ old = ::SelectObject(dc, m_hBitmap);
  const COLORREF colour = ::GetPixel(dc, 0, 0);
  ::SelectObject(dc, old);
  ::DeleteDC(dc);
  return colour;
}

HICON CTKPTransparentBitmap::ConvertToIcon() const {
  BITMAP info{};
  if (!m_hBitmap || ::GetObjectType(m_hBitmap) != OBJ_BITMAP || !::GetObjectW(m_hBitmap, sizeof info, &info) ||
      info.bmWidth <= 0 || info.bmHeight <= 0)
    return nullptr;
  // Adding a masked image blackens its transparent pixels: a copy is given, the caller's bitmap stays.
  HBITMAP copy = static_cast<HBITMAP>(::CopyImage(m_hBitmap, IMAGE_BITMAP, 0, 0, 0));
  HIMAGELIST list = copy ? ImageList_Create(info.bmWidth, info.bmHeight, ILC_COLOR24 | ILC_MASK, 0, 1) : nullptr;
  HICON icon = nullptr;
  if (list && ImageList_AddMasked(list, copy, GetTransparentColor()) >= 0) icon = ImageList_GetIcon(list, 0, ILD_NORMAL);
  if (list) ImageList_Destroy(list);
  if (copy) ::DeleteObject(copy);
  return icon;
}
