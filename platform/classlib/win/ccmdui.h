// CCmdUI: one user-interface item (a menu item, a control, or something a toolbar draws) whose
// enabled, checked and text state the command's update handler sets.
#pragma once

#include <windows.h>

#include "platform/classlib/cltypes.h"

class CCmdTarget;
class CMenu;
class CWnd;

class CCmdUI {
 public:
  CCmdUI() = default;
  virtual ~CCmdUI() = default;

  UINT m_nID = 0;
  UINT m_nIndex = 0;          // menu position, or a bar's item index
  CMenu* m_pMenu = nullptr;   // a menu item: the menu
  CMenu* m_pSubMenu = nullptr;
  CMenu* m_pParentMenu = nullptr;
  UINT m_nIndexMax = 0;
  CWnd* m_pOther = nullptr;   // a control, or the bar that draws the item
  BOOL m_bEnableChanged = FALSE;
  BOOL m_bContinueRouting = FALSE;

  // For a menu item they change the item at m_nIndex; for a control, the control.
  virtual void Enable(BOOL bOn = TRUE);
  virtual void SetCheck(int nCheck = 1);  // 0 clear, 1 checked, 2 indeterminate
  virtual void SetRadio(BOOL bOn = TRUE);
  virtual void SetText(LPCTSTR lpszText);
  // From an update handler: let the next target in the route also see the request.
  void ContinueRouting() { m_bContinueRouting = TRUE; }

  // Asks pTarget (and whatever it routes to) for the state. With bDisableIfNoHandler an item that no
  // update handler enabled or disabled is enabled when a command handler exists and disabled
  // otherwise. TRUE when an update handler answered.
  BOOL DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHandler);
};
