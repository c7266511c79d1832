// CCreateContext: what a frame or view is created with: the view class to make, the document it shows
// and the template they come from. Passed as the lpParam of the window's creation.
#pragma once

struct CRuntimeClass;
class CDocument;
class CDocTemplate;
class CView;
class CFrameWnd;

struct CCreateContext {
  CRuntimeClass* m_pNewViewClass = nullptr;  // the frame's first view (or the view CreateView makes)
  CDocument* m_pCurrentDoc = nullptr;         // the document the new view shows
  CDocTemplate* m_pNewDocTemplate = nullptr;  // the template of a new document's frame
  CView* m_pLastView = nullptr;
  CFrameWnd* m_pCurrentFrame = nullptr;
};
