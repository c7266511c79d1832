#include "platform/classlib/win/cdc.h"

IMPLEMENT_DYNCREATE(CDC, CObject)

CDC::~CDC() { Detach(); }

CDC* CDC::FromHandle(HDC hDC) { return CDCHandleMap::FromHandle(hDC); }

BOOL CDC::Attach(HDC hDC) {
  if (!CDCHandleMap::Attach(this, &CDC::m_hDC, hDC)) return FALSE;
  m_hAttribDC = hDC;
  return TRUE;
}

HDC CDC::Detach() {
  m_hAttribDC = nullptr;
  return CDCHandleMap::Detach(this, &CDC::m_hDC);
}

CDC* CDC::NewTemporary(HDC hDC) {
  CDC* pDC = new CDC;
  pDC->m_hDC = pDC->m_hAttribDC = hDC;
  return pDC;
}

void CDC::DeleteTemporary(CDC* pDC) {
  pDC->m_hDC = pDC->m_hAttribDC = nullptr;
  delete pDC;
}
