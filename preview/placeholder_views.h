// The two views the preview pane shows when no viewer shows the file: CCorrupted_NoPreview_View tells why
// (no file selected, a file that cannot be read without its disk image, a type without a viewer, or a file
// its viewer could not show, chosen from the frame's flags at every paint), CLargeFileView says the file is
// too large to preview. Both paint one picture of the resources, centred at its natural size, and load
// nothing.
#pragma once

#include "platform/classlib/win/cview.h"

class CPlaceholderView : public CView {
  DECLARE_DYNAMIC(CPlaceholderView)

 protected:
  CPlaceholderView() = default;
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  DECLARE_MESSAGE_MAP()
};

class CCorrupted_NoPreview_View : public CPlaceholderView {
  DECLARE_DYNCREATE(CCorrupted_NoPreview_View)

 public:
  CCorrupted_NoPreview_View() = default;
  // The bitmap the view paints now.
  static UINT CurrentPicture();

 protected:
  void OnDraw(CDC* pDC) override;
};

class CLargeFileView : public CPlaceholderView {
  DECLARE_DYNCREATE(CLargeFileView)

 public:
  CLargeFileView() = default;

 protected:
  void OnDraw(CDC* pDC) override;
};
