#include "preview/narrow_path.h"

#include <windows.h>

static_assert(sizeof(wchar_t) == 2, "Win32 text is UTF-16");

bool NarrowPath(const CString& path, char* buffer, size_t size) {
  if (size == 0) return false;
  buffer[0] = '\0';
  BOOL lossy = FALSE;
  const int written = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, path.GetString(), -1, buffer,
                                            static_cast<int>(size), nullptr, &lossy);
  if (written == 0 || lossy) {
    buffer[0] = '\0';
    return false;
  }
  buffer[size - 1] = '\0';
  return true;
}
