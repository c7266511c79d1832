#include "app/pages/ex_style_view.h"

#include "app/pages/page_background.h"
#include "platform/classlib/win/cdc.h"
#include "res/resource.h"

IMPLEMENT_DYNCREATE(CEx_StyleView, CView)

BEGIN_MESSAGE_MAP(CEx_StyleView, CView)
  ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

BOOL CEx_StyleView::OnEraseBkgnd(CDC*) { return TRUE; }

void CEx_StyleView::OnDraw(CDC* pDC) {
  CRect client;
  GetClientRect(client);
  PaintPageBackground(pDC, client, IDB_HEADER_START);
}

void CEx_StyleView::OnBrowse() {
  // The image page's own controls come with the page; until then there is nothing to browse into.
}
