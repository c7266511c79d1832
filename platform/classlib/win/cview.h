// CView: a window that shows a document. It joins its document when it is created with a creation
// context, paints through OnDraw, gets its first update (OnInitialUpdate) from its frame, becomes the
// frame's active view when it is clicked, and passes the commands it does not handle to its document.
// Views are created with new (usually by dynamic creation) and delete themselves with their window;
// a view that is a member or on the stack is left to its owner.
#pragma once

#include "platform/classlib/win/cwnd.h"
#include "platform/classlib/win/self_deleting.h"

class CDC;
class CDocument;
class CFrameWnd;
struct CPrintInfo;

class CView : public CWnd {
  DECLARE_DYNAMIC(CView)
  CLASSLIB_SELF_DELETING

 public:
  CView() = default;
  // Leaves its document.
  ~CView() override;

  CDocument* GetDocument() const { return m_pDocument; }

  virtual void OnDraw(CDC* pDC) = 0;
  // The default runs OnUpdate(nullptr, 0, nullptr).
  virtual void OnInitialUpdate();
  // The document changed: the default repaints the whole view.
  virtual void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint);
  virtual void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = nullptr);
  // The frame's active view changed: the view that becomes active takes the focus when its top-level
  // window is active.
  virtual void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView);
  // Whether the view has the document's item selected (an embedded object's item); none by default.
  virtual BOOL IsSelected(const CObject* /*pDocItem*/) const { return FALSE; }

  BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
  void PostNcDestroy() override;

  // The library's class for frames and views (double clicks, redrawn when sized, window background).
  static LPCTSTR FrameOrViewClassName(HICON hIcon = nullptr);

 protected:
  CDocument* m_pDocument = nullptr;
  friend class CDocument;

  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnDestroy();
  afx_msg void OnPaint();
  afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
  afx_msg LRESULT OnInitialUpdateMessage(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()
};
