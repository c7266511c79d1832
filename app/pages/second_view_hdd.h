// CSecondView_HDD: Page 2: the scan with its progress. So far the page's view with its background; the page grows here.
#pragma once

#include "platform/classlib/win/cview.h"

class CSecondView_HDD : public CView {
  DECLARE_DYNCREATE(CSecondView_HDD)

 public:
  CSecondView_HDD() = default;

 protected:
  void OnDraw(CDC* pDC) override;
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  DECLARE_MESSAGE_MAP()
};
