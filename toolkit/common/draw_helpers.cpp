#include "toolkit/common/draw_helpers.h"

#include <algorithm>

#include "platform/classlib/win/cdc.h"
#include "platform/os/library_win32.h"
#include "toolkit/common/color_manager.h"
#include "toolkit/common/font_choice.h"
#include "toolkit/common/gradient_math.h"
#include "toolkit/common/visual_style_theme.h"

namespace {

COLOR16 Channel16(int channel) { return static_cast<COLOR16>(channel << 8); }

void SolidFill(HDC hDC, const RECT& rect, COLORREF colour) {
  const COLORREF old = ::SetBkColor(hDC, colour);
  ::ExtTextOutW(hDC, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
  ::SetBkColor(hDC, old);
}

// The multiple-monitor functions of USER32, found by name (absent before Windows 98 and 2000).
struct MonitorFunctions {
  typedef HMONITOR(WINAPI* FromRectFn)(LPCRECT, DWORD);
  typedef HMONITOR(WINAPI* FromWindowFn)(HWND, DWORD);
  typedef HMONITOR(WINAPI* FromPointFn)(POINT, DWORD);
  typedef BOOL(WINAPI* InfoFn)(HMONITOR, LPMONITORINFO);
  FromRectFn fromRect = nullptr;
  FromWindowFn fromWindow = nullptr;
  FromPointFn fromPoint = nullptr;
  InfoFn info = nullptr;

  MonitorFunctions() {
    HMODULE user = ::GetModuleHandleW(L"user32.dll");
    if (!user) return;
    fromRect = reinterpret_cast<FromRectFn>(reinterpret_cast<void*>(::GetProcAddress(user, "MonitorFromRect")));
    fromWindow =
        reinterpret_cast<FromWindowFn>(reinterpret_cast<void*>(::GetProcAddress(user, "MonitorFromWindow")));
    fromPoint = reinterpret_cast<FromPointFn>(reinterpret_cast<void*>(::GetProcAddress(user, "MonitorFromPoint")));
    info = reinterpret_cast<InfoFn>(reinterpret_cast<void*>(::GetProcAddress(user, "GetMonitorInfoW")));
  }
  static const MonitorFunctions& Get() {
    static const MonitorFunctions functions;
    return functions;
  }
};

CRect WorkArea(HMONITOR monitor) {
  const MonitorFunctions& f = MonitorFunctions::Get();
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (monitor && f.info && f.info(monitor, &info)) return CRect(info.rcWork);
  RECT work{};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  return CRect(work);
}

int CALLBACK StopAtFace(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

}  // namespace

CTKPDrawHelpers::CTKPDrawHelpers() : m_hMsImg32(os::LoadProgramOrSystemLibrary(L"msimg32.dll")) {
  if (m_hMsImg32)
    m_pfnGradientFill =
        reinterpret_cast<GradientFillFn>(reinterpret_cast<void*>(::GetProcAddress(m_hMsImg32, "GradientFill")));
}

CTKPDrawHelpers::~CTKPDrawHelpers() {
  if (m_hMsImg32) ::FreeLibrary(m_hMsImg32);
}

void CTKPDrawHelpers::GradientFill(CDC* pDC, LPCRECT lpRect, COLORREF crFrom, COLORREF crTo, BOOL bHorz) {
  if (!pDC || !lpRect) return;
  const CRect rect(lpRect);
  if (rect.IsRectEmpty()) return;
  HDC hDC = pDC->GetSafeHdc();
  if (IsLowResolution(hDC) || crFrom == crTo) {
    SolidFill(hDC, *static_cast<const RECT*>(rect), crFrom);
    return;
  }
  if (!HasGradientFill()) {
    FillInBands(hDC, rect, crFrom, crTo, bHorz);
    return;
  }
  TRIVERTEX vertices[2] = {};
  vertices[0] = {rect.left, rect.top, Channel16(GetRValue(crFrom)), Channel16(GetGValue(crFrom)),
                 Channel16(GetBValue(crFrom)), 0};
  vertices[1] = {rect.right, rect.bottom, Channel16(GetRValue(crTo)), Channel16(GetGValue(crTo)),
                 Channel16(GetBValue(crTo)), 0};
  GRADIENT_RECT mesh{0, 1};
  m_pfnGradientFill(hDC, vertices, 2, &mesh, 1, bHorz ? GRADIENT_FILL_RECT_H : GRADIENT_FILL_RECT_V);
}

void CTKPDrawHelpers::FillInBands(HDC hDC, const CRect& rect, COLORREF crFrom, COLORREF crTo, BOOL bHorz) {
  RECT clip{};
  ::GetClipBox(hDC, &clip);
  CRect area;
  if (::IsRectEmpty(&clip) || !area.IntersectRect(CRect(clip), rect)) area = rect;
  const int start = bHorz ? rect.left : rect.top;
  const int length = bHorz ? rect.Width() : rect.Height();
  const int first = bHorz ? area.left : area.top;
  const int last = bHorz ? area.right : area.bottom;
  for (int pos = first; pos < last; ++pos) {
    const COLORREF colour = GradientBandColor(crFrom, crTo, pos, start, length);
    const RECT band = bHorz ? RECT{pos, area.top, pos + 1, area.bottom} : RECT{area.left, pos, area.right, pos + 1};
    SolidFill(hDC, band, colour);
  }
}

void CTKPDrawHelpers::GradientFillClipped(CDC* pDC, LPCRECT lpRect, COLORREF crFrom, COLORREF crTo, BOOL bHorz,
                                          LPCRECT lpClip) {
  if (!lpClip) {
    GradientFill(pDC, lpRect, crFrom, crTo, bHorz);
    return;
  }
  if (!lpRect) return;
  TKGradientPart part;
  if (ClipGradient(CRect(lpRect), crFrom, crTo, bHorz != FALSE, CRect(lpClip), &part))
    GradientFill(pDC, part.rect, part.from, part.to, bHorz);
}

void CTKPDrawHelpers::FillColorGradient(CDC* pDC, LPCRECT lpRect, const CTKPColorGradient& grc, BOOL bHorz,
                                        LPCRECT lpClip) {
  if (!lpRect) return;
  for (const TKGradientPart& part : SplitGradient(CRect(lpRect), grc.clrLight, grc.clrDark, grc.fGradientFactor,
                                                  bHorz != FALSE))
    GradientFillClipped(pDC, part.rect, part.from, part.to, bHorz, lpClip);
}

COLORREF CTKPDrawHelpers::BlendColors(COLORREF crA, COLORREF crB, double fAmountA) {
  return tkcolor::BlendFraction(crA, crB, fAmountA);
}

void CTKPDrawHelpers::BlurPoints(CDC* pDC, const POINT* pPoints, int nCount) {
  if (!pDC || !pPoints) return;
  HDC hDC = pDC->GetSafeHdc();
  // Only whole pairs: an odd count's last point has no offset beside it to read.
  for (int i = 0; i + 1 < nCount; i += 2) {
    const POINT& at = pPoints[i];
    const POINT& offset = pPoints[i + 1];
    const COLORREF a = ::GetPixel(hDC, at.x, at.y);
    const COLORREF b = ::GetPixel(hDC, at.x + offset.x, at.y + offset.y);
    ::SetPixel(hDC, at.x, at.y,
               RGB((GetRValue(a) + GetRValue(b)) / 2, (GetGValue(a) + GetGValue(b)) / 2,
                   (GetBValue(a) + GetBValue(b)) / 2));
  }
}

void CTKPDrawHelpers::Triangle(CDC* pDC, CPoint pt0, CPoint pt1, CPoint pt2, COLORREF clr) {
  if (!pDC) return;
  HDC hDC = pDC->GetSafeHdc();
  HPEN pen = ::CreatePen(PS_SOLID, 1, clr);
  HBRUSH brush = ::CreateSolidBrush(clr);
  HGDIOBJ oldPen = ::SelectObject(hDC, pen);
  HGDIOBJ oldBrush = ::SelectObject(hDC, brush);
  const POINT points[3] = {{pt0.x, pt0.y}, {pt1.x, pt1.y}, {pt2.x, pt2.y}};
  ::Polygon(hDC, points, 3);
  ::SelectObject(hDC, oldPen);
  ::SelectObject(hDC, oldBrush);
  ::DeleteObject(pen);
  ::DeleteObject(brush);
}

BOOL CTKPDrawHelpers::IsLowResolution(HDC hDC) {
  HWND desktop = nullptr;
  if (!hDC) {
    desktop = ::GetDesktopWindow();
    hDC = ::GetDC(desktop);
  }
  const int bits = hDC ? ::GetDeviceCaps(hDC, BITSPIXEL) : 32;
  if (desktop && hDC) ::ReleaseDC(desktop, hDC);
  return bits >= 1 && bits <= 8;
}

BOOL CTKPDrawHelpers::FontExists(LPCTSTR lpszFaceName) {
  if (!lpszFaceName) return FALSE;
  LOGFONTW wanted{};
  wanted.lfCharSet = DEFAULT_CHARSET;
  ::lstrcpynW(wanted.lfFaceName, lpszFaceName, LF_FACESIZE);
  // Naming the face makes the system list that face alone (compared without case).
  bool found = false;
  HDC screen = ::GetDC(nullptr);
  ::EnumFontFamiliesExW(screen, &wanted, StopAtFace, reinterpret_cast<LPARAM>(&found), 0);
  ::ReleaseDC(nullptr, screen);
  return found;
}

CString CTKPDrawHelpers::GetDefaultFontName(BOOL bPreferTahoma) {
  TKFontFacts facts;
  LOGFONTW gui{};
  ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof gui, &gui);
  facts.guiCharset = gui.lfCharSet;
  facts.guiFace = gui.lfFaceName;
  facts.nt5OrLater = tkos::IsNT5OrLater(TKPOSVersion().Numbers());
  facts.arialInstalled = FontExists(_T("Arial")) != FALSE;
  facts.tahomaInstalled = bPreferTahoma && FontExists(_T("Tahoma"));
  return ChooseDefaultFontName(facts, bPreferTahoma != FALSE);
}

void CTKPDrawHelpers::KeyToLayout(HWND hWnd, UINT& nChar) {
  if (!hWnd || !::IsWindow(hWnd) || !(::GetWindowLongW(hWnd, GWL_EXSTYLE) & WS_EX_LAYOUTRTL)) return;
  if (nChar == VK_LEFT) {
    nChar = VK_RIGHT;
  } else if (nChar == VK_RIGHT) {
    nChar = VK_LEFT;
  }
}

CRect CTKPDrawHelpers::GetWorkAreaFromRect(LPCRECT lpRect) {
  const MonitorFunctions& f = MonitorFunctions::Get();
  return WorkArea(f.fromRect && lpRect ? f.fromRect(lpRect, MONITOR_DEFAULTTONEAREST) : nullptr);
}

CRect CTKPDrawHelpers::GetWorkAreaFromWindow(HWND hWnd) {
  const MonitorFunctions& f = MonitorFunctions::Get();
  return WorkArea(f.fromWindow ? f.fromWindow(hWnd, MONITOR_DEFAULTTONEAREST) : nullptr);
}

CRect CTKPDrawHelpers::GetWorkAreaFromPoint(POINT point) {
  const MonitorFunctions& f = MonitorFunctions::Get();
  return WorkArea(f.fromPoint ? f.fromPoint(point, MONITOR_DEFAULTTONEAREST) : nullptr);
}

BOOL CTKPDrawHelpers::IsTopParentActive(HWND hWnd) {
  if (!hWnd || !::IsWindow(hWnd)) return FALSE;
  HWND top = hWnd;
  for (HWND next = top; next; next = (::GetWindowLongW(top, GWL_STYLE) & WS_CHILD) ? ::GetParent(top)
                                                                                     : ::GetWindow(top, GW_OWNER))
    top = next;
  return ::GetForegroundWindow() == ::GetLastActivePopup(top);
}

void CTKPDrawHelpers::FillCheckerPattern(CDC* pDC, LPCRECT lpRect) {
  if (!pDC || !lpRect) return;
  HDC hDC = pDC->GetSafeHdc();
  const WORD rows[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
  HBITMAP pattern = ::CreateBitmap(8, 8, 1, 1, rows);
  HBRUSH brush = ::CreatePatternBrush(pattern);
  const COLORREF oldText = ::SetTextColor(hDC, TKPColorManager()->GetColor(COLOR_3DFACE));
  const COLORREF oldBack = ::SetBkColor(hDC, TKPColorManager()->GetColor(COLOR_3DHILIGHT));
  HGDIOBJ oldBrush = ::SelectObject(hDC, brush);
  ::PatBlt(hDC, lpRect->left, lpRect->top, lpRect->right - lpRect->left, lpRect->bottom - lpRect->top, PATCOPY);
  ::SelectObject(hDC, oldBrush);
  ::SetTextColor(hDC, oldText);
  ::SetBkColor(hDC, oldBack);
  ::DeleteObject(brush);
  ::DeleteObject(pattern);
}

CTKPDrawHelpers* TKPDrawHelpers() {
  static CTKPDrawHelpers helpers;
  return &helpers;
}
