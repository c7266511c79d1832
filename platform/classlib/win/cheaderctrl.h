// CHeaderCtrl: the column header of a list control (or a header of its own). Owner-drawn items
// (HDF_OWNERDRAW) get the header parent's WM_DRAWITEM in DrawItem.
#pragma once

#include "platform/classlib/win/controlsupport.h"
#include "platform/classlib/win/cwnd.h"

class CImageList;

class CHeaderCtrl : public CWnd {
  DECLARE_DYNAMIC(CHeaderCtrl)
  CLASSLIB_CONTROL_HANDLE(CHeaderCtrl)

 public:
  CHeaderCtrl() = default;
  virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  int GetItemCount() const;
  // The new item's index, or -1.
  int InsertItem(int nPos, HDITEM* phdi);
  BOOL DeleteItem(int nPos);
  // The fields of phdi->mask are read or written.
  BOOL GetItem(int nPos, HDITEM* pHeaderItem) const;
  BOOL SetItem(int nPos, HDITEM* pHeaderItem);
  BOOL GetItemRect(int nIndex, LPRECT lpRect) const;
  // Where the header goes in its parent's rectangle and what is left below it.
  BOOL Layout(HDLAYOUT* pHeaderLayout);
  // The item under phdhti->pt, also in the answer (-1 for none).
  int HitTest(LPHDHITTESTINFO phdhti);
  int OrderToIndex(int nOrder) const;
  BOOL GetOrderArray(LPINT piArray, int iCount = -1) const;
  BOOL SetOrderArray(int iCount, LPINT piArray);
  CImageList* GetImageList() const;
  CImageList* SetImageList(CImageList* pImageList);

  virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
  BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};
