// CFirstView_HDD: Page 1: the source tree and the partition search. So far the page's view with its background; the page grows here.
#pragma once

#include "platform/classlib/win/cview.h"

class CFirstView_HDD : public CView {
  DECLARE_DYNCREATE(CFirstView_HDD)

 public:
  CFirstView_HDD() = default;

 protected:
  void OnDraw(CDC* pDC) override;
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  DECLARE_MESSAGE_MAP()
};
