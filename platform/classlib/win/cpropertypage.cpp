// CPropertyPage: a page's record for the sheet, its window taken over when the sheet creates it, and
// the sheet's notifications turned into the page's virtual handlers.
#include "platform/classlib/cexception.h"
#include "platform/classlib/resource_win32.h"
#include "platform/classlib/win/cpropertysheet.h"

IMPLEMENT_DYNAMIC(CPropertyPage, CDialog)

CPropertyPage::CPropertyPage(UINT nIDTemplate, UINT nIDCaption) : CDialog(nIDTemplate) {
  Construct(MAKEINTRESOURCEW(nIDTemplate), nIDCaption);
}

CPropertyPage::CPropertyPage(LPCTSTR lpszTemplateName, UINT nIDCaption) : CDialog(lpszTemplateName) {
  Construct(m_lpszTemplateName, nIDCaption);
}

void CPropertyPage::Construct(LPCTSTR lpszTemplateName, UINT nIDCaption) {
  m_psp.dwSize = sizeof m_psp;
  m_psp.dwFlags = PSP_DEFAULT;
  m_psp.hInstance = AfxGetResourceHandle();
  m_psp.pszTemplate = lpszTemplateName;
  m_psp.pfnDlgProc = &PageDlgProc;
  m_psp.lParam = reinterpret_cast<LPARAM>(this);
  if (nIDCaption != 0 && m_strCaption.LoadString(nIDCaption)) {
    m_psp.dwFlags |= PSP_USETITLE;
    m_psp.pszTitle = m_strCaption;
  }
}

// The page's dialog procedure: at WM_INITDIALOG (its lParam the page record) the object takes the
// window; from then on the object's window procedure sees every message before the dialog manager.
INT_PTR CALLBACK CPropertyPage::PageDlgProc(HWND hWnd, UINT message, WPARAM, LPARAM lParam) {
  if (message != WM_INITDIALOG) return FALSE;
  auto* record = reinterpret_cast<PROPSHEETPAGEW*>(lParam);
  auto* page = record != nullptr ? reinterpret_cast<CPropertyPage*>(record->lParam) : nullptr;
  if (page == nullptr || !page->SubclassWindow(hWnd)) return TRUE;
  page->m_bFirstSetActive = TRUE;
  // Called from the system's code: nothing thrown may leave.
  try {
    return page->OnInitDialog();
  } catch (CException* e) {
    e->Delete();
  } catch (...) {
  }
  return TRUE;
}

BOOL CPropertyPage::OnSetActive() {
  if (m_bFirstSetActive) {
    m_bFirstSetActive = FALSE;  // OnInitDialog has just filled the controls
  } else {
    UpdateData(FALSE);
  }
  return TRUE;
}

BOOL CPropertyPage::OnKillActive() { return UpdateData(TRUE); }

BOOL CPropertyPage::OnApply() {
  OnOK();
  return TRUE;
}

// A page does not end the sheet: the sheet ends itself after asking every page.
void CPropertyPage::OnOK() {}
void CPropertyPage::OnCancel() {}
BOOL CPropertyPage::OnQueryCancel() { return TRUE; }

void CPropertyPage::SetModified(BOOL bChanged) {
  HWND hWndSheet = ::GetParent(m_hWnd);
  if (hWndSheet != nullptr) {
    ::SendMessageW(hWndSheet, bChanged ? PSM_CHANGED : PSM_UNCHANGED, reinterpret_cast<WPARAM>(m_hWnd), 0);
  }
}

BOOL CPropertyPage::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  auto* header = reinterpret_cast<NMHDR*>(lParam);
  if (header == nullptr || header->hwndFrom != ::GetParent(m_hWnd)) return CDialog::OnNotify(wParam, lParam, pResult);
  LRESULT result = 0;
  switch (header->code) {
    case PSN_SETACTIVE:
      result = OnSetActive() ? 0 : -1;
      break;
    case PSN_KILLACTIVE:
      result = OnKillActive() ? FALSE : TRUE;  // TRUE keeps the page
      break;
    case PSN_APPLY:
      result = OnApply() ? PSNRET_NOERROR : PSNRET_INVALID_NOCHANGEPAGE;
      if (m_pSheet != nullptr && result == PSNRET_NOERROR) m_pSheet->OnPageEnding(IDOK);
      break;
    case PSN_RESET:
      OnCancel();
      if (m_pSheet != nullptr) m_pSheet->OnPageEnding(IDCANCEL);
      break;
    case PSN_QUERYCANCEL:
      result = OnQueryCancel() ? FALSE : TRUE;
      break;
    default:
      return CDialog::OnNotify(wParam, lParam, pResult);
  }
  // Answered both ways: as the window procedure's result and as a dialog procedure's.
  ::SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, result);
  *pResult = result;
  return TRUE;
}
