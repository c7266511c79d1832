// What the command-bar themes share beyond the paint manager: the state record their rules read, the icon
// of a control in its state, the caption strip of a floating bar and a guard for clip changes.
#pragma once

#include <windows.h>

#include "platform/classlib/crect.h"
#include "platform/classlib/cstring.h"
#include "toolkit/commandbars/paint/theme_rules.h"

class CDC;
class CTKPCommandBar;
class CTKPControl;
class CTKPImageManagerIcon;
class CTKPPaintManager;

// The state of a control as the theme rules read it.
tkptheme::ControlState TKPThemeState(BOOL bEnabled, BOOL bSelected, BOOL bPressed, BOOL bChecked, BOOL bPopuped);
// True for bars docked at the left or right.
bool TKPIsVerticalBar(CTKPCommandBar* pBar);
bool TKPHasDC(CDC* pDC);

// How a theme draws icons.
struct TKPIconLook {
  BOOL faded = FALSE;           // the faded image in the normal state
  BOOL disabledImages = FALSE;  // real disabled images; else a silhouette of a non-alpha icon
  BOOL raisedHot = FALSE;       // a hot icon over its shadow
  BOOL themedDisabled = FALSE;  // a missing disabled image is made from the two colours below
  BOOL pressedOffset = FALSE;   // a pressed icon moves one pixel right and down
  BOOL embossed = FALSE;        // the silhouette is embossed (light below right, dark at the point)
  COLORREF silhouette = 0, light = 0, dark = 0;
};
void TKPDrawStateIcon(CDC* pDC, CPoint pt, CSize sz, CTKPImageManagerIcon* pImage, const tkptheme::ControlState& s,
                      const TKPIconLook& look);

// The bar's icon size, 16 x 16 when none is set.
CSize TKPBarIconSize(CTKPCommandBar* pBar);

// What a menu item is drawn from: its texts, whether mnemonics underline, the icon size and the room its
// caption and shortcut need side by side.
struct TKPMenuItemText {
  CString caption;
  CString shortcut;
  UINT prefix = 0;  // DT_NOPREFIX while keyboard cues are hidden
  CSize icon;
  int width = 0;
};
TKPMenuItemText TKPMeasureMenuItem(CTKPPaintManager* pPaint, CDC* pDC, CTKPControl* pControl);
// The item's icon centred in its box through the theme's DrawImage; false when the item has none.
bool TKPDrawMenuItemIcon(CTKPPaintManager* pPaint, CDC* pDC, CTKPControl* pControl, CRect box, CSize icon);

// The caption strip of a floating bar in the colour, with its title in colour 20; returns its size.
CSize TKPDrawFloatingCaption(CTKPPaintManager* pPaint, CDC* pDC, CTKPCommandBar* pBar, BOOL bDraw, COLORREF clrStrip);

// Keeps a DC's clip region and objects across exclusions.
class CTKPSavedDC {
 public:
  explicit CTKPSavedDC(CDC* pDC);
  ~CTKPSavedDC();
  CTKPSavedDC(const CTKPSavedDC&) = delete;
  CTKPSavedDC& operator=(const CTKPSavedDC&) = delete;

 private:
  CDC* m_pDC;
  int m_nSaved;
};
