#include "platform/classlib/win/clistview.h"

#include <commctrl.h>

IMPLEMENT_DYNCREATE(CListView, CView)

BEGIN_MESSAGE_MAP(CListView, CView)
  ON_WM_PAINT()
END_MESSAGE_MAP()

// CListCtrl keeps nothing but the window handle, so its operations work on any list-view window.
static_assert(sizeof(CListCtrl) == sizeof(CWnd), "CListCtrl holds no state of its own");

CListCtrl& CListView::GetListCtrl() const {
  return *reinterpret_cast<CListCtrl*>(const_cast<CListView*>(this));
}

BOOL CListView::PreCreateWindow(CREATESTRUCT& cs) {
  INITCOMMONCONTROLSEX init{sizeof init, ICC_LISTVIEW_CLASSES};
  ::InitCommonControlsEx(&init);
  cs.lpszClass = WC_LISTVIEWW;
  return CView::PreCreateWindow(cs);
}

void CListView::OnDraw(CDC*) {}

void CListView::OnPaint() { Default(); }
