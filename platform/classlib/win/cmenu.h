// CMenu: a menu. The object owns the menu it made or loaded, or was given (Attach): destroying it
// destroys the menu (and its submenus) unless Detach took it back. Menus handed out by the system or by
// GetSubMenu are temporary wrappers that destroy nothing. Handlers and CCmdUI receive a CMenu*.
#pragma once

#include <windows.h>

#include "platform/classlib/cobject.h"
#include "platform/classlib/cstring.h"
#include "platform/classlib/win/handlemap.h"

class CBitmap;
class CWnd;

class CMenu : public CObject {
  DECLARE_DYNCREATE(CMenu)

 public:
  CMenu() = default;
  ~CMenu() override;
  CMenu(const CMenu&) = delete;
  CMenu& operator=(const CMenu&) = delete;

  HMENU m_hMenu = nullptr;

  operator HMENU() const { return m_hMenu; }
  HMENU GetSafeHmenu() const { return m_hMenu; }
  bool operator==(const CMenu& other) const { return m_hMenu == other.m_hMenu; }
  bool operator!=(const CMenu& other) const { return m_hMenu != other.m_hMenu; }

  // ---- the handle ---------------------------------------------------------------------------------
  static CMenu* FromHandle(HMENU hMenu);
  BOOL Attach(HMENU hMenu);
  HMENU Detach();
  BOOL CreateMenu();
  BOOL CreatePopupMenu();
  // From the resources of AfxGetResourceHandle().
  BOOL LoadMenu(UINT nIDResource);
  BOOL LoadMenu(LPCTSTR lpszResourceName);
  BOOL LoadMenuIndirect(const void* lpMenuTemplate);
  BOOL DestroyMenu();

  static CMenu* NewTemporary(HMENU hMenu);
  static void DeleteTemporary(CMenu* pMenu);

  // ---- items: nPosition is an id, or a position with MF_BYPOSITION ---------------------------------
  BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem = 0, LPCTSTR lpszNewItem = nullptr);
  BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, const CBitmap* pBmp);
  BOOL InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem = 0, LPCTSTR lpszNewItem = nullptr);
  BOOL InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, const CBitmap* pBmp);
  BOOL ModifyMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem = 0, LPCTSTR lpszNewItem = nullptr);
  // DeleteMenu destroys a submenu it removes; RemoveMenu leaves it alive.
  BOOL DeleteMenu(UINT nPosition, UINT nFlags);
  BOOL RemoveMenu(UINT nPosition, UINT nFlags);
  BOOL InsertMenuItem(UINT uItem, LPMENUITEMINFO lpMenuItemInfo, BOOL fByPos = FALSE);
  BOOL GetMenuItemInfo(UINT uItem, LPMENUITEMINFO lpMenuItemInfo, BOOL fByPos = FALSE) const;
  BOOL SetMenuItemInfo(UINT uItem, LPMENUITEMINFO lpMenuItemInfo, BOOL fByPos = FALSE);
  BOOL SetMenuItemBitmaps(UINT nPosition, UINT nFlags, const CBitmap* pBmpUnchecked, const CBitmap* pBmpChecked);

  // ---- state ----------------------------------------------------------------------------------------
  // The previous state (MF_ENABLED, MF_GRAYED, MF_CHECKED ...), or -1 as UINT when there is no item.
  UINT EnableMenuItem(UINT nIDEnableItem, UINT nEnable);
  UINT CheckMenuItem(UINT nIDCheckItem, UINT nCheck);
  BOOL CheckMenuRadioItem(UINT nIDFirst, UINT nIDLast, UINT nIDItem, UINT nFlags);
  BOOL SetDefaultItem(UINT uItem, BOOL fByPos = FALSE);
  UINT GetDefaultItem(UINT gmdiFlags, BOOL fByPos = FALSE) const;

  // ---- reading --------------------------------------------------------------------------------------
  int GetMenuItemCount() const;
  // The command id; -1 as UINT for a submenu, 0 for a separator.
  UINT GetMenuItemID(int nPos) const;
  UINT GetMenuState(UINT nID, UINT nFlags) const;
  int GetMenuString(UINT nIDItem, LPTSTR lpString, int nMaxCount, UINT nFlags) const;
  int GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const;
  CMenu* GetSubMenu(int nPos) const;

  // ---- showing ----------------------------------------------------------------------------------------
  // With TPM_RETURNCMD the chosen command (0 when dismissed); otherwise whether the menu was shown.
  BOOL TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect = nullptr);
  BOOL TrackPopupMenuEx(UINT fuFlags, int x, int y, CWnd* pWnd, LPTPMPARAMS lptpm);
};

using CMenuHandleMap = CHandleMap<CMenu, HMENU>;
