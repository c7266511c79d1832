// What a command bar's text field holds, apart from its window: the cached text, the grey hint that an
// empty field shows, and whether that hint is what the window shows now. Whether the hint is shown is a
// flag of its own, never guessed by comparing texts: a user may type exactly the hint's words, and
// those are kept as typed.
#pragma once

#include "platform/classlib/cstring.h"

class TKPEditTextState {
 public:
  // The text the user sees as the field's value: empty while the hint is shown.
  CString GetText() const { return m_bHintShown ? CString() : m_strCache; }
  // What the window shows now (the hint while it is shown).
  CString GetShown() const { return m_bHintShown ? m_strHint : m_strCache; }
  BOOL IsHintShown() const { return m_bHintShown; }
  CString GetHint() const { return m_strHint; }

  // The window's text changed under the user's hand: the cache is stale until read again.
  void MarkStale() { m_bStale = TRUE; }
  BOOL IsStale() const { return m_bStale; }
  // The window's text read back into the cache (not while the window shows the hint).
  void Refresh(const CString& strWindowText);

  // A new value; an empty one with a hint set shows the hint. Returns what the window is to show.
  CString SetText(const CString& strText);
  // A new hint; a shown old hint makes way first, an empty field then shows the new one. Returns what
  // the window is to show.
  CString SetHint(const CString& strHint);
  // The field takes the focus: a shown hint goes. Returns what the window is to show.
  CString OnFocus();
  // The field loses the focus: an empty field shows the hint. Returns what the window is to show.
  CString OnKillFocus();

 private:
  CString m_strCache;
  CString m_strHint;
  BOOL m_bHintShown = FALSE;
  BOOL m_bStale = TRUE;
};
