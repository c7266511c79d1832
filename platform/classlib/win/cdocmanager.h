// What the application asks of its documents. The document/view classes supply the implementation
// (the list of document templates) and set CWinApp::m_pDocManager; the application owns it.
#pragma once

#include "platform/classlib/cltypes.h"

class CDocument;

class CDocManager {
 public:
  virtual ~CDocManager() = default;
  // Opens (or activates) the document of that file; null on failure.
  virtual CDocument* OpenDocumentFile(LPCTSTR lpszFileName) = 0;
  // Before the application ends: FALSE when the user kept a modified document open.
  virtual BOOL SaveAllModified() = 0;
  virtual void CloseAllDocuments(BOOL bEndSession) = 0;
};
