// CDC: the handle, creation, state, selected objects, modes, mapping and clipping; the window DCs.
#include "platform/classlib/win/cdc.h"

#include "platform/classlib/win/cwnd.h"

IMPLEMENT_DYNCREATE(CDC, CObject)
IMPLEMENT_DYNAMIC(CPaintDC, CDC)
IMPLEMENT_DYNAMIC(CClientDC, CDC)
IMPLEMENT_DYNAMIC(CWindowDC, CDC)

// ---- the handle -----------------------------------------------------------------------------------

CDC::~CDC() { DeleteDC(); }

CDC* CDC::FromHandle(HDC hDC) { return CDCHandleMap::FromHandle(hDC); }

BOOL CDC::Attach(HDC hDC) {
  if (!CDCHandleMap::Attach(this, &CDC::m_hDC, hDC)) return FALSE;
  m_hAttribDC = hDC;
  return TRUE;
}

HDC CDC::Detach() {
  m_hAttribDC = nullptr;
  return CDCHandleMap::Detach(this, &CDC::m_hDC);
}

BOOL CDC::CreateCompatibleDC(CDC* pDC) {
  HDC hDC = ::CreateCompatibleDC(pDC != nullptr ? pDC->m_hDC : nullptr);
  if (hDC == nullptr) return FALSE;
  if (Attach(hDC)) return TRUE;
  ::DeleteDC(hDC);
  return FALSE;
}

BOOL CDC::DeleteDC() {
  HDC hDC = Detach();
  return hDC != nullptr ? ::DeleteDC(hDC) : FALSE;
}

CWnd* CDC::GetWindow() const { return CWnd::FromHandle(::WindowFromDC(m_hDC)); }
int CDC::GetDeviceCaps(int nIndex) const { return ::GetDeviceCaps(m_hAttribDC, nIndex); }

CDC* CDC::NewTemporary(HDC hDC) {
  CDC* pDC = new CDC;
  pDC->m_hDC = pDC->m_hAttribDC = hDC;
  return pDC;
}

void CDC::DeleteTemporary(CDC* pDC) {
  pDC->m_hDC = pDC->m_hAttribDC = nullptr;
  delete pDC;
}

// ---- state and objects ----------------------------------------------------------------------------

int CDC::SaveDC() { return ::SaveDC(m_hDC); }
BOOL CDC::RestoreDC(int nSavedDC) { return ::RestoreDC(m_hDC, nSavedDC); }

namespace {
// Selects the object (nothing for null) and answers the handle selected before.
HGDIOBJ Select(HDC hDC, const CGdiObject* pObject) {
  return pObject != nullptr ? ::SelectObject(hDC, pObject->m_hObject) : nullptr;
}
}  // namespace

CPen* CDC::SelectObject(CPen* pPen) { return CPen::FromHandle(static_cast<HPEN>(Select(m_hDC, pPen))); }
CBrush* CDC::SelectObject(CBrush* pBrush) { return CBrush::FromHandle(static_cast<HBRUSH>(Select(m_hDC, pBrush))); }
CFont* CDC::SelectObject(CFont* pFont) { return CFont::FromHandle(static_cast<HFONT>(Select(m_hDC, pFont))); }
CBitmap* CDC::SelectObject(CBitmap* pBitmap) {
  return CBitmap::FromHandle(static_cast<HBITMAP>(Select(m_hDC, pBitmap)));
}
CGdiObject* CDC::SelectObject(CGdiObject* pObject) { return CGdiObject::FromHandle(Select(m_hDC, pObject)); }
int CDC::SelectObject(CRgn* pRgn) {
  return pRgn != nullptr ? static_cast<int>(reinterpret_cast<INT_PTR>(::SelectObject(m_hDC, *pRgn))) : ERROR;
}
HGDIOBJ CDC::SelectObject(HGDIOBJ hObject) { return hObject != nullptr ? ::SelectObject(m_hDC, hObject) : nullptr; }
CGdiObject* CDC::SelectStockObject(int nIndex) {
  HGDIOBJ hObject = ::GetStockObject(nIndex);
  return hObject != nullptr ? CGdiObject::FromHandle(::SelectObject(m_hDC, hObject)) : nullptr;
}

CPen* CDC::GetCurrentPen() const { return CPen::FromHandle(static_cast<HPEN>(::GetCurrentObject(m_hDC, OBJ_PEN))); }
CBrush* CDC::GetCurrentBrush() const {
  return CBrush::FromHandle(static_cast<HBRUSH>(::GetCurrentObject(m_hDC, OBJ_BRUSH)));
}
CFont* CDC::GetCurrentFont() const {
  return CFont::FromHandle(static_cast<HFONT>(::GetCurrentObject(m_hDC, OBJ_FONT)));
}
CBitmap* CDC::GetCurrentBitmap() const {
  return CBitmap::FromHandle(static_cast<HBITMAP>(::GetCurrentObject(m_hDC, OBJ_BITMAP)));
}
CPalette* CDC::GetCurrentPalette() const {
  return CPalette::FromHandle(static_cast<HPALETTE>(::GetCurrentObject(m_hDC, OBJ_PAL)));
}
CPalette* CDC::SelectPalette(CPalette* pPalette, BOOL bForceBackground) {
  if (pPalette == nullptr) return nullptr;
  return CPalette::FromHandle(::SelectPalette(m_hDC, *pPalette, bForceBackground));
}
UINT CDC::RealizePalette() { return ::RealizePalette(m_hDC); }

// ---- colours and modes ----------------------------------------------------------------------------

COLORREF CDC::GetBkColor() const { return ::GetBkColor(m_hAttribDC); }
COLORREF CDC::SetBkColor(COLORREF crColor) { return ::SetBkColor(m_hDC, crColor); }
int CDC::GetBkMode() const { return ::GetBkMode(m_hAttribDC); }
int CDC::SetBkMode(int nBkMode) { return ::SetBkMode(m_hDC, nBkMode); }
COLORREF CDC::GetTextColor() const { return ::GetTextColor(m_hAttribDC); }
COLORREF CDC::SetTextColor(COLORREF crColor) { return ::SetTextColor(m_hDC, crColor); }
int CDC::GetROP2() const { return ::GetROP2(m_hAttribDC); }
int CDC::SetROP2(int nDrawMode) { return ::SetROP2(m_hDC, nDrawMode); }
int CDC::GetStretchBltMode() const { return ::GetStretchBltMode(m_hAttribDC); }
int CDC::SetStretchBltMode(int nStretchMode) { return ::SetStretchBltMode(m_hDC, nStretchMode); }
int CDC::GetPolyFillMode() const { return ::GetPolyFillMode(m_hAttribDC); }
int CDC::SetPolyFillMode(int nPolyFillMode) { return ::SetPolyFillMode(m_hDC, nPolyFillMode); }
UINT CDC::GetTextAlign() const { return ::GetTextAlign(m_hAttribDC); }
UINT CDC::SetTextAlign(UINT nFlags) { return ::SetTextAlign(m_hDC, nFlags); }
CPoint CDC::GetBrushOrg() const {
  POINT point{};
  ::GetBrushOrgEx(m_hDC, &point);
  return point;
}
CPoint CDC::SetBrushOrg(int x, int y) {
  POINT point{};
  ::SetBrushOrgEx(m_hDC, x, y, &point);
  return point;
}
COLORREF CDC::GetNearestColor(COLORREF crColor) const { return ::GetNearestColor(m_hAttribDC, crColor); }
DWORD CDC::GetLayout() const { return ::GetLayout(m_hDC); }
DWORD CDC::SetLayout(DWORD dwLayout) { return ::SetLayout(m_hDC, dwLayout); }

// ---- mapping mode and origins ---------------------------------------------------------------------

int CDC::GetMapMode() const { return ::GetMapMode(m_hAttribDC); }
int CDC::SetMapMode(int nMapMode) { return ::SetMapMode(m_hDC, nMapMode); }

CPoint CDC::GetViewportOrg() const {
  POINT point{};
  ::GetViewportOrgEx(m_hAttribDC, &point);
  return point;
}
CPoint CDC::SetViewportOrg(int x, int y) {
  POINT point{};
  ::SetViewportOrgEx(m_hDC, x, y, &point);
  return point;
}
CPoint CDC::OffsetViewportOrg(int nWidth, int nHeight) {
  POINT point{};
  ::OffsetViewportOrgEx(m_hDC, nWidth, nHeight, &point);
  return point;
}
CSize CDC::GetViewportExt() const {
  SIZE size{};
  ::GetViewportExtEx(m_hAttribDC, &size);
  return size;
}
CSize CDC::SetViewportExt(int cx, int cy) {
  SIZE size{};
  ::SetViewportExtEx(m_hDC, cx, cy, &size);
  return size;
}
CPoint CDC::GetWindowOrg() const {
  POINT point{};
  ::GetWindowOrgEx(m_hAttribDC, &point);
  return point;
}
CPoint CDC::SetWindowOrg(int x, int y) {
  POINT point{};
  ::SetWindowOrgEx(m_hDC, x, y, &point);
  return point;
}
CPoint CDC::OffsetWindowOrg(int nWidth, int nHeight) {
  POINT point{};
  ::OffsetWindowOrgEx(m_hDC, nWidth, nHeight, &point);
  return point;
}
CSize CDC::GetWindowExt() const {
  SIZE size{};
  ::GetWindowExtEx(m_hAttribDC, &size);
  return size;
}
CSize CDC::SetWindowExt(int cx, int cy) {
  SIZE size{};
  ::SetWindowExtEx(m_hDC, cx, cy, &size);
  return size;
}

void CDC::DPtoLP(LPPOINT lpPoints, int nCount) const { ::DPtoLP(m_hAttribDC, lpPoints, nCount); }
void CDC::DPtoLP(LPRECT lpRect) const { ::DPtoLP(m_hAttribDC, reinterpret_cast<LPPOINT>(lpRect), 2); }
void CDC::LPtoDP(LPPOINT lpPoints, int nCount) const { ::LPtoDP(m_hAttribDC, lpPoints, nCount); }
void CDC::LPtoDP(LPRECT lpRect) const { ::LPtoDP(m_hAttribDC, reinterpret_cast<LPPOINT>(lpRect), 2); }

namespace {
// A size is a distance: the difference of two converted points, so the origins drop out.
void ConvertSize(HDC hDC, LPSIZE lpSize, BOOL(WINAPI* convert)(HDC, LPPOINT, int)) {
  POINT points[2] = {{0, 0}, {lpSize->cx, lpSize->cy}};
  convert(hDC, points, 2);
  lpSize->cx = points[1].x - points[0].x;
  lpSize->cy = points[1].y - points[0].y;
}
}  // namespace

void CDC::DPtoLP(LPSIZE lpSize) const { ConvertSize(m_hAttribDC, lpSize, &::DPtoLP); }
void CDC::LPtoDP(LPSIZE lpSize) const { ConvertSize(m_hAttribDC, lpSize, &::LPtoDP); }

// ---- clipping -------------------------------------------------------------------------------------

int CDC::GetClipBox(LPRECT lpRect) const { return ::GetClipBox(m_hDC, lpRect); }
BOOL CDC::PtVisible(int x, int y) const { return ::PtVisible(m_hDC, x, y); }
BOOL CDC::RectVisible(LPCRECT lpRect) const { return ::RectVisible(m_hDC, lpRect); }
int CDC::SelectClipRgn(CRgn* pRgn) { return ::SelectClipRgn(m_hDC, pRgn != nullptr ? HRGN(*pRgn) : nullptr); }
int CDC::SelectClipRgn(CRgn* pRgn, int nMode) {
  return ::ExtSelectClipRgn(m_hDC, pRgn != nullptr ? HRGN(*pRgn) : nullptr, nMode);
}
int CDC::ExcludeClipRect(int x1, int y1, int x2, int y2) { return ::ExcludeClipRect(m_hDC, x1, y1, x2, y2); }
int CDC::ExcludeClipRect(LPCRECT lpRect) {
  return ExcludeClipRect(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
}
int CDC::ExcludeUpdateRgn(CWnd* pWnd) { return pWnd != nullptr ? ::ExcludeUpdateRgn(m_hDC, pWnd->m_hWnd) : ERROR; }
int CDC::IntersectClipRect(int x1, int y1, int x2, int y2) { return ::IntersectClipRect(m_hDC, x1, y1, x2, y2); }
int CDC::IntersectClipRect(LPCRECT lpRect) {
  return IntersectClipRect(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
}
int CDC::OffsetClipRgn(int x, int y) { return ::OffsetClipRgn(m_hDC, x, y); }

// ---- the DCs of a window --------------------------------------------------------------------------
// A window that cannot give a DC leaves the object without one: its drawing calls then fail. A DC
// that another object wraps already (a class or own DC handed out twice) is used without the map.

namespace {
void AttachWindowDC(CDC* pDC, HDC hDC) {
  if (!pDC->Attach(hDC)) pDC->m_hDC = pDC->m_hAttribDC = hDC;
}
}  // namespace

CPaintDC::CPaintDC(CWnd* pWnd) : m_hWnd(pWnd != nullptr ? pWnd->m_hWnd : nullptr) {
  AttachWindowDC(this, ::BeginPaint(m_hWnd, &m_ps));
}
CPaintDC::~CPaintDC() {
  if (m_hDC != nullptr) ::EndPaint(m_hWnd, &m_ps);
  Detach();
}

CClientDC::CClientDC(CWnd* pWnd) : m_hWnd(pWnd != nullptr ? pWnd->m_hWnd : nullptr) {
  AttachWindowDC(this, ::GetDC(m_hWnd));
}
CClientDC::~CClientDC() {
  if (HDC hDC = Detach()) ::ReleaseDC(m_hWnd, hDC);
}

CWindowDC::CWindowDC(CWnd* pWnd) : m_hWnd(pWnd != nullptr ? pWnd->m_hWnd : nullptr) {
  AttachWindowDC(this, ::GetWindowDC(m_hWnd));
}
CWindowDC::~CWindowDC() {
  if (HDC hDC = Detach()) ::ReleaseDC(m_hWnd, hDC);
}
