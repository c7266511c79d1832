// Which Windows release runs: exact matches of the platform id and the version numbers.
#pragma once

struct TKOSVersionNumbers {
  unsigned platformId = 0;  // 1 Windows 9x, 2 NT
  unsigned major = 0;
  unsigned minor = 0;
};

namespace tkos {
bool IsWin95(const TKOSVersionNumbers& v);
bool IsWin98(const TKOSVersionNumbers& v);
bool IsWinNT4(const TKOSVersionNumbers& v);
bool IsWin2K(const TKOSVersionNumbers& v);
bool IsWinXP(const TKOSVersionNumbers& v);
bool IsVersion(const TKOSVersionNumbers& v, unsigned major, unsigned minor);
// NT 5 (Windows 2000) or later.
bool IsNT5OrLater(const TKOSVersionNumbers& v);
}  // namespace tkos
