// CDC: a device context and the drawing done through it; CPaintDC, CClientDC and CWindowDC, the
// device contexts of a window.
//
// The object owns the DC it made (CreateCompatibleDC) or was given (Attach): destroying it deletes the
// DC unless Detach took it back. FromHandle of a DC that nobody wrapped gives a temporary wrapper of
// the calling thread (deleted when the thread goes idle) that never deletes it. Every member is one
// call of the system on m_hDC; the few that are more say so.
#pragma once

#include <windows.h>

#include "platform/classlib/cobject.h"
#include "platform/classlib/crect.h"
#include "platform/classlib/cstring.h"
#include "platform/classlib/win/cgdiobject.h"
#include "platform/classlib/win/handlemap.h"

class CWnd;

class CDC : public CObject {
  DECLARE_DYNCREATE(CDC)

 public:
  CDC() = default;
  ~CDC() override;
  CDC(const CDC&) = delete;
  CDC& operator=(const CDC&) = delete;

  HDC m_hDC = nullptr;        // where output goes
  HDC m_hAttribDC = nullptr;  // what attribute queries read (the same DC unless a class splits them)

  operator HDC() const { return m_hDC; }
  HDC GetSafeHdc() const { return m_hDC; }

  // ---- the handle ---------------------------------------------------------------------------------
  // The object attached to the DC, or a temporary wrapper (deleted when the thread goes idle).
  static CDC* FromHandle(HDC hDC);
  // Makes this object the DC's owner and permanent wrapper; FALSE when the DC already has one.
  BOOL Attach(HDC hDC);
  HDC Detach();
  // A memory DC like pDC (the screen when null), owned by this object.
  BOOL CreateCompatibleDC(CDC* pDC);
  // Deletes the DC the object owns.
  BOOL DeleteDC();
  CWnd* GetWindow() const;
  int GetDeviceCaps(int nIndex) const;
  BOOL IsPrinting() const { return FALSE; }

  static CDC* NewTemporary(HDC hDC);
  static void DeleteTemporary(CDC* pDC);

  // ---- state --------------------------------------------------------------------------------------
  int SaveDC();
  BOOL RestoreDC(int nSavedDC);

  // ---- objects: each answers what was selected before (a temporary wrapper unless someone owns it)
  CPen* SelectObject(CPen* pPen);
  CBrush* SelectObject(CBrush* pBrush);
  CFont* SelectObject(CFont* pFont);
  CBitmap* SelectObject(CBitmap* pBitmap);
  CGdiObject* SelectObject(CGdiObject* pObject);
  // The region becomes the clip region: the region's type, or ERROR.
  int SelectObject(CRgn* pRgn);
  HGDIOBJ SelectObject(HGDIOBJ hObject);
  CGdiObject* SelectStockObject(int nIndex);
  CPen* GetCurrentPen() const;
  CBrush* GetCurrentBrush() const;
  CFont* GetCurrentFont() const;
  CBitmap* GetCurrentBitmap() const;
  CPalette* GetCurrentPalette() const;
  CPalette* SelectPalette(CPalette* pPalette, BOOL bForceBackground);
  UINT RealizePalette();

  // ---- colours and modes --------------------------------------------------------------------------
  COLORREF GetBkColor() const;
  COLORREF SetBkColor(COLORREF crColor);
  int GetBkMode() const;
  int SetBkMode(int nBkMode);
  COLORREF GetTextColor() const;
  COLORREF SetTextColor(COLORREF crColor);
  int GetROP2() const;
  int SetROP2(int nDrawMode);
  int GetStretchBltMode() const;
  int SetStretchBltMode(int nStretchMode);
  int GetPolyFillMode() const;
  int SetPolyFillMode(int nPolyFillMode);
  UINT GetTextAlign() const;
  UINT SetTextAlign(UINT nFlags);
  CPoint GetBrushOrg() const;
  CPoint SetBrushOrg(int x, int y);
  CPoint SetBrushOrg(CPoint point) { return SetBrushOrg(point.x, point.y); }
  COLORREF GetNearestColor(COLORREF crColor) const;
  DWORD GetLayout() const;
  DWORD SetLayout(DWORD dwLayout);

  // ---- mapping mode and origins -------------------------------------------------------------------
  int GetMapMode() const;
  int SetMapMode(int nMapMode);
  CPoint GetViewportOrg() const;
  CPoint SetViewportOrg(int x, int y);
  CPoint SetViewportOrg(CPoint point) { return SetViewportOrg(point.x, point.y); }
  CPoint OffsetViewportOrg(int nWidth, int nHeight);
  CSize GetViewportExt() const;
  CSize SetViewportExt(int cx, int cy);
  CSize SetViewportExt(CSize size) { return SetViewportExt(size.cx, size.cy); }
  CPoint GetWindowOrg() const;
  CPoint SetWindowOrg(int x, int y);
  CPoint SetWindowOrg(CPoint point) { return SetWindowOrg(point.x, point.y); }
  CPoint OffsetWindowOrg(int nWidth, int nHeight);
  CSize GetWindowExt() const;
  CSize SetWindowExt(int cx, int cy);
  CSize SetWindowExt(CSize size) { return SetWindowExt(size.cx, size.cy); }
  void DPtoLP(LPPOINT lpPoints, int nCount = 1) const;
  void DPtoLP(LPRECT lpRect) const;
  void DPtoLP(LPSIZE lpSize) const;
  void LPtoDP(LPPOINT lpPoints, int nCount = 1) const;
  void LPtoDP(LPRECT lpRect) const;
  void LPtoDP(LPSIZE lpSize) const;

  // ---- clipping: the region type answered, or ERROR -----------------------------------------------
  int GetClipBox(LPRECT lpRect) const;
  BOOL PtVisible(int x, int y) const;
  BOOL PtVisible(CPoint point) const { return PtVisible(point.x, point.y); }
  BOOL RectVisible(LPCRECT lpRect) const;
  // Null removes the clip region.
  int SelectClipRgn(CRgn* pRgn);
  int SelectClipRgn(CRgn* pRgn, int nMode);
  int ExcludeClipRect(int x1, int y1, int x2, int y2);
  int ExcludeClipRect(LPCRECT lpRect);
  int ExcludeUpdateRgn(CWnd* pWnd);
  int IntersectClipRect(int x1, int y1, int x2, int y2);
  int IntersectClipRect(LPCRECT lpRect);
  int OffsetClipRgn(int x, int y);
  int OffsetClipRgn(CSize size) { return OffsetClipRgn(size.cx, size.cy); }

  // ---- lines and shapes (the current pen and brush) -----------------------------------------------
  CPoint GetCurrentPosition() const;
  CPoint MoveTo(int x, int y);
  CPoint MoveTo(CPoint point) { return MoveTo(point.x, point.y); }
  BOOL LineTo(int x, int y);
  BOOL LineTo(CPoint point) { return LineTo(point.x, point.y); }
  BOOL Polyline(const POINT* lpPoints, int nCount);
  BOOL Polygon(const POINT* lpPoints, int nCount);
  BOOL Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
  BOOL Arc(LPCRECT lpRect, CPoint ptStart, CPoint ptEnd);
  BOOL Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
  BOOL Pie(LPCRECT lpRect, CPoint ptStart, CPoint ptEnd);
  BOOL Rectangle(int x1, int y1, int x2, int y2);
  BOOL Rectangle(LPCRECT lpRect);
  BOOL RoundRect(int x1, int y1, int x2, int y2, int x3, int y3);
  BOOL RoundRect(LPCRECT lpRect, CPoint point);
  BOOL Ellipse(int x1, int y1, int x2, int y2);
  BOOL Ellipse(LPCRECT lpRect);

  // ---- fills --------------------------------------------------------------------------------------
  void FillRect(LPCRECT lpRect, CBrush* pBrush);
  void FrameRect(LPCRECT lpRect, CBrush* pBrush);
  void InvertRect(LPCRECT lpRect);
  BOOL FillRgn(CRgn* pRgn, CBrush* pBrush);
  BOOL FrameRgn(CRgn* pRgn, CBrush* pBrush, int nWidth, int nHeight);
  BOOL PaintRgn(CRgn* pRgn);
  BOOL InvertRgn(CRgn* pRgn);
  // Filled as an opaque text background: the DC's background colour is left set to crColor.
  void FillSolidRect(LPCRECT lpRect, COLORREF crColor);
  void FillSolidRect(int x, int y, int cx, int cy, COLORREF crColor);
  // One-pixel frame: top and left edges in clrTopLeft, right and bottom edges (with the top-right and
  // bottom-left corners) in clrBottomRight.
  void Draw3dRect(LPCRECT lpRect, COLORREF clrTopLeft, COLORREF clrBottomRight);
  void Draw3dRect(int x, int y, int cx, int cy, COLORREF clrTopLeft, COLORREF clrBottomRight);
  BOOL DrawEdge(LPRECT lpRect, UINT nEdge, UINT nFlags);
  void DrawFocusRect(LPCRECT lpRect);
  BOOL DrawFrameControl(LPRECT lpRect, UINT nType, UINT nState);
  COLORREF GetPixel(int x, int y) const;
  COLORREF GetPixel(CPoint point) const { return GetPixel(point.x, point.y); }
  COLORREF SetPixel(int x, int y, COLORREF crColor);
  COLORREF SetPixel(CPoint point, COLORREF crColor) { return SetPixel(point.x, point.y, crColor); }
  BOOL SetPixelV(int x, int y, COLORREF crColor);
  BOOL FloodFill(int x, int y, COLORREF crColor);
  BOOL ExtFloodFill(int x, int y, COLORREF crColor, UINT nFillType);

  // ---- blits ----------------------------------------------------------------------------------------
  BOOL BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, DWORD dwRop);
  BOOL StretchBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, int nSrcWidth, int nSrcHeight,
                  DWORD dwRop);
  BOOL PatBlt(int x, int y, int nWidth, int nHeight, DWORD dwRop);
  // The source's pixels of colour clrTransparent are left out.
  BOOL TransparentBlt(int xDest, int yDest, int nDestWidth, int nDestHeight, CDC* pSrcDC, int xSrc, int ySrc,
                      int nSrcWidth, int nSrcHeight, UINT clrTransparent);
  BOOL AlphaBlend(int xDest, int yDest, int nDestWidth, int nDestHeight, CDC* pSrcDC, int xSrc, int ySrc, int nSrcWidth,
                  int nSrcHeight, BLENDFUNCTION blend);
  // Gradient rectangles or triangles between coloured vertices (GRADIENT_FILL_RECT_H, _V, _TRIANGLE).
  BOOL GradientFill(TRIVERTEX* pVertices, ULONG nVertices, void* pMesh, ULONG nMeshElements, DWORD dwMode);

  // ---- icons and states -----------------------------------------------------------------------------
  BOOL DrawIcon(int x, int y, HICON hIcon);
  BOOL DrawIcon(CPoint point, HICON hIcon) { return DrawIcon(point.x, point.y, hIcon); }
  // An image, icon or text drawn in a state (DSS_DISABLED, DSS_UNION, DSS_MONO with the brush).
  BOOL DrawState(CPoint pt, CSize size, HBITMAP hBitmap, UINT nFlags, HBRUSH hBrush = nullptr);
  BOOL DrawState(CPoint pt, CSize size, CBitmap* pBitmap, UINT nFlags, CBrush* pBrush);
  BOOL DrawState(CPoint pt, CSize size, HICON hIcon, UINT nFlags, HBRUSH hBrush = nullptr);
  BOOL DrawState(CPoint pt, CSize size, HICON hIcon, UINT nFlags, CBrush* pBrush);
  // Text with "&" underlining the next character unless bPrefixText is FALSE; nTextLen 0: all of it.
  BOOL DrawState(CPoint pt, CSize size, LPCTSTR lpszText, UINT nFlags, BOOL bPrefixText = TRUE, int nTextLen = 0,
                 HBRUSH hBrush = nullptr);
  BOOL DrawState(CPoint pt, CSize size, LPCTSTR lpszText, UINT nFlags, BOOL bPrefixText, int nTextLen, CBrush* pBrush);
  BOOL DrawState(CPoint pt, CSize size, DRAWSTATEPROC lpDrawProc, LPARAM lData, UINT nFlags, HBRUSH hBrush = nullptr);

  // ---- text (the selected font, text colour, background colour and mode) --------------------------
  BOOL TextOut(int x, int y, LPCTSTR lpszString, int nCount);
  BOOL TextOut(int x, int y, const CString& str) { return TextOut(x, y, str, str.GetLength()); }
  BOOL ExtTextOut(int x, int y, UINT nOptions, LPCRECT lpRect, LPCTSTR lpszString, UINT nCount, LPINT lpDxWidths);
  BOOL ExtTextOut(int x, int y, UINT nOptions, LPCRECT lpRect, const CString& str, LPINT lpDxWidths);
  // nCount -1: up to the terminator. The height of the text drawn, as the system answers.
  int DrawText(LPCTSTR lpszString, int nCount, LPRECT lpRect, UINT nFormat);
  int DrawText(const CString& str, LPRECT lpRect, UINT nFormat);
  int DrawTextEx(LPTSTR lpszString, int nCount, LPRECT lpRect, UINT nFormat, LPDRAWTEXTPARAMS lpDTParams);
  int DrawTextEx(const CString& str, LPRECT lpRect, UINT nFormat, LPDRAWTEXTPARAMS lpDTParams);
  CSize GetTextExtent(LPCTSTR lpszString, int nCount) const;
  CSize GetTextExtent(const CString& str) const { return GetTextExtent(str, str.GetLength()); }
  CSize GetOutputTextExtent(LPCTSTR lpszString, int nCount) const { return GetTextExtent(lpszString, nCount); }
  CSize GetOutputTextExtent(const CString& str) const { return GetTextExtent(str); }
  BOOL GetTextMetrics(LPTEXTMETRIC lpMetrics) const;
  BOOL GetOutputTextMetrics(LPTEXTMETRIC lpMetrics) const { return GetTextMetrics(lpMetrics); }
  int GetTextFace(int nCount, LPTSTR lpszFacename) const;
  int GetTextFace(CString& rString) const;
};

using CDCHandleMap = CHandleMap<CDC, HDC>;

// The DC of a WM_PAINT: BeginPaint at construction, EndPaint at destruction.
class CPaintDC : public CDC {
  DECLARE_DYNAMIC(CPaintDC)

 public:
  explicit CPaintDC(CWnd* pWnd);
  ~CPaintDC() override;

  PAINTSTRUCT m_ps{};

 protected:
  HWND m_hWnd = nullptr;
};

// The client area's DC (GetDC; the screen for a null window), released at destruction.
class CClientDC : public CDC {
  DECLARE_DYNAMIC(CClientDC)

 public:
  explicit CClientDC(CWnd* pWnd);
  ~CClientDC() override;

 protected:
  HWND m_hWnd = nullptr;
};

// The whole window's DC (GetWindowDC), released at destruction.
class CWindowDC : public CDC {
  DECLARE_DYNAMIC(CWindowDC)

 public:
  explicit CWindowDC(CWnd* pWnd);
  ~CWindowDC() override;

 protected:
  HWND m_hWnd = nullptr;
};
