// Scope guards of GDI state: each selects a font, bitmap, pen or brush (or makes a memory DC) in its
// constructor and undoes exactly that in its destructor. Off-screen DCs that copy themselves to their
// target when they end, the rectangles of a window, and the bitmap whose corner pixel is transparent.
#pragma once

#include <windows.h>

#include "platform/classlib/crect.h"
#include "platform/classlib/win/cdc.h"
#include "toolkit/common/color_gradient.h"

class CWnd;

class CTKPFontDC {
 public:
  CTKPFontDC(CDC* pDC, CFont* pFont);
  virtual ~CTKPFontDC();
  void SetFont(CFont* pFont);

 private:
  HDC m_hDC;
  HGDIOBJ m_hOld = nullptr;
};

class CTKPBitmapDC {
 public:
  CTKPBitmapDC(CDC* pDC, CBitmap* pBitmap);
  virtual ~CTKPBitmapDC();

 private:
  HDC m_hDC;
  HGDIOBJ m_hOld = nullptr;
};

class CTKPPenDC {
 public:
  CTKPPenDC(HDC hDC, COLORREF crColor);
  virtual ~CTKPPenDC();
  void SetColor(COLORREF crColor);
  COLORREF GetColor() const;

 private:
  HDC m_hDC;
  HPEN m_hPen = nullptr;
  HGDIOBJ m_hOld = nullptr;
};

class CTKPBrushDC {
 public:
  CTKPBrushDC(HDC hDC, COLORREF crColor);
  virtual ~CTKPBrushDC();
  void SetColor(COLORREF crColor);

 private:
  HDC m_hDC;
  HBRUSH m_hBrush = nullptr;
  HGDIOBJ m_hOld = nullptr;
};

// A memory DC like pDC with the bitmap selected.
class CTKPCompatibleDC : public CDC {
 public:
  CTKPCompatibleDC(CDC* pDC, CBitmap* pBitmap);
  ~CTKPCompatibleDC() override;

 private:
  HGDIOBJ m_hOld = nullptr;
};

// Drawing goes to a bitmap reaching the rectangle's right and bottom edges; the destructor copies the
// rectangle to the destination at the same coordinates.
class CTKPBufferDC : public CDC {
 public:
  CTKPBufferDC(HDC hDestDC, const CRect& rect);
  ~CTKPBufferDC() override;

 private:
  HDC m_hDestDC;
  CRect m_rect;
  HBITMAP m_hBitmap = nullptr;
  HGDIOBJ m_hOld = nullptr;
};

// A memory DC of the rectangle's size (the DC's clip box when the rectangle is empty), filled with the
// gradient unless both its dark layers are unset; copied to the DC at the rectangle when it ends.
class CTKMemDC : public CDC {
 public:
  CTKMemDC(CDC* pDC, const CRect& rect, CTKPColorGradient clrBack = CTKPColorGradient(), BOOL bHorz = FALSE);
  ~CTKMemDC() override;
  BOOL IsValid() const { return m_bValid; }
  const CRect& GetRect() const { return m_rect; }

 private:
  CDC* m_pDC;
  CRect m_rect;
  HBITMAP m_hBitmap = nullptr;
  HGDIOBJ m_hOld = nullptr;
  BOOL m_bValid = FALSE;
};

class CTKPEmptyRect : public CRect {
 public:
  CTKPEmptyRect() : CRect(0, 0, 0, 0) {}
};

// The window's rectangle on the screen; empty when the window does not exist.
class CTKPWindowRect : public CRect {
 public:
  explicit CTKPWindowRect(HWND hWnd);
  explicit CTKPWindowRect(const CWnd* pWnd);
};

// The window's client rectangle; empty when the window does not exist.
class CTKPClientRect : public CRect {
 public:
  explicit CTKPClientRect(HWND hWnd);
  explicit CTKPClientRect(const CWnd* pWnd);
};

// The cursor's position in the window's client coordinates.
class CTKPClientCursorPos : public CPoint {
 public:
  explicit CTKPClientCursorPos(HWND hWnd);
  explicit CTKPClientCursorPos(const CWnd* pWnd);
};

class CTKPTransparentBitmap {
 public:
  explicit CTKPTransparentBitmap(HBITMAP hBitmap) : m_hBitmap(hBitmap) {}
  // The colour of pixel (0, 0); (COLORREF)-1 when the handle is not a bitmap.
  COLORREF GetTransparentColor() const;
  // An icon of the bitmap's size, transparent where the bitmap has its corner colour; null for a
  // missing or empty bitmap. The caller destroys it.
  HICON ConvertToIcon() const;

 private:
  HBITMAP m_hBitmap;
};
