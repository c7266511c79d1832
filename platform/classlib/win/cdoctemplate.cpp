// Document templates: their strings, documents and frames; single and multiple documents.
#include "platform/classlib/win/cdoctemplate.h"

#include "platform/classlib/win/ccreatecontext.h"
#include "platform/classlib/win/cdocument.h"
#include "platform/classlib/win/cframewnd.h"
#include "platform/classlib/win/cview.h"
#include "platform/classlib/win/cwinapp.h"

IMPLEMENT_DYNAMIC(CDocTemplate, CCmdTarget)
IMPLEMENT_DYNAMIC(CSingleDocTemplate, CDocTemplate)
IMPLEMENT_DYNAMIC(CMultiDocTemplate, CDocTemplate)

CDocTemplate::CDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                           CRuntimeClass* pViewClass)
    : m_nIDResource(nIDResource), m_pDocClass(pDocClass), m_pFrameClass(pFrameClass), m_pViewClass(pViewClass) {}

CDocTemplate::~CDocTemplate() {}

// ---- strings --------------------------------------------------------------------------------------

void CDocTemplate::LoadTemplate() {
  if (m_strDocStrings.IsEmpty()) m_strDocStrings.LoadString(m_nIDResource);
}

BOOL CDocTemplate::GetDocString(CString& rString, DocStringIndex index) const {
  const_cast<CDocTemplate*>(this)->LoadTemplate();
  rString.Empty();
  int start = 0;
  for (int field = 0; field < index; ++field) {
    int feed = m_strDocStrings.Find(_T('\n'), start);
    if (feed < 0) return FALSE;
    start = feed + 1;
  }
  if (start > m_strDocStrings.GetLength()) return FALSE;
  int end = m_strDocStrings.Find(_T('\n'), start);
  rString = end < 0 ? m_strDocStrings.Mid(start) : m_strDocStrings.Mid(start, end - start);
  return TRUE;
}

CString CDocTemplate::DefaultTitle(UINT nNumber) const {
  CString title;
  if (!GetDocString(title, docName) || title.IsEmpty()) {
    if (!title.LoadString(AFX_IDS_UNTITLED)) title = _T("Untitled");
  }
  if (nNumber != 0) {
    CString numbered;
    numbered.Format(_T("%s%u"), title.GetString(), nNumber);
    return numbered;
  }
  return title;
}

// ---- documents and frames -------------------------------------------------------------------------

void CDocTemplate::AddDocument(CDocument* pDoc) { pDoc->m_pDocTemplate = this; }

void CDocTemplate::RemoveDocument(CDocument* pDoc) {
  if (pDoc->m_pDocTemplate == this) pDoc->m_pDocTemplate = nullptr;
}

CDocument* CDocTemplate::CreateNewDocument() {
  if (m_pDocClass == nullptr || !m_pDocClass->IsDerivedFrom(RUNTIME_CLASS(CDocument))) return nullptr;
  auto* pDoc = static_cast<CDocument*>(m_pDocClass->CreateObject());
  if (pDoc != nullptr) AddDocument(pDoc);
  return pDoc;
}

CFrameWnd* CDocTemplate::CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther) {
  if (m_pFrameClass == nullptr || !m_pFrameClass->IsDerivedFrom(RUNTIME_CLASS(CFrameWnd))) return nullptr;
  CCreateContext context;
  context.m_pCurrentFrame = pOther;
  context.m_pCurrentDoc = pDoc;
  context.m_pNewViewClass = m_pViewClass;
  context.m_pNewDocTemplate = this;
  auto* pFrame = static_cast<CFrameWnd*>(m_pFrameClass->CreateObject());
  if (pFrame == nullptr) return nullptr;
  // A frame that fails has deleted itself with its window.
  if (!pFrame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, &context)) return nullptr;
  return pFrame;
}

void CDocTemplate::InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible) {
  pFrame->InitialUpdateFrame(pDoc, bMakeVisible);
}

void CDocTemplate::DestroyFrameKeepingDocument(CFrameWnd* pFrame, CDocument* pDoc) {
  BOOL bAutoDelete = pDoc->m_bAutoDelete;
  pDoc->m_bAutoDelete = FALSE;
  pFrame->DestroyWindow();
  pDoc->m_bAutoDelete = bAutoDelete;
}

BOOL CDocTemplate::PrepareDocument(CDocument* pDoc, LPCTSTR lpszPathName) {
  if (lpszPathName == nullptr) {
    SetDefaultTitle(pDoc);
    return pDoc->OnNewDocument();
  }
  CWaitCursor wait;
  if (!pDoc->OnOpenDocument(lpszPathName)) return FALSE;
  pDoc->SetPathName(lpszPathName);
  return TRUE;
}

CDocTemplate::Confidence CDocTemplate::MatchDocType(LPCTSTR lpszPathName, CDocument*& rpDocMatch) {
  rpDocMatch = nullptr;
  for (POSITION pos = GetFirstDocPosition(); pos != nullptr;) {
    CDocument* pDoc = GetNextDoc(pos);
    if (pDoc->GetPathName().CompareNoCase(lpszPathName) == 0) {
      rpDocMatch = pDoc;
      return yesAlreadyOpen;
    }
  }
  CString extension;
  CString path(lpszPathName);
  if (GetDocString(extension, filterExt) && !extension.IsEmpty() && path.GetLength() >= extension.GetLength() &&
      path.Right(extension.GetLength()).CompareNoCase(extension) == 0) {
    return yesAttemptNative;
  }
  return yesAttemptForeign;
}

BOOL CDocTemplate::SaveAllModified() {
  for (POSITION pos = GetFirstDocPosition(); pos != nullptr;) {
    if (!GetNextDoc(pos)->SaveModified()) return FALSE;
  }
  return TRUE;
}

void CDocTemplate::CloseAllDocuments(BOOL) {
  // Each close removes the document from the list: always take the first one left.
  for (POSITION pos = GetFirstDocPosition(); pos != nullptr; pos = GetFirstDocPosition()) {
    CDocument* pDoc = GetNextDoc(pos);
    BOOL bAutoDelete = pDoc->m_bAutoDelete;
    pDoc->OnCloseDocument();
    if (!bAutoDelete) RemoveDocument(pDoc);  // it stays, but no longer as one of ours
  }
}

// ---- one document ---------------------------------------------------------------------------------

CSingleDocTemplate::CSingleDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                                       CRuntimeClass* pViewClass)
    : CDocTemplate(nIDResource, pDocClass, pFrameClass, pViewClass) {}

CSingleDocTemplate::~CSingleDocTemplate() {
  if (m_pOnlyDoc != nullptr) CDocTemplate::RemoveDocument(m_pOnlyDoc);
}

void CSingleDocTemplate::AddDocument(CDocument* pDoc) {
  CDocTemplate::AddDocument(pDoc);
  m_pOnlyDoc = pDoc;
}

void CSingleDocTemplate::RemoveDocument(CDocument* pDoc) {
  CDocTemplate::RemoveDocument(pDoc);
  if (m_pOnlyDoc == pDoc) m_pOnlyDoc = nullptr;
}

POSITION CSingleDocTemplate::GetFirstDocPosition() const {
  return m_pOnlyDoc != nullptr ? reinterpret_cast<POSITION>(m_pOnlyDoc) : nullptr;
}

CDocument* CSingleDocTemplate::GetNextDoc(POSITION& rPos) const {
  auto* pDoc = reinterpret_cast<CDocument*>(rPos);
  rPos = nullptr;
  return pDoc;
}

void CSingleDocTemplate::SetDefaultTitle(CDocument* pDocument) { pDocument->SetTitle(DefaultTitle(0)); }

CDocument* CSingleDocTemplate::OpenDocumentFile(LPCTSTR lpszPathName, BOOL bMakeVisible) {
  CDocument* pDoc = m_pOnlyDoc;
  CFrameWnd* pFrame = nullptr;
  bool created = false;
  if (pDoc != nullptr) {
    if (!pDoc->SaveModified()) return nullptr;
    POSITION pos = pDoc->GetFirstViewPosition();
    if (pos != nullptr) pFrame = pDoc->GetNextView(pos)->GetParentFrame();
  } else {
    pDoc = CreateNewDocument();
    if (pDoc == nullptr) return nullptr;
    created = true;
  }
  bool frameCreated = false;
  if (pFrame == nullptr) {
    // The document must not end with the frame's view if the frame fails half way.
    BOOL bAutoDelete = pDoc->m_bAutoDelete;
    pDoc->m_bAutoDelete = FALSE;
    pFrame = CreateNewFrame(pDoc, nullptr);
    pDoc->m_bAutoDelete = bAutoDelete;
    if (pFrame == nullptr) {
      if (created) delete pDoc;
      return nullptr;
    }
    frameCreated = true;
  }
  if (!PrepareDocument(pDoc, lpszPathName)) {
    // A frame made for this document goes again, and a document made for it.
    if (frameCreated) DestroyFrameKeepingDocument(pFrame, pDoc);
    if (created) delete pDoc;
    return nullptr;
  }
  CWinThread* pThread = AfxGetThread();
  if (frameCreated && pThread != nullptr && pThread->m_pMainWnd == nullptr) pThread->m_pMainWnd = pFrame;
  InitialUpdateFrame(pFrame, pDoc, bMakeVisible);
  return pDoc;
}

// ---- a document each --------------------------------------------------------------------------------

CMultiDocTemplate::CMultiDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                                     CRuntimeClass* pViewClass)
    : CDocTemplate(nIDResource, pDocClass, pFrameClass, pViewClass) {}

CMultiDocTemplate::~CMultiDocTemplate() {
  for (POSITION pos = m_docList.GetHeadPosition(); pos != nullptr;) {
    CDocTemplate::RemoveDocument(static_cast<CDocument*>(m_docList.GetNext(pos)));
  }
}

void CMultiDocTemplate::AddDocument(CDocument* pDoc) {
  CDocTemplate::AddDocument(pDoc);
  m_docList.AddTail(pDoc);
}

void CMultiDocTemplate::RemoveDocument(CDocument* pDoc) {
  CDocTemplate::RemoveDocument(pDoc);
  if (POSITION pos = m_docList.Find(pDoc)) m_docList.RemoveAt(pos);
}

POSITION CMultiDocTemplate::GetFirstDocPosition() const { return m_docList.GetHeadPosition(); }

CDocument* CMultiDocTemplate::GetNextDoc(POSITION& rPos) const {
  return static_cast<CDocument*>(m_docList.GetNext(rPos));
}

void CMultiDocTemplate::SetDefaultTitle(CDocument* pDocument) { pDocument->SetTitle(DefaultTitle(++m_nUntitledCount)); }

CDocument* CMultiDocTemplate::OpenDocumentFile(LPCTSTR lpszPathName, BOOL bMakeVisible) {
  CDocument* pDoc = CreateNewDocument();
  if (pDoc == nullptr) return nullptr;
  BOOL bAutoDelete = pDoc->m_bAutoDelete;
  pDoc->m_bAutoDelete = FALSE;
  CWinThread* pThread = AfxGetThread();
  CFrameWnd* pMain = pThread != nullptr ? pThread->m_pMainWnd != nullptr ? pThread->m_pMainWnd->AsFrameWnd() : nullptr
                                        : nullptr;
  CFrameWnd* pFrame = CreateNewFrame(pDoc, pMain);
  pDoc->m_bAutoDelete = bAutoDelete;
  if (pFrame == nullptr) {
    delete pDoc;
    return nullptr;
  }
  if (!PrepareDocument(pDoc, lpszPathName)) {
    DestroyFrameKeepingDocument(pFrame, pDoc);
    delete pDoc;
    return nullptr;
  }
  InitialUpdateFrame(pFrame, pDoc, bMakeVisible);
  return pDoc;
}
