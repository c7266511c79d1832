// GDI objects: pens, brushes, fonts, bitmaps, regions and palettes.
//
// An object owns its handle: the one its Create... call made, or the one given to Attach. Destroying
// the object deletes the handle unless Detach took it back first. An owned handle is the permanent
// entry of the handle map, so FromHandle (and CDC::SelectObject, which answers the object selected
// before) finds the object again; a handle that nobody wrapped gets a temporary wrapper of the calling
// thread, deleted when the thread goes idle, which never deletes the handle. Stock objects may be
// attached to several objects at once (deleting one is harmless); the first keeps the map entry.
#pragma once

#include <windows.h>

#include "platform/classlib/cobject.h"
#include "platform/classlib/crect.h"
#include "platform/classlib/cstring.h"
#include "platform/classlib/win/handlemap.h"

// Names of <windowsx.h> macros that are members here.
#undef CopyRgn

class CDC;

class CGdiObject : public CObject {
  DECLARE_DYNCREATE(CGdiObject)

 public:
  CGdiObject() = default;
  ~CGdiObject() override;
  CGdiObject(const CGdiObject&) = delete;
  CGdiObject& operator=(const CGdiObject&) = delete;

  HGDIOBJ m_hObject = nullptr;

  operator HGDIOBJ() const { return m_hObject; }
  HGDIOBJ GetSafeHandle() const { return m_hObject; }

  static CGdiObject* FromHandle(HGDIOBJ hObject);
  // FALSE for a null handle or when the object holds one already.
  BOOL Attach(HGDIOBJ hObject);
  HGDIOBJ Detach();
  // Deletes the handle the object holds (FALSE when it holds none).
  BOOL DeleteObject();

  BOOL CreateStockObject(int nIndex);
  BOOL UnrealizeObject();
  // The object's description (LOGPEN, LOGBRUSH, LOGFONT, BITMAP, ...); the bytes written.
  int GetObject(int nCount, LPVOID lpObject) const;
  UINT GetObjectType() const;

  bool operator==(const CGdiObject& other) const { return m_hObject == other.m_hObject; }
  bool operator!=(const CGdiObject& other) const { return m_hObject != other.m_hObject; }

  static CGdiObject* NewTemporary(HGDIOBJ hObject);
  static void DeleteTemporary(CGdiObject* pObject);

 protected:
  // Takes a handle a Create... call just made; when the object cannot take it (it holds one
  // already, or the handle is null) the handle is deleted and the answer is FALSE.
  BOOL AttachCreated(HGDIOBJ hObject);
};

using CGdiHandleMap = CHandleMap<CGdiObject, HGDIOBJ>;

// FromHandle of the typed classes: the owning object when it is of that class, else a temporary
// wrapper of that class (kept apart from the temporaries of other classes).
template <class T, class H>
T* AfxGdiObjectFromHandle(H h) {
  CGdiObject* permanent = CGdiHandleMap::FromHandlePermanent(h);
  if (permanent != nullptr && permanent->IsKindOf(T::GetThisClass())) return static_cast<T*>(permanent);
  return CHandleMap<T, H>::FromHandle(h);
}

// The handle type, FromHandle and the temporary wrappers of one GDI class.
#define CLASSLIB_GDI_HANDLE(theClass, handleType)                                           \
 public:                                                                                    \
  operator handleType() const { return static_cast<handleType>(m_hObject); }                \
  static theClass* FromHandle(handleType h) { return AfxGdiObjectFromHandle<theClass>(h); } \
  static theClass* NewTemporary(handleType h) {                                             \
    auto* p = new theClass;                                                                 \
    p->m_hObject = h;                                                                       \
    return p;                                                                               \
  }                                                                                         \
  static void DeleteTemporary(theClass* p) {                                                \
    p->m_hObject = nullptr;                                                                 \
    delete p;                                                                               \
  }

class CPen : public CGdiObject {
  DECLARE_DYNAMIC(CPen)
  CLASSLIB_GDI_HANDLE(CPen, HPEN)

 public:
  CPen() = default;
  CPen(int nPenStyle, int nWidth, COLORREF crColor) { CreatePen(nPenStyle, nWidth, crColor); }
  BOOL CreatePen(int nPenStyle, int nWidth, COLORREF crColor);
  // A geometric or cosmetic pen with a brush, end caps and joins (ExtCreatePen).
  BOOL CreatePen(int nPenStyle, int nWidth, const LOGBRUSH* pLogBrush, int nStyleCount = 0,
                 const DWORD* lpStyle = nullptr);
  BOOL CreatePenIndirect(LPLOGPEN lpLogPen);
  int GetLogPen(LOGPEN* pLogPen) const;
};

class CBitmap;

class CBrush : public CGdiObject {
  DECLARE_DYNAMIC(CBrush)
  CLASSLIB_GDI_HANDLE(CBrush, HBRUSH)

 public:
  CBrush() = default;
  explicit CBrush(COLORREF crColor) { CreateSolidBrush(crColor); }
  CBrush(int nIndex, COLORREF crColor) { CreateHatchBrush(nIndex, crColor); }
  explicit CBrush(CBitmap* pBitmap) { CreatePatternBrush(pBitmap); }
  BOOL CreateSolidBrush(COLORREF crColor);
  BOOL CreateHatchBrush(int nIndex, COLORREF crColor);
  BOOL CreatePatternBrush(CBitmap* pBitmap);
  BOOL CreateBrushIndirect(const LOGBRUSH* lpLogBrush);
  BOOL CreateSysColorBrush(int nIndex);
  int GetLogBrush(LOGBRUSH* pLogBrush) const;
};

class CFont : public CGdiObject {
  DECLARE_DYNAMIC(CFont)
  CLASSLIB_GDI_HANDLE(CFont, HFONT)

 public:
  CFont() = default;
  BOOL CreateFontIndirect(const LOGFONT* lpLogFont);
  BOOL CreateFont(int nHeight, int nWidth, int nEscapement, int nOrientation, int nWeight, BYTE bItalic,
                  BYTE bUnderline, BYTE cStrikeOut, BYTE nCharSet, BYTE nOutPrecision, BYTE nClipPrecision,
                  BYTE nQuality, BYTE nPitchAndFamily, LPCTSTR lpszFacename);
  // A font of nPointSize tenths of a point, measured on pDC (the screen when null).
  BOOL CreatePointFont(int nPointSize, LPCTSTR lpszFaceName, CDC* pDC = nullptr);
  // lfHeight in tenths of a point; the record's other fields as given.
  BOOL CreatePointFontIndirect(const LOGFONT* lpLogFont, CDC* pDC = nullptr);
  int GetLogFont(LOGFONT* pLogFont) const;
};

class CBitmap : public CGdiObject {
  DECLARE_DYNAMIC(CBitmap)
  CLASSLIB_GDI_HANDLE(CBitmap, HBITMAP)

 public:
  CBitmap() = default;
  // From the resources of AfxGetResourceHandle().
  BOOL LoadBitmap(UINT nIDResource);
  BOOL LoadBitmap(LPCTSTR lpszResourceName);
  BOOL LoadOEMBitmap(UINT nIDBitmap);
  // With the button colours of the system in place of the grey shades (LR_LOADMAP3DCOLORS).
  BOOL LoadMappedBitmap(UINT nIDBitmap);
  BOOL CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitcount, const void* lpBits);
  BOOL CreateBitmapIndirect(LPBITMAP lpBitmap);
  BOOL CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight);
  int GetBitmap(BITMAP* pBitMap) const;
  DWORD SetBitmapBits(DWORD dwCount, const void* lpBits);
  DWORD GetBitmapBits(DWORD dwCount, LPVOID lpBits) const;
};

class CRgn : public CGdiObject {
  DECLARE_DYNAMIC(CRgn)
  CLASSLIB_GDI_HANDLE(CRgn, HRGN)

 public:
  CRgn() = default;
  BOOL CreateRectRgn(int x1, int y1, int x2, int y2);
  BOOL CreateRectRgnIndirect(LPCRECT lpRect);
  BOOL CreateEllipticRgn(int x1, int y1, int x2, int y2);
  BOOL CreateEllipticRgnIndirect(LPCRECT lpRect);
  BOOL CreateRoundRectRgn(int x1, int y1, int x2, int y2, int x3, int y3);
  BOOL CreatePolygonRgn(const POINT* lpPoints, int nCount, int nMode);
  BOOL CreateFromData(const XFORM* lpXForm, int nCount, const RGNDATA* pRgnData);
  // Region types (NULLREGION, SIMPLEREGION, COMPLEXREGION) or ERROR, as the system answers.
  int CombineRgn(const CRgn* pRgn1, const CRgn* pRgn2, int nCombineMode);
  int CopyRgn(const CRgn* pRgnSrc);
  BOOL EqualRgn(const CRgn* pRgn) const;
  int OffsetRgn(int x, int y);
  int OffsetRgn(CPoint point) { return OffsetRgn(point.x, point.y); }
  int GetRgnBox(LPRECT lpRect) const;
  BOOL PtInRegion(int x, int y) const;
  BOOL PtInRegion(CPoint point) const { return PtInRegion(point.x, point.y); }
  BOOL RectInRegion(LPCRECT lpRect) const;
  void SetRectRgn(int x1, int y1, int x2, int y2);
  void SetRectRgn(LPCRECT lpRect);
  int GetRegionData(LPRGNDATA lpRgnData, int nCount) const;
};

class CPalette : public CGdiObject {
  DECLARE_DYNAMIC(CPalette)
  CLASSLIB_GDI_HANDLE(CPalette, HPALETTE)

 public:
  CPalette() = default;
  BOOL CreatePalette(LPLOGPALETTE lpLogPalette);
  BOOL CreateHalftonePalette(CDC* pDC);
  int GetEntryCount() const;
  UINT GetPaletteEntries(UINT nStartIndex, UINT nNumEntries, LPPALETTEENTRY lpPaletteColors) const;
  UINT SetPaletteEntries(UINT nStartIndex, UINT nNumEntries, LPPALETTEENTRY lpPaletteColors);
  UINT GetNearestPaletteIndex(COLORREF crColor) const;
  BOOL ResizePalette(UINT nNumEntries);
};
