// CListCtrl: a list view. Every member is one message to the control (GetItemText a few at most), so a
// worker thread may add rows and change them: the window's thread carries each message out. Check
// boxes (LVS_EX_CHECKBOXES, or a state image list) are state images: index 1 + the check state.
// Owner-drawn lists (LVS_OWNERDRAWFIXED) get their parent's WM_DRAWITEM in DrawItem.
#pragma once

#include "platform/classlib/cstring.h"
#include "platform/classlib/win/cwnd.h"

class CEdit;
class CHeaderCtrl;
class CImageList;
class CToolTipCtrl;

class CListCtrl : public CWnd {
  DECLARE_DYNAMIC(CListCtrl)

 public:
  CListCtrl() = default;
  virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
  virtual BOOL CreateEx(DWORD dwExStyle, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
  using CWnd::CreateEx;

  // ---- columns ------------------------------------------------------------------------------------
  // The new column's index, or -1. nSubItem -1: the column's own index.
  int InsertColumn(int nCol, const LVCOLUMN* pColumn);
  int InsertColumn(int nCol, LPCTSTR lpszColumnHeading, int nFormat = LVCFMT_LEFT, int nWidth = -1, int nSubItem = -1);
  BOOL DeleteColumn(int nCol);
  BOOL GetColumn(int nCol, LVCOLUMN* pColumn) const;
  BOOL SetColumn(int nCol, const LVCOLUMN* pColumn);
  int GetColumnWidth(int nCol) const;
  // cx may be LVSCW_AUTOSIZE or LVSCW_AUTOSIZE_USEHEADER.
  BOOL SetColumnWidth(int nCol, int cx);
  BOOL GetColumnOrderArray(LPINT piArray, int iCount = -1) const;
  BOOL SetColumnOrderArray(int iCount, LPINT piArray);
  CHeaderCtrl* GetHeaderCtrl() const;

  // ---- items --------------------------------------------------------------------------------------
  int GetItemCount() const;
  void SetItemCount(int nItems);
  // The new item's index, or -1.
  int InsertItem(const LVITEM* pItem);
  int InsertItem(int nItem, LPCTSTR lpszItem);
  int InsertItem(int nItem, LPCTSTR lpszItem, int nImage);
  int InsertItem(UINT nMask, int nItem, LPCTSTR lpszItem, UINT nState, UINT nStateMask, int nImage, LPARAM lParam);
  BOOL DeleteItem(int nItem);
  BOOL DeleteAllItems();
  // The fields of pItem->mask are read or written, for pItem->iItem and pItem->iSubItem.
  BOOL GetItem(LVITEM* pItem) const;
  BOOL SetItem(const LVITEM* pItem);
  BOOL SetItem(int nItem, int nSubItem, UINT nMask, LPCTSTR lpszItem, int nImage, UINT nState, UINT nStateMask,
               LPARAM lParam);
  CString GetItemText(int nItem, int nSubItem) const;
  int GetItemText(int nItem, int nSubItem, LPTSTR lpszText, int nLen) const;
  BOOL SetItemText(int nItem, int nSubItem, LPCTSTR lpszText);
  DWORD_PTR GetItemData(int nItem) const;
  BOOL SetItemData(int nItem, DWORD_PTR dwData);
  // LVIS_ bits of nMask (LVIS_SELECTED, LVIS_FOCUSED, LVIS_STATEIMAGEMASK ...); nItem -1: every item.
  UINT GetItemState(int nItem, UINT nMask) const;
  BOOL SetItemState(int nItem, UINT nState, UINT nMask);
  BOOL SetItemState(int nItem, LVITEM* pItem);
  // The check state: the state image index less one (FALSE for no state image or unchecked).
  BOOL GetCheck(int nItem) const;
  BOOL SetCheck(int nItem, BOOL fCheck = TRUE);

  // ---- finding and selection ----------------------------------------------------------------------
  // From nItem (-1: the start), the next item with the LVNI_ flags; -1 when none.
  int GetNextItem(int nItem, int nFlags) const;
  // The selected items in order: the position is the index of the next one, plus 1 (null at the end).
  POSITION GetFirstSelectedItemPosition() const;
  int GetNextSelectedItem(POSITION& pos) const;
  UINT GetSelectedCount() const;
  int GetSelectionMark() const;
  int SetSelectionMark(int iIndex);
  int FindItem(LVFINDINFO* pFindInfo, int nStart = -1) const;
  int HitTest(LVHITTESTINFO* pHitTestInfo) const;
  int HitTest(CPoint pt, UINT* pFlags = nullptr) const;
  // The item and column under pInfo->pt (report view).
  int SubItemHitTest(LPLVHITTESTINFO pInfo);
  int GetHotItem() const;
  int SetHotItem(int iIndex);

  // ---- geometry and scrolling ---------------------------------------------------------------------
  // nCode LVIR_BOUNDS, LVIR_ICON, LVIR_LABEL, LVIR_SELECTBOUNDS.
  BOOL GetItemRect(int nItem, LPRECT lpRect, UINT nCode) const;
  BOOL GetSubItemRect(int iItem, int iSubItem, int nArea, CRect& ref) const;
  BOOL GetItemPosition(int nItem, LPPOINT lpPoint) const;
  BOOL SetItemPosition(int nItem, CPoint pt);
  BOOL GetOrigin(LPPOINT lpPoint) const;
  int GetTopIndex() const;
  int GetCountPerPage() const;
  int GetStringWidth(LPCTSTR lpsz) const;
  BOOL EnsureVisible(int nItem, BOOL bPartialOK);
  BOOL Scroll(CSize size);
  BOOL RedrawItems(int nFirst, int nLast);
  BOOL Update(int nItem);
  BOOL Arrange(UINT nCode);

  // ---- sorting and editing ------------------------------------------------------------------------
  // pfnCompare gets the items' data (SortItems) or indexes (SortItemsEx) and dwData.
  BOOL SortItems(PFNLVCOMPARE pfnCompare, DWORD_PTR dwData);
  BOOL SortItemsEx(PFNLVCOMPARE pfnCompare, DWORD_PTR dwData);
  CEdit* EditLabel(int nItem);
  CEdit* GetEditControl() const;

  // ---- look ---------------------------------------------------------------------------------------
  // nImageList LVSIL_NORMAL, LVSIL_SMALL, LVSIL_STATE; each answers the list set before.
  CImageList* GetImageList(int nImageList) const;
  CImageList* SetImageList(CImageList* pImageList, int nImageList);
  DWORD GetExtendedStyle() const;
  DWORD SetExtendedStyle(DWORD dwNewStyle);
  COLORREF GetBkColor() const;
  BOOL SetBkColor(COLORREF cr);
  COLORREF GetTextColor() const;
  BOOL SetTextColor(COLORREF cr);
  COLORREF GetTextBkColor() const;
  BOOL SetTextBkColor(COLORREF cr);
  BOOL SetBkImage(LVBKIMAGE* plvbkImage);
  // The bitmap (which the list then owns), tiled or placed at the offsets in percent.
  BOOL SetBkImage(HBITMAP hbm, BOOL fTile = TRUE, int xOffsetPercent = 0, int yOffsetPercent = 0);
  CToolTipCtrl* GetToolTips() const;
  CToolTipCtrl* SetToolTips(CToolTipCtrl* pWndTip);

  virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
  BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};
