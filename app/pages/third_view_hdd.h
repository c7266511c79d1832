// CThirdView_HDD: page 4, the results: the tree of folders, the item list and the preview. So far the
// page's view with its background, the folder tree and the item list under its header; the page grows here.
#pragma once

#include "app/results/result_list_ctrl.h"
#include "app/results/result_tree_ctrl.h"
#include "platform/classlib/win/cview.h"

class CThirdView_HDD : public CView {
  DECLARE_DYNCREATE(CThirdView_HDD)

 public:
  CThirdView_HDD() = default;

  ResultListCtrl& ResultList() { return m_list; }
  ResultTreeCtrl& ResultTree() { return m_tree; }
  // Save (159) and Home (61481) shown and enabled after a snapshot was loaded.
  void ShowSaveAndHome();
  // Back (160) disabled and hidden after a snapshot was loaded.
  void HideBack();

 protected:
  void OnDraw(CDC* pDC) override;
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  DECLARE_MESSAGE_MAP()

 private:
  ResultTreeCtrl m_tree;
  ResultListCtrl m_list;
};
