// CTreeCtrl: the tree view's messages.
#include "platform/classlib/win/ctreectrl.h"

#include "platform/classlib/win/cedit.h"
#include "platform/classlib/win/cimagelist.h"
#include "platform/classlib/win/controlsupport.h"
#include "platform/classlib/win/ctooltipctrl.h"
#include "platform/classlib/win/control_params.h"

IMPLEMENT_DYNAMIC(CTreeCtrl, CWnd)

namespace {
LPARAM Item(HTREEITEM hItem) { return reinterpret_cast<LPARAM>(hItem); }
using classlib_detail::Ptr;
HTREEITEM ItemOf(LRESULT result) { return reinterpret_cast<HTREEITEM>(result); }

TVITEMW MakeItem(HTREEITEM hItem, UINT nMask, LPCTSTR lpszItem, int nImage, int nSelectedImage, UINT nState,
                 UINT nStateMask, LPARAM lParam) {
  auto item = AfxMakeItem<TVITEMW>(nMask, lpszItem, nImage, nState, nStateMask, lParam);
  item.hItem = hItem;
  item.iSelectedImage = nSelectedImage;
  return item;
}
}  // namespace

BOOL CTreeCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CreateEx(0, dwStyle, rect, pParentWnd, nID);
}
BOOL CTreeCtrl::CreateEx(DWORD dwExStyle, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return AfxCreateControl(this, ICC_TREEVIEW_CLASSES, WC_TREEVIEWW, dwExStyle, dwStyle, rect, pParentWnd, nID);
}

// ---- inserting and deleting -----------------------------------------------------------------------

HTREEITEM CTreeCtrl::InsertItem(LPTVINSERTSTRUCT lpInsertStruct) {
  return ItemOf(SendMessage(TVM_INSERTITEMW, 0, Ptr(lpInsertStruct)));
}
HTREEITEM CTreeCtrl::InsertItem(UINT nMask, LPCTSTR lpszItem, int nImage, int nSelectedImage, UINT nState,
                                UINT nStateMask, LPARAM lParam, HTREEITEM hParent, HTREEITEM hInsertAfter) {
  TVINSERTSTRUCTW insert{};
  insert.hParent = hParent;
  insert.hInsertAfter = hInsertAfter;
  insert.item = MakeItem(nullptr, nMask, lpszItem, nImage, nSelectedImage, nState, nStateMask, lParam);
  return InsertItem(&insert);
}
HTREEITEM CTreeCtrl::InsertItem(LPCTSTR lpszItem, HTREEITEM hParent, HTREEITEM hInsertAfter) {
  return InsertItem(TVIF_TEXT, lpszItem, 0, 0, 0, 0, 0, hParent, hInsertAfter);
}
HTREEITEM CTreeCtrl::InsertItem(LPCTSTR lpszItem, int nImage, int nSelectedImage, HTREEITEM hParent,
                                HTREEITEM hInsertAfter) {
  return InsertItem(TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE, lpszItem, nImage, nSelectedImage, 0, 0, 0, hParent,
                    hInsertAfter);
}
BOOL CTreeCtrl::DeleteItem(HTREEITEM hItem) { return static_cast<BOOL>(SendMessage(TVM_DELETEITEM, 0, Item(hItem))); }
BOOL CTreeCtrl::DeleteAllItems() { return DeleteItem(TVI_ROOT); }

// ---- walking --------------------------------------------------------------------------------------

HTREEITEM CTreeCtrl::GetNextItem(HTREEITEM hItem, UINT nCode) const {
  return ItemOf(SendMessage(TVM_GETNEXTITEM, nCode, Item(hItem)));
}
HTREEITEM CTreeCtrl::GetRootItem() const { return GetNextItem(nullptr, TVGN_ROOT); }
HTREEITEM CTreeCtrl::GetChildItem(HTREEITEM hItem) const { return GetNextItem(hItem, TVGN_CHILD); }
HTREEITEM CTreeCtrl::GetNextSiblingItem(HTREEITEM hItem) const { return GetNextItem(hItem, TVGN_NEXT); }
HTREEITEM CTreeCtrl::GetPrevSiblingItem(HTREEITEM hItem) const { return GetNextItem(hItem, TVGN_PREVIOUS); }
HTREEITEM CTreeCtrl::GetParentItem(HTREEITEM hItem) const { return GetNextItem(hItem, TVGN_PARENT); }
HTREEITEM CTreeCtrl::GetFirstVisibleItem() const { return GetNextItem(nullptr, TVGN_FIRSTVISIBLE); }
HTREEITEM CTreeCtrl::GetNextVisibleItem(HTREEITEM hItem) const { return GetNextItem(hItem, TVGN_NEXTVISIBLE); }
HTREEITEM CTreeCtrl::GetPrevVisibleItem(HTREEITEM hItem) const { return GetNextItem(hItem, TVGN_PREVIOUSVISIBLE); }
HTREEITEM CTreeCtrl::GetSelectedItem() const { return GetNextItem(nullptr, TVGN_CARET); }
HTREEITEM CTreeCtrl::GetDropHilightItem() const { return GetNextItem(nullptr, TVGN_DROPHILITE); }
BOOL CTreeCtrl::ItemHasChildren(HTREEITEM hItem) const {
  TVITEMW item{};
  item.mask = TVIF_CHILDREN | TVIF_HANDLE;
  item.hItem = hItem;
  return GetItem(&item) && item.cChildren != 0;
}
UINT CTreeCtrl::GetCount() const { return static_cast<UINT>(SendMessage(TVM_GETCOUNT)); }
UINT CTreeCtrl::GetVisibleCount() const { return static_cast<UINT>(SendMessage(TVM_GETVISIBLECOUNT)); }

// ---- items ----------------------------------------------------------------------------------------

BOOL CTreeCtrl::GetItem(TVITEM* pItem) const { return static_cast<BOOL>(SendMessage(TVM_GETITEMW, 0, Ptr(pItem))); }
BOOL CTreeCtrl::SetItem(TVITEM* pItem) { return static_cast<BOOL>(SendMessage(TVM_SETITEMW, 0, Ptr(pItem))); }
BOOL CTreeCtrl::SetItem(HTREEITEM hItem, UINT nMask, LPCTSTR lpszItem, int nImage, int nSelectedImage, UINT nState,
                        UINT nStateMask, LPARAM lParam) {
  TVITEMW item = MakeItem(hItem, nMask | TVIF_HANDLE, lpszItem, nImage, nSelectedImage, nState, nStateMask, lParam);
  return SetItem(&item);
}

CString CTreeCtrl::GetItemText(HTREEITEM hItem) const {
  // A label longer than the buffer is read again with a buffer twice as long.
  CString text;
  for (int size = 256; size <= (1 << 20); size *= 2) {
    TVITEMW item{};
    item.mask = TVIF_TEXT | TVIF_HANDLE;
    item.hItem = hItem;
    item.pszText = text.GetBuffer(size);
    item.pszText[0] = 0;
    item.cchTextMax = size;
    BOOL ok = GetItem(&item);
    text.ReleaseBuffer();
    if (!ok) return CString();
    if (text.GetLength() < size - 1) break;
  }
  return text;
}
BOOL CTreeCtrl::SetItemText(HTREEITEM hItem, LPCTSTR lpszItem) {
  return SetItem(hItem, TVIF_TEXT, lpszItem, 0, 0, 0, 0, 0);
}
BOOL CTreeCtrl::GetItemImage(HTREEITEM hItem, int& nImage, int& nSelectedImage) const {
  TVITEMW item{};
  item.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_HANDLE;
  item.hItem = hItem;
  if (!GetItem(&item)) return FALSE;
  nImage = item.iImage;
  nSelectedImage = item.iSelectedImage;
  return TRUE;
}
BOOL CTreeCtrl::SetItemImage(HTREEITEM hItem, int nImage, int nSelectedImage) {
  return SetItem(hItem, TVIF_IMAGE | TVIF_SELECTEDIMAGE, nullptr, nImage, nSelectedImage, 0, 0, 0);
}
UINT CTreeCtrl::GetItemState(HTREEITEM hItem, UINT nStateMask) const {
  return static_cast<UINT>(SendMessage(TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(hItem), nStateMask));
}
BOOL CTreeCtrl::SetItemState(HTREEITEM hItem, UINT nState, UINT nStateMask) {
  return SetItem(hItem, TVIF_STATE, nullptr, 0, 0, nState, nStateMask, 0);
}
DWORD_PTR CTreeCtrl::GetItemData(HTREEITEM hItem) const {
  TVITEMW item{};
  item.mask = TVIF_PARAM | TVIF_HANDLE;
  item.hItem = hItem;
  return GetItem(&item) ? static_cast<DWORD_PTR>(item.lParam) : 0;
}
BOOL CTreeCtrl::SetItemData(HTREEITEM hItem, DWORD_PTR dwData) {
  return SetItem(hItem, TVIF_PARAM, nullptr, 0, 0, 0, 0, static_cast<LPARAM>(dwData));
}
BOOL CTreeCtrl::GetItemRect(HTREEITEM hItem, LPRECT lpRect, BOOL bTextOnly) const {
  // The control reads the item from the rectangle it writes.
  *reinterpret_cast<HTREEITEM*>(lpRect) = hItem;
  return static_cast<BOOL>(SendMessage(TVM_GETITEMRECT, static_cast<WPARAM>(bTextOnly), Ptr(lpRect)));
}
BOOL CTreeCtrl::GetCheck(HTREEITEM hItem) const {
  UINT stateImage = GetItemState(hItem, TVIS_STATEIMAGEMASK) >> 12;
  return stateImage > 1 ? static_cast<BOOL>(stateImage - 1) : FALSE;
}
BOOL CTreeCtrl::SetCheck(HTREEITEM hItem, BOOL fCheck) {
  return SetItemState(hItem, INDEXTOSTATEIMAGEMASK(fCheck ? 2 : 1), TVIS_STATEIMAGEMASK);
}

// ---- selecting, expanding, scrolling --------------------------------------------------------------

BOOL CTreeCtrl::Expand(HTREEITEM hItem, UINT nCode) {
  return static_cast<BOOL>(SendMessage(TVM_EXPAND, nCode, Item(hItem)));
}
BOOL CTreeCtrl::Select(HTREEITEM hItem, UINT nCode) {
  return static_cast<BOOL>(SendMessage(TVM_SELECTITEM, nCode, Item(hItem)));
}
BOOL CTreeCtrl::SelectItem(HTREEITEM hItem) { return Select(hItem, TVGN_CARET); }
BOOL CTreeCtrl::SelectDropTarget(HTREEITEM hItem) { return Select(hItem, TVGN_DROPHILITE); }
BOOL CTreeCtrl::SelectSetFirstVisible(HTREEITEM hItem) { return Select(hItem, TVGN_FIRSTVISIBLE); }
BOOL CTreeCtrl::EnsureVisible(HTREEITEM hItem) {
  return static_cast<BOOL>(SendMessage(TVM_ENSUREVISIBLE, 0, Item(hItem)));
}
HTREEITEM CTreeCtrl::HitTest(CPoint pt, UINT* pFlags) const {
  TVHITTESTINFO hit{};
  hit.pt = POINT{pt.x, pt.y};
  HTREEITEM hItem = HitTest(&hit);
  if (pFlags != nullptr) *pFlags = hit.flags;
  return hItem;
}
HTREEITEM CTreeCtrl::HitTest(TVHITTESTINFO* pHitTestInfo) const {
  return ItemOf(SendMessage(TVM_HITTEST, 0, Ptr(pHitTestInfo)));
}
BOOL CTreeCtrl::SortChildren(HTREEITEM hItem) {
  return static_cast<BOOL>(SendMessage(TVM_SORTCHILDREN, 0, Item(hItem)));
}
BOOL CTreeCtrl::SortChildrenCB(LPTVSORTCB pSort) {
  return static_cast<BOOL>(SendMessage(TVM_SORTCHILDRENCB, 0, Ptr(pSort)));
}
CEdit* CTreeCtrl::EditLabel(HTREEITEM hItem) {
  return CEdit::FromHandle(reinterpret_cast<HWND>(SendMessage(TVM_EDITLABELW, 0, Item(hItem))));
}
CEdit* CTreeCtrl::GetEditControl() const {
  return CEdit::FromHandle(reinterpret_cast<HWND>(SendMessage(TVM_GETEDITCONTROL)));
}

// ---- look -----------------------------------------------------------------------------------------

CImageList* CTreeCtrl::GetImageList(int nImageList) const {
  return CImageList::FromHandle(
      reinterpret_cast<HIMAGELIST>(SendMessage(TVM_GETIMAGELIST, static_cast<WPARAM>(nImageList))));
}
CImageList* CTreeCtrl::SetImageList(CImageList* pImageList, int nImageList) {
  auto list = pImageList != nullptr ? pImageList->m_hImageList : nullptr;
  return CImageList::FromHandle(reinterpret_cast<HIMAGELIST>(
      SendMessage(TVM_SETIMAGELIST, static_cast<WPARAM>(nImageList), reinterpret_cast<LPARAM>(list))));
}
UINT CTreeCtrl::GetIndent() const { return static_cast<UINT>(SendMessage(TVM_GETINDENT)); }
void CTreeCtrl::SetIndent(UINT nIndent) { SendMessage(TVM_SETINDENT, nIndent); }
SHORT CTreeCtrl::GetItemHeight() const { return static_cast<SHORT>(SendMessage(TVM_GETITEMHEIGHT)); }
SHORT CTreeCtrl::SetItemHeight(SHORT cyHeight) {
  return static_cast<SHORT>(SendMessage(TVM_SETITEMHEIGHT, static_cast<WPARAM>(cyHeight)));
}
COLORREF CTreeCtrl::GetBkColor() const { return static_cast<COLORREF>(SendMessage(TVM_GETBKCOLOR)); }
COLORREF CTreeCtrl::SetBkColor(COLORREF clr) {
  return static_cast<COLORREF>(SendMessage(TVM_SETBKCOLOR, 0, static_cast<LPARAM>(clr)));
}
COLORREF CTreeCtrl::GetTextColor() const { return static_cast<COLORREF>(SendMessage(TVM_GETTEXTCOLOR)); }
COLORREF CTreeCtrl::SetTextColor(COLORREF clr) {
  return static_cast<COLORREF>(SendMessage(TVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(clr)));
}
CToolTipCtrl* CTreeCtrl::GetToolTips() const {
  return CToolTipCtrl::FromHandle(reinterpret_cast<HWND>(SendMessage(TVM_GETTOOLTIPS)));
}
CToolTipCtrl* CTreeCtrl::SetToolTips(CToolTipCtrl* pWndTip) {
  auto tip = pWndTip != nullptr ? pWndTip->m_hWnd : nullptr;
  return CToolTipCtrl::FromHandle(reinterpret_cast<HWND>(SendMessage(TVM_SETTOOLTIPS, reinterpret_cast<WPARAM>(tip))));
}
CImageList* CTreeCtrl::CreateDragImage(HTREEITEM hItem) {
  auto list = reinterpret_cast<HIMAGELIST>(SendMessage(TVM_CREATEDRAGIMAGE, 0, Item(hItem)));
  if (list == nullptr) return nullptr;
  auto* pImageList = new CImageList;
  pImageList->Attach(list);
  return pImageList;
}
