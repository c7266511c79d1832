// CTKRegistryManager: the application's settings under HKEY_CURRENT_USER, Software, <registry key>,
// <profile name>, or, once a profile file is named, in that file. Binary values in a profile file are
// written as letters (two per byte); floating-point values as their IEEE bytes in either store.
#pragma once

#include <windows.h>

#include "platform/classlib/cstring.h"

class CTKRegistryManager {
 public:
  explicit CTKRegistryManager(HKEY hKeyRoot = HKEY_CURRENT_USER);
  virtual ~CTKRegistryManager() = default;
  // Opened (created when missing) with the access; null on failure. The caller closes it.
  virtual HKEY GetAppRegistryKey(REGSAM samDesired = KEY_READ | KEY_WRITE);
  virtual HKEY GetSectionKey(LPCTSTR lpszSection, REGSAM samDesired = KEY_READ | KEY_WRITE);

  // TRUE on success, -1 when the registry denied access, FALSE otherwise. A null entry deletes the
  // section, a null value the entry.
  BOOL WriteProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszValue);
  BOOL WriteProfileBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, const BYTE* pData, UINT nBytes);
  // The default (empty when null) on any failure.
  CString GetProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszDefault = nullptr);
  // *ppData is a new[] block the caller deletes with delete[]; null and 0 on failure.
  BOOL GetProfileBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, BYTE** ppData, UINT* pBytes);

  BOOL WriteProfileFloat(LPCTSTR lpszSection, LPCTSTR lpszEntry, float value);
  BOOL WriteProfileDouble(LPCTSTR lpszSection, LPCTSTR lpszEntry, double value);
  // FALSE, with the value untouched, when the entry is missing or not of the stored size.
  BOOL GetProfileFloat(LPCTSTR lpszSection, LPCTSTR lpszEntry, float* pValue);
  BOOL GetProfileDouble(LPCTSTR lpszSection, LPCTSTR lpszEntry, double* pValue);

  // The profile file every manager works on instead of the registry; empty: the registry.
  static void SetINIFileName(LPCTSTR lpszPath);
  static const CString& GetINIFileName();

 private:
  BOOL GetProfileInfo();
  BOOL WriteBytes(LPCTSTR lpszSection, LPCTSTR lpszEntry, const BYTE* pData, UINT nBytes);

  HKEY m_hKeyRoot;
  LPCTSTR m_pszRegistryKey = nullptr;  // the application's, not owned
  LPCTSTR m_pszProfileName = nullptr;
};
