// Small helpers of the Win32 calls: UTF-16 text as they take it (their wchar_t is UTF-16) and entry
// points of libraries loaded at run time. Windows build only.
#pragma once

#include <windows.h>

#include <string>

static_assert(sizeof(wchar_t) == 2, "UTF-16 wchar_t");

namespace os {

// The same characters as the Win32 calls take them; null stays null.
inline const wchar_t* Wide(const char16_t* text) { return reinterpret_cast<const wchar_t*>(text); }
inline const wchar_t* Wide(const std::u16string& text) { return Wide(text.c_str()); }

// The library's entry point of that name as a function of type Fn; null where the library lacks it.
template <typename Fn>
Fn LibraryEntry(HMODULE library, const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(library, name)));
}

}  // namespace os
