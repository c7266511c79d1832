// Windows visual styles through "UxTheme.dll", found by name at run time: every call fails cleanly
// (E_FAIL, FALSE, no handle) when the library, the function or a theme is missing. And the version of
// Windows and of the common controls.
#pragma once

#include <windows.h>
#include <uxtheme.h>

#include "toolkit/common/os_version.h"

class CTKPVisualStyleTheme {
 public:
  CTKPVisualStyleTheme() = default;
  virtual ~CTKPVisualStyleTheme();
  CTKPVisualStyleTheme(const CTKPVisualStyleTheme&) = delete;
  CTKPVisualStyleTheme& operator=(const CTKPVisualStyleTheme&) = delete;

  // Closes the held theme, then opens the one of the class list.
  void OpenThemeData(HWND hWnd, LPCWSTR pszClassList);
  void CloseThemeData();
  HTHEME GetHandle() const { return m_hTheme; }

  HRESULT DrawThemeBackground(HDC hDC, int iPartId, int iStateId, const RECT* pRect, const RECT* pClipRect);
  HRESULT GetThemeColor(int iPartId, int iStateId, int iPropId, COLORREF* pColor);
  static HRESULT GetCurrentThemeName(LPWSTR pszThemeFileName, int cchMaxNameChars, LPWSTR pszColorBuff,
                                     int cchMaxColorChars, LPWSTR pszSizeBuff, int cchMaxSizeChars);
  static BOOL IsAppThemed();
  static BOOL IsThemeActive();
  // The library is there, a theme is active and the common controls are version 6 or later.
  static BOOL IsAppThemeReady();

 private:
  HTHEME m_hTheme = nullptr;
};

// (major << 16) | minor of "comctl32.dll", 0 when unknown; asked once.
DWORD TKPComCtlVersion();

// Tests play a system without the theme library.
void TKPSetThemeLibraryMissingForTesting(bool missing);

class CTKPOSVersion {
 public:
  CTKPOSVersion();
  BOOL IsWin95() const { return tkos::IsWin95(m_numbers); }
  BOOL IsWin98() const { return tkos::IsWin98(m_numbers); }
  BOOL IsWinNT4() const { return tkos::IsWinNT4(m_numbers); }
  BOOL IsWin2K() const { return tkos::IsWin2K(m_numbers); }
  BOOL IsWinXP() const { return tkos::IsWinXP(m_numbers); }
  BOOL IsVersion(DWORD major, DWORD minor) const { return tkos::IsVersion(m_numbers, major, minor); }
  const TKOSVersionNumbers& Numbers() const { return m_numbers; }

 private:
  TKOSVersionNumbers m_numbers;
};

const CTKPOSVersion& TKPOSVersion();
