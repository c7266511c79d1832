#include "toolkit/controls/tk_header_ctrl.h"

#include <commctrl.h>

IMPLEMENT_DYNAMIC(CTKHeaderCtrl, CHeaderCtrl)

void CTKHeaderCtrl::SetSortImage(int nColumn, BOOL bAscending) {
  m_nSortColumn = nColumn;
  m_bAscending = bAscending;
  if (m_hWnd == nullptr) return;
  const int count = static_cast<int>(::SendMessageW(m_hWnd, HDM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    HDITEMW item{};
    item.mask = HDI_FORMAT;
    if (!::SendMessageW(m_hWnd, HDM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item))) continue;
    item.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
    if (i == nColumn) item.fmt |= bAscending ? HDF_SORTUP : HDF_SORTDOWN;
    ::SendMessageW(m_hWnd, HDM_SETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
  }
}
