// CFont, CBitmap and CRgn: their creation and queries.
#include <cwchar>

#include "platform/classlib/resource_win32.h"
#include "platform/classlib/win/cdc.h"
#include "platform/classlib/win/cgdiobject.h"

// ---- CFont ----------------------------------------------------------------------------------------

BOOL CFont::CreateFontIndirect(const LOGFONT* lpLogFont) { return AttachCreated(::CreateFontIndirectW(lpLogFont)); }

BOOL CFont::CreateFont(int nHeight, int nWidth, int nEscapement, int nOrientation, int nWeight, BYTE bItalic,
                       BYTE bUnderline, BYTE cStrikeOut, BYTE nCharSet, BYTE nOutPrecision, BYTE nClipPrecision,
                       BYTE nQuality, BYTE nPitchAndFamily, LPCTSTR lpszFacename) {
  return AttachCreated(::CreateFontW(nHeight, nWidth, nEscapement, nOrientation, nWeight, bItalic, bUnderline,
                                     cStrikeOut, nCharSet, nOutPrecision, nClipPrecision, nQuality, nPitchAndFamily,
                                     lpszFacename));
}

BOOL CFont::CreatePointFont(int nPointSize, LPCTSTR lpszFaceName, CDC* pDC) {
  LOGFONT logFont{};
  logFont.lfCharSet = DEFAULT_CHARSET;
  logFont.lfHeight = nPointSize;
  if (lpszFaceName != nullptr) std::wcsncpy(logFont.lfFaceName, lpszFaceName, LF_FACESIZE - 1);
  return CreatePointFontIndirect(&logFont, pDC);
}

BOOL CFont::CreatePointFontIndirect(const LOGFONT* lpLogFont, CDC* pDC) {
  if (lpLogFont == nullptr) return FALSE;
  HDC hDC = pDC != nullptr ? pDC->m_hAttribDC : ::GetDC(nullptr);
  // Tenths of a point to device pixels (72 points an inch), then to the DC's logical units; a
  // negative height asks for the character height without the internal leading.
  POINT points[2] = {{0, ::MulDiv(::GetDeviceCaps(hDC, LOGPIXELSY), lpLogFont->lfHeight, 720)}, {0, 0}};
  ::DPtoLP(hDC, points, 2);
  if (pDC == nullptr) ::ReleaseDC(nullptr, hDC);
  LOGFONT logFont = *lpLogFont;
  LONG height = points[0].y - points[1].y;
  logFont.lfHeight = height < 0 ? height : -height;
  return CreateFontIndirect(&logFont);
}

int CFont::GetLogFont(LOGFONT* pLogFont) const { return GetObject(sizeof(LOGFONT), pLogFont); }

// ---- CBitmap --------------------------------------------------------------------------------------

BOOL CBitmap::LoadBitmap(UINT nIDResource) { return LoadBitmap(MAKEINTRESOURCEW(nIDResource)); }
BOOL CBitmap::LoadBitmap(LPCTSTR lpszResourceName) {
  return AttachCreated(::LoadBitmapW(AfxGetResourceHandle(), lpszResourceName));
}
BOOL CBitmap::LoadOEMBitmap(UINT nIDBitmap) {
  return AttachCreated(::LoadBitmapW(nullptr, MAKEINTRESOURCEW(nIDBitmap)));
}
BOOL CBitmap::LoadMappedBitmap(UINT nIDBitmap) {
  return AttachCreated(
      ::LoadImageW(AfxGetResourceHandle(), MAKEINTRESOURCEW(nIDBitmap), IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS));
}
BOOL CBitmap::CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitcount, const void* lpBits) {
  return AttachCreated(::CreateBitmap(nWidth, nHeight, nPlanes, nBitcount, lpBits));
}
BOOL CBitmap::CreateBitmapIndirect(LPBITMAP lpBitmap) { return AttachCreated(::CreateBitmapIndirect(lpBitmap)); }
BOOL CBitmap::CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight) {
  return pDC != nullptr && AttachCreated(::CreateCompatibleBitmap(pDC->m_hDC, nWidth, nHeight));
}
int CBitmap::GetBitmap(BITMAP* pBitMap) const { return GetObject(sizeof(BITMAP), pBitMap); }
DWORD CBitmap::SetBitmapBits(DWORD dwCount, const void* lpBits) {
  return static_cast<DWORD>(::SetBitmapBits(*this, dwCount, lpBits));
}
DWORD CBitmap::GetBitmapBits(DWORD dwCount, LPVOID lpBits) const {
  return static_cast<DWORD>(::GetBitmapBits(*this, static_cast<LONG>(dwCount), lpBits));
}

// ---- CRgn -----------------------------------------------------------------------------------------

BOOL CRgn::CreateRectRgn(int x1, int y1, int x2, int y2) { return AttachCreated(::CreateRectRgn(x1, y1, x2, y2)); }
BOOL CRgn::CreateRectRgnIndirect(LPCRECT lpRect) { return AttachCreated(::CreateRectRgnIndirect(lpRect)); }
BOOL CRgn::CreateEllipticRgn(int x1, int y1, int x2, int y2) {
  return AttachCreated(::CreateEllipticRgn(x1, y1, x2, y2));
}
BOOL CRgn::CreateEllipticRgnIndirect(LPCRECT lpRect) { return AttachCreated(::CreateEllipticRgnIndirect(lpRect)); }
BOOL CRgn::CreateRoundRectRgn(int x1, int y1, int x2, int y2, int x3, int y3) {
  return AttachCreated(::CreateRoundRectRgn(x1, y1, x2, y2, x3, y3));
}
BOOL CRgn::CreatePolygonRgn(const POINT* lpPoints, int nCount, int nMode) {
  return AttachCreated(::CreatePolygonRgn(lpPoints, nCount, nMode));
}
BOOL CRgn::CreateFromData(const XFORM* lpXForm, int nCount, const RGNDATA* pRgnData) {
  return AttachCreated(::ExtCreateRegion(lpXForm, static_cast<DWORD>(nCount), pRgnData));
}
int CRgn::CombineRgn(const CRgn* pRgn1, const CRgn* pRgn2, int nCombineMode) {
  return ::CombineRgn(*this, pRgn1 != nullptr ? HRGN(*pRgn1) : nullptr, pRgn2 != nullptr ? HRGN(*pRgn2) : nullptr,
                      nCombineMode);
}
int CRgn::CopyRgn(const CRgn* pRgnSrc) { return CombineRgn(pRgnSrc, nullptr, RGN_COPY); }
BOOL CRgn::EqualRgn(const CRgn* pRgn) const { return pRgn != nullptr && ::EqualRgn(*this, *pRgn); }
int CRgn::OffsetRgn(int x, int y) { return ::OffsetRgn(*this, x, y); }
int CRgn::GetRgnBox(LPRECT lpRect) const { return ::GetRgnBox(*this, lpRect); }
BOOL CRgn::PtInRegion(int x, int y) const { return ::PtInRegion(*this, x, y); }
BOOL CRgn::RectInRegion(LPCRECT lpRect) const { return ::RectInRegion(*this, lpRect); }
void CRgn::SetRectRgn(int x1, int y1, int x2, int y2) { ::SetRectRgn(*this, x1, y1, x2, y2); }
void CRgn::SetRectRgn(LPCRECT lpRect) { SetRectRgn(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom); }
int CRgn::GetRegionData(LPRGNDATA lpRgnData, int nCount) const {
  return static_cast<int>(::GetRegionData(*this, static_cast<DWORD>(nCount), lpRgnData));
}
