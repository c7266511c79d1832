#include "app/pages/first_view_hdd.h"

#include "app/pages/page_background.h"
#include "platform/classlib/win/cdc.h"
#include "res/resource.h"

IMPLEMENT_DYNCREATE(CFirstView_HDD, CView)

BEGIN_MESSAGE_MAP(CFirstView_HDD, CView)
  ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

BOOL CFirstView_HDD::OnEraseBkgnd(CDC*) { return TRUE; }

void CFirstView_HDD::OnDraw(CDC* pDC) {
  CRect client;
  GetClientRect(client);
  PaintPageBackground(pDC, client, IDB_HEADER_START);
}
