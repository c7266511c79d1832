// CCommandLineInfo: what the program's command line asks for, filled by CWinApp::ParseCommandLine
// one parameter at a time and carried out by CWinApp::ProcessShellCommand.
#pragma once

#include "platform/classlib/cobject.h"
#include "platform/classlib/cstring.h"

class CCommandLineInfo : public CObject {
 public:
  enum { FileNew, FileOpen, FilePrint, FilePrintTo, FileDDE, AppRegister, AppUnregister, FileNothing = -1 };

  CCommandLineInfo() = default;

  // One parameter: bFlag when it started with '/' or '-' (which is not part of pszParam); bLast for
  // the last one. Understood flags (any case): "Embedding", "Automation", "dde", "p", "pt",
  // "Register"/"RegServer", "Unregister"/"UnregServer", "nologo". The first other parameter is the
  // file to open (to print, after "p" or "pt"); after "pt" the next three are printer, driver, port.
  virtual void ParseParam(LPCTSTR pszParam, BOOL bFlag, BOOL bLast);

  BOOL m_bShowSplash = TRUE;
  BOOL m_bRunEmbedded = FALSE;
  BOOL m_bRunAutomated = FALSE;
  int m_nShellCommand = FileNew;
  CString m_strFileName;
  CString m_strPrinterName;
  CString m_strDriverName;
  CString m_strPortName;

 private:
  void ParseFlag(const CString& flag);
  void ParseText(LPCTSTR pszParam);
};
