// CTKPTabPaintManager: how tab strips look and how their tabs are arranged. It holds the options, one
// appearance (the shape of the tabs) and one colour set (their colours), lays out and draws the strips
// of the tab managers that ask it, and tells the tab managers that observe it when an option changes.
#pragma once

#include <windows.h>

#include <vector>

#include "platform/classlib/crect.h"
#include "platform/classlib/cstring.h"
#include "platform/classlib/win/ccmdtarget.h"
#include "platform/classlib/win/cgdiobject.h"

class CDC;
class CTKPTabAppearance;
class CTKPTabColorSet;
class CTKPTabManager;
class CTKPTabManagerItem;

class CTKPTabPaintManager : public CCmdTarget {
 public:
  CTKPTabPaintManager();
  ~CTKPTabPaintManager() override;

  virtual void DrawTabControl(CTKPTabManager* pTabManager, CDC* pDC, CRect rcControl);
  virtual void AdjustClientRect(CTKPTabManager* pTabManager, CRect& rcClient);
  virtual void RepositionTabControl(CTKPTabManager* pTabManager, CDC* pDC, CRect rcClient);
  // Measures the tab (bDraw FALSE: returns its length) or draws its icon, caption and focus rectangle.
  virtual int DrawSingleButton(CDC* pDC, CTKPTabManagerItem* pItem, CRect rc, BOOL bDraw);
  virtual void RefreshMetrics();
  virtual void OnPropertyChanged();
  virtual void DrawFocusRect(CDC* pDC, CTKPTabManagerItem* pItem, CRect rc);

  CTKPTabAppearance* SetAppearance(int nAppearance);
  CTKPTabAppearance* SetAppearanceObject(CTKPTabAppearance* pAppearance);
  CTKPTabColorSet* SetColor(int nColorSet);
  CTKPTabColorSet* SetColorObject(CTKPTabColorSet* pColorSet);
  void SetPosition(int nPosition);
  void SetLayout(int nLayout);
  int GetAppearance() const { return AppearanceId; }
  int GetColor() const { return ColorSetId; }
  int GetPosition() const { return Position; }
  int GetLayout() const { return Layout; }
  CTKPTabAppearance* GetAppearanceObject() const { return m_pAppearance; }
  CTKPTabColorSet* GetColorSet() const { return m_pColorSet; }
  void SetFontIndirect(const LOGFONT* pLogFont, BOOL bUseSystemFont = FALSE);
  BOOL IsLunaColorsDisabled() const;
  void EnsureVisible(CTKPTabManager* pTabManager, CTKPTabManagerItem* pItem);

  // The owners register their tab managers; a tab manager leaves the list when it dies, and the paint
  // manager forgets them all when it dies first.
  void AddObserver(CTKPTabManager* pTabManager);
  void RemoveObserver(CTKPTabManager* pTabManager);
  int GetObserverCount() const { return static_cast<int>(m_arrObservers.size()); }

  // A caption cut in the middle to fit the rectangle (a path gets the path ellipsis).
  static void DrawTextWithEllipsis(CDC* pDC, const CString& strText, CRect rc, UINT nFormat);
  // The font a tab's caption is drawn with: bold for the selected tab of an active strip when asked.
  CFont* GetItemFont(const CTKPTabManagerItem* pItem, BOOL bVertical);
  BOOL IsVerticalText(const CTKPTabManager* pTabManager) const;

  BOOL HotTracking = FALSE;
  BOOL ShowIcons = TRUE;
  BOOL BoldSelected = FALSE;
  BOOL BoldNormal = FALSE;
  BOOL DisableLunaColors = FALSE;
  BOOL ColorTabs = FALSE;
  int ClientBorderStyle = 0;  // 0 full frame, 1 the line along the strip, 2 none
  BOOL ShowClientFrame = FALSE;
  CRect ControlMargin;
  CRect ClientMargin;
  CRect ButtonMargin;
  BOOL FillBackground = TRUE;
  CSize ImageSize = CSize(16, 16);
  BOOL MiddleEllipsis = FALSE;
  BOOL NoPrefix = TRUE;
  BOOL KeepRowOrder = FALSE;
  BOOL FillRows = TRUE;
  BOOL ShowFocusRect = TRUE;
  BOOL SelectOnDragOver = TRUE;
  int AppearanceId = 0;
  int ColorSetId = 1;
  int Position = 0;  // 0 top, 1 left, 2 bottom, 3 right
  int Layout = 0;    // 0 size to content, 1 compressed, 2 fixed, 3 icon tabs, 4 multi-row, 5 rotated
  BOOL UseSystemFont = TRUE;
  int ToolTipMode = 2;  // 0 none, 1 always, 2 for a cut caption
  int NextItemColor = 0;

  CFont m_fntNormal;
  CFont m_fntBold;
  CFont m_fntVertical;
  CFont m_fntVerticalBold;

  // The single-row and multi-row layout (the appearances' default) and the strip's drawing.
  void LayoutStrip(CTKPTabManager* pTabManager, CDC* pDC, CRect rc);
  void DrawStrip(CTKPTabManager* pTabManager, CDC* pDC, CRect rc);

 private:
  int MeasureCaption(CDC* pDC, const CString& strCaption, CFont* pFont);
  int IconExtent(CDC* pDC, CTKPTabManagerItem* pItem, BOOL bVertical);
  void DrawItemContent(CDC* pDC, CTKPTabManagerItem* pItem, CRect rc, BOOL bVertical);
  void DrawVerticalCaption(CDC* pDC, const CString& caption, CRect rc);
  void DrawRow(CTKPTabManager* pTabManager, CDC* pDC, int nRow);

  CTKPTabAppearance* m_pAppearance = nullptr;
  CTKPTabColorSet* m_pColorSet = nullptr;
  std::vector<CTKPTabManager*> m_arrObservers;
};
