#include "toolkit/controls/tk_list_ctrl.h"

#include "platform/classlib/win/cheaderctrl.h"
#include "toolkit/controls/tk_header_ctrl.h"

IMPLEMENT_DYNAMIC(CTKListCtrl, CListCtrl)

int CTKListCtrl::SetSortArrow(int nColumn, BOOL bAscending) {
  const int previous = m_nSortColumn;
  m_nSortColumn = nColumn;
  m_bAscending = bAscending;
  if (m_hWnd != nullptr) {
    // Only a header the page attached as ours (a permanent object of our class) draws the arrow.
    HWND header = ListView_GetHeader(m_hWnd);
    CWnd* object = header != nullptr ? CWnd::FromHandlePermanent(header) : nullptr;
    if (object != nullptr && object->IsKindOf(RUNTIME_CLASS(CTKHeaderCtrl))) {
      static_cast<CTKHeaderCtrl*>(object)->SetSortImage(nColumn, bAscending);
    }
  }
  return previous;
}
