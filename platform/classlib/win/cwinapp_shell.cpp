// Shell open: the document types registered for the current user, and the shell's DDE conversation, in
// which the main frame takes the open requests of documents double-clicked while the program runs.
#include <windows.h>

#include <dde.h>

#include "platform/classlib/win/cdocmanager.h"
#include "platform/classlib/win/cdoctemplate.h"
#include "platform/classlib/win/cframewnd.h"
#include "platform/classlib/win/cwinapp.h"

namespace {

const TCHAR kClasses[] = _T("Software\\Classes\\");
const TCHAR kSystemTopic[] = _T("system");

BOOL SetClassesValue(const CString& subKey, LPCTSTR name, const CString& value) {
  HKEY key = nullptr;
  if (::RegCreateKeyExW(HKEY_CURRENT_USER, CString(kClasses) + subKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS) {
    return FALSE;
  }
  const DWORD bytes = static_cast<DWORD>((value.GetLength() + 1) * sizeof(wchar_t));
  const LONG result =
      ::RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.GetString()), bytes);
  ::RegCloseKey(key);
  return result == ERROR_SUCCESS;
}

CString QuotedModulePath() {
  wchar_t module[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, module, MAX_PATH);
  return CString(_T("\"")) + module + _T("\"");
}

}  // namespace

BOOL DdeOpenPath(const CString& command, CString* path) {
  // [open("path")], with blanks allowed around the parts; the path holds no double quote.
  CString text = command;
  text.TrimLeft();
  text.TrimRight();
  const CString head = _T("[open(\"");
  const CString tail = _T("\")]");
  if (text.GetLength() <= head.GetLength() + tail.GetLength()) return FALSE;
  if (text.Left(head.GetLength()).CompareNoCase(head) != 0 || text.Right(tail.GetLength()).Compare(tail) != 0) return FALSE;
  const CString inner = text.Mid(head.GetLength(), text.GetLength() - head.GetLength() - tail.GetLength());
  if (inner.IsEmpty() || inner.Find(_T('"')) >= 0) return FALSE;
  *path = inner;
  return TRUE;
}

void CWinApp::EnableShellOpen() {
  if (m_atomApp != 0) return;
  m_atomApp = ::GlobalAddAtomW(m_pszExeName != nullptr ? m_pszExeName : m_pszAppName);
  m_atomSystemTopic = ::GlobalAddAtomW(kSystemTopic);
}

void CWinApp::RegisterShellFileTypes(BOOL bCompat) {
  if (m_pDocManager == nullptr) return;
  const CString program = QuotedModulePath();
  for (POSITION pos = m_pDocManager->GetFirstDocTemplatePosition(); pos != nullptr;) {
    CDocTemplate* pTemplate = m_pDocManager->GetNextDocTemplate(pos);
    CString typeId, typeName, extension;
    if (!pTemplate->GetDocString(typeId, CDocTemplate::regFileTypeId) || typeId.IsEmpty()) continue;
    if (!pTemplate->GetDocString(typeName, CDocTemplate::regFileTypeName) || typeName.IsEmpty()) typeName = typeId;
    if (!SetClassesValue(typeId, nullptr, typeName)) continue;
    if (bCompat) SetClassesValue(typeId + _T("\\DefaultIcon"), nullptr, program.Mid(1, program.GetLength() - 2) + _T(",0"));
    const CString open = typeId + _T("\\shell\\open");
    if (m_atomApp != 0) {
      // The shell asks a running copy first; a copy it starts is told so and waits for the request.
      SetClassesValue(open + _T("\\command"), nullptr, program + _T(" /dde"));
      SetClassesValue(open + _T("\\ddeexec"), nullptr, _T("[open(\"%1\")]"));
      SetClassesValue(open + _T("\\ddeexec\\application"), nullptr,
                      m_pszExeName != nullptr ? m_pszExeName : m_pszAppName);
      SetClassesValue(open + _T("\\ddeexec\\topic"), nullptr, kSystemTopic);
    } else {
      SetClassesValue(open + _T("\\command"), nullptr, program + _T(" \"%1\""));
    }
    if (pTemplate->GetDocString(extension, CDocTemplate::filterExt) && extension.GetLength() > 1 &&
        extension[0] == _T('.')) {
      SetClassesValue(extension, nullptr, typeId);
    }
  }
}

BOOL CWinApp::OnDDECommand(LPTSTR lpszCommand) {
  CString path;
  if (!DdeOpenPath(lpszCommand, &path)) return FALSE;
  return OpenDocumentFile(path) != nullptr;
}

// ---- the frame's side of the conversation -------------------------------------------------------------

namespace {

// The application whose main window this frame is, with shell open enabled; else null.
CWinApp* ShellOpenApp(const CFrameWnd* frame) {
  CWinApp* app = AfxGetApp();
  if (app == nullptr || app->m_atomApp == 0 || app->m_pMainWnd != frame) return nullptr;
  return app;
}

// The command text of an execute: UTF-16 between two Unicode windows, else the system's code page.
CString ExecuteText(HWND client, HGLOBAL data) {
  CString text;
  const void* locked = data != nullptr ? ::GlobalLock(data) : nullptr;
  if (locked == nullptr) return text;
  const SIZE_T bytes = ::GlobalSize(data);
  if (::IsWindowUnicode(client)) {
    const auto* wide = static_cast<const wchar_t*>(locked);
    SIZE_T length = 0;
    while (length < bytes / sizeof(wchar_t) && wide[length] != 0) ++length;
    text = CString(wide, static_cast<int>(length));
  } else {
    const auto* narrow = static_cast<const char*>(locked);
    int length = 0;
    while (static_cast<SIZE_T>(length) < bytes && narrow[length] != 0) ++length;
    const int wideLength = ::MultiByteToWideChar(CP_ACP, 0, narrow, length, nullptr, 0);
    std::wstring wide(static_cast<size_t>(wideLength), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, narrow, length, wide.data(), wideLength);
    text = CString(wide.c_str(), wideLength);
  }
  ::GlobalUnlock(data);
  return text;
}

}  // namespace

LRESULT CFrameWnd::OnDDEInitiate(WPARAM wParam, LPARAM lParam) {
  CWinApp* app = ShellOpenApp(this);
  const ATOM application = LOWORD(lParam);
  const ATOM topic = HIWORD(lParam);
  if (app == nullptr || (application != 0 && application != app->m_atomApp) ||
      (topic != 0 && topic != app->m_atomSystemTopic)) {
    return 0;
  }
  // The client deletes the atoms of the answer.
  const ATOM answerApp = ::GlobalAddAtomW(app->m_pszExeName != nullptr ? app->m_pszExeName : app->m_pszAppName);
  const ATOM answerTopic = ::GlobalAddAtomW(kSystemTopic);
  ::SendMessageW(reinterpret_cast<HWND>(wParam), WM_DDE_ACK, reinterpret_cast<WPARAM>(m_hWnd),
                 MAKELPARAM(answerApp, answerTopic));
  return 0;
}

LRESULT CFrameWnd::OnDDEExecute(WPARAM wParam, LPARAM lParam) {
  const HWND client = reinterpret_cast<HWND>(wParam);
  UINT_PTR unused = 0;
  UINT_PTR data = 0;
  ::UnpackDDElParam(WM_DDE_EXECUTE, lParam, &unused, &data);
  CString command = ExecuteText(client, reinterpret_cast<HGLOBAL>(data));
  CWinApp* app = ShellOpenApp(this);
  // The shell has its answer before the command runs: opening a document may take long or ask the user.
  const WORD status = app != nullptr ? 0x8000 : 0;  // fAck
  if (!::PostMessageW(client, WM_DDE_ACK, reinterpret_cast<WPARAM>(m_hWnd),
                      ::ReuseDDElParam(lParam, WM_DDE_EXECUTE, WM_DDE_ACK, status, data))) {
    ::FreeDDElParam(WM_DDE_ACK, lParam);
  }
  if (app != nullptr && !command.IsEmpty()) app->OnDDECommand(command.GetBuffer(0));
  return 0;
}

LRESULT CFrameWnd::OnDDETerminate(WPARAM wParam, LPARAM) {
  ::PostMessageW(reinterpret_cast<HWND>(wParam), WM_DDE_TERMINATE, reinterpret_cast<WPARAM>(m_hWnd), 0);
  return 0;
}
