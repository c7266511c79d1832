// CDocManager: the application's document templates and what the application asks of its documents
// (new, open, save before ending, close all). CWinApp::AddDocTemplate makes one (m_pDocManager), which
// the application owns; the manager owns the templates added to it.
#pragma once

#include "platform/classlib/clist.h"
#include "platform/classlib/cltypes.h"

class CDocTemplate;
class CDocument;

class CDocManager {
 public:
  CDocManager() = default;
  virtual ~CDocManager();
  CDocManager(const CDocManager&) = delete;
  CDocManager& operator=(const CDocManager&) = delete;

  virtual void AddDocTemplate(CDocTemplate* pTemplate);
  POSITION GetFirstDocTemplatePosition() const { return m_templateList.GetHeadPosition(); }
  CDocTemplate* GetNextDocTemplate(POSITION& rPos) const;

  // Opens (or activates, when it is open already) the document of that file through the template
  // that suits it best; null on failure.
  virtual CDocument* OpenDocumentFile(LPCTSTR lpszFileName);
  // Before the application ends: FALSE when the user kept a modified document open.
  virtual BOOL SaveAllModified();
  virtual void CloseAllDocuments(BOOL bEndSession);
  // A new document of the first template.
  virtual void OnFileNew();
  // Asks for a file (the file-dialog seam) and opens it.
  virtual void OnFileOpen();
  int GetOpenDocumentCount() const;

 protected:
  CPtrList m_templateList;
};
