#include "app/file_type_access.h"

IMPLEMENT_DYNCREATE(CGCFileTypeAccess, CObject)

static_assert(sizeof(wchar_t) == 2, "UTF-16 text");

BOOL SetRegistryString(HKEY rootKey, LPCTSTR subKey, LPCTSTR valueName, LPCTSTR data) {
  if (rootKey == nullptr || subKey == nullptr || valueName == nullptr || data == nullptr || *subKey == 0) {
    ::SetLastError(static_cast<DWORD>(E_INVALIDARG));
    return 0;
  }
  HKEY key = nullptr;
  LONG result = ::RegCreateKeyExW(rootKey, subKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr,
                                  &key, nullptr);
  if (result == ERROR_SUCCESS) {
    const DWORD bytes = static_cast<DWORD>((::lstrlenW(data) + 1) * sizeof(wchar_t));
    result = ::RegSetValueExW(key, valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(data), bytes);
    ::RegCloseKey(key);
  }
  if (result != ERROR_SUCCESS) {
    ::SetLastError(static_cast<DWORD>(result));
    return 0;
  }
  return 1;
}

BOOL CGCFileTypeAccess::SetDefault(const CString& subKey, const CString& data) {
  return SetRegistryString(HKEY_CURRENT_USER, CString(kClassesKey) + _T("\\") + subKey, _T(""), data);
}

void CGCFileTypeAccess::ClearAllData() {
  for (CString* text : {&m_strExtension, &m_strContentType, &m_strShellOpenCommand, &m_strShellNewCommand,
                        &m_strShellNewFileName, &m_strDocumentClassName, &m_strDocumentDescription,
                        &m_strDocumentClassId, &m_strDocumentCurrentVersion, &m_strDocumentDefaultIcon,
                        &m_strDocumentShellOpenCommand}) {
    text->Empty();
  }
}

BOOL CGCFileTypeAccess::WriteAll() {
  WriteExtension();
  WriteDocumentType();
  WriteClassId();
  WriteShellInformation();
  return 1;
}

BOOL CGCFileTypeAccess::WriteExtension() {
  if (m_strExtension.IsEmpty()) return 0;
  const CString key = _T(".") + m_strExtension;
  BOOL written = SetDefault(key, m_strDocumentClassName);
  if (!m_strShellOpenCommand.IsEmpty()) {
    written = SetDefault(key + _T("\\shell\\open\\command"), m_strShellOpenCommand) && written;
  }
  return written;
}

BOOL CGCFileTypeAccess::WriteDocumentType() {
  if (m_strDocumentClassName.IsEmpty()) return 0;
  BOOL written = SetDefault(m_strDocumentClassName, m_strDocumentDescription);
  if (!m_strDocumentDefaultIcon.IsEmpty()) {
    written = SetDefault(m_strDocumentClassName + _T("\\DefaultIcon"), m_strDocumentDefaultIcon) && written;
  }
  if (!m_strShellOpenCommand.IsEmpty()) {
    written = SetDefault(m_strDocumentClassName + _T("\\shell\\open\\command"), m_strShellOpenCommand) && written;
  }
  return written;
}

BOOL CGCFileTypeAccess::WriteClassId() { return 1; }

BOOL CGCFileTypeAccess::WriteShellInformation() { return 1; }
