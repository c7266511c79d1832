// CDaoDatabase: an open Access database, as the document and the database views use it. The database
// engine is not on this machine, so this stand-in's Open always fails with a CDaoException; a caller
// catches it, reports it and goes on.
#pragma once

#include "platform/classlib/cexception.h"
#include "platform/classlib/cstring.h"

class CDaoException : public CException {
  DECLARE_DYNAMIC(CDaoException)

 public:
  explicit CDaoException(LPCTSTR message) : m_strError(message) {}
  CString m_strError;  // what went wrong, for the user
};

class CDaoDatabase : public CObject {
  DECLARE_DYNAMIC(CDaoDatabase)

 public:
  CDaoDatabase() = default;
  ~CDaoDatabase() override;

  // Opens the database file (shared or exclusive, read-only or not, a connect string). Throws a
  // CDaoException when it cannot: this stand-in always does.
  virtual void Open(LPCTSTR lpszName, BOOL bExclusive = FALSE, BOOL bReadOnly = FALSE, LPCTSTR lpszConnect = _T(""));
  virtual void Close();
  BOOL IsOpen() const { return m_bOpen; }
  const CString& GetName() const { return m_strName; }

 private:
  BOOL m_bOpen = FALSE;
  CString m_strName;
};
