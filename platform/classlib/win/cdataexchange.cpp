// Dialog data exchange and CDialog::UpdateData.
#include "platform/classlib/win/cdataexchange.h"

#include <cerrno>
#include <climits>
#include <cwchar>
#include <cwctype>

#include "platform/classlib/win/cdialog.h"
#include "platform/classlib/win/cwinapp.h"

IMPLEMENT_DYNAMIC(CUserException, CException)

CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}

HWND CDataExchange::PrepareCtrl(int nIDC) {
  HWND hWnd = ::GetDlgItem(m_pDlgWnd->m_hWnd, nIDC);
  m_idLastControl = nIDC;
  m_bEditLastControl = FALSE;
  if (hWnd == nullptr) Fail();
  return hWnd;
}

HWND CDataExchange::PrepareEditCtrl(int nIDC) {
  HWND hWnd = PrepareCtrl(nIDC);
  m_bEditLastControl = TRUE;
  return hWnd;
}

void CDataExchange::Fail() {
  if (m_bSaveAndValidate && m_idLastControl != 0) {
    if (HWND hWnd = ::GetDlgItem(m_pDlgWnd->m_hWnd, m_idLastControl)) {
      ::SetFocus(hWnd);
      if (m_bEditLastControl) ::SendMessageW(hWnd, EM_SETSEL, 0, -1);
    }
  }
  throw new CUserException;
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate) {
  CDataExchange exchange(this, bSaveAndValidate);
  try {
    DoDataExchange(&exchange);
  } catch (CException* e) {
    e->Delete();
    return FALSE;
  }
  return TRUE;
}

void CDialog::DoDataExchange(CDataExchange*) {}

// ---- the exchanges --------------------------------------------------------------------------------

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl) {
  if (rControl.m_hWnd != nullptr) return;
  HWND hWnd = pDX->PrepareCtrl(nIDC);
  if (!rControl.SubclassWindow(hWnd)) pDX->Fail();
}

namespace {
CString ControlText(HWND hWnd) {
  CString text;
  CWnd::FromHandle(hWnd)->GetWindowText(text);
  return text;
}

// A decimal number with optional blanks around it; bSigned allows a leading '-'. FALSE for anything
// else, or a number outside [lo, hi].
BOOL ParseNumber(const CString& text, bool bSigned, long long lo, long long hi, long long* pValue) {
  const wchar_t* p = text.GetString();
  while (std::iswspace(*p)) ++p;
  bool negative = false;
  if (*p == L'-' || *p == L'+') {
    negative = *p == L'-';
    if (negative && !bSigned) return FALSE;
    ++p;
  }
  if (!std::iswdigit(*p)) return FALSE;
  long long value = 0;
  for (; std::iswdigit(*p); ++p) {
    value = value * 10 + (*p - L'0');
    if (value > hi + 1) return FALSE;  // far enough out of range to stop before overflowing
  }
  while (std::iswspace(*p)) ++p;
  if (*p != 0) return FALSE;
  if (negative) value = -value;
  if (value < lo || value > hi) return FALSE;
  *pValue = value;
  return TRUE;
}

template <class Number>
void ExchangeNumber(CDataExchange* pDX, int nIDC, Number& value, bool bSigned, long long lo, long long hi,
                    LPCTSTR lpszPrompt) {
  HWND hWnd = pDX->PrepareEditCtrl(nIDC);
  if (!pDX->m_bSaveAndValidate) {
    CString text;
    text.Format(bSigned ? _T("%d") : _T("%u"), value);
    ::SetWindowTextW(hWnd, text);
    return;
  }
  long long parsed = 0;
  if (!ParseNumber(ControlText(hWnd), bSigned, lo, hi, &parsed)) {
    AfxMessageBox(lpszPrompt, MB_ICONEXCLAMATION);
    pDX->Fail();
  }
  value = static_cast<Number>(parsed);
}
}  // namespace

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value) {
  HWND hWnd = pDX->PrepareEditCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) {
    value = ControlText(hWnd);
  } else {
    ::SetWindowTextW(hWnd, value);
  }
}

void DDX_Text(CDataExchange* pDX, int nIDC, int& value) {
  ExchangeNumber(pDX, nIDC, value, true, INT_MIN, INT_MAX, _T("Please enter an integer."));
}

void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value) {
  ExchangeNumber(pDX, nIDC, value, false, 0, UINT_MAX, _T("Please enter a positive integer."));
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value) {
  HWND hWnd = pDX->PrepareCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) {
    value = static_cast<int>(::SendMessageW(hWnd, BM_GETCHECK, 0, 0));
  } else {
    ::SendMessageW(hWnd, BM_SETCHECK, static_cast<WPARAM>(value), 0);
  }
}

void DDX_Radio(CDataExchange* pDX, int nIDC, int& value) {
  HWND hWnd = pDX->PrepareCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) value = -1;
  // The group: from nIDC on, up to the next control that starts a group.
  int index = 0;
  do {
    if ((::SendMessageW(hWnd, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) != 0) {
      if (pDX->m_bSaveAndValidate) {
        if (::SendMessageW(hWnd, BM_GETCHECK, 0, 0) == BST_CHECKED) value = index;
      } else {
        ::SendMessageW(hWnd, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED, 0);
      }
      ++index;
    }
    hWnd = ::GetWindow(hWnd, GW_HWNDNEXT);
  } while (hWnd != nullptr && (::GetWindowLongW(hWnd, GWL_STYLE) & WS_GROUP) == 0);
}

namespace {
void ExchangeIndex(CDataExchange* pDX, int nIDC, int& index, UINT getMessage, UINT setMessage) {
  HWND hWnd = pDX->PrepareCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) {
    index = static_cast<int>(::SendMessageW(hWnd, getMessage, 0, 0));
  } else {
    ::SendMessageW(hWnd, setMessage, static_cast<WPARAM>(index), 0);
  }
}
}  // namespace

void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index) {
  ExchangeIndex(pDX, nIDC, index, CB_GETCURSEL, CB_SETCURSEL);
}
void DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index) {
  ExchangeIndex(pDX, nIDC, index, LB_GETCURSEL, LB_SETCURSEL);
}
