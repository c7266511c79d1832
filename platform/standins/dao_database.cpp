#include "platform/standins/dao_database.h"

#include "platform/standins/dao_automation.h"

IMPLEMENT_DYNAMIC(CDaoException, CException)
IMPLEMENT_DYNAMIC(CDaoDatabase, CObject)

namespace {

DaoEngine*& InstalledEngine() {
  static DaoEngine* engine = nullptr;
  return engine;
}

}  // namespace

DaoEngine& CurrentDaoEngine() {
  static DaoAutomationEngine automation;
  DaoEngine* engine = InstalledEngine();
  return engine != nullptr ? *engine : automation;
}

DaoEngine* InstallDaoEngine(DaoEngine* engine) {
  DaoEngine* before = InstalledEngine();
  InstalledEngine() = engine;
  return before;
}

CDaoDatabase::~CDaoDatabase() { Close(); }

void CDaoDatabase::Open(LPCTSTR lpszName, BOOL bExclusive, BOOL bReadOnly, LPCTSTR lpszConnect) {
  m_strName = lpszName != nullptr ? lpszName : _T("");
  m_connection = CurrentDaoEngine().OpenDatabase(m_strName, bExclusive, bReadOnly,
                                                 lpszConnect != nullptr ? CString(lpszConnect) : CString());
}

void CDaoDatabase::Close() { m_connection.reset(); }

DaoConnection& CDaoDatabase::Connection() {
  if (m_connection == nullptr) throw new CDaoException(_T("The database is not open."));
  return *m_connection;
}
