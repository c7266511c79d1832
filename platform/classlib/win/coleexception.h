// The exceptions of OLE automation: COleException for a failed call (its status code), and
// COleDispatchException for an error the automation server reported itself (its code, source and
// description). Thrown as heap pointers and ended with Delete(), like every exception of the library.
#pragma once

#include <windows.h>
#include <objbase.h>

#include "platform/classlib/cexception.h"

class COleException : public CException {
  DECLARE_DYNAMIC(COleException)

 public:
  explicit COleException(SCODE sc = S_OK) : m_sc(sc) {}
  SCODE m_sc;
};

class COleDispatchException : public CException {
  DECLARE_DYNAMIC(COleDispatchException)

 public:
  COleDispatchException(LPCTSTR lpszDescription, UINT nHelpID, WORD wCode);

  WORD m_wCode;            // the server's own error code (0 when it gave an status code instead)
  SCODE m_scError = S_OK;  // the server's status code
  CString m_strSource;
  CString m_strDescription;
  DWORD m_dwHelpContext;
};

[[noreturn]] void AfxThrowOleException(SCODE sc);
[[noreturn]] void AfxThrowOleDispatchException(WORD wCode, LPCTSTR lpszDescription, UINT nHelpID = 0);
