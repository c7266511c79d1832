// CMenu: a menu handle and its wrappers (menu handlers and CCmdUI receive a CMenu*); the menu-building
// members belong to the drawing and control part of the library and are added here.
#pragma once

#include <windows.h>

#include "platform/classlib/cobject.h"
#include "platform/classlib/win/handlemap.h"

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

  static CMenu* FromHandle(HMENU hMenu);
  BOOL Attach(HMENU hMenu);
  HMENU Detach();

  static CMenu* NewTemporary(HMENU hMenu);
  static void DeleteTemporary(CMenu* pMenu);
};

using CMenuHandleMap = CHandleMap<CMenu, HMENU>;
