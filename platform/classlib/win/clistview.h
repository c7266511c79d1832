// CListView: a view that is a list-view common control ("SysListView32"). The control paints itself;
// GetListCtrl gives the list control's operations on the view's own window.
#pragma once

#include "platform/classlib/win/clistctrl.h"
#include "platform/classlib/win/cview.h"

class CListView : public CView {
  DECLARE_DYNCREATE(CListView)

 public:
  CListView() = default;
  CListCtrl& GetListCtrl() const;

 protected:
  BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  void OnDraw(CDC* pDC) override;
  afx_msg void OnPaint();
  DECLARE_MESSAGE_MAP()
};
