// The view the pane makes where a build has no viewer of its own for a kind of file (a viewer library left
// out of the build). It checks that its file (the document's preview path) can be read: a file that cannot,
// or that is empty, is reported to the frame as not shown (the pane then shows its "File Corrupted"
// picture); otherwise it shows the picture that says this kind of file has no viewer.
#pragma once

#include "platform/classlib/cstring.h"
#include "platform/classlib/win/cview.h"
#include "preview/viewers/database_views.h"  // the table views the pane makes by name

class CPreviewStandInView : public CView {
  DECLARE_DYNAMIC(CPreviewStandInView)

 protected:
  CPreviewStandInView() = default;
  void OnDraw(CDC* pDC) override;
  // What the viewer does with its file while it is created; false when it cannot show it.
  virtual bool LoadPreviewFile(const CString& path);
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  DECLARE_MESSAGE_MAP()
};

// The viewers that can be told to show a page after they are created.
class PreviewNavigable {
 public:
  virtual ~PreviewNavigable() = default;
  virtual void Navigate2(const CString& url) = 0;
};

#define DORVANE_PREVIEW_STANDIN(name)  \
  class name : public CPreviewStandInView { \
    DECLARE_DYNCREATE(name)                 \
   public:                                  \
    name() = default;                       \
  };

// Any viewer whose own class is not in this build.
DORVANE_PREVIEW_STANDIN(CPendingViewerView)

#undef DORVANE_PREVIEW_STANDIN

