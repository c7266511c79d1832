// CTKPMenuBar: the command bar that takes the place of the frame's Windows menu. It loads the frame's
// menu resource into controls and takes the menu from the frame; the menu key alone (Alt, F10) starts
// its keyboard tracking; WM_MDISETMENU shows the menu of the active document's type (each type's
// controls kept in a cache while another shows); and in an MDI frame whose child is maximized it shows
// the child's system menu at its start and the child's minimize, restore and close buttons at its end.
#pragma once

#include <vector>

#include "platform/classlib/cmap.h"
#include "toolkit/commandbars/bars/tkp_tool_bar.h"

class CTKPControls;

// The controls the menu bar makes for a maximized MDI child.
constexpr int TKP_ID_MENUBAR_CLOSE = 9403;
constexpr int TKP_ID_MENUBAR_RESTORE = 9404;
constexpr int TKP_ID_MENUBAR_MINIMIZE = 9405;
constexpr int TKP_ID_MENUBAR_SYSMENU = 9406;
// Menu-bar bits of the bar's flags.
constexpr DWORD TKP_MENUBAR_NO_MINIMIZE = 0x100;
constexpr DWORD TKP_MENUBAR_NO_RESTORE = 0x200;
constexpr DWORD TKP_MENUBAR_IGNORE_SETMENU = 0x400;
constexpr DWORD TKP_MENUBAR_NO_CLOSE = 0x1000;
constexpr DWORD TKP_MENUBAR_SHOW_SYSMENU = 0x2000;
// The posted timer message that refreshes the MDI buttons once an MDI change has settled.
constexpr UINT_PTR TKP_TIMER_MDI_REFRESH = 12223;

class CTKPMenuBar : public CTKPToolBar {
  DECLARE_SERIAL(CTKPMenuBar)

 public:
  CTKPMenuBar();
  ~CTKPMenuBar() override;

  // The menu resource's items become the bar's controls and the frame loses its own menu; FALSE (the
  // frame's menu left in place) when the resource cannot be loaded.
  BOOL LoadMenuBar(UINT nID);
  // The controls of another menu (the frame's own menu brings the default one back).
  void SwitchMenu(HMENU hMenu);
  // The maximized MDI child's system menu and buttons added or removed.
  void RefreshMdiButtons();
  // The active MDI child of an MDI frame (and whether it is maximized); null otherwise.
  HWND GetActiveMdiChild(BOOL* pbMaximized = nullptr) const;
  // Before the controls are saved: the default menu shown again and unchanged cached menus dropped.
  void RestoreCache();

  // The controls of the document types' menus waiting in the cache.
  std::vector<CTKPControls*> GetMdiMenus() const;
  void DoPropExchange(CTKPPropExchange* pPX) override;
  void CollectBarsToSave(UINT& nNextId, CTKPCommandBarRefList& list, const TKPCommandBarsExchangeParam& param) override;
  void LinkPopupBars(CTKPCommandBarRefList& list) override;
  // A loaded menu bar's document-type menus replace the cached ones too.
  void Copy(CTKPCommandBar* pSource, BOOL bRecursive = FALSE) override;

  void ResetToolBar() override;
  int OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult) override;

  UINT GetDefaultMenuID() const { return m_nIDResource; }
  UINT GetCurrentMenuID() const { return m_nIDResourceCurrent; }
  HMENU GetFrameMenu() const { return m_hMenu; }
  BOOL IsCacheRestored() const { return m_bCacheRestored; }
  int GetCachedMenuCount() const { return static_cast<int>(m_mapMenuCache.GetCount()); }

 protected:
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  DECLARE_MESSAGE_MAP()

  // The button of an MDI command at the end of the bar: added when wanted, removed when not.
  void ShowMdiButton(int nID, LPCTSTR lpszGlyph, BOOL bShow);
  void RefreshSysMenu(HWND hChild, BOOL bShow);
  void HookChild(HWND hChild);
  // The controls now shown, parked for their menu id; the ones of nID (or new ones from the menu) shown.
  void ShowCachedControls(UINT nID, HMENU hMenu);
  void SetControls(CTKPControls* pControls);
  // The controls (whose reference the cache takes) wait for menu nID, in place of any there before.
  CTKPControls* CacheMenu(UINT nID, CTKPControls* pControls);

  BOOL m_bMdiApp = FALSE;
  HWND m_hwndHookedChild = nullptr;
  HWND m_hwndMdiClient = nullptr;
  HMENU m_hMenu = nullptr;  // the frame's own menu, destroyed with the bar
  UINT m_nIDResource = 0;
  UINT m_nIDResourceCurrent = 0;
  CMap<UINT, UINT, CTKPControls*, CTKPControls*> m_mapMenuCache;
  BOOL m_bCacheRestored = FALSE;
  HMENU m_hSysMenuShown = nullptr;
};
