// CHeaderCtrl: the header control's messages.
#include "platform/classlib/win/cheaderctrl.h"

#include "platform/classlib/win/cimagelist.h"

IMPLEMENT_DYNAMIC(CHeaderCtrl, CWnd)

BOOL CHeaderCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return AfxCreateControl(this, ICC_LISTVIEW_CLASSES, WC_HEADERW, 0, dwStyle, rect, pParentWnd, nID);
}

int CHeaderCtrl::GetItemCount() const { return static_cast<int>(SendMessage(HDM_GETITEMCOUNT)); }
int CHeaderCtrl::InsertItem(int nPos, HDITEM* phdi) {
  return static_cast<int>(SendMessage(HDM_INSERTITEMW, static_cast<WPARAM>(nPos), reinterpret_cast<LPARAM>(phdi)));
}
BOOL CHeaderCtrl::DeleteItem(int nPos) {
  return static_cast<BOOL>(SendMessage(HDM_DELETEITEM, static_cast<WPARAM>(nPos)));
}
BOOL CHeaderCtrl::GetItem(int nPos, HDITEM* pHeaderItem) const {
  return static_cast<BOOL>(SendMessage(HDM_GETITEMW, static_cast<WPARAM>(nPos), reinterpret_cast<LPARAM>(pHeaderItem)));
}
BOOL CHeaderCtrl::SetItem(int nPos, HDITEM* pHeaderItem) {
  return static_cast<BOOL>(SendMessage(HDM_SETITEMW, static_cast<WPARAM>(nPos), reinterpret_cast<LPARAM>(pHeaderItem)));
}
BOOL CHeaderCtrl::GetItemRect(int nIndex, LPRECT lpRect) const {
  return static_cast<BOOL>(SendMessage(HDM_GETITEMRECT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(lpRect)));
}
BOOL CHeaderCtrl::Layout(HDLAYOUT* pHeaderLayout) {
  return static_cast<BOOL>(SendMessage(HDM_LAYOUT, 0, reinterpret_cast<LPARAM>(pHeaderLayout)));
}
int CHeaderCtrl::HitTest(LPHDHITTESTINFO phdhti) {
  return static_cast<int>(SendMessage(HDM_HITTEST, 0, reinterpret_cast<LPARAM>(phdhti)));
}
int CHeaderCtrl::OrderToIndex(int nOrder) const {
  return static_cast<int>(SendMessage(HDM_ORDERTOINDEX, static_cast<WPARAM>(nOrder)));
}
BOOL CHeaderCtrl::GetOrderArray(LPINT piArray, int iCount) const {
  if (iCount < 0) iCount = GetItemCount();
  return static_cast<BOOL>(
      SendMessage(HDM_GETORDERARRAY, static_cast<WPARAM>(iCount), reinterpret_cast<LPARAM>(piArray)));
}
BOOL CHeaderCtrl::SetOrderArray(int iCount, LPINT piArray) {
  return static_cast<BOOL>(
      SendMessage(HDM_SETORDERARRAY, static_cast<WPARAM>(iCount), reinterpret_cast<LPARAM>(piArray)));
}
CImageList* CHeaderCtrl::GetImageList() const {
  return CImageList::FromHandle(reinterpret_cast<HIMAGELIST>(SendMessage(HDM_GETIMAGELIST)));
}
CImageList* CHeaderCtrl::SetImageList(CImageList* pImageList) {
  auto list = pImageList != nullptr ? pImageList->m_hImageList : nullptr;
  return CImageList::FromHandle(
      reinterpret_cast<HIMAGELIST>(SendMessage(HDM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(list))));
}

void CHeaderCtrl::DrawItem(LPDRAWITEMSTRUCT) {}

BOOL CHeaderCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  return CWnd::OnChildNotify(message, wParam, lParam, pResult) || AfxReflectDrawItem(this, message, lParam, pResult);
}
