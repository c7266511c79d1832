#include "app/pages/third_view_hdd.h"

#include <commctrl.h>

#include "app/pages/page_background.h"
#include "platform/classlib/win/cdc.h"
#include "res/resource.h"

IMPLEMENT_DYNCREATE(CThirdView_HDD, CView)

BEGIN_MESSAGE_MAP(CThirdView_HDD, CView)
  ON_WM_CREATE()
  ON_WM_ERASEBKGND()
  ON_WM_SIZE()
END_MESSAGE_MAP()

namespace {

constexpr int kListTop = 90;  // below the header strip
constexpr int kMargin = 10;
constexpr int kTreeWidth = 200;

void ShowControl(CWnd* page, UINT id, bool show) {
  if (HWND control = ::GetDlgItem(page->m_hWnd, static_cast<int>(id))) {
    ::EnableWindow(control, show);
    ::ShowWindow(control, show ? SW_SHOW : SW_HIDE);
  }
}

}  // namespace

int CThirdView_HDD::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CView::OnCreate(lpCreateStruct) == -1) return -1;
  if (!m_tree.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT |
                         TVS_SHOWSELALWAYS,
                     RECT{0, 0, 0, 0}, this, IDC_RESULT_TREE) ||
      !m_list.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT | LVS_SHOWSELALWAYS, RECT{0, 0, 0, 0}, this,
                     IDC_RESULT_LIST)) {
    return -1;
  }
  m_tree.SetUp();
  m_list.SetUp();
  m_tree.SetList(&m_list);
  m_list.SetTree(&m_tree);
  return 0;
}

void CThirdView_HDD::OnSize(UINT nType, int cx, int cy) {
  CView::OnSize(nType, cx, cy);
  if (m_list.m_hWnd == nullptr || cx <= 3 * kMargin + kTreeWidth || cy <= kListTop + kMargin) return;
  m_tree.MoveWindow(kMargin, kListTop, kTreeWidth, cy - kListTop - kMargin);
  m_list.MoveWindow(2 * kMargin + kTreeWidth, kListTop, cx - 3 * kMargin - kTreeWidth, cy - kListTop - kMargin);
}

BOOL CThirdView_HDD::OnEraseBkgnd(CDC*) { return TRUE; }

void CThirdView_HDD::OnDraw(CDC* pDC) {
  CRect client;
  GetClientRect(client);
  PaintPageBackground(pDC, client, IDB_HEADER_RESULTS);
}

void CThirdView_HDD::ShowSaveAndHome() {
  ShowControl(this, IDC_NEXT, true);
  ShowControl(this, IDC_HOME, true);
}

void CThirdView_HDD::HideBack() { ShowControl(this, IDC_BACK, false); }
