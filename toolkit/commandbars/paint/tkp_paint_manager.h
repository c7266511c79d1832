// CTKPPaintManager: the drawing engine of the command bars and their controls. It owns the fonts, the
// row height and a copy of the colour table that a theme overrides entry by entry; the themes derive
// from it and draw what is theirs (the operations left pure here). One paint manager is current for the
// whole process; a manager or a single bar may hold its own. Paint managers live by reference count.
#pragma once

#include <windows.h>

#include "platform/classlib/cstring.h"
#include "platform/classlib/crect.h"
#include "platform/classlib/win/ccmdtarget.h"
#include "platform/classlib/win/cgdiobject.h"
#include "toolkit/common/color_gradient.h"

class CDC;
class CWnd;
class CTKPCommandBar;
class CTKPCommandBars;
class CTKPControl;
class CTKPDockBar;
class CTKPImageManagerIcon;
class CTKPStatusBarPane;

// A font that follows the system settings while it is standard; a caller that clears the flag and
// attaches its own font keeps it across metric refreshes.
class CTKPPaintManagerFont : public CFont {
 public:
  BOOL m_bStandardFont = TRUE;
};

// The built-in themes.
enum TKPPaintTheme {
  tkpThemeDefault = 0,
  tkpThemeFlat = 1,
  tkpThemeGradient = 2,
  tkpThemeNative = 3,
  tkpThemeSoftGradient = 4,
  tkpThemeCustom = 5,
};

// The auxiliary buttons that DrawSpecialControl draws.
enum TKPSpecialControl {
  tkpSpecialToolbarExpand = 0,
  tkpSpecialPopupExpand = 1,
  tkpSpecialFloatingClose = 2,
  tkpSpecialFloatingOptions = 3,
};

// Popup animations.
enum TKPAnimation { tkpAnimateUnfold = 2, tkpAnimateSlide = 3, tkpAnimateFade = 4 };

class CTKPPaintManager : public CCmdTarget {
  DECLARE_DYNAMIC(CTKPPaintManager)

 public:
  CTKPPaintManager();
  ~CTKPPaintManager() override;

  // ---- the theme factory and the process's current paint manager -------------------------------
  // A new theme of the id (1 flat, 2 gradient, 3 native, 4 soft gradient, else default) holding one
  // reference; its metrics are not refreshed yet. Null when it cannot be allocated.
  static CTKPPaintManager* CreateTheme(int nTheme);
  // Installs pTheme for the process (the caller's reference passes to it) as theme 5, refreshed.
  static void SetCustomTheme(CTKPPaintManager* pTheme);
  // Installs a new theme of the id; its theme id reads nTheme.
  static void SetTheme(int nTheme);
  // The current paint manager; null before the first SetTheme.
  static CTKPPaintManager* GetCurrent();
  // The current one, installing the default theme first when there is none.
  static CTKPPaintManager* GetCurrentOrDefault();
  // Releases the current paint manager (at process exit).
  static void Done();

  int GetCurrentTheme() const { return m_nTheme; }
  void SetThemeId(int nTheme) { m_nTheme = nTheme; }

  // ---- colours ----------------------------------------------------------------------------------
  // Above 61 the index is itself a colour; else the entry's custom value when set, else its standard.
  COLORREF GetPaintColor(int nIndex) const;
  void SetColors(int nCount, const int* pIndexes, const COLORREF* pColors);
  // Sets (or, with -1, clears) the custom value of one entry.
  void SetCustomColor(int nIndex, COLORREF clr);
  // The visual-style colour scheme the theme follows (0 none, 1 blue, 2 olive, 3 silver).
  int GetCurrentSystemTheme() const;
  void SetColorSchemeMode(int nMode) { m_nColorSchemeMode = nMode; }

  // ---- fonts and metrics ------------------------------------------------------------------------
  void SetCommandBarsFontIndirect(const LOGFONT* pLogFont, BOOL bUseStandardFont = FALSE);
  void RefreshFonts();
  int GetRowHeight() const { return m_nRowHeight; }
  BOOL IsTahomaUsed() const { return m_bUseTahoma; }
  CFont* GetIconTitleFont() { return &m_fontIconTitle; }
  CFont* GetIconTitleBoldFont() { return &m_fontIconTitleBold; }
  CFont* GetSmallCaptionFont() { return &m_fontSmallCaption; }

  // ---- primitives -------------------------------------------------------------------------------
  void Triangle(CDC* pDC, CPoint pt0, CPoint pt1, CPoint pt2, COLORREF clr);
  // Fills with colour nFill (unless -1), then frames with colour nBorder when it differs and is set.
  void Rectangle(CDC* pDC, CRect rc, int nBorder, int nFill);
  void Draw3dRect(CDC* pDC, CRect rc, int nTopLeft, int nBottomRight);
  void Line(CDC* pDC, int x0, int y0, int x1, int y1);
  void Line(CDC* pDC, int x0, int y0, int x1, int y1, int nPen);
  static void ExcludeCorners(CDC* pDC, CRect rc);
  void GradientFill(CDC* pDC, CRect rc, COLORREF clrFrom, COLORREF clrTo, BOOL bHorz, CRect rcClip);

  // ---- shared drawing ---------------------------------------------------------------------------
  // Draws (or measures) a caption with its mnemonics; the size when measuring, else (0, 0).
  CSize DrawTextEx(CDC* pDC, CString strText, CRect rcText, BOOL bDraw, BOOL bVert, BOOL bCentered,
                   BOOL bTriangle, BOOL bEmbossed = FALSE, BOOL bShowKeyboardCues = TRUE);
  CSize DrawControlText(CDC* pDC, CTKPControl* pControl, CRect rcText, BOOL bDraw, BOOL bVert,
                        BOOL bTriangle, CSize szIcon, BOOL bImage, CSize szButton);
  // A control draws or measures itself through this.
  CSize DrawControl(CDC* pDC, CTKPControl* pControl, BOOL bDraw = TRUE);

  // ---- the virtual interface (pure: each theme draws it) ----------------------------------------
  virtual CSize DrawControlPopupParent(CDC* pDC, CTKPControl* pControl, BOOL bDraw) = 0;
  virtual CSize DrawControlToolBarParent(CDC* pDC, CTKPControl* pControl, BOOL bDraw);
  virtual void DrawSplitButtonFrame(CDC* pDC, CTKPControl* pControl, CRect rc);
  virtual CSize DrawControlComboBox(CDC* pDC, CTKPControl* pControl, BOOL bDraw) = 0;
  virtual CSize DrawControlEdit(CDC* pDC, CTKPControl* pControl, BOOL bDraw) = 0;
  virtual CSize DrawListBoxControl(CDC* pDC, CTKPControl* pControl, CRect rc, BOOL bSelected, BOOL bDraw,
                                   CTKPCommandBars* pCommandBars) = 0;
  virtual void FillCommandBar(CDC* pDC, CTKPCommandBar* pBar) = 0;
  virtual void DrawControlEntry(CDC* pDC, CRect rc, BOOL bEnabled, BOOL bSelected, BOOL bPressed,
                                BOOL bChecked, BOOL bPopuped, int barPosition) = 0;
  virtual void DrawControlEntry(CDC* pDC, CTKPControl* pControl);
  virtual void DrawRectangle(CDC* pDC, CRect rc, BOOL bSelected, BOOL bPressed, BOOL bEnabled, BOOL bChecked,
                             BOOL bPopuped, BOOL bBarControl, int barPosition) = 0;
  virtual CSize DrawCommandBarGripper(CDC* pDC, CTKPCommandBar* pBar, BOOL bDraw) = 0;
  virtual CSize DrawCommandBarSeparator(CDC* pDC, CTKPCommandBar* pBar, CTKPControl* pControl, BOOL bDraw) = 0;
  virtual void AdjustControlRect(CRect& rc, CTKPControl* pControl, BOOL bVert) = 0;
  // Background, icon and text of one status-bar pane: grey when disabled, aligned as the pane says.
  virtual void DrawStatusBarPane(CDC* pDC, CRect rc, CTKPStatusBarPane* pPane);
  virtual void DrawStatusBarPaneBorder(CDC* pDC, CRect rc, BOOL bGripperPane);
  virtual void DrawStatusBarGripper(CDC* pDC, CRect rcClient);
  // Backgrounds of a dock bar and of the status bar: their client rectangle in colour 15.
  virtual void FillDockBar(CDC* pDC, CTKPDockBar* pDockBar);
  virtual void FillStatusBar(CDC* pDC, CWnd* pStatusBar);
  virtual void RefreshMetrics();
  virtual BOOL IsShadowSupported() { return FALSE; }
  virtual CSize DrawSpecialControl(CDC* pDC, int nKind, CTKPControl* pControl, CTKPCommandBar* pBar, BOOL bDraw,
                                   CSize szParam);
  virtual CRect GetCommandBarBorders(CTKPCommandBar* pBar);
  virtual CSize DrawTearOffGripper(CDC* pDC, CRect rc, BOOL bSelected, BOOL bDraw) = 0;
  virtual void DrawImage(CDC* pDC, CPoint pt, CSize sz, CTKPImageManagerIcon* pImage, BOOL bSelected,
                         BOOL bPressed, BOOL bEnabled, BOOL bChecked, BOOL bPopuped, BOOL bToolBarImage) = 0;
  virtual CSize DrawDialogBarGripper(CDC* pDC, CTKPCommandBar* pBar, BOOL bDraw) = 0;
  virtual int BaseTheme() const = 0;
  // The same number under the name the program's other windows know it by.
  int GetThemeKind() const { return BaseTheme(); }
  virtual CFont* GetRegularFont(CTKPCommandBar* pBar, BOOL bBold = FALSE);
  virtual void DrawCheckMark(CDC* pDC, CRect rc, COLORREF clr, BOOL bLayoutRTL = FALSE);
  virtual void DrawDropDownGlyph(CDC* pDC, CRect rc, COLORREF clr);
  virtual void Animate(CDC* pDestDC, CDC* pSrcDC, CRect rc, int nType);
  virtual void AnimateExpanding(CTKPCommandBar* pBar, CDC* pDestDC, CDC* pSrcDC, BOOL bExpandDown);
  virtual void AdjustRightToLeftRect(CRect& /*rc*/) {}

  // ---- fields the options and the bars read ----------------------------------------------------
  COLORREF m_clrShadowFactor = 0;
  COLORREF m_clrStatusTextColor = 0;
  CTKPColorGradient m_clrDisabledIcon;  // the base gradient: face to shadow
  BOOL m_bThickCheckMark = FALSE;
  BOOL m_bShowShadow = TRUE;
  BOOL m_bUseFadedIcons = FALSE;
  BOOL m_bUseDisabledIcons = FALSE;
  BOOL m_bIconsWithShadow = FALSE;
  BOOL m_bThemedDisabledIcons = FALSE;  // a missing disabled image is made from the base gradient
  int m_nAnimationSteps = 10;
  int m_nAnimationTime = 100;
  int m_nKeyboardCues = -1;  // -1 the caller decides; 0 or 1 overrides it

  static constexpr int kColorCount = 62;

 protected:
  // The split button's drop-down part and the arrows of popup buttons.
  static constexpr int kSplitDropDownWidth = 11;
  // With text below icons: 4 pixels above the icon and 4 below the caption.
  static constexpr int kTextBelowGap = 8;
  // A caption beside an image starts this far behind the image's width.
  static constexpr int kIconTextOffset = 6;
  void DrawSmallArrow(CDC* pDC, int right, int y, COLORREF clr);
  BOOL ShowsKeyboardCues(BOOL bCallerWants) const;
  CSize DrawToolbarSpecial(CDC* pDC, int nKind, CTKPControl* pControl, CTKPCommandBar* pBar, BOOL bDraw,
                           CSize szParam);

  CFont m_fontRegular;
  CFont m_fontRegularBold;
  CFont m_fontVert;
  CFont m_fontVertBold;
  CTKPPaintManagerFont m_fontSmallCaption;
  CTKPPaintManagerFont m_fontIconTitle;
  CTKPPaintManagerFont m_fontIconTitleBold;
  int m_nRowHeight = 0;
  BOOL m_bUseTahoma = FALSE;
  BOOL m_bUseStandardFont = TRUE;
  int m_nTheme = 0;
  CTKPColorValue m_arrColor[kColorCount];
  int m_nColorSchemeMode = 5;
};
