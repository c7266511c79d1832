// CTKListCtrl and CTKListView: a list control and a list view with the toolkit's list mix-in
// (CTKListBase): sort arrows, stored column widths, row colours, a tinted sort column and painting
// through a memory DC. They forward their messages to it; a class derived from them sorts its rows in
// SortList.
#pragma once

#include "platform/classlib/win/clistctrl.h"
#include "platform/classlib/win/clistview.h"
#include "toolkit/controls/tk_list_base.h"

class CTKListCtrl : public CListCtrl, public CTKListBase {
  DECLARE_DYNAMIC(CTKListCtrl)

 public:
  CTKListCtrl();
  ~CTKListCtrl() override;

  using CListCtrl::GetExtendedStyle;
  using CListCtrl::SetExtendedStyle;

 protected:
  BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  void PreSubclassWindow() override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
  afx_msg void OnCustomDraw(NMHDR* pNMHDR, LRESULT* pResult);
  DECLARE_MESSAGE_MAP()

 private:
  BYTE m_bInitOnSubclass = TRUE;
};

class CTKListView : public CListView, public CTKListBase {
  DECLARE_DYNCREATE(CTKListView)

 public:
  CTKListView();
  ~CTKListView() override;

 protected:
  BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  void PreSubclassWindow() override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
  afx_msg void OnCustomDraw(NMHDR* pNMHDR, LRESULT* pResult);
  DECLARE_MESSAGE_MAP()

 private:
  BYTE m_bInitOnSubclass = TRUE;
};
