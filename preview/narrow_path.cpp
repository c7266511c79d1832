#include "preview/narrow_path.h"

#include <windows.h>

#include <string>

static_assert(sizeof(wchar_t) == 2, "Win32 text is UTF-16");

namespace {

bool Narrow(const wchar_t* path, char* buffer, size_t size) {
  BOOL lossy = FALSE;
  const int written = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, path, -1, buffer, static_cast<int>(size),
                                            nullptr, &lossy);
  if (written == 0 || lossy) {
    buffer[0] = '\0';
    return false;
  }
  buffer[size - 1] = '\0';
  return true;
}

// The short (8.3) form of path, or of its folder followed by its name when the file is not there yet (a
// converter's output); "" when the volume keeps no short names.
std::wstring ShortForm(const std::wstring& path) {
  std::wstring out(MAX_PATH, L'\0');
  DWORD length = ::GetShortPathNameW(path.c_str(), &out[0], static_cast<DWORD>(out.size()));
  if (length > 0 && length < out.size()) return out.substr(0, length);
  const size_t slash = path.find_last_of(L"\\/");
  if (slash == std::wstring::npos || slash == 0) return {};
  length = ::GetShortPathNameW(path.substr(0, slash).c_str(), &out[0], static_cast<DWORD>(out.size()));
  if (length == 0 || length >= out.size()) return {};
  return out.substr(0, length) + path.substr(slash);
}

}  // namespace

bool NarrowPath(const CString& path, char* buffer, size_t size) {
  if (size == 0) return false;
  buffer[0] = '\0';
  if (Narrow(path.GetString(), buffer, size)) return true;
  // A folder the code page cannot spell (a user name in another script, say) usually has a short name
  // that it can.
  const std::wstring shortPath = ShortForm(path.GetString());
  return !shortPath.empty() && Narrow(shortPath.c_str(), buffer, size);
}
