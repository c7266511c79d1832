// Placeholder controls of a menu that expand, each time their bar lays out, into temporary items built
// from the application's live state: the open MDI windows (CTKPControlWindowList), the recent files
// (CTKPControlRecentFileList), the tab-group commands (CTKPControlWorkspaceActions) and the verbs of the
// selected embedded object (CTKPControlOleItems). The placeholder hides itself while its items show, and shows itself (a
// plain button) in customize mode or when there is nothing to list. CTKPControlSelector is a grid in
// which the user picks a number of columns and rows.
#pragma once

#include "platform/classlib/carray.h"
#include "toolkit/commandbars/controls/tkp_control_button.h"
#include "toolkit/commandbars/controls/tkp_control_edit.h"

// The id of the first MDI child as the process knows it (65280 at start; the active child adjusts it).
int TKPFirstMdiChildId();
// The site hears that the grid selection changed.
constexpr UINT TKP_SELECTOR_CHANGED = 0x1006;

class CTKPControlWindowList : public CTKPControlButton {
  DECLARE_SERIAL(CTKPControlWindowList)

 public:
  void OnCalcDynamicSize(DWORD dwMode) override;
  BOOL IsCustomizeDragOverAvail(CTKPCommandBar* pBar, CPoint, int& nEffect) override {
    return DropOnPopupBarsOnly(pBar, nEffect);
  }
};

class CTKPControlRecentFileList : public CTKPControlButton {
  DECLARE_SERIAL(CTKPControlRecentFileList)

 public:
  void OnCalcDynamicSize(DWORD dwMode) override;
  BOOL IsCustomizeDragOverAvail(CTKPCommandBar* pBar, CPoint, int& nEffect) override {
    return DropOnPopupBarsOnly(pBar, nEffect);
  }

 protected:
  // The application's recent files, newest first; null when it keeps none.
  virtual const CStringArray* GetRecentFileList();
  virtual int GetFirstMRUID() { return 57616; }
};

// The tab-group commands of the frame's MDI client when it shows its documents as tabs (its client
// window answers the update of those commands): the ones that apply to the active document.
class CTKPControlWorkspaceActions : public CTKPControlButton {
  DECLARE_SERIAL(CTKPControlWorkspaceActions)

 public:
  void OnCalcDynamicSize(DWORD dwMode) override;
  BOOL IsCustomizeDragOverAvail(CTKPCommandBar* pBar, CPoint, int& nEffect) override {
    return DropOnPopupBarsOnly(pBar, nEffect);
  }
};

// The verbs of the embedded object that the site frame's active view has selected in its container
// document: a popup "<type> &Object" of the verbs, or a single entry for a single verb, right after the
// placeholder. Nothing for no selected item, or one that is active in place (it shows its own menus).
class CTKPControlOleItems : public CTKPControlButton {
  DECLARE_SERIAL(CTKPControlOleItems)

 public:
  void OnCalcDynamicSize(DWORD dwMode) override;
  BOOL IsCustomizeDragOverAvail(CTKPCommandBar* pBar, CPoint, int& nEffect) override {
    return DropOnPopupBarsOnly(pBar, nEffect);
  }
};

class CTKPControlSelector : public CTKPControl {
  DECLARE_SERIAL(CTKPControlSelector)

 public:
  CTKPControlSelector() = default;

  void SetItemsCount(CSize size) { m_szItemsCount = size; }
  void SetItemsMax(CSize size) { m_szItemsMax = size; }
  void SetItemSize(CSize size) { m_szItem = size; }
  CSize GetItemsCount() const { return m_szItemsCount; }
  CSize GetItemsMax() const { return m_szItemsMax; }
  CSize GetItemSize() const { return m_szItem; }
  CSize GetSelectedCells() const { return CSize(m_nSelectedColumns, m_nSelectedRows); }
  CSize GetChosen() const { return CSize(m_nChosenColumns, m_nChosenRows); }
  CSize GetShown() const { return CSize(m_nShownColumns, m_nShownRows); }

  CSize GetSize(CDC* pDC) override;
  void Draw(CDC* pDC) override;
  // The popup opens: nothing selected, the grid of the items count.
  void OnCalcDynamicSize(DWORD dwMode) override;
  void DoPropExchange(CTKPPropExchange* pPX) override;
  void Copy(CTKPControl* pSource, BOOL bRecursive) override;
  void OnClick(BOOL bKeyboard = FALSE, CPoint pt = CPoint()) override;
  void OnMouseMove(CPoint point) override;
  virtual void OnSelectedChanged(int nColumns, int nRows, BOOL bForce);

 protected:
  // Draws in one cell (derived selectors); nothing here.
  virtual void DrawItem(CDC* /*pDC*/, CRect /*rcItem*/, COLORREF /*clrText*/) {}
  // With the left button held past the grid's right or bottom edge, the grid grows to follow.
  void GrowToPointer(CPoint point);

  CSize m_szItemsCount{5, 4};
  CSize m_szItemsMax{12, 12};
  int m_nSelectedColumns = 0;
  int m_nSelectedRows = 0;
  CSize m_szItem{28, 28};
  int m_nChosenColumns = 0;
  int m_nChosenRows = 0;
  int m_nShownColumns = 0;
  int m_nShownRows = 0;
  BOOL m_bResizing = FALSE;
};
