#include "platform/classlib/win/cwinapp.h"

#include <objbase.h>
#include <ole2.h>
#include <shellapi.h>

#include "platform/classlib/win/cwnd.h"
#include "platform/classlib/win/messages.h"
#include "platform/classlib/win/threadstate.h"
#include "platform/seams/seams.h"

IMPLEMENT_DYNAMIC(CWinApp, CWinThread)

namespace {
CWinApp* g_app = nullptr;
bool g_oleInitialized = false;

std::u16string ToText(LPCTSTR text) {
  return text != nullptr ? std::u16string(reinterpret_cast<const char16_t*>(text)) : std::u16string();
}
}  // namespace

CWinApp::CWinApp(LPCTSTR lpszAppName) {
  g_app = this;
  m_nThreadID = ::GetCurrentThreadId();
  m_bAutoDelete = FALSE;  // a global object: never deleted by the library
  AfxGetThreadState()->m_pCurrentWinThread = this;
  m_hInstance = ::GetModuleHandleW(nullptr);
  if (lpszAppName != nullptr) {
    m_strAppName = lpszAppName;
    m_pszAppName = m_strAppName;
  }
}

CWinApp::~CWinApp() {
  delete m_pDocManager;
  // The shell-open atoms are the session's: they are given back.
  if (m_atomApp != 0) ::GlobalDeleteAtom(m_atomApp);
  if (m_atomSystemTopic != 0) ::GlobalDeleteAtom(m_atomSystemTopic);
  if (g_app == this) g_app = nullptr;
}

void CWinApp::SetStartup(HINSTANCE hInstance, LPTSTR lpCmdLine, int nCmdShow) {
  m_hInstance = hInstance;
  m_lpCmdLine = lpCmdLine;
  m_nCmdShow = nCmdShow;
  wchar_t path[MAX_PATH] = {};
  DWORD length = ::GetModuleFileNameW(hInstance, path, MAX_PATH);
  CString module(path, static_cast<int>(length < MAX_PATH ? length : MAX_PATH - 1));
  CString name = module.Mid(module.ReverseFind(_T('\\')) + 1);
  int dot = name.ReverseFind(_T('.'));
  m_strExeName = dot > 0 ? name.Left(dot) : name;
  m_pszExeName = m_strExeName;
  if (m_pszAppName == nullptr) {
    if (!m_strAppName.LoadString(AFX_IDS_APP_TITLE)) m_strAppName = m_strExeName;
    m_pszAppName = m_strAppName;
  }
  int moduleDot = module.ReverseFind(_T('.'));
  m_strHelpFilePath = (moduleDot > module.ReverseFind(_T('\\')) ? module.Left(moduleDot) : module) + _T(".chm");
  m_pszHelpFilePath = m_strHelpFilePath;
}

BOOL CWinApp::InitApplication() { return TRUE; }
BOOL CWinApp::InitInstance() { return TRUE; }

int CWinApp::ExitInstance() {
  if (m_nMaxMRU != 0) SaveStdProfileSettings();
  if (g_oleInitialized) {
    ::OleUninitialize();
    g_oleInitialized = false;
  }
  return CWinThread::ExitInstance();
}

// ---- messages to the user and the wait cursor -----------------------------------------------------

int CWinApp::DoMessageBox(LPCTSTR lpszPrompt, UINT nType, UINT) {
  HWND hWndOwner = nullptr;
  if (CWnd* pFrame = AfxGetThreadState()->m_pRoutingFrame) {
    hWndOwner = pFrame->m_hWnd;
  } else if (CWnd* pMainWnd = AfxGetMainWnd(); pMainWnd != nullptr && pMainWnd->m_hWnd != nullptr) {
    hWndOwner = ::GetLastActivePopup(pMainWnd->m_hWnd);
  }
  seams::MessageBoxRequest request;
  request.owner = hWndOwner;
  request.text = ToText(lpszPrompt);
  request.caption = ToText(m_pszAppName);
  request.style = nType;
  return seams::MessageBoxes().Show(request);
}

void CWinApp::DoWaitCursor(int nCode) {
  static HCURSOR wait = ::LoadCursorW(nullptr, IDC_WAIT);
  m_nWaitCursorCount += nCode;
  if (m_nWaitCursorCount > 0) {
    HCURSOR previous = ::SetCursor(wait);
    if (nCode > 0 && m_nWaitCursorCount == 1) m_hcurWaitCursorRestore = previous;
  } else {
    m_nWaitCursorCount = 0;
    ::SetCursor(m_hcurWaitCursorRestore);
  }
}

// ---- the command line -----------------------------------------------------------------------------

void CWinApp::ParseCommandLine(CCommandLineInfo& rCmdInfo) {
  // The system's splitting rules treat the first word as the program; a placeholder stands there.
  CString line = CString(_T("program ")) + (m_lpCmdLine != nullptr ? m_lpCmdLine : _T(""));
  int count = 0;
  LPWSTR* words = ::CommandLineToArgvW(line, &count);
  if (words == nullptr) return;
  for (int i = 1; i < count; ++i) {
    LPCTSTR word = words[i];
    BOOL flag = word[0] == _T('/') || word[0] == _T('-');
    rCmdInfo.ParseParam(flag ? word + 1 : word, flag, i == count - 1);
  }
  ::LocalFree(words);
}

BOOL CWinApp::ProcessShellCommand(CCommandLineInfo& rCmdInfo) {
  switch (rCmdInfo.m_nShellCommand) {
    case CCommandLineInfo::FileNew:
      OnCmdMsg(ID_FILE_NEW, CN_COMMAND, nullptr, nullptr);
      return m_pMainWnd != nullptr;
    case CCommandLineInfo::FileOpen:
      return OpenDocumentFile(rCmdInfo.m_strFileName) != nullptr && m_pMainWnd != nullptr;
    case CCommandLineInfo::FileNothing:
      return TRUE;
    default:
      return FALSE;  // printing, DDE and registration are not the program's
  }
}

CDocument* CWinApp::OpenDocumentFile(LPCTSTR lpszFileName) {
  return m_pDocManager != nullptr ? m_pDocManager->OpenDocumentFile(lpszFileName) : nullptr;
}

// ---- resources ------------------------------------------------------------------------------------

HCURSOR CWinApp::LoadCursor(UINT nIDResource) const {
  return ::LoadCursorW(AfxGetResourceHandle(), MAKEINTRESOURCEW(nIDResource));
}
HCURSOR CWinApp::LoadStandardCursor(LPCTSTR lpszCursorName) const { return ::LoadCursorW(nullptr, lpszCursorName); }
HICON CWinApp::LoadIcon(UINT nIDResource) const {
  return ::LoadIconW(AfxGetResourceHandle(), MAKEINTRESOURCEW(nIDResource));
}
HICON CWinApp::LoadStandardIcon(LPCTSTR lpszIconName) const { return ::LoadIconW(nullptr, lpszIconName); }

// ---- globals --------------------------------------------------------------------------------------

CWinApp* AfxGetApp() { return g_app; }

CWnd* AfxGetMainWnd() {
  if (CWinThread* thread = AfxGetThread()) {
    if (CWnd* pMainWnd = thread->GetMainWnd()) return pMainWnd;
  }
  return g_app != nullptr ? g_app->GetMainWnd() : nullptr;
}

HINSTANCE AfxGetInstanceHandle() {
  return g_app != nullptr && g_app->m_hInstance != nullptr ? g_app->m_hInstance : ::GetModuleHandleW(nullptr);
}

LPCTSTR AfxGetAppName() { return g_app != nullptr ? g_app->m_pszAppName : nullptr; }

HINSTANCE AfxFindResourceHandle(LPCTSTR, LPCTSTR) { return AfxGetResourceHandle(); }

int AfxMessageBox(LPCTSTR lpszText, UINT nType, UINT nIDHelp) {
  if (g_app != nullptr) return g_app->DoMessageBox(lpszText, nType, nIDHelp);
  seams::MessageBoxRequest request;
  request.text = ToText(lpszText);
  request.style = nType;
  return seams::MessageBoxes().Show(request);
}

int AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp) {
  CString text;
  text.LoadString(nIDPrompt);
  return AfxMessageBox(text, nType, nIDHelp == static_cast<UINT>(-1) ? nIDPrompt : nIDHelp);
}

void AfxDoWaitCursor(int nCode) {
  if (g_app != nullptr) g_app->DoWaitCursor(nCode);
}

void AfxPostQuitMessage(int nExitCode) { ::PostQuitMessage(nExitCode); }

BOOL AfxOleInit() {
  if (g_oleInitialized) return TRUE;
  HRESULT hr = ::OleInitialize(nullptr);
  if (FAILED(hr)) return FALSE;
  g_oleInitialized = true;
  return TRUE;
}

void AfxEnableControlContainer() {}

int AfxWinMain(HINSTANCE hInstance, HINSTANCE, LPTSTR lpCmdLine, int nCmdShow) {
  CWinApp* app = AfxGetApp();
  if (app == nullptr) return -1;
  app->SetStartup(hInstance, lpCmdLine, nCmdShow);
  if (!app->InitApplication()) return -1;
  if (!app->InitInstance()) {
    if (app->m_pMainWnd != nullptr && app->m_pMainWnd->m_hWnd != nullptr) app->m_pMainWnd->DestroyWindow();
    return app->ExitInstance();
  }
  return app->Run();
}
