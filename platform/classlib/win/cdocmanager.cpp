// CDocManager: the application's templates, and new, open, save-all and close-all across them.
#include "platform/classlib/win/cdocmanager.h"

#include "platform/classlib/win/cdoctemplate.h"
#include "platform/classlib/win/cdocument.h"
#include "platform/classlib/win/cframewnd.h"
#include "platform/classlib/win/cview.h"
#include "platform/classlib/win/cwinapp.h"
#include "platform/seams/seams.h"

CDocManager::~CDocManager() {
  while (!m_templateList.IsEmpty()) delete static_cast<CDocTemplate*>(m_templateList.RemoveHead());
}

void CDocManager::AddDocTemplate(CDocTemplate* pTemplate) {
  if (pTemplate == nullptr || m_templateList.Find(pTemplate) != nullptr) return;
  pTemplate->LoadTemplate();
  m_templateList.AddTail(pTemplate);
}

CDocTemplate* CDocManager::GetNextDocTemplate(POSITION& rPos) const {
  return static_cast<CDocTemplate*>(m_templateList.GetNext(rPos));
}

int CDocManager::GetOpenDocumentCount() const {
  int count = 0;
  for (POSITION pos = GetFirstDocTemplatePosition(); pos != nullptr;) {
    CDocTemplate* pTemplate = GetNextDocTemplate(pos);
    for (POSITION doc = pTemplate->GetFirstDocPosition(); doc != nullptr; pTemplate->GetNextDoc(doc)) ++count;
  }
  return count;
}

CDocument* CDocManager::OpenDocumentFile(LPCTSTR lpszFileName) {
  if (lpszFileName == nullptr || *lpszFileName == 0) return nullptr;
  wchar_t full[MAX_PATH] = {};
  DWORD length = ::GetFullPathNameW(lpszFileName, MAX_PATH, full, nullptr);
  CString path = length > 0 && length < MAX_PATH ? CString(full) : CString(lpszFileName);
  // The template that knows the file best: one that has it open, else one of its type, else the first.
  CDocTemplate* pBest = nullptr;
  CDocTemplate::Confidence best = CDocTemplate::noAttempt;
  for (POSITION pos = GetFirstDocTemplatePosition(); pos != nullptr;) {
    CDocTemplate* pTemplate = GetNextDocTemplate(pos);
    CDocument* pOpen = nullptr;
    CDocTemplate::Confidence match = pTemplate->MatchDocType(path, pOpen);
    if (match == CDocTemplate::yesAlreadyOpen) {
      // Shown again rather than read twice.
      POSITION view = pOpen->GetFirstViewPosition();
      if (view != nullptr) {
        if (CFrameWnd* pFrame = pOpen->GetNextView(view)->GetParentFrame()) pFrame->ActivateFrame();
      }
      return pOpen;
    }
    if (match > best) {
      best = match;
      pBest = pTemplate;
    }
  }
  return pBest != nullptr ? pBest->OpenDocumentFile(path) : nullptr;
}

BOOL CDocManager::SaveAllModified() {
  for (POSITION pos = GetFirstDocTemplatePosition(); pos != nullptr;) {
    if (!GetNextDocTemplate(pos)->SaveAllModified()) return FALSE;
  }
  return TRUE;
}

void CDocManager::CloseAllDocuments(BOOL bEndSession) {
  for (POSITION pos = GetFirstDocTemplatePosition(); pos != nullptr;) {
    GetNextDocTemplate(pos)->CloseAllDocuments(bEndSession);
  }
}

void CDocManager::OnFileNew() {
  POSITION pos = GetFirstDocTemplatePosition();
  if (pos != nullptr) GetNextDocTemplate(pos)->OpenDocumentFile(nullptr);
}

void CDocManager::OnFileOpen() {
  seams::FileDialogRequest request;
  request.open = true;
  CString filter;
  for (POSITION pos = GetFirstDocTemplatePosition(); pos != nullptr;) {
    CDocTemplate* pTemplate = GetNextDocTemplate(pos);
    CString name;
    CString extension;
    if (pTemplate->GetDocString(name, CDocTemplate::filterName) && !name.IsEmpty() &&
        pTemplate->GetDocString(extension, CDocTemplate::filterExt) && !extension.IsEmpty()) {
      filter += name + _T("|*") + extension + _T("|");
    }
  }
  filter += _T("All Files (*.*)|*.*||");
  request.filter = filter.ToUtf16();
  CWnd* pMainWnd = AfxGetMainWnd();
  request.owner = pMainWnd != nullptr ? pMainWnd->m_hWnd : nullptr;
  seams::FileDialogResult chosen = seams::FileDialogs().ChooseFiles(request);
  if (chosen.ok && !chosen.paths.empty()) OpenDocumentFile(CString::FromUtf16(chosen.paths.front()));
}
