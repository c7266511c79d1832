// An in-memory database engine for tests: databases registered under a path, with table definitions
// (attributes, field names, rows of values), query definitions and relations. Deleting what a test
// marked as refused throws, as the engine does for an object in use.
#pragma once

#include <map>
#include <set>

#include "platform/standins/dao_database.h"

struct MemoryTable {
  CString name;
  long attributes = 0;
  std::vector<CString> fields;
  std::vector<std::vector<COleVariant>> rows;
};

struct MemoryDatabase {
  std::vector<MemoryTable> tables;
  std::vector<CDaoQueryDefInfo> queries;
  std::vector<CDaoRelationInfo> relations;
  std::set<CString> refuseDelete;  // names whose deletion fails
  CString refusal = _T("The object is in use and cannot be deleted.");  // the engine's reason for it
};

class DaoMemoryEngine : public DaoEngine {
 public:
  // The database opened by that path, in any case (shared by every connection to it).
  MemoryDatabase& Database(const CString& path) { return m_databases[Key(path)]; }

  std::unique_ptr<DaoConnection> OpenDatabase(const CString& path, BOOL bExclusive, BOOL bReadOnly,
                                              const CString& connect) override;

 private:
  static CString Key(CString path) { return path.MakeLower(); }
  std::map<CString, MemoryDatabase> m_databases;
};
