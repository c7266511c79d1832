#include "toolkit/common/tk_window_pos.h"

#include "platform/classlib/win/cwinapp.h"

namespace {

LPCTSTR SectionOr(LPCTSTR section) { return section != nullptr ? section : _T("Settings"); }
LPCTSTR ValueOr(LPCTSTR value) { return value != nullptr ? value : _T("Window Position"); }

// Stored as text: "show,left,top,right,bottom".
constexpr int kFields = 5;
// A placement far outside any screen, or smaller than a caption, is not applied.
constexpr LONG kLimit = 100000;
constexpr LONG kSmallest = 50;

bool Usable(const RECT& r) {
  return r.left > -kLimit && r.top > -kLimit && r.right < kLimit && r.bottom < kLimit &&
         r.right - r.left >= kSmallest && r.bottom - r.top >= kSmallest;
}

}  // namespace

CTKWindowPos::CTKWindowPos() : WINDOWPLACEMENT{} { length = sizeof(WINDOWPLACEMENT); }

BOOL CTKWindowPos::LoadWindowPos(CWnd* pWnd, LPCTSTR lpszSection, LPCTSTR lpszValue) {
  CWinApp* app = AfxGetApp();
  if (app == nullptr || pWnd == nullptr || pWnd->m_hWnd == nullptr) return FALSE;
  const CString text = app->GetProfileString(SectionOr(lpszSection), ValueOr(lpszValue), _T(""));
  int show = 0;
  RECT r{};
  if (swscanf(text.GetString(), L"%d,%ld,%ld,%ld,%ld", &show, &r.left, &r.top, &r.right, &r.bottom) != kFields ||
      !Usable(r)) {
    return FALSE;
  }
  ::GetWindowPlacement(pWnd->m_hWnd, this);
  rcNormalPosition = r;
  showCmd = show == SW_SHOWMAXIMIZED ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
  flags = 0;
  return ::SetWindowPlacement(pWnd->m_hWnd, this);
}

BOOL CTKWindowPos::SaveWindowPos(CWnd* pWnd, LPCTSTR lpszSection, LPCTSTR lpszValue) {
  CWinApp* app = AfxGetApp();
  if (app == nullptr || pWnd == nullptr || pWnd->m_hWnd == nullptr) return FALSE;
  if (!::GetWindowPlacement(pWnd->m_hWnd, this)) return FALSE;
  const int show = ::IsZoomed(pWnd->m_hWnd) ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
  CString text;
  text.Format(_T("%d,%ld,%ld,%ld,%ld"), show, rcNormalPosition.left, rcNormalPosition.top, rcNormalPosition.right,
              rcNormalPosition.bottom);
  return app->WriteProfileString(SectionOr(lpszSection), ValueOr(lpszValue), text);
}
