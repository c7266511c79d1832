// CTKPFlatTheme (theme 1): flat bars in the toolkit's computed colours, a coloured icon column in menus,
// highlighted controls drawn as a filled rectangle inside a one-pixel frame. The gradient themes build on it.
#pragma once

#include "toolkit/commandbars/paint/tkp_theme_common.h"
#include "toolkit/commandbars/paint/tkp_paint_manager.h"

class CTKPFlatTheme : public CTKPPaintManager {
  DECLARE_DYNAMIC(CTKPFlatTheme)

 public:
  CTKPFlatTheme();

  CSize DrawControlPopupParent(CDC* pDC, CTKPControl* pControl, BOOL bDraw) override;
  CSize DrawControlComboBox(CDC* pDC, CTKPControl* pControl, BOOL bDraw) override;
  CSize DrawControlEdit(CDC* pDC, CTKPControl* pControl, BOOL bDraw) override;
  CSize DrawListBoxControl(CDC* pDC, CTKPControl* pControl, CRect rc, BOOL bSelected, BOOL bDraw,
                           CTKPCommandBars* pCommandBars) override;
  void FillCommandBar(CDC* pDC, CTKPCommandBar* pBar) override;
  using CTKPPaintManager::DrawControlEntry;
  void DrawControlEntry(CDC* pDC, CRect rc, BOOL bEnabled, BOOL bSelected, BOOL bPressed, BOOL bChecked,
                        BOOL bPopuped, int barPosition) override;
  void DrawRectangle(CDC* pDC, CRect rc, BOOL bSelected, BOOL bPressed, BOOL bEnabled, BOOL bChecked,
                     BOOL bPopuped, BOOL bBarControl, int barPosition) override;
  CSize DrawCommandBarGripper(CDC* pDC, CTKPCommandBar* pBar, BOOL bDraw) override;
  CSize DrawCommandBarSeparator(CDC* pDC, CTKPCommandBar* pBar, CTKPControl* pControl, BOOL bDraw) override;
  void AdjustControlRect(CRect& rc, CTKPControl* pControl, BOOL bVert) override;
  void DrawStatusBarPaneBorder(CDC* pDC, CRect rc, BOOL bGripperPane) override;
  CSize DrawTearOffGripper(CDC* pDC, CRect rc, BOOL bSelected, BOOL bDraw) override;
  void DrawImage(CDC* pDC, CPoint pt, CSize sz, CTKPImageManagerIcon* pImage, BOOL bSelected, BOOL bPressed,
                 BOOL bEnabled, BOOL bChecked, BOOL bPopuped, BOOL bToolBarImage) override;
  CSize DrawDialogBarGripper(CDC* pDC, CTKPCommandBar* pBar, BOOL bDraw) override;
  BOOL IsShadowSupported() override { return TRUE; }
  int BaseTheme() const override { return tkpThemeFlat; }

  // The icon column of a menu: colour 42 beside items shown only in the expanded menu, else colour 30.
  virtual void FillIconColumn(CDC* pDC, int x, int y, int cx, int cy, BOOL bExpanded);

 protected:
  // The icon column of a popup bar, its frame pixel included.
  int PopupIconColumnWidth(CTKPCommandBar* pBar);
  // Opens the popup's frame where it touches the control that opened it.
  void FillPopupGap(CDC* pDC, CTKPCommandBar* pBar, int nColor);
  // Where the separator before a control runs; false when there is nothing to draw.
  bool SeparatorLine(CTKPCommandBar* pBar, CTKPControl* pControl, CPoint& from, CPoint& to);
  // The menu item's frame, icon, check mark, arrow and texts, shared with the themes built on this one.
  CSize DrawMenuItem(CDC* pDC, CTKPControl* pControl, BOOL bDraw);
  // An edit or a combo box: label, box and drop-down button.
  CSize DrawField(CDC* pDC, CTKPControl* pControl, BOOL bDraw);
};
