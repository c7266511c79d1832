#include "toolkit/controls/tk_list_ctrl.h"

IMPLEMENT_DYNAMIC(CTKListCtrl, CListCtrl)
IMPLEMENT_DYNCREATE(CTKListView, CListView)

BEGIN_MESSAGE_MAP(CTKListCtrl, CListCtrl)
  ON_NOTIFY_REFLECT(NM_CUSTOMDRAW, OnCustomDraw)
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(CTKListView, CListView)
  ON_NOTIFY_REFLECT(NM_CUSTOMDRAW, OnCustomDraw)
END_MESSAGE_MAP()

// ---- the list control ----

CTKListCtrl::CTKListCtrl() : CTKListBase(this) {}
CTKListCtrl::~CTKListCtrl() { DestroyWindow(); }

BOOL CTKListCtrl::PreCreateWindow(CREATESTRUCT& cs) {
  m_bInitOnSubclass = FALSE;
  return CListCtrl::PreCreateWindow(cs);
}

void CTKListCtrl::PreSubclassWindow() {
  CListCtrl::PreSubclassWindow();
  if (m_bInitOnSubclass) InitControl();
}

LRESULT CTKListCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CREATE) {
    const LRESULT result = CListCtrl::WindowProc(message, wParam, lParam);
    if (result != -1) InitControl();
    return result;
  }
  LRESULT result = 0;
  if (HandleListMessage(message, wParam, lParam, &result)) return result;
  return CListCtrl::WindowProc(message, wParam, lParam);
}

BOOL CTKListCtrl::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  if (HandleHeaderNotify(reinterpret_cast<const NMHDR*>(lParam), pResult)) return TRUE;
  return CListCtrl::OnNotify(wParam, lParam, pResult);
}

void CTKListCtrl::OnCustomDraw(NMHDR* pNMHDR, LRESULT* pResult) {
  HandleCustomDraw(reinterpret_cast<NMLVCUSTOMDRAW*>(pNMHDR), pResult);
}

// ---- the list view ----

CTKListView::CTKListView() : CTKListBase(this) {}
CTKListView::~CTKListView() = default;

BOOL CTKListView::PreCreateWindow(CREATESTRUCT& cs) {
  m_bInitOnSubclass = FALSE;
  cs.style |= WS_CHILD | WS_VISIBLE | WS_BORDER;
  return CListView::PreCreateWindow(cs);
}

void CTKListView::PreSubclassWindow() {
  CListView::PreSubclassWindow();
  if (m_bInitOnSubclass) InitControl();
}

LRESULT CTKListView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CREATE) {
    const LRESULT result = CListView::WindowProc(message, wParam, lParam);
    if (result != -1) InitControl();
    return result;
  }
  LRESULT result = 0;
  if (HandleListMessage(message, wParam, lParam, &result)) return result;
  return CListView::WindowProc(message, wParam, lParam);
}

BOOL CTKListView::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  if (HandleHeaderNotify(reinterpret_cast<const NMHDR*>(lParam), pResult)) return TRUE;
  return CListView::OnNotify(wParam, lParam, pResult);
}

void CTKListView::OnCustomDraw(NMHDR* pNMHDR, LRESULT* pResult) {
  HandleCustomDraw(reinterpret_cast<NMLVCUSTOMDRAW*>(pNMHDR), pResult);
}
