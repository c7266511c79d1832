// The application's documents: its templates through the document manager, and the default handlers
// of the file commands.
#include <windows.h>
#include <commdlg.h>

#include "platform/classlib/win/cdocmanager.h"
#include "platform/classlib/win/cwinapp.h"
#include "platform/classlib/win/cwnd.h"

void CWinApp::AddDocTemplate(CDocTemplate* pTemplate) {
  if (m_pDocManager == nullptr) m_pDocManager = new CDocManager;
  m_pDocManager->AddDocTemplate(pTemplate);
}

POSITION CWinApp::GetFirstDocTemplatePosition() const {
  return m_pDocManager != nullptr ? m_pDocManager->GetFirstDocTemplatePosition() : nullptr;
}

CDocTemplate* CWinApp::GetNextDocTemplate(POSITION& rPos) const { return m_pDocManager->GetNextDocTemplate(rPos); }

BOOL CWinApp::SaveAllModified() { return m_pDocManager == nullptr || m_pDocManager->SaveAllModified(); }

void CWinApp::CloseAllDocuments(BOOL bEndSession) {
  if (m_pDocManager != nullptr) m_pDocManager->CloseAllDocuments(bEndSession);
}

void CWinApp::OnFileNew() {
  if (m_pDocManager != nullptr) m_pDocManager->OnFileNew();
}

void CWinApp::OnFileOpen() {
  if (m_pDocManager != nullptr) m_pDocManager->OnFileOpen();
}

void CWinApp::OnFilePrintSetup() {
  PRINTDLGW setup{};
  setup.lStructSize = sizeof setup;
  CWnd* pMainWnd = AfxGetMainWnd();
  setup.hwndOwner = pMainWnd != nullptr ? pMainWnd->m_hWnd : nullptr;
  setup.Flags = PD_PRINTSETUP;
  // The choice is not kept: the program prints nothing itself.
  if (::PrintDlgW(&setup)) {
    if (setup.hDevMode != nullptr) ::GlobalFree(setup.hDevMode);
    if (setup.hDevNames != nullptr) ::GlobalFree(setup.hDevNames);
  }
}
