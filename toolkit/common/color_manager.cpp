#include "toolkit/common/color_manager.h"

#include <vssym32.h>

#include <string>

#include "platform/classlib/win/cwinapp.h"
#include "toolkit/common/visual_style_scheme.h"
#include "toolkit/common/visual_style_theme.h"

CTKPColorManager::CTKPColorManager() {
  RefreshColors();
  m_table.SetFixedGradients();
}

void CTKPColorManager::RefreshColors() { m_table.Refresh(CTKPSystemColors()); }

tkcolor::Color CTKPSystemColors::SysColor(int index) const { return ::GetSysColor(index); }

int CTKPSystemColors::ScreenBitsPerPixel() const {
  HWND desktop = ::GetDesktopWindow();
  HDC dc = ::GetDC(desktop);
  const int bits = dc ? ::GetDeviceCaps(dc, BITSPIXEL) : 32;
  if (dc) ::ReleaseDC(desktop, dc);
  return bits;
}

int CTKPSystemColors::DetectScheme() const { return TKPDetectSystemTheme(); }

bool CTKPSystemColors::TreeViewBorderColor(tkcolor::Color* color) const {
  if (!CTKPVisualStyleTheme::IsAppThemed()) return false;
  CTKPVisualStyleTheme theme;
  theme.OpenThemeData(nullptr, L"TREEVIEW");
  COLORREF border = 0;
  if (FAILED(theme.GetThemeColor(0, 0, TMT_BORDERCOLOR, &border))) return false;
  *color = border;
  return true;
}

int TKPDetectSystemTheme() {
  if (!CTKPVisualStyleTheme::IsAppThemeReady()) return kTKPSchemeNone;
  wchar_t file[MAX_PATH] = {}, colour[MAX_PATH] = {};
  if (FAILED(CTKPVisualStyleTheme::GetCurrentThemeName(file, MAX_PATH, colour, MAX_PATH, nullptr, 0)))
    return kTKPSchemeNone;
  static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 names");
  return TKPSchemeFromVisualStyle(reinterpret_cast<const char16_t*>(file), reinterpret_cast<const char16_t*>(colour));
}

CTKPColorManager* TKPColorManager() {
  static CTKPColorManager manager;
  return &manager;
}

int TKPCurrentSystemTheme() { return TKPColorManager()->GetCurrentSystemTheme(); }

namespace {
DWORD (*g_refreshClock)() = nullptr;
}  // namespace

void TKPSetColorRefreshClockForTesting(DWORD (*clock)()) { g_refreshClock = clock; }

void RefreshToolkitColors() {
  static DWORD stamp = 0;
  static bool stamped = false;
  const DWORD now = g_refreshClock != nullptr ? g_refreshClock() : ::GetTickCount();
  if (stamped && now - stamp <= 500) return;
  TKPColorManager()->RefreshColors();
  CWinThread* thread = AfxGetThread();
  if (thread && thread->m_pMainWnd) {
    stamp = now;
    stamped = true;
  }
}
