#include "toolkit/common/visual_style_theme.h"

#include <shlwapi.h>

#include "platform/os/library_win32.h"

namespace {

// The theme library, loaded once and kept; each entry point is looked up on first use.
class UxThemeTable {
 public:
  static UxThemeTable& Get() {
    static UxThemeTable table;
    return table;
  }
  HMODULE Module() const { return m_missingForTesting ? nullptr : m_module; }
  template <class Fn>
  Fn Find(FARPROC* cache, const char* name) {
    HMODULE module = Module();
    if (!module) return nullptr;
    if (!*cache) *cache = ::GetProcAddress(module, name);
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(*cache));
  }
  bool m_missingForTesting = false;
  FARPROC openThemeData = nullptr, closeThemeData = nullptr, drawThemeBackground = nullptr,
          getThemeColor = nullptr, getCurrentThemeName = nullptr, isAppThemed = nullptr, isThemeActive = nullptr;

 private:
  UxThemeTable() : m_module(os::LoadProgramOrSystemLibrary(L"UxTheme.dll")) {}
  HMODULE m_module;
};

typedef HTHEME(WINAPI* OpenThemeDataFn)(HWND, LPCWSTR);
typedef HRESULT(WINAPI* CloseThemeDataFn)(HTHEME);
typedef HRESULT(WINAPI* DrawThemeBackgroundFn)(HTHEME, HDC, int, int, const RECT*, const RECT*);
typedef HRESULT(WINAPI* GetThemeColorFn)(HTHEME, int, int, int, COLORREF*);
typedef HRESULT(WINAPI* GetCurrentThemeNameFn)(LPWSTR, int, LPWSTR, int, LPWSTR, int);
typedef BOOL(WINAPI* BoolFn)();

BOOL CallBool(FARPROC* cache, const char* name) {
  BoolFn fn = UxThemeTable::Get().Find<BoolFn>(cache, name);
  return fn ? fn() : FALSE;
}

DWORD ReadComCtlVersion() {
  // The program imports the library: this is the copy already loaded (the one its manifest chose), and
  // no folder is searched.
  HMODULE module = ::LoadLibraryW(L"comctl32.dll");
  if (!module) return 0;
  DWORD version = 0;
  auto getVersion =
      reinterpret_cast<DLLGETVERSIONPROC>(reinterpret_cast<void*>(::GetProcAddress(module, "DllGetVersion")));
  if (getVersion) {
    DLLVERSIONINFO info{};
    info.cbSize = sizeof info;
    if (SUCCEEDED(getVersion(&info))) version = (info.dwMajorVersion << 16) | (info.dwMinorVersion & 0xFFFF);
  }
  ::FreeLibrary(module);
  return version;
}

}  // namespace

CTKPVisualStyleTheme::~CTKPVisualStyleTheme() { CloseThemeData(); }

void CTKPVisualStyleTheme::OpenThemeData(HWND hWnd, LPCWSTR pszClassList) {
  CloseThemeData();
  UxThemeTable& t = UxThemeTable::Get();
  auto open = t.Find<OpenThemeDataFn>(&t.openThemeData, "OpenThemeData");
  if (open) m_hTheme = open(hWnd, pszClassList);
}

void CTKPVisualStyleTheme::CloseThemeData() {
  UxThemeTable& t = UxThemeTable::Get();
  auto close = t.Find<CloseThemeDataFn>(&t.closeThemeData, "CloseThemeData");
  if (m_hTheme && close) close(m_hTheme);
  m_hTheme = nullptr;
}

HRESULT CTKPVisualStyleTheme::DrawThemeBackground(HDC hDC, int iPartId, int iStateId, const RECT* pRect,
                                                  const RECT* pClipRect) {
  UxThemeTable& t = UxThemeTable::Get();
  auto draw = t.Find<DrawThemeBackgroundFn>(&t.drawThemeBackground, "DrawThemeBackground");
  if (!draw || !m_hTheme) return E_FAIL;
  return draw(m_hTheme, hDC, iPartId, iStateId, pRect, pClipRect);
}

HRESULT CTKPVisualStyleTheme::GetThemeColor(int iPartId, int iStateId, int iPropId, COLORREF* pColor) {
  UxThemeTable& t = UxThemeTable::Get();
  auto get = t.Find<GetThemeColorFn>(&t.getThemeColor, "GetThemeColor");
  if (!get || !m_hTheme) return E_FAIL;
  return get(m_hTheme, iPartId, iStateId, iPropId, pColor);
}

HRESULT CTKPVisualStyleTheme::GetCurrentThemeName(LPWSTR pszThemeFileName, int cchMaxNameChars,
                                                  LPWSTR pszColorBuff, int cchMaxColorChars, LPWSTR pszSizeBuff,
                                                  int cchMaxSizeChars) {
  UxThemeTable& t = UxThemeTable::Get();
  auto get = t.Find<GetCurrentThemeNameFn>(&t.getCurrentThemeName, "GetCurrentThemeName");
  if (!get) return E_FAIL;
  return get(pszThemeFileName, cchMaxNameChars, pszColorBuff, cchMaxColorChars, pszSizeBuff, cchMaxSizeChars);
}

BOOL CTKPVisualStyleTheme::IsAppThemed() { return CallBool(&UxThemeTable::Get().isAppThemed, "IsAppThemed"); }

BOOL CTKPVisualStyleTheme::IsThemeActive() { return CallBool(&UxThemeTable::Get().isThemeActive, "IsThemeActive"); }

BOOL CTKPVisualStyleTheme::IsAppThemeReady() {
  return UxThemeTable::Get().Module() && IsThemeActive() && HIWORD(TKPComCtlVersion()) >= 6;
}

DWORD TKPComCtlVersion() {
  static const DWORD version = ReadComCtlVersion();
  return version;
}

void TKPSetThemeLibraryMissingForTesting(bool missing) { UxThemeTable::Get().m_missingForTesting = missing; }

CTKPOSVersion::CTKPOSVersion() {
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"  // the release numbers are what is asked
  if (::GetVersionExW(&info)) m_numbers = {info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion};
#pragma GCC diagnostic pop
}

const CTKPOSVersion& TKPOSVersion() {
  static const CTKPOSVersion version;
  return version;
}
