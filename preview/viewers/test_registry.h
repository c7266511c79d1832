// Registry values of the tests' stand-in components, written under HKEY_LOCAL_MACHINE (Wine's prefix).
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace previewtest {

// Sets the string value name (null: the default value) of key, creating the key.
inline void SetMachineKey(const std::wstring& key, const wchar_t* name, const std::wstring& value) {
  HKEY handle = nullptr;
  ASSERT_EQ(::RegCreateKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle, nullptr),
            ERROR_SUCCESS);
  ::RegSetValueExW(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  ::RegCloseKey(handle);
}

}  // namespace previewtest
