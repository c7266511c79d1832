// What a command bar asks of its controls, in one place: the bar's code reads and drives its controls
// only through these calls, so that it needs nothing of the controls' headers. A null collection or
// control answers as an empty bar would.
#pragma once

#include <windows.h>

#include "platform/classlib/crect.h"
#include "platform/classlib/cstring.h"

class CDC;
class CMenu;
class CTKPCommandBar;
class CTKPControl;
class CTKPControls;

namespace tkp_bar {

// The collection of a new bar, its parent set; released with ReleaseControls.
CTKPControls* NewControls(CTKPCommandBar* pBar);
void ReleaseControls(CTKPControls* pControls);
// A copy of the source's controls whose parent is pBar.
CTKPControls* DuplicateControls(CTKPControls* pSource, CTKPCommandBar* pBar, BOOL bRecursive);
void RemoveAll(CTKPControls* pControls);
// A reference held on one control (the manager's drag control), and its bar.
void AddRef(CTKPControl* pControl);
void Release(CTKPControl* pControl);
CTKPCommandBar* Parent(const CTKPControl* pControl);
// The control made for one menu item, appended; null when none was made.
CTKPControl* AddMenuItem(CTKPControls* pControls, CMenu* pMenu, int nIndex);

int Count(const CTKPControls* pControls);
CTKPControl* At(const CTKPControls* pControls, int nIndex);
// The first visible control whose rectangle holds the point; -1 when none.
int HitTest(const CTKPControls* pControls, CPoint point);
// The next control the keyboard reaches after nIndex in nStep's direction (+1 or -1), wrapping; -1.
int NextSelectable(const CTKPControls* pControls, int nIndex, int nStep);

UINT Id(const CTKPControl* pControl);
int Type(const CTKPControl* pControl);
BOOL IsVisible(const CTKPControl* pControl);
BOOL IsEnabled(const CTKPControl* pControl);
BOOL BeginsGroup(const CTKPControl* pControl);
BOOL IsDefaultItem(const CTKPControl* pControl);  // drawn bold
// The bar a popup control opens; null for other controls.
CTKPCommandBar* OpenedBar(CTKPControl* pControl);
// The caption the mnemonics read: the custom one when set; empty when the caption is not shown.
CString MnemonicCaption(const CTKPControl* pControl);
CRect Rect(const CTKPControl* pControl);
DWORD Flags(const CTKPControl* pControl);
BOOL IsFocusable(const CTKPControl* pControl);
// An enabled control of popup type (2, 3, 4) whose popup can open.
BOOL IsEnabledPopup(const CTKPControl* pControl);

void SetSelected(CTKPControl* pControl, int nState);
BOOL SetPopup(CTKPControl* pControl, BOOL bPopup);
void SetFocused(CTKPControl* pControl, BOOL bFocused);
void SetEnabled(CTKPControl* pControl, BOOL bEnabled);
void SetBeginGroup(CTKPControl* pControl, BOOL bBeginGroup);
void SetDefaultItem(CTKPControl* pControl, BOOL bDefault);
void SetChecked(CTKPControl* pControl, BOOL bChecked);
// A popup still hiding unused commands shows all of them.
void ExpandPopup(CTKPControl* pControl);

int OnHookKeyDown(CTKPControl* pControl, UINT nChar, LPARAM lParam);
void OnClick(CTKPControl* pControl, BOOL bKeyboard, CPoint point);
void OnUnderlineActivate(CTKPControl* pControl);
void OnMouseMove(CTKPControl* pControl, CPoint point);
void OnMouseHover(CTKPControl* pControl);
void OnLButtonUp(CTKPControl* pControl, CPoint point);
void OnLButtonDblClk(CTKPControl* pControl, CPoint point);
void OnRButtonUp(CTKPControl* pControl, CPoint point);
void Draw(CTKPControl* pControl, CDC* pDC);

}  // namespace tkp_bar
