// CTKPTaskPanelPaintManager: measures and draws the task panel in plain system colours (theme 0): the
// background, group captions with their expand buttons, bodies, item frames and focus rectangles, and
// gives the default margins, spacing and fonts the panel lays itself out with. Windows build only.
#pragma once

#include <windows.h>

#include "platform/classlib/win/cgdiobject.h"
#include "toolkit/common/color_gradient.h"

class CDC;
class CTKPTaskPanel;
class CTKPTaskPanelItem;
class CTKPTaskPanelGroup;
class CTKPTaskPanelGroupItem;
struct CTKPTaskPanelScrollButton;

// The colours of one kind of group.
struct CTKPTaskPanelGroupColors {
  CTKPColorGradient clrHead;         // caption
  CTKPColorGradient clrClient;       // body
  CTKPColorValue clrClientBorder;
  double dHeadGradientFactor = 0.0;  // where across the caption the gradient starts
  CTKPColorValue clrHeadTextNormal;
  CTKPColorValue clrHeadTextHot;
  CTKPColorValue clrClientText;
  CTKPColorValue clrClientLink;
  CTKPColorValue clrClientLinkHot;
  CTKPColorValue clrClientLinkSelected;
};

class CTKPTaskPanelPaintManager {
 public:
  CTKPTaskPanelPaintManager();
  virtual ~CTKPTaskPanelPaintManager();
  CTKPTaskPanelPaintManager(const CTKPTaskPanelPaintManager&) = delete;
  CTKPTaskPanelPaintManager& operator=(const CTKPTaskPanelPaintManager&) = delete;

  virtual void FillTaskPanel(CDC* pDC, CTKPTaskPanel* pPanel);
  virtual void DrawGroupClient(CDC* pDC, CTKPTaskPanelGroup* pGroup);
  // The caption's height; with bDraw FALSE only measured.
  virtual int DrawGroupCaption(CDC* pDC, CTKPTaskPanelGroup* pGroup, BOOL bDraw);
  // The item's rectangle for the room given; with bDraw FALSE only measured.
  virtual CRect DrawGroupItem(CDC* pDC, CTKPTaskPanelGroupItem* pItem, CRect rc, BOOL bDraw);
  virtual void RefreshMetrics();
  virtual CTKPTaskPanelGroupColors* GetGroupColors(const CTKPTaskPanelGroup* pGroup);
  virtual void DrawGroupItemFrame(CDC* pDC, CTKPTaskPanelGroupItem* pItem, CRect rc);
  virtual CRect GetItemIconPadding(const CTKPTaskPanelItem* pItem) const;
  virtual CRect GetHeaderMargins() const { return m_rcHeaderMargins; }
  virtual CRect GetGroupOuterMargins(const CTKPTaskPanelGroup* pGroup) const;
  virtual CRect GetItemOuterMargins(const CTKPTaskPanelGroupItem* pItem) const;
  virtual CRect GetGroupInnerMargins(const CTKPTaskPanelGroup* pGroup) const;
  virtual CRect GetControlMargins(const CTKPTaskPanel* pPanel) const;
  virtual int GetGroupSpacing(const CTKPTaskPanel* pPanel) const;
  virtual void DrawGroupClientFace(CDC* pDC, CTKPTaskPanelGroup* pGroup, CRect rc);
  virtual void DrawGroupClientItems(CDC* pDC, CTKPTaskPanelGroup* pGroup, CRect rc);
  // The room left for the caption's text.
  virtual CRect DrawCaptionButton(CDC* pDC, CTKPTaskPanelGroup* pGroup, CRect rc);
  virtual int GetCaptionButtonWidth(const CTKPTaskPanelGroup* pGroup, const CRect& rc) const;
  virtual void DrawItemCaption(CDC* pDC, CTKPTaskPanelGroupItem* pItem, CRect rc, UINT nFormat);
  virtual void DrawItemImage(CDC* pDC, CTKPTaskPanelGroupItem* pItem, CPoint pt, CSize szIcon);
  virtual CPoint GetItemIconOffset(const CTKPTaskPanelGroupItem* pItem) const;
  virtual void DrawFocusRect(CDC* pDC, CRect rc);
  // The drop marker across the top (or, after, the bottom) of a rectangle.
  virtual void DrawDragArrow(CDC* pDC, CRect rc, BOOL bAfter);
  virtual void DrawScrollButton(CDC* pDC, const CTKPTaskPanelScrollButton* pButton);

  void SetItemFont(const LOGFONT* pLogFont, BOOL bUseSystemFont);
  void SetCaptionFont(const LOGFONT* pLogFont, BOOL bUseSystemFont);
  CFont* GetItemFont(const CTKPTaskPanelGroupItem* pItem);
  CRect GetImageMargins() const { return m_rcImageMargins; }
  int GetCaptionHeight() const { return m_nCaptionHeight; }
  // Reads the visual style's expand pictures, or makes the recoloured icons when there are none.
  void LoadExplorerBitmaps();

  BOOL m_bUseVisualStyle = TRUE;
  int m_nCaptionButtonStyle = 2;  // 0 none, 1 picture, 2 chevron in a square, 3 triangle
  BOOL m_bBoldCaption = TRUE;
  CRect m_rcGroupOuterMargins{0, 0, 0, 0};
  CRect m_rcGroupInnerMargins{11, 8, 11, 8};
  CRect m_rcItemIconPadding{0, 0, 0, 0};
  CRect m_rcHeaderMargins{2, 2, 2, 2};
  CRect m_rcControlMargins{12, 12, 12, 12};
  int m_nGroupSpacing = 15;
  CRect m_rcImageMargins{6, 6, 6, 6};
  CRect m_rcItemMargins{0, 0, 0, 0};
  CRect m_rcLinkMargins{0, 0, 0, 0};
  int m_nColorMode = 0;
  BOOL m_bInvertDragMarker = FALSE;
  BOOL m_bDropAfter = FALSE;  // an item dropped on an item goes after it
  BOOL m_bClassicScrollButtons = FALSE;
  BOOL m_bCaptionScrollButton = FALSE;  // the scroll buttons stand in the group captions
  BOOL m_bEmbossedDisabledText = FALSE;
  BOOL m_bExplorerBitmaps = FALSE;
  HICON m_hExpandIcon = nullptr;
  HICON m_hExpandIconSpecial = nullptr;
  HBITMAP m_hExplorerBitmaps[8] = {};
  CFont m_fntCaption;
  CFont m_fntItem;
  CFont m_fntItemBold;
  CFont m_fntItemUnderline;
  CFont m_fntItemBoldUnderline;
  CTKPColorGradient m_grcBackground;
  CTKPTaskPanelGroupColors m_groupNormal;
  CTKPTaskPanelGroupColors m_groupSpecial;
  CTKPColorValue m_clrButtonHot;
  CTKPColorValue m_clrButtonSelected;
  CTKPColorValue m_clrButtonPressed;
  CTKPColorGradient m_grcButtonBorder;
  BOOL m_bClientTopBorder = FALSE;
  BOOL m_bRoundLeftCorner = FALSE;
  BOOL m_bRoundRightCorner = FALSE;
  int m_nCaptionHeight = 25;
  BOOL m_bUseSystemCaptionFont = TRUE;
  BOOL m_bUseSystemItemFont = TRUE;
  UINT m_nItemTextFormat = DT_WORDBREAK | DT_NOPREFIX;
  UINT m_nCaptionTextFormat = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;

 protected:
  void DrawChevron(CDC* pDC, int x, int y, COLORREF clr, BOOL bUp);
  void DrawExplorerButton(CDC* pDC, CTKPTaskPanelGroup* pGroup, const CRect& rc);
  // The expand picture of the toolkit's resources in the colour; null when the picture is missing.
  HICON MakeExpandIcon(UINT nIDBitmap, COLORREF clr);
  void FreeExplorerPictures();
  BOOL AlphaBlendBitmap(CDC* pDC, HBITMAP hBitmap, CPoint pt);

 public:
  // "AlphaBlend" of msimg32.dll; null where the library or the function is missing.
  using AlphaBlendFn = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int, BLENDFUNCTION);
  AlphaBlendFn m_pfnAlphaBlend = nullptr;

 private:
  HMODULE m_hMsimg32 = nullptr;
};
