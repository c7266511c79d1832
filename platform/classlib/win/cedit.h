// CEdit: an edit control. Every member is one message to the control.
#pragma once

#include "platform/classlib/win/controlsupport.h"
#include "platform/classlib/win/cwnd.h"

class CEdit : public CWnd {
  DECLARE_DYNAMIC(CEdit)
  CLASSLIB_CONTROL_HANDLE(CEdit)

 public:
  CEdit() = default;
  virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  // ---- selection and editing ----------------------------------------------------------------------
  // Start in the low word, end in the high word.
  DWORD GetSel() const;
  void GetSel(int& nStartChar, int& nEndChar) const;
  void SetSel(DWORD dwSelection, BOOL bNoScroll = FALSE);
  // (0, -1) selects everything; (-1, ...) removes the selection.
  void SetSel(int nStartChar, int nEndChar, BOOL bNoScroll = FALSE);
  void ReplaceSel(LPCTSTR lpszNewText, BOOL bCanUndo = FALSE);
  void Clear();
  void Copy();
  void Cut();
  void Paste();
  BOOL Undo();
  BOOL CanUndo() const;
  void EmptyUndoBuffer();
  BOOL GetModify() const;
  void SetModify(BOOL bModified = TRUE);
  BOOL SetReadOnly(BOOL bReadOnly = TRUE);
  void SetLimitText(UINT nMax);
  void LimitText(int nChars = 0) { SetLimitText(static_cast<UINT>(nChars)); }
  UINT GetLimitText() const;
  void SetPasswordChar(TCHAR ch);
  TCHAR GetPasswordChar() const;

  // ---- lines and layout -------------------------------------------------------------------------------
  int GetLineCount() const;
  // Copies line nIndex (not terminated); the characters copied.
  int GetLine(int nIndex, LPTSTR lpszBuffer, int nMaxLength) const;
  int LineIndex(int nLine = -1) const;
  int LineLength(int nLine = -1) const;
  int LineFromChar(int nIndex = -1) const;
  void LineScroll(int nLines, int nChars = 0);
  int GetFirstVisibleLine() const;
  void GetRect(LPRECT lpRect) const;
  void SetRect(LPCRECT lpRect);
  void SetMargins(UINT nLeft, UINT nRight);
  DWORD GetMargins() const;
  // The character nearest the point: its index in the low word, its line in the high word.
  int CharFromPos(CPoint pt) const;
  CPoint PosFromChar(UINT nChar) const;
};
