#include "toolkit/commandbars/tkp_command_bars.h"

#include "platform/classlib/win/cframewnd.h"
#include "platform/classlib/win/cmenu.h"
#include "platform/classlib/win/cwinapp.h"
#include "toolkit/commandbars/tkp_command_bar.h"

IMPLEMENT_DYNCREATE(CTKPCommandBars, CCmdTarget)

namespace {

// The first toolbar takes the id the frame lays out under the menu; later ones the ids after it.
constexpr UINT kFirstBarId = 0xE81B;

CString Part(LPCTSTR section, LPCTSTR part) { return CString(section) + part; }

void RemoveHidden(HMENU menu, const std::set<UINT>& hidden) {
  for (int i = ::GetMenuItemCount(menu) - 1; i >= 0; --i) {
    HMENU sub = ::GetSubMenu(menu, i);
    if (sub != nullptr) {
      RemoveHidden(sub, hidden);
    } else if (hidden.count(::GetMenuItemID(menu, i)) != 0) {
      ::DeleteMenu(menu, static_cast<UINT>(i), MF_BYPOSITION);
    }
  }
}

}  // namespace

CTKPCommandBars::~CTKPCommandBars() {
  // The bars' windows went with the site; what remains are objects whose windows never came.
  for (CTKPCommandBar* bar : m_bars) {
    if (bar->m_hWnd == nullptr) delete bar;
  }
}

BOOL CTKPCommandBars::SetMenu(LPCTSTR, UINT nIDMenu) {
  if (m_pSite == nullptr || m_pSite->m_hWnd == nullptr) return FALSE;
  HMENU menu = ::LoadMenuW(AfxGetResourceHandle(), MAKEINTRESOURCEW(nIDMenu));
  if (menu == nullptr) return FALSE;
  RemoveHidden(menu, m_hidden);
  HMENU old = ::GetMenu(m_pSite->m_hWnd);
  if (!::SetMenu(m_pSite->m_hWnd, menu)) {
    ::DestroyMenu(menu);
    return FALSE;
  }
  if (old != nullptr) ::DestroyMenu(old);
  return TRUE;
}

CTKPToolBar* CTKPCommandBars::Add(LPCTSTR lpszTitle, TKPBarPosition) {
  if (m_pSite == nullptr) return nullptr;
  auto* bar = new CTKPToolBar;
  bar->m_bAutoDelete = TRUE;
  if (!bar->Create(m_pSite, kFirstBarId + static_cast<UINT>(m_bars.size()), this)) {
    delete bar;
    return nullptr;
  }
  bar->SetWindowText(lpszTitle);
  m_bars.push_back(bar);
  return bar;
}

CTKPCommandBar* CTKPCommandBars::GetAt(int nIndex) const {
  return nIndex >= 0 && nIndex < GetCount() ? m_bars[static_cast<size_t>(nIndex)] : nullptr;
}

void CTKPCommandBars::HideCommands(const UINT* ids, int nCount) {
  for (int i = 0; i < nCount; ++i) m_hidden.insert(ids[i]);
  if (m_pSite != nullptr && m_pSite->m_hWnd != nullptr) {
    if (HMENU menu = ::GetMenu(m_pSite->m_hWnd)) RemoveHidden(menu, m_hidden);
  }
}

void CTKPCommandBars::LoadOptions(LPCTSTR lpszSection) {
  CWinApp* app = AfxGetApp();
  if (app == nullptr) return;
  const CString section = Part(lpszSection, _T("-Options"));
  m_options.bAlwaysShowFullMenus = app->GetProfileInt(section, _T("AlwaysShowFullMenus"), m_options.bAlwaysShowFullMenus) != 0;
  m_options.bShowFullAfterDelay = app->GetProfileInt(section, _T("ShowFullAfterDelay"), m_options.bShowFullAfterDelay) != 0;
  m_options.bToolBarScreenTips = app->GetProfileInt(section, _T("ToolBarScreenTips"), m_options.bToolBarScreenTips) != 0;
  m_options.bLargeIcons = app->GetProfileInt(section, _T("LargeIcons"), m_options.bLargeIcons) != 0;
}

void CTKPCommandBars::SaveOptions(LPCTSTR lpszSection) {
  CWinApp* app = AfxGetApp();
  if (app == nullptr) return;
  const CString section = Part(lpszSection, _T("-Options"));
  app->WriteProfileInt(section, _T("AlwaysShowFullMenus"), m_options.bAlwaysShowFullMenus);
  app->WriteProfileInt(section, _T("ShowFullAfterDelay"), m_options.bShowFullAfterDelay);
  app->WriteProfileInt(section, _T("ToolBarScreenTips"), m_options.bToolBarScreenTips);
  app->WriteProfileInt(section, _T("LargeIcons"), m_options.bLargeIcons);
}

void CTKPCommandBars::LoadBarState(LPCTSTR lpszSection, BOOL) {
  CWinApp* app = AfxGetApp();
  if (app == nullptr || m_pSite == nullptr) return;
  const int stored = static_cast<int>(app->GetProfileInt(Part(lpszSection, _T("-Summary")), _T("BarCount"), 0));
  for (int i = 0; i < GetCount() && i < stored; ++i) {
    CString section;
    section.Format(_T("%s-Bar%d"), lpszSection, i);
    const BOOL visible = app->GetProfileInt(section, _T("Visible"), 1) != 0;
    m_pSite->ShowControlBar(m_bars[static_cast<size_t>(i)], visible, FALSE);
  }
}

void CTKPCommandBars::SaveBarState(LPCTSTR lpszSection, BOOL) {
  CWinApp* app = AfxGetApp();
  if (app == nullptr) return;
  app->WriteProfileInt(Part(lpszSection, _T("-Summary")), _T("BarCount"), GetCount());
  for (int i = 0; i < GetCount(); ++i) {
    CString section;
    section.Format(_T("%s-Bar%d"), lpszSection, i);
    CTKPCommandBar* bar = m_bars[static_cast<size_t>(i)];
    app->WriteProfileInt(section, _T("Visible"), bar->m_hWnd != nullptr && bar->IsVisible() ? 1 : 0);
  }
}

UINT CTKPCommandBars::TrackPopupMenu(CMenu* pMenu, UINT nFlags, int x, int y, CWnd* pWnd) {
  if (pMenu == nullptr || pMenu->m_hMenu == nullptr || pWnd == nullptr) return 0;
  return static_cast<UINT>(::TrackPopupMenu(pMenu->m_hMenu, nFlags, x, y, 0, pWnd->m_hWnd, nullptr));
}
