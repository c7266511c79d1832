// CTKPControlToolbars: a placeholder in a menu that, each time its popup is laid out, expands into one
// item per toolbar of the manager, checked while the toolbar shows; choosing an item shows or hides
// that toolbar. The toolbar context menu is built from it. In customize mode the placeholder shows
// itself instead.
#pragma once

#include "toolkit/commandbars/controls/tkp_control_button.h"

// Parameter of the items the placeholder inserts.
constexpr TCHAR TKP_TOOLBAR_ITEM_PARAMETER[] = _T("CTKPControlToolbar");

class CTKPControlToolbars : public CTKPControlButton {
  DECLARE_SERIAL(CTKPControlToolbars)

 public:
  void OnCalcDynamicSize(DWORD dwMode) override;
  BOOL IsCustomizeDragOverAvail(CTKPCommandBar* pBar, CPoint, int& nEffect) override {
    return DropOnPopupBarsOnly(pBar, nEffect);
  }
};

// One toolbar of the list. It keeps the toolbar's place in the manager's list in a field of its own:
// the controls' index is renumbered by their collection.
class CTKPControlToolbarItem : public CTKPControlButton {
  DECLARE_SERIAL(CTKPControlToolbarItem)

 public:
  int GetToolbarIndex() const { return m_nToolbarIndex; }
  void SetToolbarIndex(int nIndex) { m_nToolbarIndex = nIndex; }
  void Copy(CTKPControl* pSource, BOOL bRecursive) override;
  // Closes the menus and shows or hides the toolbar.
  void OnExecute() override;

 private:
  int m_nToolbarIndex = -1;
};
