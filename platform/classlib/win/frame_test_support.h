// What the frame, document and dialog tests share: a document that reads a line of text, a view that
// shows it, a frame with a status bar and a bar of fixed thickness, and that bar.
#pragma once

#include <string>

#include "platform/classlib/win/classlib_win.h"
#include "platform/classlib/win/frame_test_ids.h"

namespace cltest {

// A bar that asks for a fixed thickness across its edge (plus its edges and borders).
class FixedBar : public CControlBar {
 public:
  explicit FixedBar(int thickness = 30) : m_thickness(thickness) {}
  BOOL Create(CWnd* pParentWnd, DWORD dwBarStyle, UINT nID);
  CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
  void OnUpdateCmdUI(CCmdTarget* pTarget, BOOL bDisableIfNoHandler) override;

  int updates = 0;
  CCmdTarget* lastTarget = nullptr;

 protected:
  afx_msg void OnPaint();
  DECLARE_MESSAGE_MAP()

 private:
  int m_thickness;
};

class SampleDoc : public CDocument {
  DECLARE_DYNCREATE(SampleDoc)

 public:
  CString text;
  int newDocuments = 0;
  int commands = 0;
  BOOL OnNewDocument() override;
  void Serialize(CArchive& ar) override;

 protected:
  afx_msg void OnSampleCommand() { ++commands; }
  DECLARE_MESSAGE_MAP()
};

class SampleView : public CView {
  DECLARE_DYNCREATE(SampleView)

 public:
  int initialUpdates = 0;
  int draws = 0;
  SampleDoc* GetSampleDoc() const { return static_cast<SampleDoc*>(GetDocument()); }
  void OnInitialUpdate() override;
  void OnDraw(CDC* pDC) override;
};

// A frame with the status bar (message pane and the three key indicators) and a bar along the top.
class SampleFrame : public CFrameWnd {
  DECLARE_DYNCREATE(SampleFrame)

 public:
  CStatusBar status;
  FixedBar toolbar{28};

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  DECLARE_MESSAGE_MAP()
};

// The window's rectangle in its parent's client coordinates.
CRect PlaceOf(const CWnd& wnd);
// Pumps this thread's messages (posted ones and paints) without waiting.
void Pump();
// Takes a WM_QUIT out of the queue (the end of a main window posts one); answers whether there was.
bool TakeQuit();

}  // namespace cltest
