// CTKPDrawHelpers: gradients (through msimg32's GradientFill, found by name, or drawn in bands without
// it), blends, triangles, mnemonics, fonts and the work areas of monitors.
#pragma once

#include <windows.h>

#include "platform/classlib/crect.h"
#include "platform/classlib/cstring.h"
#include "toolkit/common/color_gradient.h"
#include "toolkit/common/text_mnemonics.h"

class CDC;
class CWnd;

class CTKPDrawHelpers {
 public:
  CTKPDrawHelpers();
  ~CTKPDrawHelpers();
  CTKPDrawHelpers(const CTKPDrawHelpers&) = delete;
  CTKPDrawHelpers& operator=(const CTKPDrawHelpers&) = delete;

  // From crFrom at the left (or top) to crTo at the right (or bottom); solid on a screen of 256 colours
  // or fewer and when both colours are the same.
  void GradientFill(CDC* pDC, LPCRECT lpRect, COLORREF crFrom, COLORREF crTo, BOOL bHorz);
  // The part of the same gradient that lies in the clip (all of it without one).
  void GradientFillClipped(CDC* pDC, LPCRECT lpRect, COLORREF crFrom, COLORREF crTo, BOOL bHorz, LPCRECT lpClip);
  // The gradient's light to dark colours, split at its middle colour unless its factor is 0.5.
  void FillColorGradient(CDC* pDC, LPCRECT lpRect, const CTKPColorGradient& grc, BOOL bHorz,
                         LPCRECT lpClip = nullptr);

  static COLORREF BlendColors(COLORREF crA, COLORREF crB, double fAmountA);
  // Sets each of (nCount + 1) / 2 points to the average of itself and the point at its offset; pPoints
  // holds pairs: the point, then the offset.
  static void BlurPoints(CDC* pDC, const POINT* pPoints, int nCount);
  static void Triangle(CDC* pDC, CPoint pt0, CPoint pt1, CPoint pt2, COLORREF clr);
  static BOOL IsLowResolution(HDC hDC = nullptr);
  static BOOL FontExists(LPCTSTR lpszFaceName);
  static CString GetDefaultFontName(BOOL bPreferTahoma);
  // Left and right swap in a right-to-left window.
  static void KeyToLayout(HWND hWnd, UINT& nChar);
  static CRect GetWorkAreaFromRect(LPCRECT lpRect);
  static CRect GetWorkAreaFromWindow(HWND hWnd);
  static CRect GetWorkAreaFromPoint(POINT point);
  static BOOL IsTopParentActive(HWND hWnd);
  // A two-colour checker of the face and highlight colours.
  static void FillCheckerPattern(CDC* pDC, LPCRECT lpRect);

  // Tests draw as a system without the image library would.
  void SetLibraryMissingForTesting(bool missing) { m_missingForTesting = missing; }
  bool HasGradientFill() const { return m_pfnGradientFill && !m_missingForTesting; }

 private:
  typedef BOOL(WINAPI* GradientFillFn)(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG);
  void FillInBands(HDC hDC, const CRect& rect, COLORREF crFrom, COLORREF crTo, BOOL bHorz);

  HMODULE m_hMsImg32 = nullptr;
  GradientFillFn m_pfnGradientFill = nullptr;
  bool m_missingForTesting = false;
};

CTKPDrawHelpers* TKPDrawHelpers();
