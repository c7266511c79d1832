// CPropertySheet: the system's property sheet, always created modeless so that the library's modal
// loop (or the application's loop) runs it; the object takes the sheet's window while the system
// initialises it.
#include "platform/classlib/win/cpropertysheet.h"

#include <algorithm>
#include <cstring>

#include "platform/classlib/cexception.h"
#include "platform/classlib/resource_win32.h"
#include "platform/classlib/win/controlsupport.h"
#include "platform/classlib/win/cwinapp.h"
#include "platform/classlib/win/messages.h"

IMPLEMENT_DYNAMIC(CPropertySheet, CWnd)

BEGIN_MESSAGE_MAP(CPropertySheet, CWnd)
  ON_MESSAGE(WM_KICKIDLE, OnKickIdle)
END_MESSAGE_MAP()

namespace {
// The sheet whose window PropertySheetW is creating on this thread (its callback carries no pointer).
thread_local CPropertySheet* t_sheetInit = nullptr;
thread_local DWORD t_style = static_cast<DWORD>(-1);
thread_local DWORD t_exStyle = 0;

// The styles of the sheet's template (classic or extended), before the system creates the window.
void SetTemplateStyles(void* lpTemplate, DWORD dwStyle, DWORD dwExStyle) {
  auto* bytes = static_cast<BYTE*>(lpTemplate);
  WORD signature = 0;
  std::memcpy(&signature, bytes + 2, sizeof signature);
  const bool extended = signature == 0xFFFF;
  std::memcpy(bytes + (extended ? 12 : 0), &dwStyle, sizeof dwStyle);
  std::memcpy(bytes + (extended ? 8 : 4), &dwExStyle, sizeof dwExStyle);
}
}  // namespace

CPropertySheet::CPropertySheet(UINT nIDCaption, CWnd* pParentWnd, UINT iSelectPage) {
  CString caption;
  caption.LoadString(nIDCaption);
  Construct(caption, pParentWnd, iSelectPage);
}

CPropertySheet::CPropertySheet(LPCTSTR pszCaption, CWnd* pParentWnd, UINT iSelectPage) {
  Construct(pszCaption, pParentWnd, iSelectPage);
}

void CPropertySheet::Construct(LPCTSTR pszCaption, CWnd* pParentWnd, UINT iSelectPage) {
  m_strCaption = pszCaption != nullptr ? pszCaption : _T("");
  m_pParentWnd = pParentWnd;
  m_psh.nStartPage = iSelectPage;
}

// ---- pages ----------------------------------------------------------------------------------------

void CPropertySheet::PreparePage(CPropertyPage* pPage) { pPage->m_pSheet = this; }

void CPropertySheet::AddPage(CPropertyPage* pPage) {
  if (pPage == nullptr) return;
  PreparePage(pPage);
  m_pages.push_back(pPage);
  if (m_hWnd != nullptr) {
    HPROPSHEETPAGE hPage = ::CreatePropertySheetPageW(&pPage->m_psp);
    if (hPage != nullptr) ::SendMessageW(m_hWnd, PSM_ADDPAGE, 0, reinterpret_cast<LPARAM>(hPage));
  }
}

void CPropertySheet::RemovePage(CPropertyPage* pPage) { RemovePage(GetPageIndex(pPage)); }

void CPropertySheet::RemovePage(int nPage) {
  if (nPage < 0 || nPage >= GetPageCount()) return;
  if (m_hWnd != nullptr) ::SendMessageW(m_hWnd, PSM_REMOVEPAGE, static_cast<WPARAM>(nPage), 0);
  m_pages[static_cast<size_t>(nPage)]->m_pSheet = nullptr;
  m_pages.erase(m_pages.begin() + nPage);
}

CPropertyPage* CPropertySheet::GetPage(int nPage) const {
  return nPage >= 0 && nPage < GetPageCount() ? m_pages[static_cast<size_t>(nPage)] : nullptr;
}

int CPropertySheet::GetPageIndex(CPropertyPage* pPage) const {
  auto found = std::find(m_pages.begin(), m_pages.end(), pPage);
  return found != m_pages.end() ? static_cast<int>(found - m_pages.begin()) : -1;
}

CPropertyPage* CPropertySheet::GetActivePage() const { return GetPage(GetActiveIndex()); }

int CPropertySheet::GetActiveIndex() const {
  if (m_hWnd == nullptr) return static_cast<int>(m_psh.nStartPage);
  auto hWndPage = reinterpret_cast<HWND>(::SendMessageW(m_hWnd, PSM_GETCURRENTPAGEHWND, 0, 0));
  for (size_t i = 0; i < m_pages.size(); ++i) {
    if (m_pages[i]->m_hWnd == hWndPage && hWndPage != nullptr) return static_cast<int>(i);
  }
  return -1;
}

BOOL CPropertySheet::SetActivePage(int nPage) {
  if (nPage < 0 || nPage >= GetPageCount()) return FALSE;
  if (m_hWnd == nullptr) {
    m_psh.nStartPage = static_cast<UINT>(nPage);
    return TRUE;
  }
  return static_cast<BOOL>(::SendMessageW(m_hWnd, PSM_SETCURSEL, static_cast<WPARAM>(nPage), 0));
}

BOOL CPropertySheet::SetActivePage(CPropertyPage* pPage) { return SetActivePage(GetPageIndex(pPage)); }

void CPropertySheet::SetTitle(LPCTSTR lpszText, UINT nStyle) {
  m_strCaption = lpszText != nullptr ? lpszText : _T("");
  m_psh.dwFlags = (m_psh.dwFlags & ~PSH_PROPTITLE) | (nStyle & PSH_PROPTITLE);
  if (m_hWnd != nullptr) {
    ::SendMessageW(m_hWnd, PSM_SETTITLEW, nStyle, reinterpret_cast<LPARAM>(m_strCaption.GetString()));
  }
}

CWnd* CPropertySheet::GetTabControl() const {
  auto hWndTab = reinterpret_cast<HWND>(::SendMessageW(m_hWnd, PSM_GETTABCONTROL, 0, 0));
  return hWndTab != nullptr ? CWnd::FromHandle(hWndTab) : nullptr;
}

void CPropertySheet::PressButton(int nButton) {
  ::SendMessageW(m_hWnd, PSM_PRESSBUTTON, static_cast<WPARAM>(nButton), 0);
}

// ---- creation -------------------------------------------------------------------------------------

int CALLBACK CPropertySheet::SheetCallback(HWND hWnd, UINT message, LPARAM lParam) {
  CPropertySheet* pSheet = t_sheetInit;
  if (pSheet == nullptr) return 0;
  if (message == PSCB_PRECREATE && lParam != 0 && t_style != static_cast<DWORD>(-1)) {
    SetTemplateStyles(reinterpret_cast<void*>(lParam), t_style, t_exStyle);
  } else if (message == PSCB_INITIALIZED && pSheet->m_hWnd == nullptr && pSheet->SubclassWindow(hWnd)) {
    // Called from the system's code: nothing thrown may leave.
    try {
      pSheet->OnInitDialog();
    } catch (CException* e) {
      e->Delete();
    } catch (...) {
    }
  }
  return 0;
}

HWND CPropertySheet::CreateSheet(HWND hWndOwner, DWORD dwStyle, DWORD dwExStyle) {
  if (m_hWnd != nullptr || m_pages.empty()) return nullptr;
  AfxInitCommonControls(ICC_TAB_CLASSES);
  m_nEndResult = IDCANCEL;
  m_records.clear();
  for (CPropertyPage* pPage : m_pages) {
    PreparePage(pPage);
    m_records.push_back(pPage->m_psp);
  }
  m_psh.dwSize = sizeof m_psh;
  m_psh.dwFlags |= PSH_PROPSHEETPAGE | PSH_MODELESS | PSH_USECALLBACK;
  m_psh.hwndParent = hWndOwner;
  m_psh.hInstance = AfxGetResourceHandle();
  m_psh.pszCaption = m_strCaption;
  m_psh.nPages = static_cast<UINT>(m_records.size());
  if (m_psh.nStartPage >= m_psh.nPages) m_psh.nStartPage = 0;
  m_psh.ppsp = m_records.data();
  m_psh.pfnCallback = &SheetCallback;
  CPropertySheet* pOuter = t_sheetInit;
  t_sheetInit = this;
  t_style = dwStyle;
  t_exStyle = dwExStyle;
  auto hWnd = reinterpret_cast<HWND>(::PropertySheetW(&m_psh));
  t_sheetInit = pOuter;
  t_style = static_cast<DWORD>(-1);
  if (hWnd == nullptr || hWnd == reinterpret_cast<HWND>(-1)) return nullptr;
  if (m_hWnd == nullptr && !SubclassWindow(hWnd)) {
    ::DestroyWindow(hWnd);
    return nullptr;
  }
  return hWnd;
}

BOOL CPropertySheet::OnInitDialog() { return TRUE; }

BOOL CPropertySheet::Create(CWnd* pParentWnd, DWORD dwStyle, DWORD dwExStyle) {
  if (pParentWnd != nullptr) m_pParentWnd = pParentWnd;
  CWnd* pOwner = m_pParentWnd != nullptr ? m_pParentWnd : AfxGetMainWnd();
  m_bModeless = TRUE;
  HWND hWnd = CreateSheet(TopLevelWindowOf(pOwner != nullptr ? pOwner->m_hWnd : nullptr), dwStyle, dwExStyle);
  if (hWnd == nullptr) m_bModeless = FALSE;
  return hWnd != nullptr;
}

INT_PTR CPropertySheet::DoModal() {
  BOOL ownerDisabled = FALSE;
  HWND hWndOwner = PrepareModalOwner(m_pParentWnd, &ownerDisabled);
  m_bModeless = FALSE;
  m_nModalResult = -1;
  m_bModalEndPending = FALSE;
  INT_PTR result = -1;
  if (CreateSheet(hWndOwner, static_cast<DWORD>(-1), 0) != nullptr) result = RunModalLoop(MLF_SHOWONIDLE);
  ReleaseModalOwner(hWndOwner, ownerDisabled);
  return result;
}

// ---- running and ending ---------------------------------------------------------------------------

BOOL CPropertySheet::HasEnded() const {
  return m_hWnd != nullptr && ::SendMessageW(m_hWnd, PSM_GETCURRENTPAGEHWND, 0, 0) == 0;
}

BOOL CPropertySheet::ContinueModal() {
  if (!CWnd::ContinueModal()) return FALSE;
  if (!HasEnded()) return TRUE;
  // Ended by the sheet itself (its buttons, the close box): as the pages last heard.
  if (m_nModalResult == -1) m_nModalResult = m_nEndResult;
  return FALSE;
}

void CPropertySheet::OnPageEnding(int nResult) {
  m_nEndResult = nResult;
  if (m_hWnd != nullptr) PostMessage(WM_KICKIDLE);  // the sheet ends after the notification
}

LRESULT CPropertySheet::OnKickIdle(WPARAM, LPARAM) {
  if (m_bModeless && HasEnded()) {
    m_nModalResult = m_nEndResult;
    DestroyWindow();
  }
  return 0;
}

void CPropertySheet::EndDialog(int nEndID) {
  m_nModalResult = nEndID;
  if (m_bModeless) {
    DestroyWindow();
  } else {
    EndModalLoop(nEndID);
  }
}

BOOL CPropertySheet::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (!CWnd::OnCommand(wParam, lParam)) Default();  // the sheet's own buttons
  UINT nID = LOWORD(wParam);
  if ((nID == IDOK || nID == IDCANCEL) && HasEnded()) EndDialog(m_nEndResult);
  return TRUE;
}

BOOL CPropertySheet::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->message < WM_KEYFIRST || pMsg->message > WM_KEYLAST || m_hWnd == nullptr) return FALSE;
  if (pMsg->hwnd != m_hWnd && !::IsChild(m_hWnd, pMsg->hwnd)) return FALSE;
  return static_cast<BOOL>(::SendMessageW(m_hWnd, PSM_ISDIALOGMESSAGE, 0, reinterpret_cast<LPARAM>(pMsg)));
}
