#include "platform/classlib/win/ccommandlineinfo.h"

void CCommandLineInfo::ParseParam(LPCTSTR pszParam, BOOL bFlag, BOOL) {
  if (bFlag) {
    ParseFlag(CString(pszParam));
  } else {
    ParseText(pszParam);
  }
}

void CCommandLineInfo::ParseFlag(const CString& flag) {
  if (flag.CompareNoCase(_T("pt")) == 0) {
    m_nShellCommand = FilePrintTo;
  } else if (flag.CompareNoCase(_T("p")) == 0) {
    m_nShellCommand = FilePrint;
  } else if (flag.CompareNoCase(_T("dde")) == 0) {
    m_nShellCommand = FileDDE;
  } else if (flag.CompareNoCase(_T("Register")) == 0 || flag.CompareNoCase(_T("RegServer")) == 0) {
    m_nShellCommand = AppRegister;
  } else if (flag.CompareNoCase(_T("Unregister")) == 0 || flag.CompareNoCase(_T("UnregServer")) == 0) {
    m_nShellCommand = AppUnregister;
  } else if (flag.CompareNoCase(_T("Embedding")) == 0) {
    m_bRunEmbedded = TRUE;
    m_bShowSplash = FALSE;
  } else if (flag.CompareNoCase(_T("Automation")) == 0) {
    m_bRunAutomated = TRUE;
    m_bShowSplash = FALSE;
  } else if (flag.CompareNoCase(_T("nologo")) == 0) {
    m_bShowSplash = FALSE;
  }
  // An unknown flag changes nothing.
}

void CCommandLineInfo::ParseText(LPCTSTR pszParam) {
  if (m_strFileName.IsEmpty()) {
    m_strFileName = pszParam;
    if (m_nShellCommand == FileNew) m_nShellCommand = FileOpen;
    m_bShowSplash = FALSE;
  } else if (m_nShellCommand == FilePrintTo) {
    if (m_strPrinterName.IsEmpty()) {
      m_strPrinterName = pszParam;
    } else if (m_strDriverName.IsEmpty()) {
      m_strDriverName = pszParam;
    } else if (m_strPortName.IsEmpty()) {
      m_strPortName = pszParam;
    }
  }
}
