// What the command-bar themes share beyond the paint manager: the state record their rules read, the icon
// of a control in its state, the caption strip of a floating bar and a guard for clip changes.
#pragma once

#include <windows.h>

#include "platform/classlib/crect.h"
#include "platform/classlib/cstring.h"
#include "toolkit/commandbars/paint/theme_rules.h"

class CDC;
class CTKPCommandBar;
class CTKPCommandBars;
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

// The icon columns of a menu: 2 when the popup bar shows check marks and icons side by side, else 1.
int TKPPopupColumns(CTKPCommandBar* pBar);

// What a menu item is drawn from: its texts, whether mnemonics underline, the icon size and the room its
// caption and shortcut need side by side.
struct TKPMenuItemText {
  CString caption;
  CString shortcut;
  UINT prefix = 0;  // DT_NOPREFIX while keyboard cues are hidden
  CSize icon;
  int width = 0;
};
// DT_NOPREFIX while the bar (or the paint manager's override) hides keyboard cues, else 0.
UINT TKPCaptionPrefix(CTKPPaintManager* pPaint, CTKPCommandBar* pBar);
TKPMenuItemText TKPMeasureMenuItem(CTKPPaintManager* pPaint, CDC* pDC, CTKPControl* pControl);
// The item's icon centred in its box through the theme's DrawImage; false when the item has none.
bool TKPDrawMenuItemIcon(CTKPPaintManager* pPaint, CDC* pDC, CTKPControl* pControl, CRect box, CSize icon);

// The caption strip of a floating bar in the colour, with its title in colour 20; returns its size.
CSize TKPDrawFloatingCaption(CTKPPaintManager* pPaint, CDC* pDC, CTKPCommandBar* pBar, BOOL bDraw, COLORREF clrStrip);

// A bar's text field (an edit or a combo box) as the themes lay it out: the label, the box from the
// label's end to the right edge and, for a combo box, its drop-down button at the box's right end.
struct TKPFieldLayout {
  bool popup = false;     // on a popup bar, where the label starts after the icon column
  bool combo = false;
  bool showLabel = false;
  BOOL enabled = TRUE;
  BOOL selected = FALSE;  // hot, focused or dropped down
  int selection = 0;      // the control's own selected state (2 from the keyboard)
  BOOL dropped = FALSE;   // a combo box's list is open
  int labelWidth = 0;
  CRect label, box, button;
  CSize size;
};
// Measures the field in the paint manager's fonts and hands the label width to the control: on a popup
// bar the icon column + 12 + the caption, elsewhere the caption + 5 when the label shows; height
// max(height of " " + 1 in the icon-title font, label height) + 7; width label + the field's own width.
// False for a control that is no field, or without a DC.
bool TKPLayoutField(CTKPPaintManager* pPaint, CDC* pDC, CTKPControl* pControl, int nIconColumn, TKPFieldLayout& out);
// The field's caption in its label rectangle, in the DC's colour and font.
void TKPDrawFieldLabel(CTKPPaintManager* pPaint, CDC* pDC, CTKPControl* pControl, const TKPFieldLayout& field);

// What an entry of the customize dialog's command list is drawn in; the entry's background comes from
// the theme (fill and icon column).
struct TKPListEntryLook {
  int text = 0, selectedText = 0;          // caption and arrows
  int boxBorder = 0, selectedBoxBorder = 0, boxFill = 0;
  int glyph = 0, selectedGlyph = 0;        // a combo box's drop-down glyph
  int divider = 0;                          // before a split button's arrow
};
using TKPListEntryBackground = void (*)(CTKPPaintManager* pPaint, CDC* pDC, CRect rc, int nIconColumn);
// Measures (the entry's size) or draws an entry: icon in the options' size, caption, the arrow of popups,
// the small box of edits and combo boxes.
CSize TKPDrawListEntry(CTKPPaintManager* pPaint, CDC* pDC, CTKPControl* pControl, CRect rc, BOOL bSelected,
                       BOOL bDraw, CTKPCommandBars* pCommandBars, const TKPListEntryLook& look,
                       TKPListEntryBackground background);

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
