// CGdiObject, the handle map of GDI objects, and the pen, brush and palette classes.
#include "platform/classlib/win/cgdiobject.h"

#include "platform/classlib/win/cdc.h"

IMPLEMENT_DYNCREATE(CGdiObject, CObject)
IMPLEMENT_DYNAMIC(CPen, CGdiObject)
IMPLEMENT_DYNAMIC(CBrush, CGdiObject)
IMPLEMENT_DYNAMIC(CFont, CGdiObject)
IMPLEMENT_DYNAMIC(CBitmap, CGdiObject)
IMPLEMENT_DYNAMIC(CRgn, CGdiObject)
IMPLEMENT_DYNAMIC(CPalette, CGdiObject)

// ---- CGdiObject -----------------------------------------------------------------------------------

CGdiObject::~CGdiObject() { DeleteObject(); }

CGdiObject* CGdiObject::FromHandle(HGDIOBJ hObject) { return CGdiHandleMap::FromHandle(hObject); }

BOOL CGdiObject::Attach(HGDIOBJ hObject) {
  if (hObject == nullptr || m_hObject != nullptr) return FALSE;
  // A handle wrapped already (a stock object) keeps its first object in the map.
  CGdiHandleMap::SetPermanent(hObject, this);
  m_hObject = hObject;
  return TRUE;
}

HGDIOBJ CGdiObject::Detach() { return CGdiHandleMap::Detach(this, &CGdiObject::m_hObject); }

BOOL CGdiObject::AttachCreated(HGDIOBJ hObject) {
  if (Attach(hObject)) return TRUE;
  if (hObject != nullptr) ::DeleteObject(hObject);
  return FALSE;
}

BOOL CGdiObject::DeleteObject() {
  HGDIOBJ hObject = Detach();
  return hObject != nullptr ? ::DeleteObject(hObject) : FALSE;
}

BOOL CGdiObject::CreateStockObject(int nIndex) {
  // Stock objects are shared: a failed Attach deletes nothing of anyone's.
  return Attach(::GetStockObject(nIndex));
}

BOOL CGdiObject::UnrealizeObject() { return ::UnrealizeObject(m_hObject); }
int CGdiObject::GetObject(int nCount, LPVOID lpObject) const { return ::GetObjectW(m_hObject, nCount, lpObject); }
UINT CGdiObject::GetObjectType() const { return static_cast<UINT>(::GetObjectType(m_hObject)); }

CGdiObject* CGdiObject::NewTemporary(HGDIOBJ hObject) {
  return AfxNewTemporaryWrapper(&CGdiObject::m_hObject, hObject);
}
void CGdiObject::DeleteTemporary(CGdiObject* pObject) { AfxDeleteTemporaryWrapper(pObject, &CGdiObject::m_hObject); }

// ---- CPen -----------------------------------------------------------------------------------------

BOOL CPen::CreatePen(int nPenStyle, int nWidth, COLORREF crColor) {
  return AttachCreated(::CreatePen(nPenStyle, nWidth, crColor));
}
BOOL CPen::CreatePen(int nPenStyle, int nWidth, const LOGBRUSH* pLogBrush, int nStyleCount, const DWORD* lpStyle) {
  return AttachCreated(::ExtCreatePen(static_cast<DWORD>(nPenStyle), static_cast<DWORD>(nWidth), pLogBrush,
                                      static_cast<DWORD>(nStyleCount), lpStyle));
}
BOOL CPen::CreatePenIndirect(LPLOGPEN lpLogPen) { return AttachCreated(::CreatePenIndirect(lpLogPen)); }
int CPen::GetLogPen(LOGPEN* pLogPen) const { return GetObject(sizeof(LOGPEN), pLogPen); }

// ---- CBrush ---------------------------------------------------------------------------------------

BOOL CBrush::CreateSolidBrush(COLORREF crColor) { return AttachCreated(::CreateSolidBrush(crColor)); }
BOOL CBrush::CreateHatchBrush(int nIndex, COLORREF crColor) {
  return AttachCreated(::CreateHatchBrush(nIndex, crColor));
}
BOOL CBrush::CreatePatternBrush(CBitmap* pBitmap) {
  return pBitmap != nullptr && AttachCreated(::CreatePatternBrush(*pBitmap));
}
BOOL CBrush::CreateBrushIndirect(const LOGBRUSH* lpLogBrush) {
  return AttachCreated(::CreateBrushIndirect(lpLogBrush));
}
// System colour brushes belong to the system: deleting them does nothing.
BOOL CBrush::CreateSysColorBrush(int nIndex) { return Attach(::GetSysColorBrush(nIndex)); }
int CBrush::GetLogBrush(LOGBRUSH* pLogBrush) const { return GetObject(sizeof(LOGBRUSH), pLogBrush); }

// ---- CPalette -------------------------------------------------------------------------------------

BOOL CPalette::CreatePalette(LPLOGPALETTE lpLogPalette) { return AttachCreated(::CreatePalette(lpLogPalette)); }
BOOL CPalette::CreateHalftonePalette(CDC* pDC) {
  return pDC != nullptr && AttachCreated(::CreateHalftonePalette(pDC->m_hDC));
}
int CPalette::GetEntryCount() const {
  WORD count = 0;
  return GetObject(sizeof count, &count) != 0 ? count : 0;
}
UINT CPalette::GetPaletteEntries(UINT nStartIndex, UINT nNumEntries, LPPALETTEENTRY lpPaletteColors) const {
  return ::GetPaletteEntries(*this, nStartIndex, nNumEntries, lpPaletteColors);
}
UINT CPalette::SetPaletteEntries(UINT nStartIndex, UINT nNumEntries, LPPALETTEENTRY lpPaletteColors) {
  return ::SetPaletteEntries(*this, nStartIndex, nNumEntries, lpPaletteColors);
}
UINT CPalette::GetNearestPaletteIndex(COLORREF crColor) const { return ::GetNearestPaletteIndex(*this, crColor); }
BOOL CPalette::ResizePalette(UINT nNumEntries) { return ::ResizePalette(*this, nNumEntries); }
