#include "toolkit/controls/tk_list_ctrl.h"

IMPLEMENT_DYNAMIC(CTKListCtrl, CListCtrl)
IMPLEMENT_DYNCREATE(CTKListView, CListView)

BEGIN_MESSAGE_MAP(CTKListCtrl, CListCtrl)
  ON_NOTIFY_REFLECT(NM_CUSTOMDRAW, OnCustomDraw)
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(CTKListView, CListView)
  ON_NOTIFY_REFLECT(NM_CUSTOMDRAW, OnCustomDraw)
END_MESSAGE_MAP()

CTKListCtrl::~CTKListCtrl() { DestroyWindow(); }

BOOL CTKListView::PreCreateWindow(CREATESTRUCT& cs) {
  cs.style |= WS_CHILD | WS_VISIBLE | WS_BORDER;
  return CTKListWindow<CListView>::PreCreateWindow(cs);
}
