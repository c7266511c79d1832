// CRichEditCtrl: a rich-edit control of the window class "RICHEDIT". The class comes from the
// rich-edit library, which AfxInitRichEdit loads (once, for the process) before the first control is
// created; Create loads it itself.
#pragma once

#include <windows.h>
#include <richedit.h>

#include "platform/classlib/cstring.h"
#include "platform/classlib/win/cwnd.h"

struct IRichEditOleCallback;

// Loads the rich-edit library; FALSE when it is missing.
BOOL AfxInitRichEdit();

class CRichEditCtrl : public CWnd {
  DECLARE_DYNAMIC(CRichEditCtrl)

 public:
  CRichEditCtrl() = default;
  virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  // ---- content ------------------------------------------------------------------------------------
  // nFormat SF_TEXT or SF_RTF (with SFF_SELECTION for the selection); the characters read or written.
  long StreamIn(int nFormat, EDITSTREAM& es);
  long StreamOut(int nFormat, EDITSTREAM& es);
  long GetTextLength() const;
  int GetLineCount() const;
  int LineIndex(int nLine = -1) const;
  int LineLength(int nLine = -1) const;
  long LineFromChar(long nIndex) const;
  void LineScroll(int nLines, int nChars = 0);
  BOOL GetModify() const;
  void SetModify(BOOL bModified = TRUE);
  void LimitText(long nChars = 0);
  long GetLimitText() const;
  BOOL SetReadOnly(BOOL bReadOnly = TRUE);

  // ---- selection and editing ----------------------------------------------------------------------
  void GetSel(CHARRANGE& cr) const;
  void GetSel(long& nStartChar, long& nEndChar) const;
  void SetSel(CHARRANGE& cr);
  void SetSel(long nStartChar, long nEndChar);
  CString GetSelText() const;
  void ReplaceSel(LPCTSTR lpszNewText, BOOL bCanUndo = FALSE);
  void HideSelection(BOOL bHide, BOOL bPerm);
  void Clear();
  void Copy();
  void Cut();
  void Paste();
  BOOL Undo();
  BOOL CanUndo() const;
  BOOL CanPaste(UINT nFormat = 0) const;
  void EmptyUndoBuffer();

  // ---- formats and behaviour ----------------------------------------------------------------------
  // Each sets cf.cbSize (or pf.cbSize) before asking.
  DWORD GetDefaultCharFormat(CHARFORMAT& cf) const;
  BOOL SetDefaultCharFormat(CHARFORMAT& cf);
  DWORD GetSelectionCharFormat(CHARFORMAT& cf) const;
  BOOL SetSelectionCharFormat(CHARFORMAT& cf);
  DWORD GetParaFormat(PARAFORMAT& pf) const;
  BOOL SetParaFormat(PARAFORMAT& pf);
  // bSysColor: the window colour; else cr. The previous background colour.
  COLORREF SetBackgroundColor(BOOL bSysColor, COLORREF cr);
  DWORD GetEventMask() const;
  DWORD SetEventMask(DWORD dwEventMask);
  UINT SetOptions(WORD wOp, DWORD dwFlags);
  // FALSE when the control did not take the callback.
  BOOL SetOLECallback(IRichEditOleCallback* pCallback);
  void SetRect(LPCRECT lpRect);
  void RequestResize();
};
