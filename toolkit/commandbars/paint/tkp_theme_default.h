// CTKPDefaultTheme (theme 0, and any id outside 1 to 4): classic three-dimensional bars in the system
// colours, raised and sunken frames for hot, pressed and checked controls, a dithered background for
// checked buttons, embossed disabled images and text. The visual-styles theme builds on it.
#pragma once

#include "toolkit/commandbars/paint/tkp_theme_common.h"
#include "toolkit/commandbars/paint/tkp_paint_manager.h"

class CTKPDefaultTheme : public CTKPPaintManager {
  DECLARE_DYNAMIC(CTKPDefaultTheme)

 public:
  CTKPDefaultTheme() = default;

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
  void DrawSplitButtonFrame(CDC* pDC, CTKPControl* pControl, CRect rc) override;
  CSize DrawCommandBarGripper(CDC* pDC, CTKPCommandBar* pBar, BOOL bDraw) override;
  CSize DrawCommandBarSeparator(CDC* pDC, CTKPCommandBar* pBar, CTKPControl* pControl, BOOL bDraw) override;
  void AdjustControlRect(CRect& rc, CTKPControl* pControl, BOOL bVert) override;
  CRect GetCommandBarBorders(CTKPCommandBar* pBar) override;
  CSize DrawSpecialControl(CDC* pDC, int nKind, CTKPControl* pControl, CTKPCommandBar* pBar, BOOL bDraw,
                           CSize szParam) override;
  CSize DrawTearOffGripper(CDC* pDC, CRect rc, BOOL bSelected, BOOL bDraw) override;
  void DrawImage(CDC* pDC, CPoint pt, CSize sz, CTKPImageManagerIcon* pImage, BOOL bSelected, BOOL bPressed,
                 BOOL bEnabled, BOOL bChecked, BOOL bPopuped, BOOL bToolBarImage) override;
  CSize DrawDialogBarGripper(CDC* pDC, CTKPCommandBar* pBar, BOOL bDraw) override;
  int BaseTheme() const override { return tkpThemeDefault; }

  // A caption drawn embossed (a light copy one pixel right and down first) unless selected or pressed.
  virtual void DrawControlText3D(CDC* pDC, const CString& strText, CRect rc, UINT nFormat, CTKPControl* pControl,
                                 BOOL bSelected, BOOL bPressed);

  // The frame of an edit's or a combo box's box, by its state (kFrame...): hot, sunken (a face-coloured
  // ring when disabled) with a face-coloured ring inside; otherwise a highlight ring one pixel in (a
  // shadow ring while pressed).
  static constexpr int kFrameDisabled = 0, kFrameEnabled = 1, kFramePressed = 2;
  virtual void DrawButtonFrame(CDC* pDC, CRect rc, BOOL bSelected, int nState);
  // A combo box's drop-down button inside the box's frame.
  virtual void DrawComboDropDown(CDC* pDC, CRect rc, BOOL bEnabled, BOOL bSelected, BOOL bDropped);

  // The colour index of menu texts: button text here, menu text in the visual-styles theme.
  int m_nPopupTextColor = COLOR_BTNTEXT;

 protected:
  void DrawRaised(CDC* pDC, CRect rc) { Draw3dRect(pDC, rc, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW); }
  void DrawSunken(CDC* pDC, CRect rc) { Draw3dRect(pDC, rc, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT); }
  CSize DrawField(CDC* pDC, CTKPControl* pControl, BOOL bDraw);
  // The 8 x 8 dither of a checked button in colours 15 and 20.
  void FillDither(CDC* pDC, CRect rc);
};
