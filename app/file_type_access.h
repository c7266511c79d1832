// CGCFileTypeAccess: the shell association of the recovery snapshot file type, so that double-clicking
// a ".vsnp" file starts the program with the file on its command line. Written once at start-up under the
// current user's classes key (HKEY_CURRENT_USER\Software\Classes), which needs no administrator rights
// and which the shell merges into the classes it reads.
#pragma once

#include <windows.h>

#include "platform/classlib/cobject.h"
#include "platform/classlib/cstring.h"

// Writes data as the string value (REG_SZ) valueName of rootKey\subKey, creating the key when needed.
// Returns 1 on success, 0 on failure; a null argument or an empty subKey fails with the last error
// E_INVALIDARG.
BOOL SetRegistryString(HKEY rootKey, LPCTSTR subKey, LPCTSTR valueName, LPCTSTR data);

class CGCFileTypeAccess : public CObject {
  DECLARE_DYNCREATE(CGCFileTypeAccess)

 public:
  CGCFileTypeAccess() = default;

  // Where the keys are written: the current user's classes key.
  static constexpr const TCHAR* kClassesKey = _T("Software\\Classes");

  virtual void ClearAllData();
  // Writes the extension, the document type, the class id and the shell information; always 1 (a write
  // that fails is not reported: start-up goes on).
  virtual BOOL WriteAll();
  virtual BOOL WriteExtension();
  virtual BOOL WriteDocumentType();
  virtual BOOL WriteClassId();
  virtual BOOL WriteShellInformation();

  // The extension without its dot ("vsnp").
  void SetExtension(LPCTSTR extension) { m_strExtension = extension; }
  void SetShellOpenCommand(LPCTSTR command) { m_strShellOpenCommand = command; }
  void SetDocumentClassName(LPCTSTR className) { m_strDocumentClassName = className; }
  void SetDocumentDefaultIcon(LPCTSTR icon) { m_strDocumentDefaultIcon = icon; }
  void SetDocumentShellOpenCommand(LPCTSTR command) { m_strDocumentShellOpenCommand = command; }

  CString m_strExtension;
  CString m_strContentType;
  CString m_strShellOpenCommand;
  CString m_strShellNewCommand;
  CString m_strShellNewFileName;
  CString m_strDocumentClassName;
  CString m_strDocumentDescription;
  CString m_strDocumentClassId;
  CString m_strDocumentCurrentVersion;
  CString m_strDocumentDefaultIcon;
  CString m_strDocumentShellOpenCommand;

 private:
  // Writes the default value of the key kClassesKey\subKey.
  static BOOL SetDefault(const CString& subKey, const CString& data);
};
