// CTKPTaskPanelEditItem: the edit over an element's caption while the user renames it. Enter or losing
// the focus ends it with the typed text, Escape without; whichever comes first ends it, once. Windows
// build only.
#pragma once

#include "platform/classlib/win/cedit.h"

class CTKPTaskPanel;
class CTKPTaskPanelItem;

class CTKPTaskPanelEditItem : public CEdit {
 public:
  // Holds a reference on the item while it is open.
  CTKPTaskPanelEditItem(CTKPTaskPanel* pPanel, CTKPTaskPanelItem* pItem);
  ~CTKPTaskPanelEditItem() override;
  CTKPTaskPanelEditItem(const CTKPTaskPanelEditItem&) = delete;
  CTKPTaskPanelEditItem& operator=(const CTKPTaskPanelEditItem&) = delete;

  // Shows the edit over the rectangle with the item's caption selected, and gives it the focus.
  BOOL Open(const CRect& rc, CFont* pFont);
  // Ends the edit: the panel hears the text unless cancelled or empty; the window closes after.
  void EndEdit(BOOL bCancel);
  // Ends it without telling the panel.
  void Cancel();
  BOOL IsEnded() const { return m_bEnded; }
  CTKPTaskPanelItem* GetItem() const { return m_pItem; }

 protected:
  BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

 private:
  CTKPTaskPanel* m_pPanel;
  CTKPTaskPanelItem* m_pItem;
  BOOL m_bCancel = FALSE;
  BOOL m_bEnded = FALSE;
};
