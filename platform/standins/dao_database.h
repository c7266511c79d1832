// CDaoDatabase: an open Access database, as the document and the database views use it. The database
// engine is an outside component reached through our own interface, DaoEngine: on Windows with the
// engine installed, its automation objects (late-bound); in tests, an in-memory database. Every failure
// is a CDaoException carrying a description; callers catch it, report it and go on.
#pragma once

#include <memory>
#include <vector>

#include <windows.h>

#include "platform/classlib/cexception.h"
#include "platform/classlib/cstring.h"
#include "platform/classlib/win/colevariant.h"

class CDaoException : public CException {
  DECLARE_DYNAMIC(CDaoException)

 public:
  explicit CDaoException(LPCTSTR message, BOOL engineMissing = FALSE)
      : m_strError(message), m_bEngineMissing(engineMissing) {}
  CString m_strError;  // what went wrong, for the user
  BOOL m_bEngineMissing;  // the database engine is not on this machine: no database was looked at
};

struct CDaoTableDefInfo {
  CString m_strName;
  long m_lAttributes = 0;
};
struct CDaoQueryDefInfo {
  CString m_strName;
  short m_nType = 0;
};
struct CDaoRelationInfo {
  CString m_strName;
  long m_lAttributes = 0;
};

// A recordset opened on a query: walked forward, one record at a time.
class DaoRecords {
 public:
  virtual ~DaoRecords() = default;
  virtual bool IsEOF() = 0;
  virtual int GetFieldCount() = 0;
  virtual COleVariant GetFieldValue(int index) = 0;
  virtual void MoveNext() = 0;
};

// An open database of an engine. Every operation may throw CDaoException*.
class DaoConnection {
 public:
  virtual ~DaoConnection() = default;
  virtual int GetTableDefCount() = 0;
  virtual CDaoTableDefInfo GetTableDefInfo(int index) = 0;
  virtual int GetQueryDefCount() = 0;
  virtual CDaoQueryDefInfo GetQueryDefInfo(int index) = 0;
  virtual int GetRelationCount() = 0;
  virtual CDaoRelationInfo GetRelationInfo(int index) = 0;
  virtual void DeleteTableDef(const CString& name) = 0;
  virtual void DeleteQueryDef(const CString& name) = 0;
  // The names of a table definition's fields, in order.
  virtual std::vector<CString> GetTableFieldNames(const CString& table) = 0;
  // A dynaset over the query's records.
  virtual std::unique_ptr<DaoRecords> OpenRecordset(const CString& query) = 0;
};

class DaoEngine {
 public:
  virtual ~DaoEngine() = default;
  // Throws CDaoException* when the database cannot be opened.
  virtual std::unique_ptr<DaoConnection> OpenDatabase(const CString& path, BOOL bExclusive, BOOL bReadOnly,
                                                      const CString& connect) = 0;
};

// The engine databases open with: the installed one unless a test put another in (returns the one before;
// null puts the installed one back).
DaoEngine& CurrentDaoEngine();
DaoEngine* InstallDaoEngine(DaoEngine* engine);

class CDaoDatabase : public CObject {
  DECLARE_DYNAMIC(CDaoDatabase)

 public:
  CDaoDatabase() = default;
  ~CDaoDatabase() override;

  // Opens the database file (shared or exclusive, read-only or not, a connect string). Throws a
  // CDaoException when it cannot.
  virtual void Open(LPCTSTR lpszName, BOOL bExclusive = FALSE, BOOL bReadOnly = FALSE, LPCTSTR lpszConnect = _T(""));
  virtual void Close();
  BOOL IsOpen() const { return m_connection != nullptr; }
  const CString& GetName() const { return m_strName; }

  // The open database's engine side; throws CDaoException* while none is open.
  DaoConnection& Connection();

 private:
  std::unique_ptr<DaoConnection> m_connection;
  CString m_strName;
};
