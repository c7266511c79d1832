// CTKListCtrl and CTKListView: a list control and a list view with the toolkit's list mix-in
// (CTKListBase): sort arrows, stored column widths, row colours, a tinted sort column and painting
// through a memory DC. Both hand their messages to it through CTKListWindow; a class derived from them
// sorts its rows in SortList.
#pragma once

#include "platform/classlib/win/clistctrl.h"
#include "platform/classlib/win/clistview.h"
#include "toolkit/controls/tk_list_base.h"

// A list window (TList: CListCtrl or CListView) that hands its messages to the mix-in.
template <class TList>
class CTKListWindow : public TList, public CTKListBase {
 public:
  CTKListWindow() : CTKListBase(this) {}

 protected:
  BOOL PreCreateWindow(CREATESTRUCT& cs) override {
    m_bInitOnSubclass = FALSE;
    return TList::PreCreateWindow(cs);
  }
  void PreSubclassWindow() override {
    TList::PreSubclassWindow();
    if (m_bInitOnSubclass) InitControl();
  }
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_CREATE) {
      const LRESULT result = TList::WindowProc(message, wParam, lParam);
      if (result != -1) InitControl();
      return result;
    }
    LRESULT result = 0;
    if (HandleListMessage(message, wParam, lParam, &result)) return result;
    return TList::WindowProc(message, wParam, lParam);
  }
  BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override {
    if (HandleHeaderNotify(reinterpret_cast<const NMHDR*>(lParam), pResult)) return TRUE;
    return TList::OnNotify(wParam, lParam, pResult);
  }
  afx_msg void OnCustomDraw(NMHDR* pNMHDR, LRESULT* pResult) {
    HandleCustomDraw(reinterpret_cast<NMLVCUSTOMDRAW*>(pNMHDR), pResult);
  }

 private:
  BYTE m_bInitOnSubclass = TRUE;
};

class CTKListCtrl : public CTKListWindow<CListCtrl> {
  DECLARE_DYNAMIC(CTKListCtrl)

 public:
  CTKListCtrl() = default;
  ~CTKListCtrl() override;

  using CListCtrl::GetExtendedStyle;
  using CListCtrl::SetExtendedStyle;

 protected:
  DECLARE_MESSAGE_MAP()
};

class CTKListView : public CTKListWindow<CListView> {
  DECLARE_DYNCREATE(CTKListView)

 public:
  CTKListView() = default;

 protected:
  // A bordered child, as the list view control it is.
  BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  DECLARE_MESSAGE_MAP()
};
