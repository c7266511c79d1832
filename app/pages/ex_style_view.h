// CEx_StyleView: Page 0: the image and the recovery mode. So far the page's view with its background; the page grows here.
#pragma once

#include "platform/classlib/win/cview.h"

class CEx_StyleView : public CView {
  DECLARE_DYNCREATE(CEx_StyleView)

 public:
  CEx_StyleView() = default;

  // The Browse step: asks for the image file. Run at start-up and by the Open command.
  void OnBrowse();

 protected:
  void OnDraw(CDC* pDC) override;
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  DECLARE_MESSAGE_MAP()
};
