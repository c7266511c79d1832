// CMenu: the menu handle, its owner, and the menu calls of the system.
#include "platform/classlib/win/cmenu.h"

#include "platform/classlib/resource_win32.h"
#include "platform/classlib/win/cgdiobject.h"
#include "platform/classlib/win/cwnd.h"

IMPLEMENT_DYNCREATE(CMenu, CObject)

namespace {
LPCWSTR ItemBitmap(const CBitmap* pBmp) {
  return reinterpret_cast<LPCWSTR>(pBmp != nullptr ? HBITMAP(*pBmp) : nullptr);
}
HBITMAP BitmapOf(const CBitmap* pBmp) { return pBmp != nullptr ? HBITMAP(*pBmp) : nullptr; }
}  // namespace

// ---- the handle -----------------------------------------------------------------------------------

CMenu::~CMenu() { DestroyMenu(); }

CMenu* CMenu::FromHandle(HMENU hMenu) { return CMenuHandleMap::FromHandle(hMenu); }
BOOL CMenu::Attach(HMENU hMenu) { return CMenuHandleMap::Attach(this, &CMenu::m_hMenu, hMenu); }
HMENU CMenu::Detach() { return CMenuHandleMap::Detach(this, &CMenu::m_hMenu); }

namespace {
// Takes a menu just made; one the object cannot take (it holds one already) is destroyed again.
BOOL AttachMade(CMenu* pMenu, HMENU hMenu) {
  if (pMenu->Attach(hMenu)) return TRUE;
  if (hMenu != nullptr) ::DestroyMenu(hMenu);
  return FALSE;
}
}  // namespace

BOOL CMenu::CreateMenu() { return AttachMade(this, ::CreateMenu()); }
BOOL CMenu::CreatePopupMenu() { return AttachMade(this, ::CreatePopupMenu()); }
BOOL CMenu::LoadMenu(UINT nIDResource) { return LoadMenu(MAKEINTRESOURCEW(nIDResource)); }
BOOL CMenu::LoadMenu(LPCTSTR lpszResourceName) {
  return AttachMade(this, ::LoadMenuW(AfxGetResourceHandle(), lpszResourceName));
}
BOOL CMenu::LoadMenuIndirect(const void* lpMenuTemplate) {
  return AttachMade(this, ::LoadMenuIndirectW(lpMenuTemplate));
}
BOOL CMenu::DestroyMenu() {
  HMENU hMenu = Detach();
  return hMenu != nullptr ? ::DestroyMenu(hMenu) : FALSE;
}

CMenu* CMenu::NewTemporary(HMENU hMenu) { return AfxNewTemporaryWrapper(&CMenu::m_hMenu, hMenu); }
void CMenu::DeleteTemporary(CMenu* pMenu) { AfxDeleteTemporaryWrapper(pMenu, &CMenu::m_hMenu); }

// ---- items ----------------------------------------------------------------------------------------

BOOL CMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, LPCTSTR lpszNewItem) {
  return ::AppendMenuW(m_hMenu, nFlags, nIDNewItem, lpszNewItem);
}
BOOL CMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, const CBitmap* pBmp) {
  return ::AppendMenuW(m_hMenu, nFlags | MF_BITMAP, nIDNewItem, ItemBitmap(pBmp));
}
BOOL CMenu::InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, LPCTSTR lpszNewItem) {
  return ::InsertMenuW(m_hMenu, nPosition, nFlags, nIDNewItem, lpszNewItem);
}
BOOL CMenu::InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, const CBitmap* pBmp) {
  return ::InsertMenuW(m_hMenu, nPosition, nFlags | MF_BITMAP, nIDNewItem, ItemBitmap(pBmp));
}
BOOL CMenu::ModifyMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, LPCTSTR lpszNewItem) {
  return ::ModifyMenuW(m_hMenu, nPosition, nFlags, nIDNewItem, lpszNewItem);
}
BOOL CMenu::DeleteMenu(UINT nPosition, UINT nFlags) { return ::DeleteMenu(m_hMenu, nPosition, nFlags); }
BOOL CMenu::RemoveMenu(UINT nPosition, UINT nFlags) { return ::RemoveMenu(m_hMenu, nPosition, nFlags); }
BOOL CMenu::InsertMenuItem(UINT uItem, LPMENUITEMINFO lpMenuItemInfo, BOOL fByPos) {
  return ::InsertMenuItemW(m_hMenu, uItem, fByPos, lpMenuItemInfo);
}
BOOL CMenu::GetMenuItemInfo(UINT uItem, LPMENUITEMINFO lpMenuItemInfo, BOOL fByPos) const {
  return ::GetMenuItemInfoW(m_hMenu, uItem, fByPos, lpMenuItemInfo);
}
BOOL CMenu::SetMenuItemInfo(UINT uItem, LPMENUITEMINFO lpMenuItemInfo, BOOL fByPos) {
  return ::SetMenuItemInfoW(m_hMenu, uItem, fByPos, lpMenuItemInfo);
}
BOOL CMenu::SetMenuItemBitmaps(UINT nPosition, UINT nFlags, const CBitmap* pBmpUnchecked, const CBitmap* pBmpChecked) {
  return ::SetMenuItemBitmaps(m_hMenu, nPosition, nFlags, BitmapOf(pBmpUnchecked), BitmapOf(pBmpChecked));
}

// ---- state and reading ----------------------------------------------------------------------------

UINT CMenu::EnableMenuItem(UINT nIDEnableItem, UINT nEnable) {
  return static_cast<UINT>(::EnableMenuItem(m_hMenu, nIDEnableItem, nEnable));
}
UINT CMenu::CheckMenuItem(UINT nIDCheckItem, UINT nCheck) { return ::CheckMenuItem(m_hMenu, nIDCheckItem, nCheck); }
BOOL CMenu::CheckMenuRadioItem(UINT nIDFirst, UINT nIDLast, UINT nIDItem, UINT nFlags) {
  return ::CheckMenuRadioItem(m_hMenu, nIDFirst, nIDLast, nIDItem, nFlags);
}
BOOL CMenu::SetDefaultItem(UINT uItem, BOOL fByPos) { return ::SetMenuDefaultItem(m_hMenu, uItem, fByPos); }
UINT CMenu::GetDefaultItem(UINT gmdiFlags, BOOL fByPos) const {
  return ::GetMenuDefaultItem(m_hMenu, fByPos, gmdiFlags);
}
int CMenu::GetMenuItemCount() const { return ::GetMenuItemCount(m_hMenu); }
UINT CMenu::GetMenuItemID(int nPos) const { return ::GetMenuItemID(m_hMenu, nPos); }
UINT CMenu::GetMenuState(UINT nID, UINT nFlags) const { return ::GetMenuState(m_hMenu, nID, nFlags); }
int CMenu::GetMenuString(UINT nIDItem, LPTSTR lpString, int nMaxCount, UINT nFlags) const {
  return ::GetMenuStringW(m_hMenu, nIDItem, lpString, nMaxCount, nFlags);
}
int CMenu::GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const {
  int length = ::GetMenuStringW(m_hMenu, nIDItem, nullptr, 0, nFlags);
  if (length <= 0) {
    rString.Empty();
    return 0;
  }
  int copied = ::GetMenuStringW(m_hMenu, nIDItem, rString.GetBuffer(length + 1), length + 1, nFlags);
  rString.ReleaseBuffer(copied);
  return copied;
}
CMenu* CMenu::GetSubMenu(int nPos) const { return FromHandle(::GetSubMenu(m_hMenu, nPos)); }

// ---- showing --------------------------------------------------------------------------------------

BOOL CMenu::TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect) {
  return ::TrackPopupMenu(m_hMenu, nFlags, x, y, 0, pWnd != nullptr ? pWnd->m_hWnd : nullptr, lpRect);
}
BOOL CMenu::TrackPopupMenuEx(UINT fuFlags, int x, int y, CWnd* pWnd, LPTPMPARAMS lptpm) {
  return ::TrackPopupMenuEx(m_hMenu, fuFlags, x, y, pWnd != nullptr ? pWnd->m_hWnd : nullptr, lptpm);
}
