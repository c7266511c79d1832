// The preview of ".gif", ".vdoc", ".xls", ".xlsx", ".htm" and ".mht" files: the system's web-browser
// control, told to show the file, under an empty transparent child dialog that leaves a strip of 8
// pixels at the right and bottom. Where the system has no browser control, or the control has stopped
// without a document after navigating (no HTML engine), the preview's component is missing.
#pragma once

#include <windows.h>

#include "platform/classlib/win/cview.h"
#include "preview/viewers/control_site.h"
#include "preview/viewers/viewer_standins.h"

struct IWebBrowser2;

class CHtml_View : public CView, public PreviewNavigable {
  DECLARE_DYNCREATE(CHtml_View)

 public:
  CHtml_View() = default;
  ~CHtml_View() override;
  static constexpr int kOverlayMargin = 8;
  void Navigate2(const CString& url) override;
  bool HasBrowser() const { return m_pBrowser != nullptr; }
  HWND Overlay() const { return m_hOverlay; }
  // The site the browser control was given (null without a browser control).
  InPlaceControlSite* Site() const { return m_inPlace.Site(); }

 protected:
  void OnDraw(CDC*) override {}
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnDestroy();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  DECLARE_MESSAGE_MAP()

 private:
  bool CreateBrowser();
  // False when the control has ended its navigation without a document.
  bool HasDocument() const;
  void ReleaseBrowser();

  IWebBrowser2* m_pBrowser = nullptr;
  InPlaceControl m_inPlace;
  HWND m_hOverlay = nullptr;  // the transparent dialog over the page
};
