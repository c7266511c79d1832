// The preview of ".html" files: the built-in page viewer on an empty child dialog (its canvas), with a
// status line below it. The viewer reads the previewed file through "file://" and its path, so relative
// pictures and links resolve against the file's folder. One view at a time: the pane makes a new one
// for each file and destroys the previous one first.
#pragma once

#include <windows.h>

#include "platform/classlib/win/cview.h"

namespace htmlview {
class HtmlBrowser;
}

class CCustomHTMLViewer : public CView {
  DECLARE_DYNCREATE(CCustomHTMLViewer)

 public:
  CCustomHTMLViewer() = default;
  static constexpr int kStatusHeight = 20;
  // The viewer of the view that exists now, its canvas and its status line (null when there is none).
  static htmlview::HtmlBrowser* Browser();
  static HWND Canvas();
  static HWND Status();

 protected:
  void OnDraw(CDC*) override {}
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnDestroy();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  DECLARE_MESSAGE_MAP()
};
