// The database engine through its automation objects, late-bound by name: the engine object, the
// database it opens, its collections of table definitions, query definitions and relations, and
// recordsets. A machine without the engine gets a CDaoException from OpenDatabase.
#pragma once

#include "platform/standins/dao_database.h"

class DaoAutomationEngine : public DaoEngine {
 public:
  std::unique_ptr<DaoConnection> OpenDatabase(const CString& path, BOOL bExclusive, BOOL bReadOnly,
                                              const CString& connect) override;
};
