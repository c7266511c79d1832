#include "app/pages/second_view_hdd.h"

#include "app/pages/page_background.h"
#include "platform/classlib/win/cdc.h"
#include "res/resource.h"

IMPLEMENT_DYNCREATE(CSecondView_HDD, CView)

BEGIN_MESSAGE_MAP(CSecondView_HDD, CView)
  ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

BOOL CSecondView_HDD::OnEraseBkgnd(CDC*) { return TRUE; }

void CSecondView_HDD::OnDraw(CDC* pDC) {
  CRect client;
  GetClientRect(client);
  PaintPageBackground(pDC, client, IDB_HEADER_SCAN_PARTITION);
}
