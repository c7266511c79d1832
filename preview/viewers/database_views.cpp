#include "preview/viewers/database_views.h"

IMPLEMENT_DYNCREATE(CDaoTreeView, CView)
IMPLEMENT_DYNCREATE(CMDBListView, CView)

void CDaoTreeView::FillDatabaseTree() {
  if (GetSafeHwnd() != nullptr) Invalidate();
}

void CDaoTreeView::OnDraw(CDC*) {}

void CMDBListView::ClearList() {
  if (GetSafeHwnd() != nullptr) Invalidate();
}

void CMDBListView::OnDraw(CDC*) {}
