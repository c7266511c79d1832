#include "platform/classlib/win/cmenu.h"

IMPLEMENT_DYNCREATE(CMenu, CObject)

CMenu::~CMenu() { Detach(); }

CMenu* CMenu::FromHandle(HMENU hMenu) { return CMenuHandleMap::FromHandle(hMenu); }
BOOL CMenu::Attach(HMENU hMenu) { return CMenuHandleMap::Attach(this, &CMenu::m_hMenu, hMenu); }
HMENU CMenu::Detach() { return CMenuHandleMap::Detach(this, &CMenu::m_hMenu); }

CMenu* CMenu::NewTemporary(HMENU hMenu) { return AfxNewTemporaryWrapper(&CMenu::m_hMenu, hMenu); }
void CMenu::DeleteTemporary(CMenu* pMenu) { AfxDeleteTemporaryWrapper(pMenu, &CMenu::m_hMenu); }
