// How a controls collection makes the controls that come with their own classes: buttons and the
// toolbars list, popups with their popup bars, labels; and the popup bar of a menu item's sub-menu.
#pragma once

#include <windows.h>

class CMenu;
class CTKPCommandBars;
class CTKPControl;
class CWnd;

// A new control of the type: buttons with the reserved ids of the toolbars, window, workspace-action and
// recent-file lists as those lists; combo boxes, edits, custom controls and labels; for popups (types 2, 3 and 4) with its popup bar, which loads the first
// sub-menu of menu resource nId when nId is 1 or more. pOwner may supply the bar (0x2861).
CTKPControl* TKPCreateControl(int nType, int nId, CTKPCommandBars* pCommandBars, CWnd* pOwner);
// A popup control made for a menu item gets its bar: the owner's answer to 0x2861 or a new popup bar,
// filled from the sub-menu (or, without one, from the first sub-menu of menu resource nId).
void TKPAttachSubMenu(CTKPControl* pControl, CMenu* pSubMenu, UINT nId, CTKPCommandBars* pCommandBars, CWnd* pOwner);
