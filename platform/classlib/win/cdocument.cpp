// CDocument: its views, title and path, reading and writing through Serialize, and its end.
#include "platform/classlib/win/cdocument.h"

#include "platform/classlib/carchive.h"
#include "platform/classlib/cfile.h"
#include "platform/classlib/win/cdoctemplate.h"
#include "platform/classlib/win/cframewnd.h"
#include "platform/classlib/win/cview.h"
#include "platform/classlib/win/cwinapp.h"
#include "platform/seams/seams.h"

IMPLEMENT_DYNAMIC(CDocument, CCmdTarget)

CDocument::~CDocument() {
  // Views that outlive their document must not reach back into it.
  for (POSITION pos = m_viewList.GetHeadPosition(); pos != nullptr;) {
    static_cast<CView*>(m_viewList.GetNext(pos))->m_pDocument = nullptr;
  }
  if (m_pDocTemplate != nullptr) m_pDocTemplate->RemoveDocument(this);
}

// ---- title and path -------------------------------------------------------------------------------

void CDocument::SetTitle(LPCTSTR lpszTitle) {
  m_strTitle = lpszTitle;
  CFrameWnd* pLastFrame = nullptr;
  for (POSITION pos = GetFirstViewPosition(); pos != nullptr;) {
    CFrameWnd* pFrame = GetNextView(pos)->GetParentFrame();
    if (pFrame != nullptr && pFrame != pLastFrame) pFrame->OnUpdateFrameTitle(TRUE);
    pLastFrame = pFrame;
  }
}

void CDocument::SetPathName(LPCTSTR lpszPathName, BOOL bAddToMRU) {
  wchar_t full[MAX_PATH] = {};
  DWORD length = ::GetFullPathNameW(lpszPathName, MAX_PATH, full, nullptr);
  m_strPathName = length > 0 && length < MAX_PATH ? CString(full) : CString(lpszPathName);
  SetTitle(m_strPathName.Mid(m_strPathName.ReverseFind(_T('\\')) + 1));
  if (bAddToMRU) {
    if (CWinApp* pApp = AfxGetApp()) pApp->AddToRecentFileList(m_strPathName);
  }
}

// ---- views ----------------------------------------------------------------------------------------

void CDocument::AddView(CView* pView) {
  if (pView == nullptr || pView->m_pDocument == this) return;
  if (pView->m_pDocument != nullptr) pView->m_pDocument->RemoveView(pView);
  m_viewList.AddTail(pView);
  pView->m_pDocument = this;
  OnChangedViewList();
}

void CDocument::RemoveView(CView* pView) {
  POSITION pos = m_viewList.Find(pView);
  if (pos == nullptr) return;
  m_viewList.RemoveAt(pos);
  pView->m_pDocument = nullptr;
  OnChangedViewList();
}

CView* CDocument::GetNextView(POSITION& rPosition) const {
  return static_cast<CView*>(m_viewList.GetNext(rPosition));
}

void CDocument::UpdateAllViews(CView* pSender, LPARAM lHint, CObject* pHint) {
  for (POSITION pos = GetFirstViewPosition(); pos != nullptr;) {
    CView* pView = GetNextView(pos);
    if (pView != pSender) pView->OnUpdate(pSender, lHint, pHint);
  }
}

void CDocument::OnChangedViewList() {
  if (m_viewList.IsEmpty() && m_bAutoDelete) OnCloseDocument();
}

int CDocument::CountOtherFrames(CFrameWnd* pFrame) const {
  int count = 0;
  CFrameWnd* pCounted = nullptr;
  for (POSITION pos = GetFirstViewPosition(); pos != nullptr;) {
    CFrameWnd* pViewFrame = GetNextView(pos)->GetParentFrame();
    if (pViewFrame != nullptr && pViewFrame != pFrame && pViewFrame != pCounted) {
      ++count;
      pCounted = pViewFrame;
    }
  }
  return count;
}

// ---- its life -------------------------------------------------------------------------------------

void CDocument::DeleteContents() {}
void CDocument::Serialize(CArchive&) {}
void CDocument::PreCloseFrame(CFrameWnd*) {}

BOOL CDocument::OnNewDocument() {
  DeleteContents();
  m_strPathName.Empty();
  SetModifiedFlag(FALSE);
  return TRUE;
}

namespace {
void ReportFile(LPCTSTR lpszFormat, LPCTSTR lpszPathName) {
  CString text;
  text.Format(lpszFormat, lpszPathName);
  AfxMessageBox(text, MB_ICONEXCLAMATION);
}
}  // namespace

BOOL CDocument::OnOpenDocument(LPCTSTR lpszPathName) {
  CFile file;
  CFileException error;
  if (!file.Open(lpszPathName, CFile::modeRead | CFile::shareDenyWrite, &error)) {
    ReportFile(_T("The file %s could not be opened."), lpszPathName);
    return FALSE;
  }
  DeleteContents();
  SetModifiedFlag(TRUE);  // a read that fails half way leaves a changed document
  try {
    CArchive archive(&file, CArchive::load | CArchive::bNoFlushOnDelete);
    Serialize(archive);
    archive.Close();
  } catch (CException* e) {
    e->Delete();
    DeleteContents();
    ReportFile(_T("The file %s could not be read: it is damaged or of another kind."), lpszPathName);
    return FALSE;
  }
  SetModifiedFlag(FALSE);
  return TRUE;
}

BOOL CDocument::OnSaveDocument(LPCTSTR lpszPathName) {
  CFile file;
  CFileException error;
  if (!file.Open(lpszPathName, CFile::modeCreate | CFile::modeWrite, &error)) {
    ReportFile(_T("The file %s could not be saved."), lpszPathName);
    return FALSE;
  }
  try {
    CArchive archive(&file, CArchive::store | CArchive::bNoFlushOnDelete);
    Serialize(archive);
    archive.Close();
    file.Close();
  } catch (CException* e) {
    e->Delete();
    file.Abort();
    ReportFile(_T("The file %s could not be saved."), lpszPathName);
    return FALSE;
  }
  SetModifiedFlag(FALSE);
  return TRUE;
}

void CDocument::OnCloseDocument() {
  // The views go with their frames; meanwhile their leaving must not close the document again.
  BOOL bAutoDelete = m_bAutoDelete;
  m_bAutoDelete = FALSE;
  while (!m_viewList.IsEmpty()) {
    auto* pView = static_cast<CView*>(m_viewList.GetHead());
    CFrameWnd* pFrame = pView->GetParentFrame();
    if (pFrame != nullptr) {
      PreCloseFrame(pFrame);
      pFrame->DestroyWindow();
    } else {
      pView->DestroyWindow();
    }
    if (!m_viewList.IsEmpty() && m_viewList.GetHead() == pView) RemoveView(pView);  // one that stayed
  }
  m_bAutoDelete = bAutoDelete;
  DeleteContents();
  if (m_bAutoDelete && IsSelfDeletable()) delete this;
}

BOOL CDocument::CanCloseFrame(CFrameWnd* pFrame) {
  return CountOtherFrames(pFrame) > 0 || SaveModified();
}

BOOL CDocument::SaveModified() {
  if (!IsModified()) return TRUE;
  CString name = m_strPathName.IsEmpty() ? m_strTitle : m_strPathName;
  CString prompt;
  prompt.Format(_T("Save changes to %s?"), name.GetString());
  switch (AfxMessageBox(prompt, MB_YESNOCANCEL | MB_ICONEXCLAMATION)) {
    case IDNO:
      return TRUE;
    case IDYES:
      break;
    default:
      return FALSE;
  }
  CString path = m_strPathName;
  if (path.IsEmpty()) {
    // Never saved: ask where, as the template's file type.
    seams::FileDialogRequest request;
    request.open = false;
    CString filterName;
    CString extension;
    if (m_pDocTemplate != nullptr && m_pDocTemplate->GetDocString(filterName, CDocTemplate::filterName) &&
        m_pDocTemplate->GetDocString(extension, CDocTemplate::filterExt)) {
      request.filter = (filterName + _T("|*") + extension + _T("||")).ToUtf16();
      request.defaultExtension = extension.Mid(extension.Left(1) == _T(".") ? 1 : 0).ToUtf16();
    }
    request.initialName = m_strTitle.ToUtf16();
    CWnd* pMainWnd = AfxGetMainWnd();
    request.owner = pMainWnd != nullptr ? pMainWnd->m_hWnd : nullptr;
    seams::FileDialogResult chosen = seams::FileDialogs().ChooseFiles(request);
    if (!chosen.ok || chosen.paths.empty()) return FALSE;
    path = CString::FromUtf16(chosen.paths.front());
  }
  if (!OnSaveDocument(path)) return FALSE;
  SetPathName(path);
  return TRUE;
}

BOOL CDocument::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  if (CCmdTarget::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  return m_pDocTemplate != nullptr && m_pDocTemplate->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}
