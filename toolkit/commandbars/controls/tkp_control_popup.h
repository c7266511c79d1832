// The controls that open popups and the two plain ones beside them: CTKPControlPopup opens a popup bar
// as a menu item, a menu-bar title, a drop-down button or a split button; CTKPControlLabel is a caption
// that is never selected or clicked; CTKPControlExpandButton is the button at the bottom of a menu that
// still hides its rarely used commands.
#pragma once

#include "toolkit/commandbars/controls/tkp_control_button.h"

// The expand button of a personalized popup.
constexpr int TKP_ID_POPUP_EXPAND = 9402;
constexpr DWORD TKP_EXPAND_BUTTON_FLAGS = 0x5a;

class CTKPControlLabel : public CTKPControl {
  DECLARE_SERIAL(CTKPControlLabel)

 public:
  CTKPControlLabel() {
    m_controlType = tkpControlLabel;
    m_dwFlags = tkpFlagSkipFocus | tkpFlagNoMovable;
  }
  int GetSelected() const override { return 0; }
  BOOL IsPassive() const override { return TRUE; }
};

class CTKPControlPopup : public CTKPControl {
  DECLARE_SERIAL(CTKPControlPopup)

 public:
  CTKPControlPopup() { m_controlType = tkpControlPopup; }
  ~CTKPControlPopup() override;

  // A new popup control of the type (2 menu item, 3 drop-down button, 4 split button).
  static CTKPControlPopup* CreateControlPopup(int nType);
  // The control keeps a reference on the new bar and lets go of the old one.
  void SetCommandBar(CTKPCommandBar* pBar);
  // Shows the hidden commands of the open popup.
  void ExpandCommandBar();
  // The other control is this one or lies in the popups this one opens, or the other way round.
  BOOL IsContainingPopup(CTKPControlPopup* pOther);
  BOOL IsPopupOpen() const { return m_bPopup; }
  // The bar id a loaded control stored (0 once linked).
  UINT GetCommandBarId() const { return m_nCommandBarId; }
  // A loaded control gets the bar its stored id names.
  void LinkCommandBar(CTKPCommandBar* pBar) {
    SetCommandBar(pBar);
    m_nCommandBarId = 0;
  }

  BOOL Compare(CTKPControl* pOther) override;
  CTKPCommandBar* GetCommandBar() override { return m_pCommandBar; }
  void DoPropExchange(CTKPPropExchange* pPX) override;
  void OnUnderlineActivate() override;
  void Copy(CTKPControl* pSource, BOOL bRecursive) override;
  BOOL OnSetPopup(BOOL bPopup) override;
  void OnClick(BOOL bKeyboard = FALSE, CPoint pt = CPoint()) override;
  void OnLButtonUp(CPoint point) override;
  BOOL OnLButtonDblClk(CPoint point) override;
  void OnMouseHover() override;
  BOOL OnSetSelected(int bSelected) override;
  // The popup opens, so that the drag can go on inside it; not for a popup the dragged one holds.
  void OnCustomizeDragOver(CTKPControl* pDragged, CPoint point) override;
  // The control casts a shadow while its popup is open (a toolbar control; tkp_shadow_manager.cpp).
  virtual void UpdateShadow();
  virtual void AdjustExcludeRect(CRect& rc);

 protected:
  BOOL IsOnPopupBar() const;
  BOOL IsContainingPopup(CTKPControlPopup* pOther, int nDepth);

  BOOL m_bPopup = FALSE;
  CTKPCommandBar* m_pCommandBar = nullptr;
  UINT m_nCommandBarId = 0;
};

class CTKPControlExpandButton : public CTKPControlButton {
  DECLARE_SERIAL(CTKPControlExpandButton)

 public:
  CTKPControlExpandButton() { m_dwFlags = TKP_EXPAND_BUTTON_FLAGS; }
  void OnExecute() override;
  void Draw(CDC* pDC) override;
};
