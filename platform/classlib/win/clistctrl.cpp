// CListCtrl: the list view's messages.
#include "platform/classlib/win/clistctrl.h"

#include "platform/classlib/win/cedit.h"
#include "platform/classlib/win/cheaderctrl.h"
#include "platform/classlib/win/cimagelist.h"
#include "platform/classlib/win/controlsupport.h"
#include "platform/classlib/win/ctooltipctrl.h"
#include "platform/classlib/win/control_params.h"

IMPLEMENT_DYNAMIC(CListCtrl, CWnd)

namespace {
using classlib_detail::Index;
using classlib_detail::Ptr;

LVITEMW MakeItem(UINT nMask, int nItem, int nSubItem, LPCTSTR lpszItem, int nImage, UINT nState, UINT nStateMask,
                 LPARAM lParam) {
  auto item = AfxMakeItem<LVITEMW>(nMask, lpszItem, nImage, nState, nStateMask, lParam);
  item.iItem = nItem;
  item.iSubItem = nSubItem;
  return item;
}
}  // namespace

BOOL CListCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CreateEx(0, dwStyle, rect, pParentWnd, nID);
}
BOOL CListCtrl::CreateEx(DWORD dwExStyle, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return AfxCreateControl(this, ICC_LISTVIEW_CLASSES, WC_LISTVIEWW, dwExStyle, dwStyle, rect, pParentWnd, nID);
}

// ---- columns --------------------------------------------------------------------------------------

int CListCtrl::InsertColumn(int nCol, const LVCOLUMN* pColumn) {
  return static_cast<int>(SendMessage(LVM_INSERTCOLUMNW, Index(nCol), Ptr(pColumn)));
}
int CListCtrl::InsertColumn(int nCol, LPCTSTR lpszColumnHeading, int nFormat, int nWidth, int nSubItem) {
  LVCOLUMNW column{};
  column.mask = LVCF_FMT | LVCF_TEXT;
  column.fmt = nFormat;
  column.pszText = const_cast<LPTSTR>(lpszColumnHeading);
  if (nWidth != -1) {
    column.mask |= LVCF_WIDTH;
    column.cx = nWidth;
  }
  if (nSubItem != -1) {
    column.mask |= LVCF_SUBITEM;
    column.iSubItem = nSubItem;
  }
  return InsertColumn(nCol, &column);
}
BOOL CListCtrl::DeleteColumn(int nCol) { return static_cast<BOOL>(SendMessage(LVM_DELETECOLUMN, Index(nCol))); }
BOOL CListCtrl::GetColumn(int nCol, LVCOLUMN* pColumn) const {
  return static_cast<BOOL>(SendMessage(LVM_GETCOLUMNW, Index(nCol), Ptr(pColumn)));
}
BOOL CListCtrl::SetColumn(int nCol, const LVCOLUMN* pColumn) {
  return static_cast<BOOL>(SendMessage(LVM_SETCOLUMNW, Index(nCol), Ptr(pColumn)));
}
int CListCtrl::GetColumnWidth(int nCol) const { return static_cast<int>(SendMessage(LVM_GETCOLUMNWIDTH, Index(nCol))); }
BOOL CListCtrl::SetColumnWidth(int nCol, int cx) {
  return static_cast<BOOL>(SendMessage(LVM_SETCOLUMNWIDTH, Index(nCol), MAKELPARAM(cx, 0)));
}
BOOL CListCtrl::GetColumnOrderArray(LPINT piArray, int iCount) const {
  if (iCount < 0) {
    CHeaderCtrl* pHeader = GetHeaderCtrl();
    iCount = pHeader != nullptr ? pHeader->GetItemCount() : 0;
  }
  return static_cast<BOOL>(SendMessage(LVM_GETCOLUMNORDERARRAY, Index(iCount), Ptr(piArray)));
}
BOOL CListCtrl::SetColumnOrderArray(int iCount, LPINT piArray) {
  return static_cast<BOOL>(SendMessage(LVM_SETCOLUMNORDERARRAY, Index(iCount), Ptr(piArray)));
}
CHeaderCtrl* CListCtrl::GetHeaderCtrl() const {
  return CHeaderCtrl::FromHandle(reinterpret_cast<HWND>(SendMessage(LVM_GETHEADER)));
}

// ---- items ----------------------------------------------------------------------------------------

int CListCtrl::GetItemCount() const { return static_cast<int>(SendMessage(LVM_GETITEMCOUNT)); }
void CListCtrl::SetItemCount(int nItems) { SendMessage(LVM_SETITEMCOUNT, Index(nItems)); }
int CListCtrl::InsertItem(const LVITEM* pItem) { return static_cast<int>(SendMessage(LVM_INSERTITEMW, 0, Ptr(pItem))); }
int CListCtrl::InsertItem(int nItem, LPCTSTR lpszItem) { return InsertItem(LVIF_TEXT, nItem, lpszItem, 0, 0, 0, 0); }
int CListCtrl::InsertItem(int nItem, LPCTSTR lpszItem, int nImage) {
  return InsertItem(LVIF_TEXT | LVIF_IMAGE, nItem, lpszItem, 0, 0, nImage, 0);
}
int CListCtrl::InsertItem(UINT nMask, int nItem, LPCTSTR lpszItem, UINT nState, UINT nStateMask, int nImage,
                          LPARAM lParam) {
  LVITEMW item = MakeItem(nMask, nItem, 0, lpszItem, nImage, nState, nStateMask, lParam);
  return InsertItem(&item);
}
BOOL CListCtrl::DeleteItem(int nItem) { return static_cast<BOOL>(SendMessage(LVM_DELETEITEM, Index(nItem))); }
BOOL CListCtrl::DeleteAllItems() { return static_cast<BOOL>(SendMessage(LVM_DELETEALLITEMS)); }
BOOL CListCtrl::GetItem(LVITEM* pItem) const { return static_cast<BOOL>(SendMessage(LVM_GETITEMW, 0, Ptr(pItem))); }
BOOL CListCtrl::SetItem(const LVITEM* pItem) { return static_cast<BOOL>(SendMessage(LVM_SETITEMW, 0, Ptr(pItem))); }
BOOL CListCtrl::SetItem(int nItem, int nSubItem, UINT nMask, LPCTSTR lpszItem, int nImage, UINT nState, UINT nStateMask,
                        LPARAM lParam) {
  LVITEMW item = MakeItem(nMask, nItem, nSubItem, lpszItem, nImage, nState, nStateMask, lParam);
  return SetItem(&item);
}

CString CListCtrl::GetItemText(int nItem, int nSubItem) const {
  // A text that fills the buffer is read again with a buffer twice as long.
  CString text;
  for (int size = 256; size <= (1 << 20); size *= 2) {
    int length = GetItemText(nItem, nSubItem, text.GetBuffer(size), size);
    text.ReleaseBuffer(length);
    if (length < size - 1) break;
  }
  return text;
}
int CListCtrl::GetItemText(int nItem, int nSubItem, LPTSTR lpszText, int nLen) const {
  if (lpszText == nullptr || nLen < 1) return 0;
  lpszText[0] = 0;
  LVITEMW item{};
  item.iSubItem = nSubItem;
  item.pszText = lpszText;
  item.cchTextMax = nLen;
  return static_cast<int>(SendMessage(LVM_GETITEMTEXTW, Index(nItem), Ptr(&item)));
}
BOOL CListCtrl::SetItemText(int nItem, int nSubItem, LPCTSTR lpszText) {
  LVITEMW item{};
  item.iSubItem = nSubItem;
  item.pszText = const_cast<LPTSTR>(lpszText);
  return static_cast<BOOL>(SendMessage(LVM_SETITEMTEXTW, Index(nItem), Ptr(&item)));
}
DWORD_PTR CListCtrl::GetItemData(int nItem) const {
  LVITEMW item{};
  item.mask = LVIF_PARAM;
  item.iItem = nItem;
  return GetItem(&item) ? static_cast<DWORD_PTR>(item.lParam) : 0;
}
BOOL CListCtrl::SetItemData(int nItem, DWORD_PTR dwData) {
  return SetItem(nItem, 0, LVIF_PARAM, nullptr, 0, 0, 0, static_cast<LPARAM>(dwData));
}
UINT CListCtrl::GetItemState(int nItem, UINT nMask) const {
  return static_cast<UINT>(SendMessage(LVM_GETITEMSTATE, Index(nItem), nMask));
}
BOOL CListCtrl::SetItemState(int nItem, UINT nState, UINT nMask) {
  LVITEMW item{};
  item.state = nState;
  item.stateMask = nMask;
  return SetItemState(nItem, &item);
}
BOOL CListCtrl::SetItemState(int nItem, LVITEM* pItem) {
  return static_cast<BOOL>(SendMessage(LVM_SETITEMSTATE, Index(nItem), Ptr(pItem)));
}
BOOL CListCtrl::GetCheck(int nItem) const {
  UINT stateImage = GetItemState(nItem, LVIS_STATEIMAGEMASK) >> 12;
  return stateImage > 1 ? static_cast<BOOL>(stateImage - 1) : FALSE;
}
BOOL CListCtrl::SetCheck(int nItem, BOOL fCheck) {
  return SetItemState(nItem, INDEXTOSTATEIMAGEMASK(fCheck ? 2 : 1), LVIS_STATEIMAGEMASK);
}

// ---- finding and selection ------------------------------------------------------------------------

int CListCtrl::GetNextItem(int nItem, int nFlags) const {
  return static_cast<int>(SendMessage(LVM_GETNEXTITEM, Index(nItem), MAKELPARAM(nFlags, 0)));
}
POSITION CListCtrl::GetFirstSelectedItemPosition() const {
  int first = GetNextItem(-1, LVNI_SELECTED);
  return reinterpret_cast<POSITION>(static_cast<INT_PTR>(first + 1));
}
int CListCtrl::GetNextSelectedItem(POSITION& pos) const {
  int item = static_cast<int>(reinterpret_cast<INT_PTR>(pos)) - 1;
  int next = GetNextItem(item, LVNI_SELECTED);
  pos = reinterpret_cast<POSITION>(static_cast<INT_PTR>(next + 1));
  return item;
}
UINT CListCtrl::GetSelectedCount() const { return static_cast<UINT>(SendMessage(LVM_GETSELECTEDCOUNT)); }
int CListCtrl::GetSelectionMark() const { return static_cast<int>(SendMessage(LVM_GETSELECTIONMARK)); }
int CListCtrl::SetSelectionMark(int iIndex) { return static_cast<int>(SendMessage(LVM_SETSELECTIONMARK, 0, iIndex)); }
int CListCtrl::FindItem(LVFINDINFO* pFindInfo, int nStart) const {
  return static_cast<int>(SendMessage(LVM_FINDITEMW, Index(nStart), Ptr(pFindInfo)));
}
int CListCtrl::HitTest(LVHITTESTINFO* pHitTestInfo) const {
  return static_cast<int>(SendMessage(LVM_HITTEST, 0, Ptr(pHitTestInfo)));
}
int CListCtrl::HitTest(CPoint pt, UINT* pFlags) const {
  LVHITTESTINFO hit{};
  hit.pt = POINT{pt.x, pt.y};
  int item = HitTest(&hit);
  if (pFlags != nullptr) *pFlags = hit.flags;
  return item;
}
int CListCtrl::SubItemHitTest(LPLVHITTESTINFO pInfo) {
  return static_cast<int>(SendMessage(LVM_SUBITEMHITTEST, 0, Ptr(pInfo)));
}
int CListCtrl::GetHotItem() const { return static_cast<int>(SendMessage(LVM_GETHOTITEM)); }
int CListCtrl::SetHotItem(int iIndex) { return static_cast<int>(SendMessage(LVM_SETHOTITEM, Index(iIndex))); }

// ---- geometry and scrolling -----------------------------------------------------------------------

BOOL CListCtrl::GetItemRect(int nItem, LPRECT lpRect, UINT nCode) const {
  lpRect->left = static_cast<LONG>(nCode);
  return static_cast<BOOL>(SendMessage(LVM_GETITEMRECT, Index(nItem), Ptr(lpRect)));
}
BOOL CListCtrl::GetSubItemRect(int iItem, int iSubItem, int nArea, CRect& ref) const {
  RECT rect{nArea, iSubItem, 0, 0};
  BOOL ok = static_cast<BOOL>(SendMessage(LVM_GETSUBITEMRECT, Index(iItem), Ptr(&rect)));
  if (ok) ref = rect;
  return ok;
}
BOOL CListCtrl::GetItemPosition(int nItem, LPPOINT lpPoint) const {
  return static_cast<BOOL>(SendMessage(LVM_GETITEMPOSITION, Index(nItem), Ptr(lpPoint)));
}
BOOL CListCtrl::SetItemPosition(int nItem, CPoint pt) {
  POINT point{pt.x, pt.y};
  return static_cast<BOOL>(SendMessage(LVM_SETITEMPOSITION32, Index(nItem), Ptr(&point)));
}
BOOL CListCtrl::GetOrigin(LPPOINT lpPoint) const {
  return static_cast<BOOL>(SendMessage(LVM_GETORIGIN, 0, Ptr(lpPoint)));
}
int CListCtrl::GetTopIndex() const { return static_cast<int>(SendMessage(LVM_GETTOPINDEX)); }
int CListCtrl::GetCountPerPage() const { return static_cast<int>(SendMessage(LVM_GETCOUNTPERPAGE)); }
int CListCtrl::GetStringWidth(LPCTSTR lpsz) const {
  return static_cast<int>(SendMessage(LVM_GETSTRINGWIDTHW, 0, Ptr(lpsz)));
}
BOOL CListCtrl::EnsureVisible(int nItem, BOOL bPartialOK) {
  return static_cast<BOOL>(SendMessage(LVM_ENSUREVISIBLE, Index(nItem), MAKELPARAM(bPartialOK, 0)));
}
BOOL CListCtrl::Scroll(CSize size) { return static_cast<BOOL>(SendMessage(LVM_SCROLL, Index(size.cx), size.cy)); }
BOOL CListCtrl::RedrawItems(int nFirst, int nLast) {
  return static_cast<BOOL>(SendMessage(LVM_REDRAWITEMS, Index(nFirst), nLast));
}
BOOL CListCtrl::Update(int nItem) { return static_cast<BOOL>(SendMessage(LVM_UPDATE, Index(nItem))); }
BOOL CListCtrl::Arrange(UINT nCode) { return static_cast<BOOL>(SendMessage(LVM_ARRANGE, nCode)); }

// ---- sorting and editing --------------------------------------------------------------------------

BOOL CListCtrl::SortItems(PFNLVCOMPARE pfnCompare, DWORD_PTR dwData) {
  return static_cast<BOOL>(SendMessage(LVM_SORTITEMS, dwData, reinterpret_cast<LPARAM>(pfnCompare)));
}
BOOL CListCtrl::SortItemsEx(PFNLVCOMPARE pfnCompare, DWORD_PTR dwData) {
  return static_cast<BOOL>(SendMessage(LVM_SORTITEMSEX, dwData, reinterpret_cast<LPARAM>(pfnCompare)));
}
CEdit* CListCtrl::EditLabel(int nItem) {
  return CEdit::FromHandle(reinterpret_cast<HWND>(SendMessage(LVM_EDITLABELW, Index(nItem))));
}
CEdit* CListCtrl::GetEditControl() const {
  return CEdit::FromHandle(reinterpret_cast<HWND>(SendMessage(LVM_GETEDITCONTROL)));
}

// ---- look -----------------------------------------------------------------------------------------

CImageList* CListCtrl::GetImageList(int nImageList) const {
  return CImageList::FromHandle(reinterpret_cast<HIMAGELIST>(SendMessage(LVM_GETIMAGELIST, Index(nImageList))));
}
CImageList* CListCtrl::SetImageList(CImageList* pImageList, int nImageList) {
  auto list = pImageList != nullptr ? pImageList->m_hImageList : nullptr;
  return CImageList::FromHandle(
      reinterpret_cast<HIMAGELIST>(SendMessage(LVM_SETIMAGELIST, Index(nImageList), Ptr(list))));
}
DWORD CListCtrl::GetExtendedStyle() const { return static_cast<DWORD>(SendMessage(LVM_GETEXTENDEDLISTVIEWSTYLE)); }
DWORD CListCtrl::SetExtendedStyle(DWORD dwNewStyle) {
  return static_cast<DWORD>(SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, static_cast<LPARAM>(dwNewStyle)));
}
COLORREF CListCtrl::GetBkColor() const { return static_cast<COLORREF>(SendMessage(LVM_GETBKCOLOR)); }
BOOL CListCtrl::SetBkColor(COLORREF cr) {
  return static_cast<BOOL>(SendMessage(LVM_SETBKCOLOR, 0, static_cast<LPARAM>(cr)));
}
COLORREF CListCtrl::GetTextColor() const { return static_cast<COLORREF>(SendMessage(LVM_GETTEXTCOLOR)); }
BOOL CListCtrl::SetTextColor(COLORREF cr) {
  return static_cast<BOOL>(SendMessage(LVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(cr)));
}
COLORREF CListCtrl::GetTextBkColor() const { return static_cast<COLORREF>(SendMessage(LVM_GETTEXTBKCOLOR)); }
BOOL CListCtrl::SetTextBkColor(COLORREF cr) {
  return static_cast<BOOL>(SendMessage(LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(cr)));
}
BOOL CListCtrl::SetBkImage(LVBKIMAGE* plvbkImage) {
  return static_cast<BOOL>(SendMessage(LVM_SETBKIMAGEW, 0, Ptr(plvbkImage)));
}
BOOL CListCtrl::SetBkImage(HBITMAP hbm, BOOL fTile, int xOffsetPercent, int yOffsetPercent) {
  LVBKIMAGEW image{};
  image.ulFlags = LVBKIF_SOURCE_HBITMAP | (fTile ? LVBKIF_STYLE_TILE : LVBKIF_STYLE_NORMAL);
  image.hbm = hbm;
  image.xOffsetPercent = xOffsetPercent;
  image.yOffsetPercent = yOffsetPercent;
  return SetBkImage(&image);
}
CToolTipCtrl* CListCtrl::GetToolTips() const {
  return CToolTipCtrl::FromHandle(reinterpret_cast<HWND>(SendMessage(LVM_GETTOOLTIPS)));
}
CToolTipCtrl* CListCtrl::SetToolTips(CToolTipCtrl* pWndTip) {
  auto tip = pWndTip != nullptr ? pWndTip->m_hWnd : nullptr;
  return CToolTipCtrl::FromHandle(reinterpret_cast<HWND>(SendMessage(LVM_SETTOOLTIPS, reinterpret_cast<WPARAM>(tip))));
}

void CListCtrl::DrawItem(LPDRAWITEMSTRUCT) {}

BOOL CListCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  return CWnd::OnChildNotify(message, wParam, lParam, pResult) || AfxReflectDrawItem(this, message, lParam, pResult);
}
