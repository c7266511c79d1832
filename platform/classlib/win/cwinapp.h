// CWinApp: the one application object (a global of the program) and its first thread. It holds the
// program's names and instance, runs InitInstance and the message loop (AfxWinMain), keeps the
// profile under HKEY_CURRENT_USER\Software\<registry key>\<profile name>, parses the command line,
// and stands at the end of the command route.
#pragma once

#include <windows.h>

#include "platform/classlib/carray.h"
#include "platform/classlib/cstring.h"
#include "platform/classlib/resource_win32.h"
#include "platform/classlib/win/ccommandlineinfo.h"
#include "platform/classlib/win/cdocmanager.h"
#include "platform/classlib/win/cwinthread.h"

class CDocTemplate;

class CWinApp : public CWinThread {
  DECLARE_DYNAMIC(CWinApp)

 public:
  // The application's name; null: the string AFX_IDS_APP_TITLE, else the executable's name.
  explicit CWinApp(LPCTSTR lpszAppName = nullptr);
  ~CWinApp() override;

  // Names: pointers into strings that the application keeps (set through the functions below).
  LPCTSTR m_pszAppName = nullptr;
  LPCTSTR m_pszExeName = nullptr;
  LPCTSTR m_pszHelpFilePath = nullptr;
  LPCTSTR m_pszRegistryKey = nullptr;   // null until SetRegistryKey: no profile
  LPCTSTR m_pszProfileName = nullptr;
  HINSTANCE m_hInstance = nullptr;
  LPTSTR m_lpCmdLine = nullptr;  // what follows the program's name
  int m_nCmdShow = SW_SHOWNORMAL;
  CDocManager* m_pDocManager = nullptr;  // owned; set by the document/view classes
  UINT m_nNumPreviewPages = 0;

  // Sets the instance, the command line and the names (AfxWinMain calls it before InitApplication).
  void SetStartup(HINSTANCE hInstance, LPTSTR lpCmdLine, int nCmdShow);
  virtual BOOL InitApplication();
  BOOL InitInstance() override;
  // Saves the recent files (when LoadStdProfileSettings read them) and answers the loop's code.
  int ExitInstance() override;

  virtual int DoMessageBox(LPCTSTR lpszPrompt, UINT nType, UINT nIDPrompt);
  // nCode 1 shows the wait cursor (counted), -1 ends one, 0 shows it again if counted.
  virtual void DoWaitCursor(int nCode);

  // ---- the profile --------------------------------------------------------------------------------
  // The profile then lives under HKEY_CURRENT_USER\Software\<key>\<application name>.
  void SetRegistryKey(LPCTSTR lpszRegistryKey);
  void SetRegistryKey(UINT nIDRegistryKey);
  // Opened (created when missing) for reading and writing; null without a registry key or on failure.
  // The caller closes it.
  HKEY GetAppRegistryKey();
  HKEY GetSectionKey(LPCTSTR lpszSection);
  // Without a registry key, or when the value is missing or of another type, the default comes back
  // and writes answer FALSE.
  UINT GetProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nDefault);
  BOOL WriteProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nValue);
  CString GetProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszDefault = nullptr);
  // A null entry deletes the section; a null value deletes the entry.
  BOOL WriteProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszValue);
  // *ppData is a new[] block the caller deletes with delete[]; null and 0 (FALSE) when there is none.
  // A stored empty value gives TRUE, 0 bytes and a block all the same.
  BOOL GetProfileBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, BYTE** ppData, UINT* pBytes);
  BOOL WriteProfileBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPBYTE pData, UINT nBytes);
  // Reads the list of up to nMaxMRU recent files ("Recent File List", "File1" ...) and the preview
  // page count ("Settings", "PreviewPages"); ExitInstance writes the list back.
  void LoadStdProfileSettings(UINT nMaxMRU = 4);
  void SaveStdProfileSettings();
  virtual void AddToRecentFileList(LPCTSTR lpszPathName);
  const CStringArray& GetRecentFiles() const { return m_recentFiles; }

  // ---- the command line ---------------------------------------------------------------------------
  // Hands each parameter of m_lpCmdLine (split as the system splits command lines) to ParseParam.
  void ParseCommandLine(CCommandLineInfo& rCmdInfo);
  // FileNew runs the ID_FILE_NEW command; FileOpen opens the file through the documents; FileNothing
  // does nothing. FALSE when that failed or left no main window.
  BOOL ProcessShellCommand(CCommandLineInfo& rCmdInfo);
  virtual CDocument* OpenDocumentFile(LPCTSTR lpszFileName);

  // ---- documents (cwinapp_doc.cpp) ----------------------------------------------------------------
  // The template joins the application's documents (the CDocManager is made on first use) and is
  // deleted with them.
  void AddDocTemplate(CDocTemplate* pTemplate);
  POSITION GetFirstDocTemplatePosition() const;
  CDocTemplate* GetNextDocTemplate(POSITION& rPos) const;
  // Before the application ends: FALSE when the user kept a modified document open.
  virtual BOOL SaveAllModified();
  virtual void CloseAllDocuments(BOOL bEndSession);
  // The default handlers a program maps to ID_FILE_NEW, ID_FILE_OPEN and ID_FILE_PRINT_SETUP: a new
  // document of the first template, a file chosen through the file-dialog seam, the system's printer
  // set-up box.
  afx_msg void OnFileNew();
  afx_msg void OnFileOpen();
  afx_msg void OnFilePrintSetup();

  // ---- shell open (cwinapp_shell.cpp) -------------------------------------------------------------
  // The main frame then answers the shell's DDE conversation on the executable's name and the topic
  // "system", and hands each command of it to OnDDECommand.
  void EnableShellOpen();
  // Registers each template's file type for the current user: the extension, the type id with its
  // name, the open command and (bCompat) the program's first icon. With shell open enabled, the open
  // goes to a running copy through DDE ("[open("%1")]"), and a copy the shell starts gets "/dde".
  void RegisterShellFileTypes(BOOL bCompat = FALSE);
  // A command of the shell's conversation: "[open("path")]" opens the document. TRUE when carried out.
  virtual BOOL OnDDECommand(LPTSTR lpszCommand);
  ATOM m_atomApp = 0;          // the executable's name, once shell open is enabled
  ATOM m_atomSystemTopic = 0;  // "system"

  // ---- resources ----------------------------------------------------------------------------------
  HCURSOR LoadCursor(UINT nIDResource) const;
  HCURSOR LoadStandardCursor(LPCTSTR lpszCursorName) const;
  HICON LoadIcon(UINT nIDResource) const;
  HICON LoadStandardIcon(LPCTSTR lpszIconName) const;

 private:
  CString m_strAppName;
  CString m_strExeName;
  CString m_strHelpFilePath;
  CString m_strRegistryKey;
  CString m_strProfileName;
  int m_nWaitCursorCount = 0;
  HCURSOR m_hcurWaitCursorRestore = nullptr;
  UINT m_nMaxMRU = 0;
  CStringArray m_recentFiles;
};

// The path of a shell's "[open("path")]" command; FALSE for any other command.
BOOL DdeOpenPath(const CString& command, CString* path);

// ---- the application's globals ------------------------------------------------------------------
CWinApp* AfxGetApp();
// The calling thread's main window (its active window first), else the application's.
CWnd* AfxGetMainWnd();
HINSTANCE AfxGetInstanceHandle();
LPCTSTR AfxGetAppName();
// The module that holds a resource: ours is one module, so the resource handle.
HINSTANCE AfxFindResourceHandle(LPCTSTR lpszName, LPCTSTR lpszType);
// Through the application's DoMessageBox (and the program's message-box seam); the caption is the
// application's name. The owner is the routing frame, else the main window's last active pop-up.
int AfxMessageBox(LPCTSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
int AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = static_cast<UINT>(-1));
void AfxDoWaitCursor(int nCode);
void AfxPostQuitMessage(int nExitCode);
// COM and OLE for the calling thread (undone when the application ends); FALSE on failure.
BOOL AfxOleInit();
// Hosting of controls needs nothing of the library: the previews host theirs themselves.
void AfxEnableControlContainer();
// Runs the application: startup, InitApplication, InitInstance, then the loop (or ExitInstance).
int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPTSTR lpCmdLine, int nCmdShow);
