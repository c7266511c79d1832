// The application's profile in the registry, and the recent-file list kept in it. What is read back
// is checked against its type and size: a value another program wrote may be anything.
#include <algorithm>
#include <cwchar>
#include <initializer_list>
#include <vector>

#include "platform/classlib/win/cwinapp.h"

namespace {

// Opens root\path\... one level at a time; creating levels when asked. Null on any failure.
HKEY OpenChain(std::initializer_list<LPCTSTR> path, bool create) {
  HKEY key = HKEY_CURRENT_USER;
  bool own = false;
  for (LPCTSTR part : path) {
    HKEY next = nullptr;
    LONG status = create ? ::RegCreateKeyExW(key, part, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                             KEY_READ | KEY_WRITE, nullptr, &next, nullptr)
                         : ::RegOpenKeyExW(key, part, 0, KEY_READ, &next);
    if (own) ::RegCloseKey(key);
    if (status != ERROR_SUCCESS) return nullptr;
    key = next;
    own = true;
  }
  return key;
}

// A value's type and bytes; false when missing. The size is asked first and the read repeated
// should the value grow in between.
bool ReadValue(HKEY key, LPCTSTR entry, DWORD* type, std::vector<BYTE>* bytes) {
  for (int attempt = 0; attempt < 4; ++attempt) {
    DWORD size = 0;
    if (::RegQueryValueExW(key, entry, nullptr, type, nullptr, &size) != ERROR_SUCCESS) return false;
    bytes->resize(size);
    LONG status = ::RegQueryValueExW(key, entry, nullptr, type, size != 0 ? bytes->data() : nullptr, &size);
    if (status == ERROR_MORE_DATA) continue;
    if (status != ERROR_SUCCESS) return false;
    bytes->resize(size);
    return true;
  }
  return false;
}

class ScopedKey {
 public:
  explicit ScopedKey(HKEY key) : key_(key) {}
  ~ScopedKey() {
    if (key_ != nullptr) ::RegCloseKey(key_);
  }
  ScopedKey(const ScopedKey&) = delete;
  ScopedKey& operator=(const ScopedKey&) = delete;
  HKEY get() const { return key_; }

 private:
  HKEY key_;
};

}  // namespace

void CWinApp::SetRegistryKey(LPCTSTR lpszRegistryKey) {
  m_strRegistryKey = lpszRegistryKey;
  m_pszRegistryKey = m_strRegistryKey;
  m_strProfileName = m_pszAppName != nullptr ? m_pszAppName : _T("");
  m_pszProfileName = m_strProfileName;
}

void CWinApp::SetRegistryKey(UINT nIDRegistryKey) {
  CString key;
  if (key.LoadString(nIDRegistryKey)) SetRegistryKey(key);
}

HKEY CWinApp::GetAppRegistryKey() {
  if (m_pszRegistryKey == nullptr || m_pszProfileName == nullptr || *m_pszProfileName == 0) return nullptr;
  return OpenChain({_T("Software"), m_pszRegistryKey, m_pszProfileName}, true);
}

HKEY CWinApp::GetSectionKey(LPCTSTR lpszSection) {
  ScopedKey app(GetAppRegistryKey());
  if (app.get() == nullptr || lpszSection == nullptr) return nullptr;
  HKEY section = nullptr;
  if (::RegCreateKeyExW(app.get(), lpszSection, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE,
                        nullptr, &section, nullptr) != ERROR_SUCCESS) {
    return nullptr;
  }
  return section;
}

namespace {
// Reading never creates keys: a missing section reads as defaults.
bool ReadProfileValue(const CWinApp& app, LPCTSTR section, LPCTSTR entry, DWORD* type, std::vector<BYTE>* bytes) {
  if (app.m_pszRegistryKey == nullptr || app.m_pszProfileName == nullptr || section == nullptr) return false;
  ScopedKey key(OpenChain({_T("Software"), app.m_pszRegistryKey, app.m_pszProfileName, section}, false));
  return key.get() != nullptr && ReadValue(key.get(), entry, type, bytes);
}
}  // namespace

UINT CWinApp::GetProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nDefault) {
  DWORD type = 0;
  std::vector<BYTE> bytes;
  if (!ReadProfileValue(*this, lpszSection, lpszEntry, &type, &bytes) || type != REG_DWORD || bytes.size() != 4) {
    return static_cast<UINT>(nDefault);
  }
  return static_cast<UINT>(bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<UINT>(bytes[3]) << 24);
}

CString CWinApp::GetProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszDefault) {
  DWORD type = 0;
  std::vector<BYTE> bytes;
  if (!ReadProfileValue(*this, lpszSection, lpszEntry, &type, &bytes) || (type != REG_SZ && type != REG_EXPAND_SZ)) {
    return CString(lpszDefault);
  }
  // Whole UTF-16 units only, up to the first terminator (if the writer stored one).
  int units = static_cast<int>(bytes.size() / 2);
  CString value;
  LPTSTR buffer = value.GetBuffer(units);
  for (int i = 0; i < units; ++i) buffer[i] = static_cast<TCHAR>(bytes[2 * i] | bytes[2 * i + 1] << 8);
  buffer[units] = 0;
  value.ReleaseBuffer();
  return value;
}

BOOL CWinApp::GetProfileBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, BYTE** ppData, UINT* pBytes) {
  *ppData = nullptr;
  *pBytes = 0;
  DWORD type = 0;
  std::vector<BYTE> bytes;
  if (!ReadProfileValue(*this, lpszSection, lpszEntry, &type, &bytes) || type != REG_BINARY) return FALSE;
  // A stored empty value is a value (an emptied table, say), not an absent one: TRUE with 0 bytes.
  *ppData = new BYTE[bytes.empty() ? 1 : bytes.size()];
  std::copy(bytes.begin(), bytes.end(), *ppData);
  *pBytes = static_cast<UINT>(bytes.size());
  return TRUE;
}

namespace {
BOOL WriteValue(HKEY section, LPCTSTR entry, DWORD type, const BYTE* data, size_t size) {
  if (section == nullptr) return FALSE;
  ScopedKey key(section);
  return ::RegSetValueExW(key.get(), entry, 0, type, data, static_cast<DWORD>(size)) == ERROR_SUCCESS;
}
}  // namespace

BOOL CWinApp::WriteProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nValue) {
  auto value = static_cast<DWORD>(nValue);
  BYTE bytes[4] = {static_cast<BYTE>(value), static_cast<BYTE>(value >> 8), static_cast<BYTE>(value >> 16),
                   static_cast<BYTE>(value >> 24)};
  return WriteValue(GetSectionKey(lpszSection), lpszEntry, REG_DWORD, bytes, 4);
}

BOOL CWinApp::WriteProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszValue) {
  if (lpszEntry == nullptr) {
    ScopedKey app(GetAppRegistryKey());
    return app.get() != nullptr && lpszSection != nullptr && ::RegDeleteKeyW(app.get(), lpszSection) == ERROR_SUCCESS;
  }
  if (lpszValue == nullptr) {
    ScopedKey section(GetSectionKey(lpszSection));
    return section.get() != nullptr && ::RegDeleteValueW(section.get(), lpszEntry) == ERROR_SUCCESS;
  }
  size_t bytes = (::wcslen(lpszValue) + 1) * sizeof(TCHAR);  // with the terminator
  return WriteValue(GetSectionKey(lpszSection), lpszEntry, REG_SZ, reinterpret_cast<const BYTE*>(lpszValue), bytes);
}

BOOL CWinApp::WriteProfileBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPBYTE pData, UINT nBytes) {
  return WriteValue(GetSectionKey(lpszSection), lpszEntry, REG_BINARY, pData, nBytes);
}

// ---- the standard settings ------------------------------------------------------------------------

namespace {
const TCHAR kRecentSection[] = _T("Recent File List");
const TCHAR kSettingsSection[] = _T("Settings");

CString RecentEntry(UINT index) {
  CString entry;
  entry.Format(_T("File%u"), index + 1);
  return entry;
}
}  // namespace

void CWinApp::LoadStdProfileSettings(UINT nMaxMRU) {
  m_nMaxMRU = nMaxMRU;
  m_recentFiles.RemoveAll();
  for (UINT i = 0; i < nMaxMRU; ++i) {
    CString path = GetProfileString(kRecentSection, RecentEntry(i));
    if (!path.IsEmpty()) m_recentFiles.Add(path);
  }
  m_nNumPreviewPages = GetProfileInt(kSettingsSection, _T("PreviewPages"), 0);
}

void CWinApp::SaveStdProfileSettings() {
  for (UINT i = 0; i < m_nMaxMRU; ++i) {
    bool used = i < static_cast<UINT>(m_recentFiles.GetSize());
    WriteProfileString(kRecentSection, RecentEntry(i),
                       used ? static_cast<LPCTSTR>(m_recentFiles[static_cast<int>(i)]) : nullptr);
  }
  if (m_nNumPreviewPages != 0) {
    WriteProfileInt(kSettingsSection, _T("PreviewPages"), static_cast<int>(m_nNumPreviewPages));
  }
}

void CWinApp::AddToRecentFileList(LPCTSTR lpszPathName) {
  if (m_nMaxMRU == 0 || lpszPathName == nullptr || *lpszPathName == 0) return;
  // The newest first; a name already there moves up instead of appearing twice.
  for (int i = 0; i < m_recentFiles.GetSize(); ++i) {
    if (m_recentFiles[i].CompareNoCase(lpszPathName) == 0) {
      m_recentFiles.RemoveAt(i);
      break;
    }
  }
  m_recentFiles.InsertAt(0, CString(lpszPathName));
  if (m_recentFiles.GetSize() > static_cast<int>(m_nMaxMRU)) m_recentFiles.SetSize(static_cast<int>(m_nMaxMRU));
}
