// CTKPTabManager: the window-less core of a tab strip. It owns the tabs (CTKPTabManagerItem), the
// selection, the hot tab, the scroll offset and the three navigate buttons; its paint manager lays the
// strip out and draws it. The class that embeds it says where the paint manager is, how to redraw and
// re-lay out its window and how to draw an icon, and forwards mouse presses, moves, keys and tooltip
// queries to it.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/classlib/crect.h"
#include "platform/classlib/cstring.h"
#include "platform/classlib/win/ccmdtarget.h"
#include "toolkit/common/visual_style_theme.h"
#include "toolkit/tabmanager/tab_layout.h"
#include "toolkit/tabmanager/tab_navigation.h"

class CDC;
class CTKPTabManager;
class CTKPTabPaintManager;
class CTKPTabManagerNavigateButton;

// The eight built-in tab colours, by value 0x1000000 to 0x1000007.
constexpr COLORREF kTKPTabColorFirst = 0x1000000;
COLORREF TKPResolveTabColor(COLORREF color);

class CTKPTabManagerItem : public CCmdTarget {
 public:
  CTKPTabManagerItem() = default;

  void SetCaption(LPCTSTR lpszCaption);
  CString GetCaption() const;
  void SetColor(COLORREF color);
  COLORREF GetColor() const;
  void SetTooltip(LPCTSTR lpszTooltip) { m_strToolTip = lpszTooltip; }
  CString GetTooltip() const;
  // The tab leaves its strip (and is released by it).
  void Remove();

  BOOL IsEnabled() const { return m_bEnabled; }
  void SetEnabled(BOOL bEnabled);
  BOOL IsVisible() const { return m_bVisible; }
  void SetVisible(BOOL bVisible);
  DWORD_PTR GetData() const { return m_dwData; }
  void SetData(DWORD_PTR dwData) { m_dwData = dwData; }
  int GetImage() const { return m_nImage; }
  void SetImage(int nImage) { m_nImage = nImage; }
  BOOL IsClosable() const { return m_bClosable; }
  void SetClosable(BOOL bClosable) { m_bClosable = bClosable; }

  int GetIndex() const { return m_nIndex; }
  CRect GetRect() const { return m_rcItem; }
  int GetLength() const { return m_nLength; }
  int GetFullLength() const { return m_nFullLength; }
  int GetRow() const { return m_nRow; }
  CTKPTabManager* GetTabManager() const { return m_pTabManager; }
  BOOL IsSelected() const;
  BOOL IsHot() const;
  // The raw colour value as stored (the built-in colour numbers unresolved).
  COLORREF GetColorValue() const { return m_clrItem; }

 private:
  friend class CTKPTabManager;
  friend class CTKPTabPaintManager;
  friend class CTKPTabAppearance;

  int m_nLength = 0;
  int m_nFullLength = 0;
  int m_nIndex = -1;
  BOOL m_bEnabled = TRUE;
  BOOL m_bVisible = TRUE;
  DWORD_PTR m_dwData = 0;
  int m_nImage = 0;
  CRect m_rcItem;
  CString m_strCaption;
  CString m_strToolTip;
  COLORREF m_clrItem = 0;
  CTKPTabManager* m_pTabManager = nullptr;
  int m_nRow = 0;
  BOOL m_bClosable = TRUE;
};

class CTKPTabManager {
 public:
  CTKPTabManager();
  virtual ~CTKPTabManager();
  CTKPTabManager(const CTKPTabManager&) = delete;
  CTKPTabManager& operator=(const CTKPTabManager&) = delete;

  // Called by the paint manager when one of its options changed.
  virtual void OnMetricsChanged() { Reposition(); }
  virtual void Reposition() = 0;
  virtual CString GetItemCaption(const CTKPTabManagerItem* pItem) const { return pItem->m_strCaption; }
  virtual int GetItemImage(const CTKPTabManagerItem* pItem) const { return pItem->m_nImage; }
  virtual COLORREF GetItemColor(const CTKPTabManagerItem* pItem) const { return TKPResolveTabColor(pItem->m_clrItem); }
  virtual CString GetItemTooltip(const CTKPTabManagerItem* pItem) const { return pItem->m_strToolTip; }
  virtual void OnItemsChanged();
  virtual void SetSelectedItem(CTKPTabManagerItem* pItem);
  virtual void ClickItem(CTKPTabManagerItem* pItem);
  virtual void GetItemMetrics(CSize* pButton, CSize* pMinimum, CSize* pMaximum) const;
  virtual CTKPTabPaintManager* GetPaintManager() const = 0;
  virtual void RedrawControl() = 0;
  virtual BOOL IsAllowReorder() const { return m_bAllowReorder; }
  virtual void SetAllowReorder(BOOL bAllow) { m_bAllowReorder = bAllow; }
  virtual BOOL IsClientFrameShown() const;
  // Whether the tab has an icon of that size (the owner may change the size); drawn at the point when
  // bDraw is set. pItem is null (and pDC may be) when the strip asks for the size of its icons.
  virtual BOOL DrawIcon(CDC* pDC, CPoint pt, CTKPTabManagerItem* pItem, BOOL bDraw, CSize& szIcon) = 0;
  virtual int GetPosition() const;
  virtual void OnScroll(BOOL bForward);
  virtual BOOL IsNavigateButtonVisible(const CTKPTabManagerNavigateButton* pButton) const;
  virtual void OnItemClick(CTKPTabManagerItem* pItem) { SetSelectedItem(pItem); }
  // The drag that moves a tab to another place; ends with the tab selected through OnItemClick.
  virtual void ReOrder(HWND hWnd, CPoint pt, CTKPTabManagerItem* pItem);
  virtual void OnNavigateButtonClick(int /*nId*/) {}
  virtual BOOL IsMouseTrackingLocked() const { return FALSE; }
  virtual BOOL OnKeyDown(HWND hWnd, UINT nChar);
  virtual BOOL HasFocus() const { return FALSE; }

  // A new tab when pItem is null; an index out of range appends.
  CTKPTabManagerItem* InsertItem(int nIndex, CTKPTabManagerItem* pItem = nullptr);
  CTKPTabManagerItem* InsertItem(int nIndex, LPCTSTR lpszCaption);
  BOOL DeleteItem(int nIndex);
  void DeleteAllItems();
  void SetCurSel(int nIndex);
  CTKPTabManagerItem* HitTest(CPoint pt) const;
  CTKPTabManagerItem* FindNextItem(int nStart, int nStep) const;
  CTKPTabManagerNavigateButton* FindNavigateButton(int nId) const;
  int GetItemsLength() const;
  void SetScrollOffset(int nOffset);
  int GetScrollOffset() const { return m_nScrollOffset; }
  int GetLayout() const;
  // A press: a navigate button's press loop, else (unless bButtonsOnly) the tab's click or drag.
  BOOL PerformClick(HWND hWnd, CPoint pt, BOOL bButtonsOnly = FALSE);
  void PerformMouseMove(HWND hWnd, CPoint pt);
  // -1 when the tab shows no tip; else the tab's index, with the record filled.
  INT_PTR FillToolTipInfo(HWND hWnd, CTKPTabManagerItem* pItem, TOOLINFO* pToolInfo) const;

  int GetItemCount() const { return static_cast<int>(m_arrItems.size()); }
  CTKPTabManagerItem* GetItem(int nIndex) const;
  CTKPTabManagerItem* GetSelectedItem() const { return m_pSelected; }
  CTKPTabManagerItem* GetHotItem() const { return m_pHighlighted; }
  BOOL IsActive() const { return m_bActive; }
  void SetActive(BOOL bActive) { m_bActive = bActive; }
  void SetItemMetrics(CSize szButton, CSize szMinimum = CSize(0, 0), CSize szMaximum = CSize(0, 0));
  CRect GetHeaderRect() const { return m_rcHeader; }
  CRect GetControlRect() const { return m_rcControl; }
  CRect GetClientRect() const { return m_rcClient; }
  const std::vector<tktab::RowRange>& GetRows() const { return m_rows; }
  int GetRowCount() const { return static_cast<int>(m_rows.size()); }
  int GetScrollStep() const { return m_nScrollStep; }
  CTKPVisualStyleTheme& GetTheme() { return m_theme; }

  // The tick count the press loop paces itself by (tests give a clock of their own).
  void SetClock(std::function<uint32_t()> clock) { m_clock = std::move(clock); }
  uint32_t Now() const { return m_clock ? m_clock() : ::GetTickCount(); }

 protected:
  void SetHotItem(CTKPTabManagerItem* pItem) { m_pHighlighted = pItem; }
  // The one-argument hook: nothing by default.
  virtual void OnHook(DWORD_PTR /*dwParam*/) {}
  // The drag's places from the tabs as they stand now, when they changed since the places were taken.
  void TrackReorderPlaces(tktab::ReorderPlaces& places) const;

 private:
  friend class CTKPTabPaintManager;
  friend class CTKPTabAppearance;
  friend class CTKPTabManagerNavigateButton;

  std::vector<bool> ReachableItems() const;

  CTKPTabManagerItem* m_pSelected = nullptr;
  CTKPTabManagerItem* m_pHighlighted = nullptr;
  int m_nScrollOffset = 0;
  BOOL m_bAllowReorder = TRUE;
  BOOL m_bActive = TRUE;
  CSize m_szButton = CSize(70, 18);
  CSize m_szMinimum = CSize(0, 0);
  CSize m_szMaximum = CSize(0, 0);
  CRect m_rcHeader;
  CRect m_rcControl;
  CRect m_rcClient;
  std::vector<CTKPTabManagerItem*> m_arrItems;
  std::vector<CTKPTabManagerNavigateButton*> m_arrNavigateButtons;
  CTKPVisualStyleTheme m_theme;
  std::vector<tktab::RowRange> m_rows;
  int m_nScrollStep = 20;
  std::function<uint32_t()> m_clock;
  // The paint managers whose observer lists hold this tab manager: it leaves them when it dies.
  std::vector<CTKPTabPaintManager*> m_arrObserved;
};

// One of the three buttons at the strip's end: scroll back, scroll forward, close.
class CTKPTabManagerNavigateButton {
 public:
  CTKPTabManagerNavigateButton(CTKPTabManager* pOwner, int nId, int nShowMode);
  virtual ~CTKPTabManagerNavigateButton() = default;
  CTKPTabManagerNavigateButton(const CTKPTabManagerNavigateButton&) = delete;
  CTKPTabManagerNavigateButton& operator=(const CTKPTabManagerNavigateButton&) = delete;

  // The press loop: the mouse is captured; a held button repeats every 20 ms while it is enabled; a
  // release inside it clicks it. The loop sleeps until a message comes or a step is due.
  virtual void PerformClick(HWND hWnd, CPoint pt);
  // The glyph, in the DC's text colour (filled when enabled).
  virtual void DrawEntry(CDC* pDC, CRect rc) = 0;
  virtual void OnExecute(BOOL bRepeating) = 0;

  void Draw(CDC* pDC);
  void OnMouseMove(HWND hWnd, CPoint pt);

  int GetId() const { return m_nId; }
  int GetShowMode() const { return m_nShowMode; }
  void SetShowMode(int nShowMode) { m_nShowMode = nShowMode; }
  CRect GetRect() const { return m_rcButton; }
  BOOL IsEnabled() const { return m_bEnabled; }
  BOOL IsPressed() const { return m_bPressed; }
  BOOL IsHot() const { return m_bHot; }
  CTKPTabManager* GetOwner() const { return m_pOwner; }

 protected:
  friend class CTKPTabPaintManager;
  friend class CTKPTabAppearance;

  int m_nId;
  int m_nShowMode;
  int m_nWidth = tktab::kButtonWidth;
  int m_nHeight = tktab::kButtonHeight;
  CTKPTabManager* m_pOwner;
  CRect m_rcButton;
  BOOL m_bEnabled = TRUE;
  BOOL m_bPressed = FALSE;
  BOOL m_bHot = FALSE;
};

class CTKPTabManagerNavigateButtonBack : public CTKPTabManagerNavigateButton {
 public:
  explicit CTKPTabManagerNavigateButtonBack(CTKPTabManager* pOwner)
      : CTKPTabManagerNavigateButton(pOwner, tktab::kButtonBack, tktab::kShowWhenNeeded) {}
  void DrawEntry(CDC* pDC, CRect rc) override;
  void OnExecute(BOOL bRepeating) override;
};

class CTKPTabManagerNavigateButtonForward : public CTKPTabManagerNavigateButton {
 public:
  explicit CTKPTabManagerNavigateButtonForward(CTKPTabManager* pOwner)
      : CTKPTabManagerNavigateButton(pOwner, tktab::kButtonForward, tktab::kShowWhenNeeded) {}
  void DrawEntry(CDC* pDC, CRect rc) override;
  void OnExecute(BOOL bRepeating) override;
};

class CTKPTabManagerNavigateButtonClose : public CTKPTabManagerNavigateButton {
 public:
  explicit CTKPTabManagerNavigateButtonClose(CTKPTabManager* pOwner)
      : CTKPTabManagerNavigateButton(pOwner, tktab::kButtonClose, tktab::kShowNever) {}
  void DrawEntry(CDC* pDC, CRect rc) override;
  void OnExecute(BOOL bRepeating) override;
};
