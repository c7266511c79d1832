#include "toolkit/commandbars/controls/edit_text_state.h"

void TKPEditTextState::Refresh(const CString& strWindowText) {
  m_bStale = FALSE;
  // While the hint is shown the window holds the hint, not a value: the cache stays as it is.
  if (!m_bHintShown) m_strCache = strWindowText;
}

CString TKPEditTextState::SetText(const CString& strText) {
  m_strCache = strText;
  m_bStale = FALSE;
  m_bHintShown = strText.IsEmpty() && !m_strHint.IsEmpty();
  return GetShown();
}

CString TKPEditTextState::SetHint(const CString& strHint) {
  if (m_bHintShown) m_bHintShown = FALSE;  // the old hint leaves an empty field behind
  m_strHint = strHint;
  if (m_strCache.IsEmpty() && !m_strHint.IsEmpty()) m_bHintShown = TRUE;
  return GetShown();
}

CString TKPEditTextState::OnFocus() {
  m_bHintShown = FALSE;
  return GetShown();
}

CString TKPEditTextState::OnKillFocus() {
  if (m_strCache.IsEmpty() && !m_strHint.IsEmpty()) m_bHintShown = TRUE;
  return GetShown();
}
