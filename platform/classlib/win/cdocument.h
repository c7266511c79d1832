// CDocument: the data a template's views show. It keeps its views, title and path, knows whether it
// was changed, reads and writes itself through Serialize, and ends with its last view (m_bAutoDelete).
// Commands reach it through its active view; what it does not handle goes on to its template.
#pragma once

#include "platform/classlib/clist.h"
#include "platform/classlib/cstring.h"
#include "platform/classlib/win/ccmdtarget.h"
#include "platform/classlib/win/self_deleting.h"

class CArchive;
class CDocTemplate;
class CFrameWnd;
class CView;

class CDocument : public CCmdTarget {
  DECLARE_DYNAMIC(CDocument)
  CLASSLIB_SELF_DELETING

 public:
  CDocument() = default;
  // Leaves its template; the views must have gone already.
  ~CDocument() override;

  const CString& GetTitle() const { return m_strTitle; }
  // The frames of its views show the new title.
  virtual void SetTitle(LPCTSTR lpszTitle);
  const CString& GetPathName() const { return m_strPathName; }
  // The title becomes the file's name; bAddToMRU enters the path in the application's recent files.
  virtual void SetPathName(LPCTSTR lpszPathName, BOOL bAddToMRU = TRUE);
  CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }
  virtual BOOL IsModified() { return m_bModified; }
  virtual void SetModifiedFlag(BOOL bModified = TRUE) { m_bModified = bModified; }

  // ---- views --------------------------------------------------------------------------------------
  void AddView(CView* pView);
  void RemoveView(CView* pView);
  POSITION GetFirstViewPosition() const { return m_viewList.GetHeadPosition(); }
  CView* GetNextView(POSITION& rPosition) const;
  // Every view but pSender runs OnUpdate.
  void UpdateAllViews(CView* pSender, LPARAM lHint = 0, CObject* pHint = nullptr);
  // The view list changed: a document without views that deletes itself closes.
  virtual void OnChangedViewList();

  // ---- its life -----------------------------------------------------------------------------------
  // A new, empty document: DeleteContents, not modified.
  virtual BOOL OnNewDocument();
  // Reads the file through Serialize; FALSE (the user told) when it cannot be opened or read.
  virtual BOOL OnOpenDocument(LPCTSTR lpszPathName);
  virtual BOOL OnSaveDocument(LPCTSTR lpszPathName);
  // Destroys the frames of its views, then its contents, then itself when m_bAutoDelete (and made by new).
  virtual void OnCloseDocument();
  virtual void DeleteContents();
  // A modified document asks whether to save it (Yes saves, No discards); FALSE: the user cancelled.
  virtual BOOL SaveModified();
  // Whether the frame may close: a frame that is not the document's last asks nothing.
  virtual BOOL CanCloseFrame(CFrameWnd* pFrame);
  virtual void PreCloseFrame(CFrameWnd* pFrame);
  void Serialize(CArchive& ar) override;

  // Its own map, then its template's.
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

  // The number of frames other than pFrame that show this document.
  int CountOtherFrames(CFrameWnd* pFrame) const;

  BOOL m_bAutoDelete = TRUE;

 protected:
  CString m_strTitle;
  CString m_strPathName;
  CDocTemplate* m_pDocTemplate = nullptr;
  CPtrList m_viewList;
  BOOL m_bModified = FALSE;

  friend class CDocTemplate;
};
