// CTreeCtrl: a tree view. Every member is one message to the control (GetItemText two at most), so a
// worker thread may insert and change items: the window's thread carries each message out. Check
// boxes are state images: the state image index is 1 + the check state (0 unchecked, 1 checked, ...).
#pragma once

#include "platform/classlib/cstring.h"
#include "platform/classlib/win/cwnd.h"

class CEdit;
class CImageList;
class CToolTipCtrl;

class CTreeCtrl : public CWnd {
  DECLARE_DYNAMIC(CTreeCtrl)

 public:
  CTreeCtrl() = default;
  virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
  virtual BOOL CreateEx(DWORD dwExStyle, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
  using CWnd::CreateEx;

  // ---- inserting and deleting ---------------------------------------------------------------------
  HTREEITEM InsertItem(LPTVINSERTSTRUCT lpInsertStruct);
  HTREEITEM InsertItem(UINT nMask, LPCTSTR lpszItem, int nImage, int nSelectedImage, UINT nState, UINT nStateMask,
                       LPARAM lParam, HTREEITEM hParent, HTREEITEM hInsertAfter);
  HTREEITEM InsertItem(LPCTSTR lpszItem, HTREEITEM hParent = TVI_ROOT, HTREEITEM hInsertAfter = TVI_LAST);
  HTREEITEM InsertItem(LPCTSTR lpszItem, int nImage, int nSelectedImage, HTREEITEM hParent = TVI_ROOT,
                       HTREEITEM hInsertAfter = TVI_LAST);
  BOOL DeleteItem(HTREEITEM hItem);
  BOOL DeleteAllItems();

  // ---- walking: each answers null at the end ------------------------------------------------------
  HTREEITEM GetNextItem(HTREEITEM hItem, UINT nCode) const;
  HTREEITEM GetRootItem() const;
  HTREEITEM GetChildItem(HTREEITEM hItem) const;
  HTREEITEM GetNextSiblingItem(HTREEITEM hItem) const;
  HTREEITEM GetPrevSiblingItem(HTREEITEM hItem) const;
  HTREEITEM GetParentItem(HTREEITEM hItem) const;
  HTREEITEM GetFirstVisibleItem() const;
  HTREEITEM GetNextVisibleItem(HTREEITEM hItem) const;
  HTREEITEM GetPrevVisibleItem(HTREEITEM hItem) const;
  HTREEITEM GetSelectedItem() const;
  HTREEITEM GetDropHilightItem() const;
  BOOL ItemHasChildren(HTREEITEM hItem) const;
  UINT GetCount() const;
  UINT GetVisibleCount() const;

  // ---- items --------------------------------------------------------------------------------------
  // The fields of pItem->mask are read or written, for pItem->hItem.
  BOOL GetItem(TVITEM* pItem) const;
  BOOL SetItem(TVITEM* pItem);
  BOOL SetItem(HTREEITEM hItem, UINT nMask, LPCTSTR lpszItem, int nImage, int nSelectedImage, UINT nState,
               UINT nStateMask, LPARAM lParam);
  CString GetItemText(HTREEITEM hItem) const;
  BOOL SetItemText(HTREEITEM hItem, LPCTSTR lpszItem);
  BOOL GetItemImage(HTREEITEM hItem, int& nImage, int& nSelectedImage) const;
  BOOL SetItemImage(HTREEITEM hItem, int nImage, int nSelectedImage);
  // TVIS_ bits of nStateMask (TVIS_STATEIMAGEMASK for the state image, TVIS_BOLD, TVIS_EXPANDED ...).
  UINT GetItemState(HTREEITEM hItem, UINT nStateMask) const;
  BOOL SetItemState(HTREEITEM hItem, UINT nState, UINT nStateMask);
  DWORD_PTR GetItemData(HTREEITEM hItem) const;
  BOOL SetItemData(HTREEITEM hItem, DWORD_PTR dwData);
  // bTextOnly: the label's rectangle, else the whole row's.
  BOOL GetItemRect(HTREEITEM hItem, LPRECT lpRect, BOOL bTextOnly) const;
  // The check state: the state image index less one (FALSE for no state image or unchecked).
  BOOL GetCheck(HTREEITEM hItem) const;
  BOOL SetCheck(HTREEITEM hItem, BOOL fCheck = TRUE);

  // ---- selecting, expanding, scrolling ------------------------------------------------------------
  // nCode TVE_EXPAND, TVE_COLLAPSE, TVE_TOGGLE.
  BOOL Expand(HTREEITEM hItem, UINT nCode);
  BOOL Select(HTREEITEM hItem, UINT nCode);
  BOOL SelectItem(HTREEITEM hItem);
  BOOL SelectDropTarget(HTREEITEM hItem);
  BOOL SelectSetFirstVisible(HTREEITEM hItem);
  BOOL EnsureVisible(HTREEITEM hItem);
  // The item under a client point; pFlags gets where on it (TVHT_ONITEMICON, TVHT_ONITEMSTATEICON ...).
  HTREEITEM HitTest(CPoint pt, UINT* pFlags = nullptr) const;
  HTREEITEM HitTest(TVHITTESTINFO* pHitTestInfo) const;
  BOOL SortChildren(HTREEITEM hItem);
  BOOL SortChildrenCB(LPTVSORTCB pSort);
  CEdit* EditLabel(HTREEITEM hItem);
  CEdit* GetEditControl() const;

  // ---- look ---------------------------------------------------------------------------------------
  // nImageList TVSIL_NORMAL or TVSIL_STATE; each answers the list set before.
  CImageList* GetImageList(int nImageList) const;
  CImageList* SetImageList(CImageList* pImageList, int nImageList);
  UINT GetIndent() const;
  void SetIndent(UINT nIndent);
  SHORT GetItemHeight() const;
  SHORT SetItemHeight(SHORT cyHeight);
  COLORREF GetBkColor() const;
  COLORREF SetBkColor(COLORREF clr);
  COLORREF GetTextColor() const;
  COLORREF SetTextColor(COLORREF clr);
  CToolTipCtrl* GetToolTips() const;
  CToolTipCtrl* SetToolTips(CToolTipCtrl* pWndTip);
  // A new drag image of the item, which the caller deletes.
  CImageList* CreateDragImage(HTREEITEM hItem);
};
