#include "platform/harness/shell_open.h"

#include <shellapi.h>

namespace harness {

namespace {

const std::wstring kClasses = L"Software\\Classes\\";

}  // namespace

ShellTypeMirror::ShellTypeMirror(std::vector<std::wstring> keys) : keys_(std::move(keys)) {}

ShellTypeMirror::~ShellTypeMirror() {
  for (const std::wstring& key : keys_) ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, (kClasses + key).c_str());
}

bool ShellTypeMirror::Mirror() const {
  for (const std::wstring& key : keys_) {
    HKEY from = nullptr, to = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, (kClasses + key).c_str(), 0, KEY_READ, &from) != ERROR_SUCCESS) return false;
    ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, (kClasses + key).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &to, nullptr);
    if (!key.empty() && key[0] == L'.') {
      // An extension's key names its type: that name alone.
      wchar_t type[64] = {};
      DWORD size = sizeof type;
      ::RegGetValueW(from, nullptr, nullptr, RRF_RT_REG_SZ, nullptr, type, &size);
      ::RegSetValueExW(to, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(type), size);
    } else {
      ::RegCopyTreeW(from, nullptr, to);
    }
    ::RegCloseKey(from);
    ::RegCloseKey(to);
  }
  return true;
}

HANDLE OpenAsShellDoes(const std::wstring& file) {
  SHELLEXECUTEINFOW open{};
  open.cbSize = sizeof open;
  open.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOCLOSEPROCESS;
  open.lpVerb = L"open";
  open.lpFile = file.c_str();
  open.nShow = SW_SHOWNORMAL;
  if (!::ShellExecuteExW(&open)) return INVALID_HANDLE_VALUE;
  return open.hProcess;
}

}  // namespace harness
