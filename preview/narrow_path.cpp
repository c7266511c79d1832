#include "preview/narrow_path.h"

#include <windows.h>

#include <string>

static_assert(sizeof(wchar_t) == 2, "Win32 text is UTF-16");

namespace {

// True when the narrow text reads back as the path exactly.
bool RoundTrips(const char* narrow, UINT codePage, const wchar_t* path) {
  const int length = ::MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, narrow, -1, nullptr, 0);
  if (length <= 0) return false;
  std::wstring back(static_cast<size_t>(length), L'\0');
  return ::MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, narrow, -1, &back[0], length) == length &&
         back.c_str() == std::wstring(path);
}

// Code pages that take neither the best-fit flag nor the report of approximated characters.
bool TakesNoFlags(UINT codePage) {
  return codePage == CP_UTF8 || codePage == CP_UTF7 || codePage == 42 || (codePage >= 50220 && codePage <= 50229) ||
         (codePage >= 57002 && codePage <= 57011);
}

bool Narrow(const wchar_t* path, UINT codePage, char* buffer, size_t size, WideToNarrowFn convert) {
  int written = 0;
  bool exact = false;
  if (TakesNoFlags(codePage)) {
    // Converted plainly; only an exact way back counts.
    written = convert(codePage, codePage == CP_UTF8 ? WC_ERR_INVALID_CHARS : 0, path, -1, buffer, static_cast<int>(size),
                      nullptr, nullptr);
    exact = written != 0 && RoundTrips(buffer, codePage, path);
  } else {
    BOOL lossy = FALSE;
    written = convert(codePage, WC_NO_BEST_FIT_CHARS, path, -1, buffer, static_cast<int>(size), nullptr, &lossy);
    exact = written != 0 && !lossy;
  }
  if (!exact) {
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

bool NarrowPathInCodePage(const CString& path, unsigned codePage, char* buffer, size_t size, WideToNarrowFn convert) {
  if (size == 0) return false;
  buffer[0] = '\0';
  if (convert == nullptr) convert = ::WideCharToMultiByte;
  if (Narrow(path.GetString(), codePage, buffer, size, convert)) return true;
  // A folder the code page cannot spell (a user name in another script, say) usually has a short name
  // that it can.
  const std::wstring shortPath = ShortForm(path.GetString());
  return !shortPath.empty() && Narrow(shortPath.c_str(), codePage, buffer, size, convert);
}

bool NarrowPath(const CString& path, char* buffer, size_t size) {
  return NarrowPathInCodePage(path, ::GetACP(), buffer, size);
}
