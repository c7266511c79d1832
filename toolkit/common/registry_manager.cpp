#include "toolkit/common/registry_manager.h"

#include <algorithm>
#include <vector>

#include "platform/classlib/win/cwinapp.h"
#include "toolkit/common/profile_hex.h"

namespace {

CString& IniPath() {
  static CString path;
  return path;
}

bool IniMode() { return !IniPath().IsEmpty(); }

// A number stored as its bytes: read back only when the stored size is the number's.
template <class T>
BOOL ReadNumber(CTKRegistryManager& registry, LPCTSTR section, LPCTSTR entry,
                bool (*decode)(const std::uint8_t*, std::size_t, T*), T* value) {
  BYTE* data = nullptr;
  UINT size = 0;
  const BOOL ok = registry.GetProfileBinary(section, entry, &data, &size) && decode(data, size, value);
  delete[] data;
  return ok;
}

BOOL WriteResult(LONG status) {
  if (status == ERROR_ACCESS_DENIED) return -1;
  return status == ERROR_SUCCESS;
}


}  // namespace

CTKRegistryManager::CTKRegistryManager(HKEY hKeyRoot) : m_hKeyRoot(hKeyRoot) {}

void CTKRegistryManager::SetINIFileName(LPCTSTR lpszPath) { IniPath() = lpszPath ? lpszPath : _T(""); }

const CString& CTKRegistryManager::GetINIFileName() { return IniPath(); }

BOOL CTKRegistryManager::GetProfileInfo() {
  if (m_pszRegistryKey && m_pszProfileName) return TRUE;
  CWinApp* app = AfxGetApp();
  if (!app || !app->m_pszRegistryKey || !app->m_pszProfileName) return FALSE;
  m_pszRegistryKey = app->m_pszRegistryKey;
  m_pszProfileName = app->m_pszProfileName;
  return TRUE;
}

HKEY CTKRegistryManager::GetAppRegistryKey(REGSAM samDesired) {
  if (!GetProfileInfo()) return nullptr;
  HKEY software = nullptr, company = nullptr, app = nullptr;
  if (::RegOpenKeyExW(m_hKeyRoot, L"Software", 0, samDesired, &software) == ERROR_SUCCESS) {
    DWORD disposition = 0;
    if (::RegCreateKeyExW(software, m_pszRegistryKey, 0, nullptr, REG_OPTION_NON_VOLATILE, samDesired, nullptr,
                          &company, &disposition) == ERROR_SUCCESS) {
      ::RegCreateKeyExW(company, m_pszProfileName, 0, nullptr, REG_OPTION_NON_VOLATILE, samDesired, nullptr, &app,
                        &disposition);
    }
  }
  if (software) ::RegCloseKey(software);
  if (company) ::RegCloseKey(company);
  return app;
}

HKEY CTKRegistryManager::GetSectionKey(LPCTSTR lpszSection, REGSAM samDesired) {
  HKEY app = GetAppRegistryKey(samDesired);
  if (!app) return nullptr;
  HKEY section = nullptr;
  DWORD disposition = 0;
  ::RegCreateKeyExW(app, lpszSection, 0, nullptr, REG_OPTION_NON_VOLATILE, samDesired, nullptr, &section,
                    &disposition);
  ::RegCloseKey(app);
  return section;
}

BOOL CTKRegistryManager::WriteProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszValue) {
  if (IniMode()) return ::WritePrivateProfileStringW(lpszSection, lpszEntry, lpszValue, IniPath()) != FALSE;
  if (!lpszSection) return FALSE;
  if (!lpszEntry) {
    HKEY app = GetAppRegistryKey();
    if (!app) return FALSE;
    const LONG status = ::RegDeleteKeyW(app, lpszSection);
    ::RegCloseKey(app);
    return WriteResult(status);
  }
  HKEY section = GetSectionKey(lpszSection, KEY_READ | KEY_WRITE);
  if (!section) return FALSE;
  LONG status;
  if (!lpszValue) {
    status = ::RegDeleteValueW(section, lpszEntry);
  } else {
    const DWORD bytes = static_cast<DWORD>((::lstrlenW(lpszValue) + 1) * sizeof(wchar_t));
    status = ::RegSetValueExW(section, lpszEntry, 0, REG_SZ, reinterpret_cast<const BYTE*>(lpszValue), bytes);
  }
  ::RegCloseKey(section);
  return WriteResult(status);
}

BOOL CTKRegistryManager::WriteProfileBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, const BYTE* pData,
                                            UINT nBytes) {
  return WriteBytes(lpszSection, lpszEntry, pData, nBytes);
}

BOOL CTKRegistryManager::WriteBytes(LPCTSTR lpszSection, LPCTSTR lpszEntry, const BYTE* pData, UINT nBytes) {
  if (!lpszSection || !lpszEntry || (!pData && nBytes)) return FALSE;
  if (IniMode()) {
    CString text = CString::FromUtf16(tkprofile::EncodeBinary(pData, nBytes));
    return WriteProfileString(lpszSection, lpszEntry, text);
  }
  HKEY section = GetSectionKey(lpszSection, KEY_READ | KEY_WRITE);
  if (!section) return FALSE;
  const LONG status = ::RegSetValueExW(section, lpszEntry, 0, REG_BINARY, pData, nBytes);
  ::RegCloseKey(section);
  return WriteResult(status);
}

CString CTKRegistryManager::GetProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszDefault) {
  const CString fallback = lpszDefault ? lpszDefault : _T("");
  if (IniMode()) {
    std::vector<wchar_t> buffer(4096);
    ::GetPrivateProfileStringW(lpszSection, lpszEntry, fallback, buffer.data(), static_cast<DWORD>(buffer.size()),
                               IniPath());
    return CString(buffer.data());
  }
  if (!lpszSection || !lpszEntry) return fallback;
  HKEY section = GetSectionKey(lpszSection, KEY_READ);
  if (!section) return fallback;
  CString result = fallback;
  DWORD type = 0, bytes = 0;
  if (::RegQueryValueExW(section, lpszEntry, nullptr, &type, nullptr, &bytes) == ERROR_SUCCESS && type == REG_SZ) {
    // Room for a terminating zero the stored value may lack.
    std::vector<wchar_t> buffer(bytes / sizeof(wchar_t) + 1, L'\0');
    DWORD size = bytes;
    if (::RegQueryValueExW(section, lpszEntry, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size) ==
        ERROR_SUCCESS)
      result = buffer.data();
  }
  ::RegCloseKey(section);
  return result;
}

BOOL CTKRegistryManager::GetProfileBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, BYTE** ppData, UINT* pBytes) {
  if (!ppData || !pBytes) return FALSE;
  *ppData = nullptr;
  *pBytes = 0;
  if (!lpszSection || !lpszEntry) return FALSE;
  if (IniMode()) {
    CString text = GetProfileString(lpszSection, lpszEntry, nullptr);
    std::vector<std::uint8_t> bytes;
    if (!tkprofile::DecodeBinary(text.ToUtf16(), &bytes)) return FALSE;
    *ppData = new BYTE[bytes.size()];
    std::copy(bytes.begin(), bytes.end(), *ppData);
    *pBytes = static_cast<UINT>(bytes.size());
    return TRUE;
  }
  HKEY section = GetSectionKey(lpszSection, KEY_READ);
  if (!section) return FALSE;
  DWORD type = 0, bytes = 0;
  BOOL ok = FALSE;
  if (::RegQueryValueExW(section, lpszEntry, nullptr, &type, nullptr, &bytes) == ERROR_SUCCESS) {
    BYTE* data = new BYTE[bytes ? bytes : 1];
    DWORD size = bytes;
    if (::RegQueryValueExW(section, lpszEntry, nullptr, &type, data, &size) == ERROR_SUCCESS && size <= bytes) {
      *ppData = data;
      *pBytes = size;
      ok = TRUE;
    } else {
      delete[] data;
    }
  }
  ::RegCloseKey(section);
  return ok;
}

BOOL CTKRegistryManager::WriteProfileFloat(LPCTSTR lpszSection, LPCTSTR lpszEntry, float value) {
  std::vector<std::uint8_t> bytes = tkprofile::FloatBytes(value);
  return WriteBytes(lpszSection, lpszEntry, bytes.data(), static_cast<UINT>(bytes.size()));
}

BOOL CTKRegistryManager::WriteProfileDouble(LPCTSTR lpszSection, LPCTSTR lpszEntry, double value) {
  std::vector<std::uint8_t> bytes = tkprofile::DoubleBytes(value);
  return WriteBytes(lpszSection, lpszEntry, bytes.data(), static_cast<UINT>(bytes.size()));
}

BOOL CTKRegistryManager::GetProfileFloat(LPCTSTR lpszSection, LPCTSTR lpszEntry, float* pValue) {
  return ReadNumber(*this, lpszSection, lpszEntry, tkprofile::FloatFromBytes, pValue);
}

BOOL CTKRegistryManager::GetProfileDouble(LPCTSTR lpszSection, LPCTSTR lpszEntry, double* pValue) {
  return ReadNumber(*this, lpszSection, lpszEntry, tkprofile::DoubleFromBytes, pValue);
}
