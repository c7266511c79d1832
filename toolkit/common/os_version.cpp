#include "toolkit/common/os_version.h"

namespace tkos {
namespace {
constexpr unsigned kWindows9x = 1, kWindowsNT = 2;
}

bool IsWin95(const TKOSVersionNumbers& v) { return v.platformId == kWindows9x && v.major == 4 && v.minor < 10; }
bool IsWin98(const TKOSVersionNumbers& v) { return v.platformId == kWindows9x && v.major == 4 && v.minor == 10; }
bool IsWinNT4(const TKOSVersionNumbers& v) { return v.platformId == kWindowsNT && v.major == 4 && v.minor == 0; }
bool IsWin2K(const TKOSVersionNumbers& v) { return v.platformId == kWindowsNT && v.major == 5 && v.minor == 0; }
bool IsWinXP(const TKOSVersionNumbers& v) { return v.platformId == kWindowsNT && v.major == 5 && v.minor == 1; }
bool IsVersion(const TKOSVersionNumbers& v, unsigned major, unsigned minor) {
  return v.major == major && v.minor == minor;
}
bool IsNT5OrLater(const TKOSVersionNumbers& v) { return v.platformId == kWindowsNT && v.major >= 5; }

}  // namespace tkos
