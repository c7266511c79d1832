// What the task panel's looks share: colour lookups, the scheme in force, text measuring and the caption
// text with its focus rectangle. Windows build only.
#pragma once

#include <windows.h>

#include "platform/classlib/crect.h"
#include "toolkit/common/color_gradient.h"

class CDC;
class CFont;
class CTKPTaskPanelGroup;
class CTKPTaskPanelPaintManager;

namespace taskpanel::themes {

// Entry n of the toolkit's colour table (1 to 27 the system's).
COLORREF Sys(int nIndex);
COLORREF Color(const CTKPColorValue& value);
// The visual style's colour scheme in force: 0 none, 1 blue, 2 olive, 3 silver.
int Scheme();
// The height of " " in the font.
int TextHeight(CFont* pFont);
// The caption's text in the caption font and the paint manager's caption format; a focused caption of a
// focused panel gets a focus rectangle round the text.
void DrawCaptionText(CTKPTaskPanelPaintManager* pPaint, CDC* pDC, CTKPTaskPanelGroup* pGroup, const CRect& rc,
                     COLORREF clrText);

}  // namespace taskpanel::themes
