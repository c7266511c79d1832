#include "platform/standins/dao_database.h"

IMPLEMENT_DYNAMIC(CDaoException, CException)
IMPLEMENT_DYNAMIC(CDaoDatabase, CObject)

CDaoDatabase::~CDaoDatabase() { Close(); }

void CDaoDatabase::Open(LPCTSTR lpszName, BOOL, BOOL, LPCTSTR) {
  m_strName = lpszName != nullptr ? lpszName : _T("");
  throw new CDaoException(_T("The database engine is not installed on this computer."));
}

void CDaoDatabase::Close() {
  m_bOpen = FALSE;
}
